#pragma once

#include "app/Version.h"
#include "widgets/Controls.h"
#include "widgets/Form.h"
#include "widgets/FlatButton.h"
#include "widgets/TiledBackground.h"
#include "widgets/LinkLabel.h"

namespace quenmar {

// The maker's web site and copyright lines, one place for the whole program.
inline constexpr const char* kWebsiteAddress = QUENMAR_WEBSITE_TEXT;
inline constexpr const char* kCopyrightYearAndMaker = "2026 The Quenmar Authors";
inline constexpr const char* kRightsReserved = "All rights reserved.";

// The About window: logo, name, version, copyright and a link to the web
// site, over a finely striped background.
class AboutWindow : public widgets::Form {
public:
    explicit AboutWindow(HWND owner);
    ~AboutWindow() override;

    widgets::TiledBackground Background1;
    widgets::Label lblTitle;
    widgets::Label lblVersion;
    widgets::Label lblCopyright;
    widgets::Label Label1;
    widgets::LinkLabel lblWebsiteURL;
    widgets::Label Label2;
    widgets::FlatButton btnOk;

    void FormCreate();
    void btnOkClick();

    // The logo and where it is drawn (it has no window of its own).
    HBITMAP Logo() const { return static_cast<HBITMAP>(logo_.get()); }
    RECT LogoRect() const;

protected:
    void CreateControls() override;
    bool PaintBackground(HDC dc) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    win::UniqueGdiObject logo_;
};

// Shows a fresh About window modally over the main window.
void ShowAboutWindow(HWND owner);

// The copyright line: the copyright sign (where the code page has one), the
// year and the maker.
std::string CopyrightLine();

}  // namespace quenmar
