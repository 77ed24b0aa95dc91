#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "widgets/Control.h"

namespace quenmar::widgets {

class Form;

// A tool bar placed by its form, whose buttons show their text beside their
// image and whose tips the form answers.
class ToolBar {
public:
    // With an ID, by which it is found.
    void Create(Form& form, RECT bounds, int id = 0);
    HWND Handle() const { return hwnd_; }
    // A button (image -1: none) or a gap of that width, after the others.
    void AddButton(int command, int image, const std::wstring& text);
    void AddGap(int width);
    // The bar does not own the lists.
    void SetImageLists(HIMAGELIST normal, HIMAGELIST disabled);
    void SetFont(HFONT font);
    HFONT Font() const;
    void SetButtonSize(int width, int height);
    void SetButtonWidth(int command, int width);
    void Move(RECT bounds);
    HWND Tips() const;

private:
    HWND hwnd_ = nullptr;
};

// One button of a tool bar, by its command: a glyph from the bar's image
// list and a caption; it never takes the focus.
class ToolButton {
public:
    Event OnClick;
    void Attach(HWND toolbar, int command) { toolbar_ = toolbar, command_ = command; }
    int Command() const { return command_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    RECT Rect() const;  // in the form's client coordinates
    void Click() { Fire(OnClick); }

private:
    HWND toolbar_ = nullptr;
    int command_ = 0;
};

}  // namespace quenmar::widgets
