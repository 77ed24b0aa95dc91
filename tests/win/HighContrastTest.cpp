// In a dark high-contrast scheme the main window draws with the scheme's
// colours only: behind and in every text, the scheme's pairs (and the
// blends between them that smoothed text makes), never a picture or a
// colour of the program's own.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "MainWindowProbe.h"
#include "MemoryRegistry.h"
#include "ModalBoxes.h"
#include "ScreenPixels.h"
#include "widgets/SystemColours.h"
#include "win32/Handles.h"

namespace quenmar::testing {
namespace {

// A scheme whose pairs, and the lines between them, hold no grey and no
// colour of the program's pictures: black backgrounds, yellow text and
// lines, a purple highlight, cyan links and greyed text.
struct Scheme {
    int element;
    COLORREF colour;
};
constexpr COLORREF kText = RGB(255, 255, 0);
const Scheme kDark[] = {
    {COLOR_WINDOW, RGB(0, 0, 0)},      {COLOR_WINDOWTEXT, kText},        {COLOR_BTNFACE, RGB(0, 0, 0)},
    {COLOR_BTNTEXT, kText},            {COLOR_HIGHLIGHT, RGB(128, 0, 128)}, {COLOR_HIGHLIGHTTEXT, kText},
    {COLOR_GRAYTEXT, RGB(0, 255, 255)}, {COLOR_HOTLIGHT, RGB(0, 255, 255)}, {COLOR_BTNSHADOW, kText},
    {COLOR_BTNHIGHLIGHT, kText},       {COLOR_3DLIGHT, kText},           {COLOR_3DDKSHADOW, kText},
    {COLOR_WINDOWFRAME, kText},        {COLOR_SCROLLBAR, RGB(0, 0, 0)},
};

// Whether a colour lies on the line between two of the scheme's, give or
// take a little for rounding.
bool OfTheScheme(COLORREF pixel) {
    const int p[3] = {GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
    for (const Scheme& a : kDark) {
        for (const Scheme& b : kDark) {
            const int from[3] = {GetRValue(a.colour), GetGValue(a.colour), GetBValue(a.colour)};
            const int to[3] = {GetRValue(b.colour), GetGValue(b.colour), GetBValue(b.colour)};
            // The share of b that the channel with the longest way gives.
            int longest = 0;
            for (int c = 1; c < 3; ++c) {
                if (std::abs(to[c] - from[c]) > std::abs(to[longest] - from[longest])) longest = c;
            }
            const int span = to[longest] - from[longest];
            const double share = span ? double(p[longest] - from[longest]) / span : 0.0;
            if (share < -0.02 || share > 1.02) continue;
            bool onLine = true;
            for (int c = 0; c < 3 && onLine; ++c) onLine = std::abs(from[c] + share * (to[c] - from[c]) - p[c]) <= 6;
            if (onLine) return true;
        }
    }
    return false;
}

RECT RectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class HighContrast : public ::testing::Test {
protected:
    void SetUp() override {
        for (const Scheme& s : kDark) {
            elements_.push_back(s.element);
            before_.push_back(GetSysColor(s.element));
        }
    }
    void TearDown() override {
        widgets::AnswerHighContrastForTests(std::nullopt);
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), before_.data());
        PumpMessages();
    }
    std::vector<int> elements_;
    std::vector<COLORREF> before_;
};

TEST_F(HighContrast, TheMainWindowDrawsOnlyTheSchemesColoursBehindAndInItsTexts) {
    MainWindowProbe form(std::make_unique<MemoryRegistry>());
    form.Show();
    ASSERT_TRUE(form.WaitForIcons());
    SetForegroundWindow(form.Handle());
    // High contrast comes on, and the scheme with it, as a user's switch
    // does: the windows hear of the colours.
    widgets::AnswerHighContrastForTests(true);
    std::vector<COLORREF> colours;
    for (const Scheme& s : kDark) colours.push_back(s.colour);
    ASSERT_TRUE(SetSysColors(static_cast<int>(elements_.size()), elements_.data(), colours.data()));
    PumpMessages();
    UpdateWindow(form.Handle());
    PumpMessages();

    const HWND window = form.Handle();
    const ScreenPixels screen(window);
    screen.Save(L"main-window-high-contrast");
    // The lists show the shell's icons, and the logo and the hint's mark are
    // pictures beside text, not behind it: they are left out, as are the
    // flat buttons' glyphs (only their frames and margins are read).
    std::vector<RECT> pictures;
    for (const HWND picture : {form.placesList.Handle(), form.catalogue.Handle(), form.logo.Handle(),
                               form.dropHintIcon.Handle()}) {
        pictures.push_back(RectIn(window, picture));
    }
    // The marks of the radio buttons and the check box are the system's
    // own drawing (its theme, under Wine), left of their texts.
    for (const HWND marked : {form.folderKind.Handle(), form.specialKind.Handle(), form.hideBox.Handle()}) {
        RECT mark = RectIn(window, marked);
        mark.right = mark.left + form.Scale(16);
        pictures.push_back(mark);
    }
    std::vector<RECT> buttons;
    for (const auto* button : {&form.browseButton, &form.previewButton, &form.restoreButton, &form.aboutButton,
                               &form.exitButton, &form.moveUpButton, &form.moveDownButton, &form.changeFolderButton}) {
        buttons.push_back(RectIn(window, button->Handle()));
    }
    const int margin = form.Scale(3);
    int strays = 0;
    for (int y = 0; y < screen.Height(); ++y) {
        for (int x = 0; x < screen.Width(); ++x) {
            const POINT at{x, y};
            bool skipped = false;
            for (const RECT& r : pictures) skipped = skipped || PtInRect(&r, at);
            for (const RECT& r : buttons) {
                RECT inner = r;
                InflateRect(&inner, -margin, -margin);
                skipped = skipped || PtInRect(&inner, at);
            }
            if (skipped || OfTheScheme(screen.At(x, y))) continue;
            if (++strays <= 5) {
                const COLORREF c = screen.At(x, y);
                ADD_FAILURE() << "(" << x << ", " << y << ") is RGB(" << int(GetRValue(c)) << ", " << int(GetGValue(c))
                              << ", " << int(GetBValue(c)) << "), not the scheme's";
            }
        }
    }
    EXPECT_EQ(strays, 0) << "pixels of the window in colours of its own";
    // The banner's texts are there, in the scheme's text colour.
    const RECT banner = RectIn(window, form.banner.Handle());
    int textPixels = 0;
    for (int y = banner.top; y < banner.bottom; ++y) {
        for (int x = banner.left; x < banner.right; ++x) textPixels += screen.At(x, y) == kText;
    }
    EXPECT_GT(textPixels, 50) << "the banner shows its name and tagline in high contrast";
}

}  // namespace
}  // namespace quenmar::testing
