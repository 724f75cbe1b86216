#pragma once
#include "win/Color.h"

namespace flat {

using win::TColor;

// Scale of saturation and lightness; hue runs 0..HslScale - 1.
constexpr int HslScale = 240;

struct Hsl {
    double h, s, l;  // each 0..1, hue as a fraction of a turn
};
struct ScaledHsl {
    int h, s, l;
};

// The colour must already be resolved (a plain $00BBGGRR).
Hsl ColorToHsl(TColor color);
TColor HslToColor(double h, double s, double l);
ScaledHsl ColorToScaledHsl(TColor color);
TColor ScaledHslToColor(int h, int s, int l);

using win::RoundEven;

}  // namespace flat
