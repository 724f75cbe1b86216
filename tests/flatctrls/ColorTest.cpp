#include <gtest/gtest.h>

#include <cmath>

#include "flatctrls/FlatUtilitys.h"
#include "flatctrls/HSLUtils.h"

using namespace flat;

namespace {
int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }
}  // namespace

TEST(Hsl, ColorToHslCases) {
    struct Case {
        TColor color;
        double h, s, l;
    } cases[] = {
        {0x000000FF, 0.0, 1.0, 0.5},          // pure red
        {0x0000FF00, 2.0 / 6, 1.0, 0.5},      // pure green
        {0x00FF0000, 4.0 / 6, 1.0, 0.5},      // pure blue
        {0x00FF00FF, 5.0 / 6, 1.0, 0.5},      // magenta: raw hue -1, wrapped
        {0x00808080, 0.0, 0.0, 128 / 255.0},  // grey: no hue, no saturation
        {0x00FFFFFF, 0.0, 0.0, 1.0},
        {0x00400080, 11.0 / 12, 1.0, 128 / 510.0},  // r 128, b 64: raw hue -0.5, wrapped
    };
    for (const auto& c : cases) {
        Hsl v = ColorToHsl(c.color);
        EXPECT_NEAR(v.h, c.h, 1e-4) << std::hex << c.color;
        EXPECT_NEAR(v.s, c.s, 1e-4) << std::hex << c.color;
        EXPECT_NEAR(v.l, c.l, 1e-4) << std::hex << c.color;
    }
}

TEST(Hsl, ScaledHueWrapsAndZeroSaturationIgnoresHue) {
    EXPECT_EQ(ScaledHslToColor(239, 240, 120), ScaledHslToColor(0, 240, 120));
    EXPECT_EQ(ScaledHslToColor(0, 240, 120), 0x000000FFu);
    for (int h : {0, 37, 160, 239}) EXPECT_EQ(HslToColor(h / 239.0, 0, 0.5), 0x00808080u) << h;
    auto blue = ColorToScaledHsl(0x00FF0000);
    EXPECT_EQ(blue.h, 159);  // 4/6 of 239, rounded
    EXPECT_EQ(blue.s, 240);
    EXPECT_EQ(blue.l, 120);
}

TEST(Hsl, RoundsHalvesToEven) {
    EXPECT_EQ(RoundEven(0.5), 0);
    EXPECT_EQ(RoundEven(1.5), 2);
    EXPECT_EQ(RoundEven(2.5), 2);
    EXPECT_EQ(RoundEven(2.51), 3);
}

TEST(Hsl, RoundTripStaysWithinRounding) {
    // Every 17th step of each channel: the scaled form loses a little, the
    // fractional form nothing.
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 17) {
                TColor c = r | (g << 8) | (b << 16);
                Hsl v = ColorToHsl(c);
                EXPECT_EQ(HslToColor(v.h, v.s, v.l), c);
                ScaledHsl s = ColorToScaledHsl(c);
                TColor back = ScaledHslToColor(s.h, s.s, s.l);
                EXPECT_LE(std::abs(R(back) - r), 4) << std::hex << c;
                EXPECT_LE(std::abs(G(back) - g), 4) << std::hex << c;
                EXPECT_LE(std::abs(B(back) - b), 4) << std::hex << c;
            }
}

TEST(DeriveAdvColor, TheRulesCases) {
    // White lightened: lightness 240 + 10 is capped at 100 of 240.
    EXPECT_EQ(DeriveAdvColor(clWhite, 0x123456, 10, AdvColorMode::Lighten), 0x006A6A6Au);
    // A percentage of 0 keeps the current colour, whatever the base.
    EXPECT_EQ(DeriveAdvColor(clWhite, 0x123456, 0, AdvColorMode::Lighten), 0x123456u);
    EXPECT_EQ(DeriveAdvColor(0x00336699, 0x00ABCDEF, 0, AdvColorMode::Darken), 0x00ABCDEFu);
    // Darken by 10 gives back the base's own lightness.
    for (TColor base : {0x00808080u, 0x00404040u, 0x00203040u, 0x00102060u}) {
        TColor d = DeriveAdvColor(base, clBlack, 10, AdvColorMode::Darken);
        ScaledHsl a = ColorToScaledHsl(base), b = ColorToScaledHsl(d);
        EXPECT_NEAR(b.l, a.l, 1) << std::hex << base;
        EXPECT_LE(std::abs(R(d) - R(base)), 3) << std::hex << base;
        EXPECT_LE(std::abs(B(d) - B(base)), 3) << std::hex << base;
    }
    // A grey base stays grey; darken clamps at black.
    TColor grey = DeriveAdvColor(0x00606060, clWhite, 50, AdvColorMode::Darken);
    EXPECT_TRUE(R(grey) == G(grey) && G(grey) == B(grey));
    EXPECT_EQ(DeriveAdvColor(0x00101010, clWhite, 100, AdvColorMode::Darken), 0u);
    // A light base lightened comes out darker than the base (the cap).
    TColor hot = DeriveAdvColor(clFlatFace, clWhite, 10, AdvColorMode::Lighten);
    EXPECT_LT(ColorToScaledHsl(hot).l, ColorToScaledHsl(clFlatFace).l);
    EXPECT_EQ(ColorToScaledHsl(hot).l, 100);
}

TEST(DeriveAdvColor, ResolvesSystemColours) {
    TColor face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(DeriveAdvColor(clBtnFace, 0, 50, AdvColorMode::Darken),
              DeriveAdvColor(face, 0, 50, AdvColorMode::Darken));
    EXPECT_EQ(win::ColorToRGB(clBtnShadow), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(win::ColorToRGB(0x00123456), 0x00123456u);
}
