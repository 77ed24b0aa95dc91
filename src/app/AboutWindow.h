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

    // The controls' IDs, by which they are found (tests, accessibility tools).
    enum ControlId : int { kTitleLabel = 1000, kVersionLabel, kCopyrightLabel, kRightsLabel, kLink, kLinkCaption, kOkButton };

protected:
    void Created() override;
    void ScaleChanged() override;
    void FitToTexts();
    bool PaintBackground(HDC dc) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Where the logo is drawn: it has no window of its own.
    RECT LogoRect() const;

    widgets::TiledBackground background_;
    widgets::Label title_{kTitleLabel};
    widgets::Label version_{kVersionLabel};
    widgets::Label copyright_{kCopyrightLabel};
    widgets::Label rights_{kRightsLabel};
    widgets::LinkLabel link_{kLink};
    widgets::Label linkCaption_{kLinkCaption};
    widgets::FlatButton okButton_{kOkButton};
    win::UniqueGdiObject logo_;
};

// Shows a fresh About window modally over its owner; its link opens the
// help unless another target is given.
void ShowAboutWindow(HWND owner, std::string linkTarget = HelpTarget());

}  // namespace quenmar
