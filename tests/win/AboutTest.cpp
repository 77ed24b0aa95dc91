#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FileBytes.h"

#include "FoundControl.h"
#include "ModalBoxes.h"
#include "app/AboutWindow.h"
#include "app/Help.h"
#include "app/ShellOpenLauncher.h"
#include "widgets/Application.h"
#include "widgets/SystemColours.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

// A link target that opens and shows nothing: a console program (a batch
// file) would put up a console window that takes the activation, whenever
// it comes, from the window under test.
constexpr const char* kQuietTarget = "C:\\windows\\system32\\rundll32.exe";

AboutWindow* OpenAbout() { return ShownForm<AboutWindow>(L"TfrmQuenmarAbout"); }
widgets::LinkLabel& LinkOf(AboutWindow& about) { return FoundControl<widgets::LinkLabel>(about, AboutWindow::kLink); }
widgets::FlatButton& OkOf(AboutWindow& about) { return FoundControl<widgets::FlatButton>(about, AboutWindow::kOkButton); }

TEST(AboutWindow, TextsPlacesAndTheStripedBackground) {
    Soon([] {
        AboutWindow* about = OpenAbout();
        ASSERT_NE(about, nullptr);
        UpdateWindow(about->Handle());
        EXPECT_EQ(about->Caption(), "About Quenmar");
        // What the window shows, read from its controls as a screen reader would.
        std::vector<std::string> texts;
        for (HWND child = GetWindow(about->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[256] = {};
            GetWindowTextW(child, text, 256);
            if (IsWindowVisible(child)) texts.push_back(win::Utf8(text));
        }
        std::sort(texts.begin(), texts.end());
        // The build names no web site: the link says it opens the help page,
        // which the build puts beside the program as the packages do.
        EXPECT_NE(GetFileAttributesW(win::Wide(HelpTarget()).c_str()), INVALID_FILE_ATTRIBUTES) << HelpTarget();
        EXPECT_TRUE(HelpTarget().ends_with("\\help\\Quenmar.htm")) << HelpTarget();
        EXPECT_EQ(texts, (std::vector<std::string>{"All rights reserved.", "Help:", "OK", "Quenmar",
                                                   "Quenmar help page", "Version 1.0",
                                                   "\u00A9 2026 The Quenmar Authors"}));
        EXPECT_EQ(GetFocus(), OkOf(*about).Handle()) << "OK has the focus";
        RECT client{};
        GetClientRect(about->Handle(), &client);
        EXPECT_EQ(client.right, about->Scale(423));
        EXPECT_EQ(client.bottom, about->Scale(143));
        EXPECT_FALSE(GetWindowLongW(about->Handle(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        // Stripes two pixels high from the top-left corner across the width.
        for (int x = 0; x < client.right; x += 7) {
            for (int y = 0; y < 4; ++y) {
                EXPECT_EQ(ClientPixel(about->Handle(), x, y), y < 2 ? RGB(231, 231, 231) : RGB(238, 238, 238)) << x << "," << y;
            }
        }
        EXPECT_EQ(ClientPixel(about->Handle(), 3, client.bottom - 1), RGB(238, 238, 238)) << "to the bottom";
        // The logo's white corner is transparent: the texture shows there.
        // The logo where it was designed, 96 pixels square; its white corner
        // is transparent: the texture shows there.
        const RECT logo{about->Scale(11), about->Scale(12), about->Scale(107), about->Scale(108)};
        const COLORREF corner = ClientPixel(about->Handle(), logo.left, logo.bottom - 1);
        EXPECT_TRUE(corner == RGB(231, 231, 231) || corner == RGB(238, 238, 238));
        const COLORREF middle = ClientPixel(about->Handle(), (logo.left + logo.right) / 2, (logo.top + logo.bottom) / 2);
        EXPECT_TRUE(middle != RGB(231, 231, 231) && middle != RGB(238, 238, 238)) << "drawn";
        SendMessageW(OkOf(*about).Handle(), BM_CLICK, 0, 0);
    });
    ShowAboutWindow(nullptr);
    EXPECT_EQ(FindWindowW(L"TfrmQuenmarAbout", nullptr), nullptr) << "released";
}

TEST(AboutWindow, TextureNeverSmallerThanFiveByFive) {
    widgets::TiledBackground background;
    background.SetBounds(0, 0, 3, 2);
    const win::WindowDC screen(nullptr);
    const win::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const win::UniqueGdiObject bitmap(CreateCompatibleBitmap(screen.get(), 10, 10));
    const win::SelectedObject drawn(memory.get(), bitmap.get());
    background.Paint(memory.get());
    EXPECT_EQ(background.Width(), 5);
    EXPECT_EQ(background.Height(), 5);
}

TEST(AboutWindow, OkAndTheCloseBoxAndAFreshWindowEachTime) {
    HWND first = nullptr;
    Soon([&] {
        AboutWindow* about = OpenAbout();
        ASSERT_NE(about, nullptr);
        first = about->Handle();
        // The link's target succeeds: it turns purple at once.
        EXPECT_EQ(LinkOf(*about).TextColor(), GetSysColor(COLOR_HIGHLIGHT));
        SendMessageW(LinkOf(*about).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(LinkOf(*about).Handle(), WM_LBUTTONUP, 0, 0);
        EXPECT_TRUE(LinkOf(*about).Visited());
        EXPECT_EQ(LinkOf(*about).TextColor(), widgets::CurrentPalette().visitedLink);
        EXPECT_NE(widgets::CurrentPalette().visitedLink, GetSysColor(COLOR_HIGHLIGHT));
        SendMessageW(about->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    ShowAboutWindow(nullptr, kQuietTarget);
    EXPECT_FALSE(IsWindow(first));

    Soon([&] {
        AboutWindow* about = OpenAbout();
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(LinkOf(*about).Visited()) << "a fresh window, unvisited again";
        EXPECT_EQ(LinkOf(*about).TextColor(), GetSysColor(COLOR_HIGHLIGHT));
        // A failed open says nothing and leaves the link unvisited.
        AcceptedBoxes boxes;
        SendMessageW(LinkOf(*about).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(LinkOf(*about).Handle(), WM_LBUTTONUP, 0, 0);
        PumpMessages();
        EXPECT_TRUE(boxes.seen.empty());
        EXPECT_FALSE(LinkOf(*about).Visited());
        SendMessageW(OkOf(*about).Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(about->ModalResult(), IDOK);
    });
    ShowAboutWindow(nullptr, "C:\\quenmar-missing\\nothing.xyz");

    // From the keyboard: Tab goes from OK to the link, and Enter opens it.
    Soon([&] {
        AboutWindow* about = OpenAbout();
        ASSERT_NE(about, nullptr);
        SetFocus(OkOf(*about).Handle());
        PostMessageW(OkOf(*about).Handle(), WM_KEYDOWN, VK_TAB, 1);
        Soon([about] {
            EXPECT_EQ(GetFocus(), LinkOf(*about).Handle());
            PostMessageW(LinkOf(*about).Handle(), WM_KEYDOWN, VK_RETURN, 1);
            Soon([about] {
                EXPECT_TRUE(LinkOf(*about).Visited());
                EXPECT_EQ(about->ModalResult(), 0) << "Enter on the link is not OK";
                SendMessageW(OkOf(*about).Handle(), BM_CLICK, 0, 0);
            });
        });
    });
    ShowAboutWindow(nullptr, kQuietTarget);
}

TEST(AboutWindow, CentredOverTheMainWindowAndNeverOffScreen) {
    widgets::FormStyle style;
    style.className = L"QuenmarAboutOwner";
    style.clientWidth = 600;
    style.clientHeight = 400;
    widgets::Form main(style);
    main.CreateHandle();
    main.Show();
    SetWindowPos(main.Handle(), nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Soon([&] {
        AboutWindow* about = OpenAbout();
        ASSERT_NE(about, nullptr);
        RECT a{}, m{};
        GetWindowRect(about->Handle(), &a);
        GetWindowRect(main.Handle(), &m);
        EXPECT_NEAR((a.left + a.right) / 2, (m.left + m.right) / 2, 1);
        EXPECT_NEAR((a.top + a.bottom) / 2, (m.top + m.bottom) / 2, 1);
        EXPECT_FALSE(IsWindowEnabled(main.Handle())) << "the main window waits";
        SendMessageW(OkOf(*about).Handle(), BM_CLICK, 0, 0);
    });
    ShowAboutWindow(main.Handle());
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));

    SetWindowPos(main.Handle(), nullptr, -400, -300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Soon([&] {
        AboutWindow* about = OpenAbout();
        ASSERT_NE(about, nullptr);
        RECT a{};
        GetWindowRect(about->Handle(), &a);
        EXPECT_EQ(a.left, 0);
        EXPECT_EQ(a.top, 0);
        SendMessageW(OkOf(*about).Handle(), BM_CLICK, 0, 0);
    });
    ShowAboutWindow(main.Handle());
}
// The help is the page in the language of the texts, found by its title in
// that language; English where the texts have none of their own.
TEST(Help, OpensThePageInTheLanguageOfTheTexts) {
    const struct {
        LANGID language;
        const char* page;
        const char* title;
    } rows[] = {
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), "\\help\\de\\Quenmar.htm", "Quenmar-Hilfe"},
        {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN), "\\help\\fr\\Quenmar.htm", "Aide de Quenmar"},
        {MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MEXICAN), "\\help\\es\\Quenmar.htm", "Ayuda de Quenmar"},
        {MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), "\\help\\ru\\Quenmar.htm", "Справка Quenmar"},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), "\\help\\zh-Hans\\Quenmar.htm", "Quenmar 帮助"},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), "\\help\\ja\\Quenmar.htm", "Quenmar ヘルプ"},
        {MAKELANGID(LANG_HEBREW, SUBLANG_DEFAULT), "\\help\\he\\Quenmar.htm", "עזרה של Quenmar"},
        {MAKELANGID(LANG_ARABIC, SUBLANG_ARABIC_EGYPT), "\\help\\ar\\Quenmar.htm", "تعليمات Quenmar"},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), "\\help\\Quenmar.htm", "Quenmar Help"},
        {MAKELANGID(LANG_ITALIAN, SUBLANG_DEFAULT), "\\help\\Quenmar.htm", "Quenmar Help"},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), "\\help\\Quenmar.htm", "Quenmar Help"},
    };
    const win::ScopeExit sessionLanguage([] { win::SetTextLanguage(0); });
    for (const auto& row : rows) {
        win::SetTextLanguage(row.language);
        const std::string target = HelpTarget();
        EXPECT_TRUE(target.ends_with(row.page)) << std::hex << row.language << ": " << target;
        const std::string text = FileBytes(std::filesystem::path(win::Wide(target)));
        EXPECT_NE(text.find(std::string("<title>") + row.title + "</title>"), std::string::npos) << target;
    }
}


