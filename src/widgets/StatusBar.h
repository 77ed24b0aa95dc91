#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace quenmar::widgets {

class Form;

// A status bar along the bottom of its form, with one text area across it.
class StatusBar {
public:
    // With an ID, by which it is found.
    void Create(Form& form, int id = 0);
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

}  // namespace quenmar::widgets
