#include "widgets/ShellDropTarget.h"

#include <shellapi.h>

#include <stdexcept>

#include "places/PathText.h"
#include "widgets/Application.h"
#include "widgets/Control.h"
#include "win32/Handles.h"
#include "win32/WideText.h"
#include "win32/WindowSubclass.h"

namespace quenmar::widgets {

ShellDropTarget::ShellDropTarget(Component* owner) {
    const HWND window = owner ? owner->OwnWindow() : nullptr;
    if (!window) throw std::invalid_argument(kOwnerError);
    ownerWindow_ = window;
    // What DragAcceptFiles does, without loading the shell while the window
    // is being made: the shell is asked only when something is dropped.
    SetWindowLongPtrW(ownerWindow_, GWL_EXSTYLE, GetWindowLongPtrW(ownerWindow_, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    if (!win::WindowSubclass::Install(ownerWindow_, OwnerWindowProc, this)) {
        throw std::logic_error("The window already has a drop receiver or another handler");
    }
}

ShellDropTarget::~ShellDropTarget() {
    win::WindowSubclass::Uninstall(ownerWindow_);
}

LRESULT ShellDropTarget::OwnerWindowProc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           WNDPROC next) {
    if (message != WM_DROPFILES) return CallWindowProcW(next, window, message, wParam, lParam);
    auto* self = static_cast<ShellDropTarget*>(context);
    const auto drop = reinterpret_cast<HDROP>(wParam);
    Application::Instance().Guard(window, [&] { self->HandleDrop(drop); });
    return 0;
}

void ShellDropTarget::HandleDrop(HDROP drop) {
    const win::UniqueDrop release(drop);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    SkippedNames skipped;
    std::wstring wide;
    for (UINT index = 0; index < count; ++index) {
        // Each name is read whole: a name cut short could name another folder.
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        wide.assign(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, index, wide.data(), length + 1);
        wide.resize(copied);
        // The limit is the system's, in UTF-16 units.
        const std::string trimmed = TrimControlsAndBlanks(win::Utf8(wide));
        if (win::Wide(trimmed).size() >= MAX_PATH) {
            ++skipped.tooLong;
            continue;
        }
        std::string folder = DirectoryPart(trimmed);
        std::string fileName = trimmed.substr(folder.size());
        const DWORD attributes = GetFileAttributesW(win::Wide(trimmed).c_str());
        using Found = FoundAtName;
        const Found found = attributes == INVALID_FILE_ATTRIBUTES ? Found::Nothing
                            : (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Found::Folder
                                                                      : Found::File;
        Fire(OnDrop, DroppedName{std::move(folder), std::move(fileName), trimmed, found});
    }
    if (!skipped.empty()) Fire(OnSkipped, skipped);
}

}  // namespace quenmar::widgets
