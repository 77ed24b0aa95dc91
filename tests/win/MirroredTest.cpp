// Mirrored for a language read from right to left, the main window keeps its
// pictures' orientation: the banner on screen is the banner as drawn.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "MainWindowProbe.h"
#include "MemoryRegistry.h"
#include "ModalBoxes.h"
#include "ScreenPixels.h"
#include "win32/Handles.h"
#include "win32/Texts.h"

namespace quenmar::testing {
namespace {

// A bitmap's pixels, row after row from the top.
std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    width = info.bmWidth, height = info.bmHeight;
    BITMAPINFO request{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<RGBQUAD> quads(static_cast<size_t>(width) * height);
    const win::WindowDC screen(nullptr);
    GetDIBits(screen.get(), bitmap, 0, height, quads.data(), &request, DIB_RGB_COLORS);
    std::vector<COLORREF> pixels;
    for (const RGBQUAD& q : quads) pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    return pixels;
}

TEST(Mirrored, TheBannerKeepsItsOrientation) {
    win::SetTextLanguage(MAKELANGID(LANG_HEBREW, SUBLANG_NEUTRAL));
    SetProcessDefaultLayout(LAYOUT_RTL);
    {
        MainWindowProbe form(std::make_unique<MemoryRegistry>());
        form.Show();
        PumpMessages();
        SetForegroundWindow(form.Handle());
        UpdateWindow(form.Handle());
        PumpMessages();
        ASSERT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
        const win::UniqueGdiObject drawn(
            LoadImageW(GetModuleHandleW(nullptr), L"BANNER", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_TRUE(drawn);
        int width = 0, height = 0;
        const std::vector<COLORREF> banner = PixelsOf(static_cast<HBITMAP>(drawn.get()), width, height);
        const ScreenPixels screen(form.Handle());
        RECT shown{};  // from the client area's left edge on screen
        GetWindowRect(form.banner.Handle(), &shown);
        OffsetRect(&shown, -screen.Origin().x, -screen.Origin().y);
        ASSERT_EQ(shown.right - shown.left, width);
        // Above the tagline, which the window writes into it.
        int same = 0, mirrored = 0, compared = 0;
        for (int y = 0; y < height * 26 / 45; ++y) {
            for (int x = 0; x < width; ++x, ++compared) {
                const COLORREF onScreen = screen.At(shown.left + x, shown.top + y);
                same += onScreen == banner[static_cast<size_t>(y) * width + x];
                mirrored += onScreen == banner[static_cast<size_t>(y) * width + (width - 1 - x)];
            }
        }
        EXPECT_EQ(same, compared) << "the banner as drawn";
        EXPECT_LT(mirrored, compared * 3 / 4) << "the picture tells its sides apart";

        // Its tagline reads from right to left: "Quenmar: <Hebrew>" shows as
        // "<Hebrew> :Quenmar" shows in a window that reads from left to right.
        const auto taglineDrawn = [](widgets::Banner& banner, const std::string& tagline) {
            banner.Show(widgets::CurrentPalette(), "Quenmar", tagline);
            int w = 0, h = 0;
            return PixelsOf(reinterpret_cast<HBITMAP>(SendMessageW(banner.Handle(), STM_GETIMAGE, IMAGE_BITMAP, 0)), w, h);
        };
        const std::string hebrew = "\u05DE\u05D3\u05D9\u05E0\u05D9\u05D5\u05EA";
        SetProcessDefaultLayout(0);
        MainWindowProbe leftToRight(std::make_unique<MemoryRegistry>());
        EXPECT_EQ(taglineDrawn(form.banner, "Quenmar: " + hebrew), taglineDrawn(leftToRight.banner, hebrew + " :Quenmar"));
        EXPECT_NE(taglineDrawn(leftToRight.banner, "Quenmar: " + hebrew), taglineDrawn(leftToRight.banner, hebrew + " :Quenmar"))
            << "the two orders are told apart";
    }
    PumpMessages();
    SetProcessDefaultLayout(0);
    win::SetTextLanguage(0);
}

}  // namespace
}  // namespace quenmar::testing
