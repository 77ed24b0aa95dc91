#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/GlyphImage.h"
#include "widgets/Resources.h"
#include "widgets/SystemColours.h"
#include "win32/Handles.h"
#include "ModalBoxes.h"

namespace quenmar::widgets {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kBlue = RGB(0x2f, 0x5f, 0x9e);
constexpr COLORREF kFace = RGB(0xf4, 0xf4, 0xf0);

// A 16 x 16 list holding one image: a blue 8 x 8 square on the mask colour.
win::UniqueImageList SquareList() {
    win::UniqueImageList list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    const win::WindowDC screen(nullptr);
    win::UniqueGdiObject bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
    {
        const win::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        const win::SelectedObject drawn(dc.get(), bitmap.get());
        const RECT all{0, 0, 16, 16}, square{4, 4, 12, 12};
        win::UniqueGdiObject key(CreateSolidBrush(kKey)), blue(CreateSolidBrush(kBlue));
        FillRect(dc.get(), &all, static_cast<HBRUSH>(key.get()));
        FillRect(dc.get(), &square, static_cast<HBRUSH>(blue.get()));
    }
    ImageList_AddMasked(list.get(), static_cast<HBITMAP>(bitmap.get()), kKey);
    return list;
}

struct Pixels {
    BITMAP info{};
    const BYTE* bits = nullptr;
    explicit Pixels(HBITMAP bitmap) {
        GetObjectW(bitmap, sizeof info, &info);
        bits = static_cast<const BYTE*>(info.bmBits);
    }
    // Blue, green, red, alpha, premultiplied.
    const BYTE* At(int x, int y) const { return bits + y * info.bmWidthBytes + x * 4; }
};

TEST(GlyphImage, AtItsOwnSizeTheImageIsCopiedWithItsMaskAsAlpha) {
    const auto list = SquareList();
    win::UniqueGdiObject glyph(MakeGlyphBitmap(list.get(), 0, 16, false, kFace));
    ASSERT_TRUE(glyph);
    const Pixels pixels(static_cast<HBITMAP>(glyph.get()));
    ASSERT_EQ(pixels.info.bmWidth, 16);
    ASSERT_EQ(pixels.info.bmBitsPixel, 32);
    int opaque = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const BYTE* p = pixels.At(x, y);
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
            EXPECT_EQ(p[3], inside ? 255 : 0) << x << "," << y;
            if (inside) {
                ++opaque;
                EXPECT_EQ(RGB(p[2], p[1], p[0]), kBlue) << x << "," << y;
            } else {
                EXPECT_EQ(p[0] | p[1] | p[2], 0) << "no colour where it is clear, " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(opaque, 64);
}

TEST(GlyphImage, ScaledUpItKeepsItsAreaAndNoTraceOfTheMaskColour) {
    const auto list = SquareList();
    win::UniqueGdiObject glyph(MakeGlyphBitmap(list.get(), 0, 24, false, kFace));
    ASSERT_TRUE(glyph);
    const Pixels pixels(static_cast<HBITMAP>(glyph.get()));
    ASSERT_EQ(pixels.info.bmWidth, 24);
    double coverage = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const BYTE* p = pixels.At(x, y);
            coverage += p[3] / 255.0;
            EXPECT_LE(p[0], p[3]);
            EXPECT_LE(p[2], p[3]) << "premultiplied";
            if (p[3] == 0) continue;
            // Over white, no pixel may lean to magenta: red above green by far.
            const int red = p[2] + (255 - p[3]), green = p[1] + (255 - p[3]);
            EXPECT_LT(red - green, 40) << "a tint of the mask colour at " << x << "," << y;
        }
    }
    EXPECT_NEAR(coverage, 64 * 2.25, 1.0) << "the square's area, one and a half times each way";
    const BYTE* middle = pixels.At(12, 12);
    EXPECT_EQ(middle[3], 255);
    EXPECT_EQ(RGB(middle[2], middle[1], middle[0]), kBlue);
    EXPECT_EQ(pixels.At(0, 0)[3], 0);
    EXPECT_EQ(pixels.At(23, 23)[3], 0);
}

