#include "widgets/Picture.h"

#include "widgets/Form.h"

namespace quenmar::widgets {

void Picture::Create(Form& form, Bounds bounds, Anchors anchors) {
    CreateAs(form, L"STATIC", "", SS_BITMAP | SS_NOTIFY | SS_REALSIZECONTROL, 0, bounds, anchors);
    KeepOrientation();
}

void Picture::SetBitmap(HBITMAP bitmap) {
    const RECT before = Rect();
    SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    bitmap_.reset(bitmap);
    // Keep the designed size whatever the picture's own size.
    SetWindowPos(hwnd_, nullptr, 0, 0, before.right - before.left, before.bottom - before.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Picture::HandleCommand(WORD code) {
    // A double click acts once: its first click already did.
    if (code == STN_CLICKED) Fire(OnClick);
}

}  // namespace quenmar::widgets
