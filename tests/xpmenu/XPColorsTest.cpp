#include <gtest/gtest.h>

#include "xpmenu/XPTestForms.h"
#include "xpmenu/XPMenu.h"

using namespace xpmenu;

namespace xptest {
Surface::Surface(int w, int h, COLORREF fill) : w_(w), h_(h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bmp_);
    FillColor(dc_, 0, 0, w, h, fill);
}
Surface::~Surface() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bmp_);
}
COLORREF Surface::At(int x, int y) const {
    GdiFlush();
    DWORD v = bits_[y * w_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}
}  // namespace xptest

TEST(XPColors, LightenRoundsHalvesToEvenAndCapsThePercentOnlyAbove) {
    struct Case { COLORREF in; int p; COLORREF out; } cases[] = {
        {RGB(0, 2, 4), 50, RGB(128, 128, 130)},        // 127.5 -> 128, 126.5 -> 126, 125.5 -> 126
        {RGB(10, 20, 30), 150, RGB(255, 255, 255)},    // capped at 100 %
        {RGB(100, 100, 100), 0, RGB(100, 100, 100)},
        {RGB(100, 255, 0), -10, RGB(84, 255, 0)},      // no lower cap: 100 - 15.5 -> 84; 0 - 25.5 -> 0
        {RGB(100, 100, 100), 90, RGB(240, 240, 240)},  // 139.5 -> 140
    };
    for (auto& c : cases) EXPECT_EQ(LightenColor(c.in, c.p), c.out) << c.p;
    EXPECT_EQ(LightenColor(clBtnFace, 0), GetSysColor(COLOR_BTNFACE));  // system colours resolve first
}

TEST(XPColors, DarkenLowersGreenTwoLessAndClamps) {
    struct Case { COLORREF in; int d; COLORREF out; } cases[] = {
        {RGB(100, 100, 100), 30, RGB(70, 72, 70)},
        {RGB(10, 1, 250), 20, RGB(0, 0, 230)},
        {RGB(255, 254, 255), -5, RGB(255, 255, 255)},
        {RGB(0, 0, 0), 1, RGB(0, 1, 0)},
    };
    for (auto& c : cases) EXPECT_EQ(DarkenColor(c.in, c.d), c.out) << c.d;
}

TEST(XPColors, ToGrayAddsTheLevelToTheMeanAndCapsAt240) {
    EXPECT_EQ(ToGray(RGB(30, 60, 90), 10), RGB(70, 70, 70));
    EXPECT_EQ(ToGray(RGB(1, 1, 2), 0), RGB(1, 1, 1));  // integer mean
    EXPECT_EQ(ToGray(RGB(250, 250, 250), 10), RGB(240, 240, 240));
    EXPECT_EQ(ToGray(RGB(230, 230, 233), 10), RGB(240, 240, 240));
    EXPECT_EQ(ToGray(RGB(255, 255, 255), 0), RGB(240, 240, 240));
}

