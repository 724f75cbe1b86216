#include "flatctrls/HSLUtils.h"

#include <algorithm>
#include <cmath>

namespace flat {

Hsl ColorToHsl(TColor color) {
    double r = (color & 0xFF) / 255.0;
    double g = ((color >> 8) & 0xFF) / 255.0;
    double b = ((color >> 16) & 0xFF) / 255.0;
    double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    Hsl out{0, 0, (mx + mn) / 2};
    if (mx == mn) return out;
    double d = mx - mn;
    out.s = out.l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    double h;
    if (r == mx) h = (g - b) / d;
    else if (g == mx) h = 2 + (b - r) / d;
    else h = 4 + (r - g) / d;
    h /= 6;
    if (h < 0) h += 1;
    out.h = h;
    return out;
}

namespace {
int HueToChannel(double m1, double m2, double h) {
    if (h < 0) h += 1;
    else if (h > 1) h -= 1;
    double v;
    if (6 * h < 1) v = m1 + (m2 - m1) * h * 6;
    else if (2 * h < 1) v = m2;
    else if (3 * h < 2) v = m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    else v = m1;
    return RoundEven(v * 255);
}
}  // namespace

TColor HslToColor(double h, double s, double l) {
    if (s == 0) {
        TColor c = (TColor)RoundEven(l * 255) & 0xFF;
        return c | (c << 8) | (c << 16);
    }
    double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    double m1 = 2 * l - m2;
    TColor r = (TColor)HueToChannel(m1, m2, h + 1.0 / 3) & 0xFF;
    TColor g = (TColor)HueToChannel(m1, m2, h) & 0xFF;
    TColor b = (TColor)HueToChannel(m1, m2, h - 1.0 / 3) & 0xFF;
    return r | (g << 8) | (b << 16);
}

ScaledHsl ColorToScaledHsl(TColor color) {
    Hsl v = ColorToHsl(color);
    return {RoundEven(v.h * (HslScale - 1)), RoundEven(v.s * HslScale), RoundEven(v.l * HslScale)};
}

TColor ScaledHslToColor(int h, int s, int l) {
    return HslToColor(h / double(HslScale - 1), s / double(HslScale), l / double(HslScale));
}

}  // namespace flat
