#pragma once
#include <windows.h>

#include "win/Bitmap.h"
#include "win/Window.h"

namespace win {

// A child window that shows a picture it owns at its top-left corner; an
// empty picture leaves the control in the button-face colour.
class Picture : public Window {
public:
    void Create(HWND parent, int x, int y, int w, int h);
    void SetPicture(Bitmap picture);
    const Bitmap& Image() const { return picture_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc);
    Bitmap picture_;
};

// A sunken horizontal rule: a shadow line over a highlight line.
class SunkenRule : public Window {
public:
    void Create(HWND parent, int x, int y, int w, int h = 2);
};

}  // namespace win
