#include "widgets/Resources.h"

#include <commctrl.h>

namespace quenmar::widgets {

namespace {

std::wstring ScaledName(const wchar_t* name, int dpi) {
    const int scale = PictureScale(dpi);
    return scale == 100 ? std::wstring(name) : std::wstring(name) + L"_" + std::to_wstring(scale);
}

}  // namespace

int PictureScale(int dpi) {
    for (const int scale : {100, 125, 150}) {
        if (dpi * 100 <= 96 * scale) return scale;
    }
    return 200;
}

HBITMAP LoadPicture(const wchar_t* name, int dpi) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), ScaledName(name, dpi).c_str(), IMAGE_BITMAP, 0,
                                           0, LR_CREATEDIBSECTION));
}

HIMAGELIST LoadGlyphs(const wchar_t* name, int dpi) {
    return ImageList_LoadImageW(GetModuleHandleW(nullptr), ScaledName(name, dpi).c_str(), 16 * PictureScale(dpi) / 100,
                                0, RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

HICON ProgramIcon(bool small) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                         GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                                         GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON), LR_SHARED));
}

}  // namespace quenmar::widgets