TEST(ShellOpenLauncher, ErrorBoxes) {
    AcceptedBoxes boxes;
    for (uint32_t code : {0u, 1u, 32u, 33u, 0xFFFFFFFFu}) ReportExecuteResult(code, nullptr);  // 32: the last error
    ASSERT_EQ(boxes.seen.size(), 3u);
    EXPECT_EQ(boxes.seen[0].caption, "Error");
    EXPECT_EQ(boxes.seen[0].text, "Unable to execute file:\n\nThe operating system is out of memory or resources.");
    EXPECT_EQ(boxes.seen[0].icon, LoadIcon(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(boxes.seen[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(boxes.seen[1].text,
              "Unable to execute file:\n\nAn unknown error occurred when trying to load file in associated "
              "application.");
    EXPECT_EQ(boxes.seen[2].text, "Unable to execute file:\n\nThe specified dynamic-link library was not found.");
}

TEST(ShellOpenLauncher, NameLengthLimit) {
    AcceptedBoxes boxes;
    const std::string name255 = "C:\\" + std::string(248, 'x') + ".txt";
    ASSERT_EQ(name255.size(), 255u);
    const int32_t shell = static_cast<int32_t>(
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"Open", win::Wide(name255).c_str(), L"", L"", SW_SHOWNOACTIVATE)));
    EXPECT_EQ(ExecuteFile(name255, "", "", SW_SHOWNOACTIVATE), shell) << "reached the shell";
    EXPECT_TRUE(boxes.seen.empty());

    OpenDocument(name255 + "y", nullptr);
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[0].caption, "Information");
    EXPECT_EQ(boxes.seen[0].text,
              "The path to the file is too long, please ensure the path is less than 255 characters.");
    EXPECT_EQ(boxes.seen[0].icon, LoadIcon(nullptr, IDI_ASTERISK));
    EXPECT_EQ(boxes.seen[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(boxes.seen[1].caption, "Error");
    EXPECT_EQ(boxes.seen[1].text, "Unable to execute file:\n\nThe specified file was not found.");
}

}  // namespace
}  // namespace quenmar::testing

