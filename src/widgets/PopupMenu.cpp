#include "widgets/PopupMenu.h"

#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

std::optional<int> ChooseFromMenu(HWND owner, POINT screen, const std::vector<std::string>& items, bool fromKeyboard) {
    const win::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return std::nullopt;
    for (size_t n = 0; n < items.size(); ++n) {
        AppendMenuW(menu.get(), MF_STRING, n + 1, win::Wide(items[n]).c_str());
    }
    // The menu's own loop takes the key as the user's first.
    if (fromKeyboard) PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
    const UINT chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    if (chosen == 0) return std::nullopt;
    return static_cast<int>(chosen) - 1;
}

}  // namespace quenmar::widgets
