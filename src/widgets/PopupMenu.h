#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quenmar::widgets {

// A menu of these items at a point on the screen, for a window: the index of
// the one chosen, or none when the menu was closed without a choice. Opened
// from the keyboard, its first item is highlighted, so that Enter takes it.
std::optional<int> ChooseFromMenu(HWND owner, POINT screen, const std::vector<std::string>& items, bool fromKeyboard);

}  // namespace quenmar::widgets
