#pragma once
#include <windows.h>

#include "win/Form.h"

namespace xptest {

// A hidden top-level form for painting tests.
class TestForm : public win::Form {
public:
    explicit TestForm(int w = 400, int h = 300) {
        CreateForm(L"XPMenuTestForm", L"XP test", w, h, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr, true);
    }
};

// A 32-bit memory surface whose pixels the tests read back.
class Surface {
public:
    Surface(int w, int h, COLORREF fill = RGB(1, 2, 3));
    ~Surface();
    HDC DC() const { return dc_; }
    COLORREF At(int x, int y) const;

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    DWORD* bits_;
};

}  // namespace xptest