TEST(XPColors, GlyphHelpersFadeGreyAndCastShadows) {
    win::Bitmap g(3, 2, KeyColor);
    g.SetPixel(0, 0, RGB(0, 0, 0));
    g.SetPixel(1, 0, RGB(0, 0, 0));
    g.SetPixel(2, 0, RGB(100, 200, 50));
    win::Bitmap grey(3, 2, KeyColor);
    grey.SetPixel(0, 0, RGB(30, 60, 90));
    GrayGlyph(grey, 10);
    EXPECT_EQ(grey.Pixel(0, 0), RGB(70, 70, 70));
    EXPECT_EQ(grey.Pixel(1, 1), ToGray(KeyColor, 10));

    xptest::Surface s(10, 10, RGB(9, 9, 9));
    PaintGlyphShadow(g, s.DC(), 4, 5, RGB(1, 100, 1));  // key = bottom-left pixel
    EXPECT_EQ(s.At(4, 5), RGB(1, 100, 1));
    EXPECT_EQ(s.At(6, 5), RGB(1, 100, 1));
    EXPECT_EQ(s.At(4, 6), RGB(9, 9, 9));  // key pixels leave the canvas alone

    FadeGlyph(g, 250);  // capped at 100: everything white
    EXPECT_EQ(g.Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(g.Pixel(2, 0), RGB(255, 255, 255));
}

namespace {
struct PaletteFixture : ::testing::Test {
    win::Sealed<xptest::TestForm> form;
    TXPMenu xp{form};
};
}  // namespace

TEST_F(PaletteFixture, ContrastTextColorPicksTheFontColourOnLightColours) {
    xp.SetFont(xp.FontSpec(), RGB(1, 2, 3));
    EXPECT_EQ(xp.ContrastTextColor(RGB(200, 0, 200)), RGB(1, 2, 3));     // (R+B)/2 > 150
    EXPECT_EQ(xp.ContrastTextColor(RGB(0, 201, 0)), RGB(1, 2, 3));       // G > 200
    EXPECT_EQ(xp.ContrastTextColor(RGB(150, 200, 150)), LightenColor(RGB(150, 200, 150), 90));
    EXPECT_EQ(xp.ContrastTextColor(RGB(100, 100, 100)), RGB(240, 240, 240));
}

TEST_F(PaletteFixture, SystemColoursFollowTheTableAtHighAndLowDepth) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), hl = GetSysColor(COLOR_HIGHLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW), font = GetSysColor(COLOR_MENUTEXT);
    xp.SetColor(RGB(1, 1, 1));  // ignored while system colours are used
    EXPECT_TRUE(xp.PaletteDirty());
    xp.RefreshPalette(32);
    EXPECT_FALSE(xp.PaletteDirty());
    EXPECT_TRUE(xp.HighColor());
    const TPaintColors& c = xp.PaintColors();
    struct Row { const char* name; COLORREF got, want; };
    Row high[] = {
        {"background", c.Background, LightenColor(face, 86)},
        {"icon column", c.IconColumn, LightenColor(face, 16)},
        {"selection fill", c.SelectFill, LightenColor(hl, 68)},
        {"selection border", c.SelectBorder, hl},
        {"selected text", c.SelectText, font},
        {"check fill", c.CheckFill, LightenColor(hl, 80)},
        {"selected check fill", c.CheckFillSelected, LightenColor(hl, 50)},
        {"check mark", c.CheckMark, hl},
        {"bar", c.Bar, face},
        {"disabled", c.Disabled, LightenColor(shadow, 10)},
        {"separator", c.Separator, LightenColor(shadow, 25)},
        {"frame outer", c.FrameOuter, DarkenColor(face, 90)},
        {"frame shadow", c.FrameShadow, DarkenColor(face, 76)},
    };
    for (auto& r : high) EXPECT_EQ(r.got, r.want) << "32 bpp " << r.name;
    EXPECT_EQ(c.FaceLighten, 16);
    EXPECT_EQ(c.HotLighten, 40);

    xp.RefreshPalette(8);
    EXPECT_FALSE(xp.HighColor());
    const COLORREF white = RGB(255, 255, 255);
    Row low[] = {
        {"background", c.Background, white},
        {"icon column", c.IconColumn, face},
        {"selection fill", c.SelectFill, white},
        {"selection border", c.SelectBorder, hl},
        {"selected text", c.SelectText, font},
        {"check fill", c.CheckFill, white},
        {"selected check fill", c.CheckFillSelected, white},
        {"check mark", c.CheckMark, hl},
        {"bar", c.Bar, face},
        {"disabled", c.Disabled, shadow},
        {"separator", c.Separator, shadow},
        {"frame outer", c.FrameOuter, shadow},
        {"frame shadow", c.FrameShadow, shadow},
    };
    for (auto& r : low) EXPECT_EQ(r.got, r.want) << "8 bpp " << r.name;
}

TEST_F(PaletteFixture, OwnColoursDimOnlyAtHighDepth) {
    xp.SetUseSystemColors(false);
    xp.UseDimColor = true;
    xp.SetSelectColor(RGB(0, 0, 200));
    xp.SetColor(RGB(10, 20, 30));
    xp.SetMenuBarColor(RGB(7, 7, 7));
    xp.RefreshPalette(24);
    const TPaintColors& c = xp.PaintColors();
    EXPECT_EQ(c.Background, RGB(10, 20, 30));
    EXPECT_EQ(c.SelectFill, LightenColor(RGB(0, 0, 200), 68));
    EXPECT_EQ(c.CheckFill, LightenColor(RGB(0, 0, 200), 80));
    EXPECT_EQ(c.CheckFillSelected, LightenColor(RGB(0, 0, 200), 50));
    EXPECT_EQ(c.Bar, RGB(7, 7, 7));
    xp.RefreshPalette(8);
    EXPECT_EQ(c.SelectFill, RGB(0, 0, 200));
    EXPECT_EQ(c.CheckFill, RGB(255, 255, 255));
    EXPECT_EQ(c.CheckFillSelected, RGB(0xC0, 0xC0, 0xC0));
    xp.UseDimColor = false;
    xp.RefreshPalette(32);
    EXPECT_EQ(c.SelectFill, RGB(0, 0, 200));
    EXPECT_EQ(c.CheckFill, RGB(0, 0, 200));
}
