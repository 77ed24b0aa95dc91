#pragma once

#include "widgets/Control.h"
#include "widgets/ImageList.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

// A single-selection list view. The user's selection is reported item by
// item: the one losing the selection first, then the one gaining it.
// Selecting from code reports nothing.
class ListView : public Control {
public:
    std::function<void(int item, bool selected)> OnSelectItem;
    Event OnDblClick;

    void Create(Form& form, Bounds bounds, Anchors anchors, DWORD viewStyle);
    void AddColumn(int width96);
    void SetImageList(ImageList& list, int which);

    int Count() const;
    int AddItem(const std::string& text, int image, LPARAM data);
    std::string ItemText(int item) const;
    void SetItemText(int item, const std::string& text);
    int ItemImage(int item) const;
    void SetItemImage(int item, int image);
    LPARAM ItemData(int item) const;
    int SelectedIndex() const;
    bool IsSelected(int item) const;
    void SetSelected(int item, bool selected);
    void SetFocused(int item);
    void EnsureVisible(int item);
    // Off, the list neither repaints nor lays itself out again at each
    // change; back on, it does both once.
    void SetRedraw(bool redraw);

    LRESULT HandleNotify(NMHDR* header) override;

private:
    void SetState(int item, UINT mask, UINT state);
    bool settingState_ = false;
};

}  // namespace quenmar::widgets
