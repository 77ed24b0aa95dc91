#pragma once

#include <windows.h>

#include <string>

namespace quenmar::widgets {

// A Yes/No question centred on the screen, Yes the default unless it is a
// warning (then No); Esc and every other way of closing it answer No. True
// for Yes.
bool AskYesNo(HWND owner, const std::string& text, const std::string& caption, UINT icon = MB_ICONQUESTION);

// A message box with one OK button.
void ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT icon);

}  // namespace quenmar::widgets