TEST(GlyphImage, DisabledIsGreyWashedWithTheFace) {
    const auto list = SquareList();
    win::UniqueGdiObject glyph(MakeGlyphBitmap(list.get(), 0, 16, true, kFace));
    ASSERT_TRUE(glyph);
    const BYTE* p = Pixels(static_cast<HBITMAP>(glyph.get())).At(8, 8);
    // Grey, washed with the face: red and green as equal as the face's, each
    // channel lighter than the blue's grey (its brightness is near 0x58, well
    // under 0x60) and darker than the face.
    EXPECT_NEAR(p[2], p[1], 1) << "grey";
    for (int c : {0, 1, 2}) EXPECT_TRUE(p[c] > 0x60 && p[c] < 0xf4) << "washed, channel " << c;
    EXPECT_LT(p[0], p[1] + 8) << "no longer blue";
    EXPECT_EQ(p[3], 255);
}

TEST(GlyphImage, NoImageNoBitmap) {
    const auto list = SquareList();
    EXPECT_EQ(MakeGlyphBitmap(list.get(), 1, 16, false, kFace), nullptr);
    EXPECT_EQ(MakeGlyphBitmap(list.get(), -1, 16, false, kFace), nullptr);
    EXPECT_EQ(MakeGlyphBitmap(nullptr, 0, 16, false, kFace), nullptr);
    EXPECT_EQ(MakeGlyphBitmap(list.get(), 0, 0, false, kFace), nullptr);
}

// A form of the tests with a glyph-only button and a captioned one, their
// glyph the square.
class GlyphForm : public Form {
public:
    explicit GlyphForm(HIMAGELIST glyphs) : Form(Style()), glyphs_(glyphs) { CreateHandle(); }
    ~GlyphForm() override {
        if (Handle()) DestroyWindow(Handle());
    }
    void Created() override {
        button.Create(*this, "Square", {10, 10, 40, 40});
        button.SetGlyphOnly(true);
        button.SetGlyph(glyphs_, 0);
        captioned.Create(*this, "Square", {60, 10, 90, 40});
        captioned.SetGlyph(glyphs_, 0);
    }
    FlatButton button;
    FlatButton captioned;

private:
    static FormStyle Style() {
        FormStyle style;
        style.className = L"QuenmarGlyphForm";
        style.clientWidth = 160;
        style.clientHeight = 60;
        return style;
    }
    HIMAGELIST glyphs_;
};

// On the button, enabled and greyed, at whatever scale the tests run: the
// square in its colour (or grey washed with the face), the face around it
// where the mask leaves the glyph's box clear.
TEST(GlyphImage, AButtonDrawsItThroughItsMaskAndGreyedWhenDisabled) {
    const auto list = SquareList();
    GlyphForm form(list.get());
    form.Show();
    testing::PumpMessages();
    const HWND button = form.button.Handle();
    RECT r{};
    GetClientRect(button, &r);
    const int x = r.right / 2, y = r.bottom / 2, clear = form.Scale(6);  // the square reaches 4 of the box's 8
    // The blue's grey (0.30, 0.59, 0.11 of 0x2f, 0x5f, 0x9e: 87.5) at 105 of
    // 255, with the face (the system's) at 150 of 255.
    const COLORREF face = widgets::CurrentPalette().face;
    const auto washed = [](int faceChannel) { return static_cast<int>((87.5 * 105 + faceChannel * 150) / 255 + 0.5); };
    const COLORREF greyed = RGB(washed(GetRValue(face)), washed(GetGValue(face)), washed(GetBValue(face)));
    for (const bool enabled : {true, false, true}) {
        form.button.SetEnabled(enabled);
        const COLORREF centre = testing::ClientPixel(button, x, y);
        const COLORREF expected = enabled ? kBlue : greyed;
        for (const int shift : {0, 8, 16}) {  // red, green, blue
            EXPECT_NEAR((centre >> shift) & 0xFF, (expected >> shift) & 0xFF, 1) << (enabled ? "enabled" : "disabled");
        }
        EXPECT_EQ(testing::ClientPixel(button, x - clear, y - clear), face) << "no trace of the mask colour";
        EXPECT_EQ(testing::ClientPixel(button, x + clear - 1, y + clear - 1), face);
    }
}

