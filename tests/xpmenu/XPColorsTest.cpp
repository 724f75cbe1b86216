#include <gtest/gtest.h>


#include "xpmenu/XPTestForms.h"
#include "win/PopupMenu.h"
#include "xpmenu/XPMenu.h"

using namespace xpmenu;
using namespace xptest;

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

    win::Bitmap s(10, 10, RGB(9, 9, 9));
    PaintGlyphShadow(g, s.DC(), 4, 5, RGB(1, 100, 1));  // key = bottom-left pixel
    EXPECT_EQ(s.Pixel(4, 5), RGB(1, 100, 1));
    EXPECT_EQ(s.Pixel(6, 5), RGB(1, 100, 1));
    EXPECT_EQ(s.Pixel(4, 6), RGB(9, 9, 9));  // key pixels leave the canvas alone

    FadeGlyph(g, 250);  // capped at 100: everything white
    EXPECT_EQ(g.Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(g.Pixel(2, 0), RGB(255, 255, 255));
}

namespace {
// Items of a shortcut menu, and one of the form's menu bar, painted by the
// painter into memory, 200 x 22 at (10, 0); the icon column is the first 24
// columns.
struct PaletteFixture : ::testing::Test {
    win::Sealed<xptest::TestForm> form;
    TXPMenu xp{form};
    win::PopupMenu menu;
    win::MenuItem& plain = menu.Root.Add(L"Plain");
    win::MenuItem& checked = menu.Root.Add(L"Checked");
    win::MenuItem& disabled = menu.Root.Add(L"Disabled item");
    win::MenuItem& separator = menu.Root.AddSeparator();
    win::MenuItem& barItem = form.Menu().Root.Add(L"&File");
    void SetUp() override {
        checked.Checked = true;
        disabled.Enabled = false;
        xp.SetActive(true);
    }
    win::Bitmap Paint(win::MenuItem& item, bool selected, int h = 22) {
        win::Bitmap s(220, 30, xptest::kUnpainted);
        xp.PaintMenuItem(item, s.DC(), {10, 0, 210, h}, selected);
        return s;
    }
};
}  // namespace

TEST_F(PaletteFixture, ContrastTextColorPicksTheFontColourOnLightColours) {
    xp.SetFont(xp.FontSpec(), RGB(1, 2, 3));
    EXPECT_EQ(xp.ContrastTextColor(RGB(200, 0, 200)), RGB(1, 2, 3));     // (R+B)/2 > 150
    EXPECT_EQ(xp.ContrastTextColor(RGB(0, 201, 0)), RGB(1, 2, 3));       // G > 200
    const COLORREF onGreen = xp.ContrastTextColor(RGB(150, 200, 150));  // else a light tint of the colour
    EXPECT_TRUE(LightTintOf(onGreen, RGB(150, 200, 150)) && Sum(onGreen) > 3 * 230) << std::hex << onGreen;
    EXPECT_EQ(xp.ContrastTextColor(RGB(100, 100, 100)), RGB(240, 240, 240));
}

// With the system's colours on a high-colour screen the menu is a light tint
// of the button face, and the selection a light tint of the highlight inside
// a border of the highlight itself.
TEST_F(PaletteFixture, SystemColoursGiveLightTintsOfFaceAndHighlight) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), hl = GetSysColor(COLOR_HIGHLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW);
    xp.SetColor(RGB(1, 1, 1));  // ignored while system colours are used
    xp.RefreshPalette(32);
    auto rest = Paint(plain, false);
    const COLORREF back = rest.Pixel(205, 5), column = rest.Pixel(12, 5);
    EXPECT_TRUE(Lighter(back, face)) << std::hex << back;
    EXPECT_TRUE(Lighter(column, face)) << std::hex << column;
    EXPECT_TRUE(Lighter(back, column)) << "the icon column stands out";
    EXPECT_EQ(Paint(barItem, false).Pixel(12, 2), face) << "the menu bar";

    auto lit = Paint(plain, true);
    const COLORREF fill = lit.Pixel(205, 5), border = lit.Pixel(209, 5);
    EXPECT_EQ(border, hl);
    EXPECT_TRUE(Lighter(fill, hl)) << std::hex << fill;
    EXPECT_TRUE(SameOrder(fill, hl)) << std::hex << fill;

    // A check box is lighter than the selection, and darker inside a lit
    // item so that it still shows there; both tints of the highlight.
    const COLORREF box = Paint(checked, false).Pixel(19, 7), litBox = Paint(checked, true).Pixel(19, 7);
    EXPECT_TRUE(Lighter(box, fill)) << std::hex << box;
    EXPECT_TRUE(Lighter(fill, litBox)) << std::hex << litBox;
    EXPECT_TRUE(SameOrder(box, hl) && SameOrder(litBox, hl));

    // The separator and disabled text: lighter than the shadow, darker than the menu.
    const COLORREF line = Paint(separator, false, 4).Pixel(100, 2);
    EXPECT_TRUE(Lighter(line, shadow) && Lighter(back, line)) << std::hex << line;
    auto off = Paint(disabled, false);
    COLORREF darkest = back;
    for (int y = 0; y < 22; ++y)
        for (int x = 40; x < 200; ++x)
            if (Sum(off.Pixel(x, y)) < Sum(darkest)) darkest = off.Pixel(x, y);
    EXPECT_NE(darkest, back) << "no text was drawn";
    EXPECT_TRUE(Lighter(darkest, shadow)) << std::hex << darkest;
}

TEST_F(PaletteFixture, OwnColoursShowAsChosenOrDimmedAtHighDepth) {
    const COLORREF select = RGB(0, 0, 200);
    xp.SetUseSystemColors(false);
    xp.SetSelectColor(select);
    xp.SetColor(RGB(10, 20, 30));
    xp.SetMenuBarColor(RGB(7, 7, 7));
    xp.RefreshPalette(32);
    EXPECT_EQ(Paint(plain, false).Pixel(205, 5), RGB(10, 20, 30));
    EXPECT_EQ(Paint(barItem, false).Pixel(12, 2), RGB(7, 7, 7)) << "the menu bar";
    EXPECT_EQ(Paint(plain, true).Pixel(205, 5), select);
    EXPECT_EQ(Paint(checked, false).Pixel(19, 7), select);

    // Dimmed: lighter tints of the selection colour, the check box lightest.
    xp.UseDimColor = true;
    xp.RefreshPalette(24);
    const COLORREF fill = Paint(plain, true).Pixel(205, 5), box = Paint(checked, false).Pixel(19, 7),
                   litBox = Paint(checked, true).Pixel(19, 7);
    EXPECT_TRUE(Lighter(fill, select) && SameOrder(fill, select)) << std::hex << fill;
    EXPECT_TRUE(Lighter(box, fill)) << std::hex << box;
    EXPECT_TRUE(Lighter(fill, litBox) && Lighter(litBox, select)) << std::hex << litBox;

    // Few colours: no tints; the selection as chosen, check boxes white and silver.
    xp.RefreshPalette(8);
    EXPECT_EQ(Paint(plain, true).Pixel(205, 5), select);
    EXPECT_EQ(Paint(checked, false).Pixel(19, 7), RGB(255, 255, 255));
    EXPECT_EQ(Paint(checked, true).Pixel(19, 7), RGB(0xC0, 0xC0, 0xC0));
}
