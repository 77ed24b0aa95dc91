#pragma once

#include <memory>
#include <vector>

#include "widgets/Control.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

class Label : public Control {
public:
    void Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors = kAnchorsDefault,
                DWORD style = SS_LEFT);
    void SetText(const std::string& text);
    // Widens the label to its text when the text is wider, as labels that
    // size themselves do (the font may be wider than the one designed with),
    // up to `maxRight`; beyond it the text wraps onto more lines.
    void FitWidthToText(int maxRight);
    // Takes exactly the size of its text, as a self-sizing label does.
    void AutoSize();

private:
    SIZE TextExtent() const;
};

// A picture: a bitmap drawn in a static control; clicks are reported.
class Picture : public Control {
public:
    Event OnClick;
    void Create(Form& form, Bounds bounds, unsigned anchors = kAnchorsDefault);
    // Takes ownership of the bitmap.
    void SetBitmap(HBITMAP bitmap);
    void HandleCommand(WORD code) override;
    bool Activate() override {
        Fire(OnClick);
        return static_cast<bool>(OnClick);
    }

private:
    win::UniqueGdiObject bitmap_;
};

// Its change event fires when the text changes by other hands than its
// owner's: setting the text from code fires nothing.
class Edit : public Control {
public:
    Event OnChange;
    void Create(Form& form, Bounds bounds, unsigned anchors, bool readOnly);
    void SetText(const std::string& text);
    void HandleCommand(WORD code) override;

private:
    bool settingText_ = false;
};

class Button : public Control {
public:
    Event OnClick;
    void Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors = kAnchorsDefault);
    void Click() { Fire(OnClick); }
    void HandleCommand(WORD code) override;
};

// Chosen by the user (a click, or the arrow keys moving to it), it fires its
// click when it was not checked before; checked from code, it fires nothing.
// Checking it unchecks the other radio buttons of its form.
class RadioButton : public Control {
public:
    Event OnClick;
    void Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors = kAnchorsDefault,
                bool startsGroup = false);
    bool Checked() const;
    void SetChecked(bool checked);
    // What the user's click does.
    void Choose();
    void HandleCommand(WORD code) override;

private:
    bool checked_ = false;  // as last set: the control checks itself on a click
};

// Fires its click when the user changes its state; set from code, it fires
// nothing.
class CheckBox : public Control {
public:
    Event OnClick;
    void Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors = kAnchorsDefault);
    bool Checked() const;
    void SetChecked(bool checked);
    void HandleCommand(WORD code) override;
};

// Gives a list or edit box the flat one-pixel frame of this program in
// place of the sunken 3-D edge. Called before the control is created, it
// is created so; after, its frame is changed.
void MakeFlatFrame(Control& control);

// An image list that either owns its handle or shows one it adopted (the
// system image lists), which it never destroys.
class ImageList : public Component {
public:
    ~ImageList() override;
    void CreateOwn(int width, int height);
    // Shows a list owned elsewhere; the list's own one is released.
    void Adopt(HIMAGELIST shared);
    HIMAGELIST Handle() const { return handle_; }
    bool Shared() const { return shared_; }
    std::vector<std::function<void(HIMAGELIST)>> listeners;

private:
    void Release();
    HIMAGELIST handle_ = nullptr;
    bool shared_ = false;
};

// A single-selection list view. The user's selection is reported item by
// item: the one losing the selection first, then the one gaining it.
// Selecting from code reports nothing.
class ListView : public Control {
public:
    std::function<void(int item, bool selected)> OnSelectItem;
    Event OnDblClick;

    void Create(Form& form, Bounds bounds, unsigned anchors, DWORD viewStyle);
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