// The columns the square fills on screen across the button's middle, from
// the button's left edge on screen: the first and one past the last.
std::pair<int, int> SquareColumns(HWND button) {
    UpdateWindow(button);
    RECT r{};
    GetWindowRect(button, &r);
    const win::WindowDC screen(nullptr);
    std::pair<int, int> columns{-1, -1};
    for (int x = r.left; x < r.right; ++x) {
        if (GetPixel(screen.get(), x, (r.top + r.bottom) / 2) != kBlue) continue;
        if (columns.first < 0) columns.first = x - r.left;
        columns.second = x - r.left + 1;
    }
    return columns;
}

// Mirrored for a language read from right to left, a glyph stands where the
// left-to-right design's mirror image puts it, whole on its button: centred
// when alone, right of the caption beside it.
TEST(GlyphImage, AMirroredButtonShowsItsGlyphInTheMirrorImageOfItsPlace) {
    const auto list = SquareList();
    std::vector<std::pair<int, int>> leftToRight;
    for (const DWORD layout : {DWORD{0}, DWORD{LAYOUT_RTL}}) {
        SetProcessDefaultLayout(layout);
        GlyphForm form(list.get());
        form.Show();
        testing::PumpMessages();
        SetProcessDefaultLayout(0);
        ASSERT_EQ((GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, layout != 0);
        const FlatButton* buttons[] = {&form.button, &form.captioned};
        for (size_t i = 0; i < std::size(buttons); ++i) {
            RECT r{};
            GetWindowRect(buttons[i]->Handle(), &r);
            const int width = r.right - r.left;
            const std::pair<int, int> square = SquareColumns(buttons[i]->Handle());
            if (!layout) {
                EXPECT_EQ(square.second - square.first, form.Scale(8)) << "whole, left to right, button " << i;
                leftToRight.push_back(square);
                continue;
            }
            EXPECT_EQ(square, std::make_pair(width - leftToRight[i].second, width - leftToRight[i].first))
                << "mirrored, button " << i;
        }
        RECT captioned{};
        GetWindowRect(form.captioned.Handle(), &captioned);
        const auto [first, last] = SquareColumns(form.captioned.Handle());
        EXPECT_EQ(first + last > captioned.right - captioned.left, layout != 0) << "before the caption as it reads";
    }
}

// A bitmap's pixels, top row first, as 0x00RRGGBB.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    width = info.bmWidth, height = info.bmHeight;
    BITMAPINFO format{{sizeof format.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    const win::WindowDC screen(nullptr);
    GetDIBits(screen.get(), bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    return pixels;
}

// Each picture is drawn for the scale: at 200 percent it is twice the size
// and not the 100-percent picture with every pixel doubled.
TEST(Pictures, DrawnForTheScale) {
    const std::pair<const wchar_t*, SIZE> pictures[] = {
        {L"BANNER", {220, 45}}, {L"LOGO72", {72, 72}}, {L"ABOUTLOGO", {96, 96}}, {L"HINT", {16, 16}}};
    for (const auto& [name, designed] : pictures) {
        int width = 0, height = 0, width2 = 0, height2 = 0;
        const win::UniqueGdiObject plain(LoadPicture(name, 96)), doubled(LoadPicture(name, 192));
        const auto small = PixelsOf(static_cast<HBITMAP>(plain.get()), width, height);
        const auto large = PixelsOf(static_cast<HBITMAP>(doubled.get()), width2, height2);
        EXPECT_EQ(width2, 2 * designed.cx) << name;
        EXPECT_EQ(height2, 2 * designed.cy) << name;
        size_t differing = 0;
        for (int y = 0; y < height2 && width == designed.cx; ++y) {
            for (int x = 0; x < width2; ++x) differing += large[y * width2 + x] != small[(y / 2) * width + x / 2];
        }
        EXPECT_GT(differing, large.size() / 20) << name << ": a twentieth of its pixels at least are drawn anew";
    }
}

}  // namespace
}  // namespace quenmar::widgets
