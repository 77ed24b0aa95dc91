#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace quenmar::widgets {

class Form;

// A status bar along the bottom of its form, with one text area across it.
class StatusBar {
public:
    void Create(Form& form);
    HWND Handle() const { return hwnd_; }
    void SetFont(HFONT font);
    HFONT Font() const;
    // The text area's height, in pixels, without the bar's borders.
    void SetMinHeight(int pixels);
    // Takes the parent's width and bottom edge again.
    void FollowParent();
    int Height() const;
    int Width() const;
    std::string Text() const;
    void SetText(const std::string& text);

private:
    HWND hwnd_ = nullptr;
};

// A tool bar placed by its form, whose buttons show their text beside their
// image and whose tips the form answers.
class ToolBar {
public:
    void Create(Form& form, RECT bounds);
    HWND Handle() const { return hwnd_; }
    // A button (image -1: none) or a gap of that width, after the others.
    void AddButton(int command, int image, const std::wstring& text);
    void AddGap(int width);
    // The bar does not own the lists.
    void SetImageLists(HIMAGELIST normal, HIMAGELIST disabled);
    void SetFont(HFONT font);
    HFONT Font() const;
    // Flat: the buttons draw their frame only under the mouse.
    bool Flat() const;
    void SetFlat(bool flat);
    void SetButtonSize(int width, int height);
    void SetButtonWidth(int command, int width);
    void Move(RECT bounds);
    HWND Tips() const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace quenmar::widgets
