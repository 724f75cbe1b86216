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

}  // namespace xptest
