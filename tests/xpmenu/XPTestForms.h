#pragma once
#include <windows.h>

#include "win/Bitmap.h"
#include "win/Form.h"

namespace xptest {

// A hidden top-level form for painting tests.
class TestForm : public win::Form {
public:
    explicit TestForm(int w = 400, int h = 300) {
        CreateForm(L"XPMenuTestForm", L"XP test", w, h, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr, true);
    }
};

// What a test picture (a win::Bitmap) is filled with before the painter
// draws: a colour no painter uses, so untouched pixels show.
constexpr COLORREF kUnpainted = RGB(1, 2, 3);

// Relations between painted colours, as a user sees them.
inline int Sum(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }
// a is lighter than b: no channel darker, and some lighter.
inline bool Lighter(COLORREF a, COLORREF b) {
    return GetRValue(a) >= GetRValue(b) && GetGValue(a) >= GetGValue(b) && GetBValue(a) >= GetBValue(b) &&
           Sum(a) > Sum(b);
}
inline bool Darker(COLORREF a, COLORREF b) { return Lighter(b, a); }
// The channels keep their order (the same hue, more or less light).
inline bool SameOrder(COLORREF a, COLORREF b) {
    auto sign = [](int x, int y) { return (x > y) - (x < y); };
    auto same = [&](int a1, int a2, int b1, int b2) { return sign(a1, a2) == sign(b1, b2); };
    const int ar = GetRValue(a), ag = GetGValue(a), ab = GetBValue(a);
    const int br = GetRValue(b), bg = GetGValue(b), bb = GetBValue(b);
    return same(ar, ag, br, bg) && same(ag, ab, bg, bb) && same(ar, ab, br, bb);
}
// A lighter or darker shade of the same hue.
inline bool LightTintOf(COLORREF tint, COLORREF base) { return Lighter(tint, base) && SameOrder(tint, base); }
inline bool DarkShadeOf(COLORREF shade, COLORREF base) { return Darker(shade, base) && SameOrder(shade, base); }

}  // namespace xptest
