#include "app/AboutWindow.h"

#include "app/Version.h"

#include "widgets/Resources.h"
#include "win32/WicImage.h"
#include "win32/WideText.h"

namespace quenmar {

using namespace widgets;

namespace {

FormStyle AboutFormStyle() {
    FormStyle style;
    style.className = L"TfrmQuenmarAbout";
    style.clientWidth = 423;
    style.clientHeight = 143;
    style.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    style.exStyle = WS_EX_DLGMODALFRAME;
    style.backgroundColor = COLOR_BTNFACE;
    style.fontFace = L"Tahoma";
    style.fontHeight = -11;
    style.transparentLabels = true;
    return style;
}

}  // namespace

std::string CopyrightLine() { return std::string("\u00A9 ") + kCopyrightYearAndMaker; }

AboutWindow::AboutWindow(HWND owner) : Form(AboutFormStyle()) {
    OnCreate = [this] { FormCreate(); };
    btnOk.OnClick = [this] { btnOkClick(); };
    CreateHandle(owner);
    // Centred over the main window by the outer sizes; never off the top or left.
    CenterOver(owner);
}

AboutWindow::~AboutWindow() {
    if (Handle()) DestroyWindow(Handle());
}

void AboutWindow::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Background1.SetTexture(win::LoadImageResource(instance, L"TEXTURE", L"GIF"));
    RECT client{};
    GetClientRect(Handle(), &client);
    Background1.SetBounds(0, 0, client.right, client.bottom);
    logo_.reset(LoadPicture(L"ABOUTLOGO", Dpi()));
    OnDpiChanged = [this] { logo_.reset(LoadPicture(L"ABOUTLOGO", Dpi())); };

    btnOk.Create(*this, "OK", {340, 108, 75, 25}, akRight | akBottom);
    btnOk.HotTrack = true;
    lblTitle.Create(*this, "", {116, 8, 10, 10});
    lblVersion.Create(*this, "", {116, 36, 10, 10});
    lblCopyright.Create(*this, "", {116, 64, 10, 10});
    Label1.Create(*this, kRightsReserved, {116, 88, 10, 10});
    lblWebsiteURL.Create(*this, "", {116, 116, 10, 10}, akLeft | akBottom);
    lblWebsiteURL.MakeTabStop();
    Label2.Create(*this, "Visit us Online:", {12, 116, 10, 10}, akLeft | akBottom);

    lblTitle.SetFont(MakeFont(-24));
    lblVersion.SetFont(MakeFont(-19));
    const HFONT text = MakeFont(-13);
    lblCopyright.SetFont(text);
    Label1.SetFont(text);
    Label2.SetFont(text);
    lblWebsiteURL.SetFont(MakeFont(-13, true, true));
    Label1.AutoSize();
    Label2.AutoSize();
}

void AboutWindow::FormCreate() {
    SetCaption("About Quenmar");
    lblTitle.SetText("Quenmar");
    lblVersion.SetText(std::string("Version ") + QUENMAR_VERSION_TEXT);
    lblCopyright.SetText(CopyrightLine());
    lblWebsiteURL.SetText(kWebsiteAddress);
    lblWebsiteURL.URL = kWebsiteAddress;
    for (Label* label : {&lblTitle, &lblVersion, &lblCopyright, static_cast<Label*>(&lblWebsiteURL)}) {
        label->AutoSize();
    }
}

void AboutWindow::btnOkClick() { SetModalResult(IDOK); }

RECT AboutWindow::LogoRect() const {
    return {Scale(11), Scale(12), Scale(11) + Scale(96), Scale(12) + Scale(96)};
}

bool AboutWindow::PaintBackground(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    Background1.SetBounds(0, 0, client.right, client.bottom);
    Background1.Paint(dc);
    if (const HBITMAP logo = Logo()) {
        BITMAP info{};
        GetObjectW(logo, sizeof info, &info);
        const win::UniqueMemoryDc memory(CreateCompatibleDC(dc));
        const win::SelectedObject selected(memory.get(), logo);
        // The bottom-left pixel's colour is the logo's transparent colour.
        const COLORREF transparent = GetPixel(memory.get(), 0, info.bmHeight - 1);
        const RECT r = LogoRect();
        GdiTransparentBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0, info.bmWidth,
                       info.bmHeight, transparent);
    }
    return true;
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        // The background follows the client area.
        Background1.SetBounds(0, 0, LOWORD(lParam), HIWORD(lParam));
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void ShowAboutWindow(HWND owner) {
    AboutWindow about(owner);
    about.ShowModal();
}

}  // namespace quenmar
