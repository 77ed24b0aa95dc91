#pragma once

#include "app/Help.h"
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/TiledBackground.h"

namespace quenmar {

// The About window: logo, name, version, copyright and a link to the help,
// over a finely striped background.
class AboutWindow : public widgets::Form {
public:
    // The link opens linkTarget.
    AboutWindow(HWND owner, std::string linkTarget);
    ~AboutWindow() override;

    const widgets::LinkLabel& Link() const { return link_; }
    widgets::FlatButton& OkButton() { return okButton_; }
    // The logo and where it is drawn (it has no window of its own).
    HBITMAP Logo() const { return static_cast<HBITMAP>(logo_.get()); }
    RECT LogoRect() const;

protected:
    void Created() override;
    void ScaleChanged() override;
    void FitToTexts();
    bool PaintBackground(HDC dc) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    widgets::TiledBackground background_;
    widgets::Label title_;
    widgets::Label version_;
    widgets::Label copyright_;
    widgets::Label rights_;
    widgets::LinkLabel link_;
    widgets::Label linkCaption_;
    widgets::FlatButton okButton_;
    win::UniqueGdiObject logo_;
};

// Shows a fresh About window modally over its owner; its link opens the
// help unless another target is given.
void ShowAboutWindow(HWND owner, std::string linkTarget = HelpTarget());

}  // namespace quenmar
