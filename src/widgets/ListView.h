#pragma once

#include "widgets/Control.h"
#include "widgets/ImageList.h"
#include "win32/Handles.h"

#include <optional>

namespace quenmar::widgets {

// A single-selection list view. What the user selects is reported once for
// each click or key, when the list has done with it: the item now selected,
// or none. (The list itself tells of each item: the one losing the selection
// and then the one gaining it, which would show the window without a
// selection in between.) Selecting from code reports nothing.
class ListView : public Control {
public:
    using Control::Control;
    std::function<void(std::optional<int> selected)> OnSelectionChanged;
    Event OnDblClick;
    // The Delete key pressed on the list.
    Event OnDeleteKey;
    // The list's menu asked for (the right button, Shift+F10 or the menu
    // key): where it opens on the screen, at the selected item when asked
    // from the keyboard, and whether it was.
    std::function<void(POINT screen, bool fromKeyboard)> OnContextMenu;

    ListView() = default;
    ~ListView() override;

    void Create(Form& form, Bounds bounds, Anchors anchors, DWORD viewStyle);
    void AddColumn(int width96);
    void SetImageList(ImageList& list, int which);

    int Count() const;
    int AddItem(const std::string& text, int image);
    void SetItemText(int item, const std::string& text);
    int ItemImage(int item) const;
    void SetItemImage(int item, int image);
    int SelectedIndex() const;
    bool IsSelected(int item) const;
    void SetSelected(int item, bool selected);
    void SetFocused(int item);
    void EnsureVisible(int item);
    // Shows the item as the one selected, focused and in view, or none
    // selected; an item already so is left as it is.
    void ShowSelected(std::optional<int> item);
    // An icon view's room for each item, in pixels.
    void SetIconSpacing(int width, int height);
    // Off, the list neither repaints nor lays itself out again at each
    // change; back on, it does both once.
    void SetRedraw(bool redraw);

    LRESULT HandleNotify(NMHDR* header) override;
    bool HandleContextMenu(POINT screen) override;

private:
    void ReportSelection();
    static LRESULT Proc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next);
    void SetState(int item, UINT mask, UINT state);
    bool settingState_ = false;
    int depth_ = 0;             // messages of the list's own being handled
    bool selectionMoved_ = false;  // by the user, within them
};

}  // namespace quenmar::widgets
