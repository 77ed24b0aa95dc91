#include "app/AboutWindow.h"

#include "app/Help.h"

#include <algorithm>

#include "app/AppTexts.h"
#include "app/Help.h"
#include "app/Product.h"
#include "app/ShellOpenLauncher.h"
#include "app/Version.h"
#include "widgets/Resources.h"
#include "widgets/SystemColours.h"
#include "win32/WicImage.h"
#include "win32/WideText.h"

namespace quenmar {

using namespace widgets;

namespace {

// The copyright line: the copyright sign, the year and the maker.
std::string CopyrightLine() { return std::string("\u00A9 ") + kCopyrightYearAndMaker; }

}  // namespace


AboutWindow::AboutWindow(HWND owner, std::string linkTarget)
    : Form({.className = L"TfrmQuenmarAbout",
            .clientWidth = 423,
            .clientHeight = 143,
            .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME,
            .exStyle = WS_EX_DLGMODALFRAME,
            .backgroundColor = COLOR_BTNFACE,
            .transparentLabels = true}) {
    okButton_.OnClick = [this] { SetModalResult(IDOK); };
    link_.OnOpen = [target = std::move(linkTarget)] { return OpenLink(target); };
    CreateHandle(owner);
    // Centred over the main window by the outer sizes; never off the top or left.
    CenterOver(owner);
}

AboutWindow::~AboutWindow() {
    if (Handle()) DestroyWindow(Handle());
}

void AboutWindow::Created() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    background_.SetTexture(win::LoadImageResource(instance, L"TEXTURE", L"GIF"));
    RECT client{};
    GetClientRect(Handle(), &client);
    background_.SetBounds(0, 0, client.right, client.bottom);
    logo_.reset(LoadPicture(L"ABOUTLOGO", Dpi()));

    okButton_.Create(*this, TextOf(IDS_ABOUT_OK), {340, 108, 75, 25}, Anchor::Right | Anchor::Bottom);
    title_.Create(*this, "", {116, 8, 10, 10});
    version_.Create(*this, "", {116, 36, 10, 10});
    copyright_.Create(*this, "", {116, 64, 10, 10});
    rights_.Create(*this, TextOf(IDS_RIGHTS_RESERVED), {116, 88, 10, 10});
    link_.Create(*this, "", {116, 116, 10, 10}, Anchor::Left | Anchor::Bottom);
    link_.MakeTabStop();
    // The link says what it opens: the help page beside the program, or the
    // publisher's web site.
    linkCaption_.Create(*this, TextOf(HelpIsLocal() ? IDS_HELP_CAPTION : IDS_VISIT_ONLINE), {12, 116, 10, 10},
                        Anchor::Left | Anchor::Bottom);

    title_.SetFont(MakeFont(-24));
    version_.SetFont(MakeFont(-19));
    const HFONT text = MakeFont(-13);
    copyright_.SetFont(text);
    rights_.SetFont(text);
    linkCaption_.SetFont(text);
    link_.SetFont(MakeFont(-13, true, true));

    SetCaption(TextOf(IDS_ABOUT_CAPTION, {kApplicationTitle}));
    title_.SetText(kApplicationTitle);
    version_.SetText(TextOf(IDS_ABOUT_VERSION, {kVersion}));
    copyright_.SetText(CopyrightLine());
    link_.SetText(HelpIsLocal() ? TextOf(IDS_HELP_LINK) : std::string(kWebsiteAddress));
    FitToTexts();
}

void AboutWindow::ScaleChanged() {
    logo_.reset(LoadPicture(L"ABOUTLOGO", Dpi()));
    FitToTexts();
}

// Each text at its own size; the link after its caption however long that
// is; OK as wide as its text needs; and the window wider where the texts
// would otherwise run into its edge or into OK. Runs at the designed places
// of the window's scale.
void AboutWindow::FitToTexts() {
    for (Label* label : {&title_, &version_, &copyright_, &rights_, &linkCaption_, static_cast<Label*>(&link_)}) {
        label->AutoSize();
    }
    RECT ok = okButton_.Rect();
    ok.left = std::min<LONG>(ok.left, ok.right - okButton_.NeededWidth());
    okButton_.Move(ok);
    RECT link = link_.Rect();
    OffsetRect(&link, std::max<LONG>(0, linkCaption_.Rect().right + Scale(6) - link.left), 0);
    link_.Move(link);
    int widen = link.right + Scale(8) - ok.left;
    for (const Label* label : {&title_, &version_, &copyright_, &rights_}) {
        widen = std::max<int>(widen, label->Rect().right + Scale(8) - DesignWidth());
    }
    WidenDesign(widen);
}

RECT AboutWindow::LogoRect() const {
    return {Scale(11), Scale(12), Scale(11) + Scale(96), Scale(12) + Scale(96)};
}

bool AboutWindow::PaintBackground(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    // In high contrast the texts stand on the plain face colour.
    if (widgets::CurrentPalette().picturesBehindText) {
        background_.SetBounds(0, 0, client.right, client.bottom);
        background_.Paint(dc);
    }
    if (const auto logo = static_cast<HBITMAP>(logo_.get())) {
        BITMAP info{};
        GetObjectW(logo, sizeof info, &info);
        const win::UniqueMemoryDc memory(CreateCompatibleDC(dc));
        const win::SelectedObject selected(memory.get(), logo);
        // The bottom-left pixel's colour is the logo's transparent colour.
        const COLORREF transparent = GetPixel(memory.get(), 0, info.bmHeight - 1);
        const RECT r = LogoRect();
        // Where a mirrored window puts it, the way it was drawn.
        const DWORD layout = GetLayout(dc);
        if (layout & LAYOUT_RTL) SetLayout(dc, layout | LAYOUT_BITMAPORIENTATIONPRESERVED);
        GdiTransparentBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0, info.bmWidth,
                       info.bmHeight, transparent);
        if (layout & LAYOUT_RTL) SetLayout(dc, layout);
    }
    return true;
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        // The background follows the client area.
        background_.SetBounds(0, 0, LOWORD(lParam), HIWORD(lParam));
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void ShowAboutWindow(HWND owner, std::string linkTarget) {
    AboutWindow about(owner, std::move(linkTarget));
    about.ShowModal();
}

}  // namespace quenmar
