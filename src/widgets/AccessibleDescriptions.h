#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace quenmar::widgets {

// Descriptions a screen reader hears for a control and its items (child 0
// the control, 1 on its items), given by its accessible object: the
// system's own object for the control, with the descriptions laid over it.
// Asked with WM_GETOBJECT, which the control's procedure passes here; the
// answer is null (the system's object) while there are none.
class AccessibleDescriptions {
public:
    void Set(LONG child, const std::wstring& text);
    bool Empty() const { return texts_.empty(); }
    // The answer to WM_GETOBJECT, or false to let the window answer.
    bool Answer(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

private:
    std::map<LONG, std::wstring> texts_;
};

}  // namespace quenmar::widgets
