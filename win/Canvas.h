#pragma once
#include <windows.h>

#include <string>

#include "win/Bitmap.h"
#include "win/Color.h"
#include "win/Gdi.h"

namespace win {

// Non-owning drawing surface on any DC. The pen, brush and font it creates
// are selected into the DC and deleted (after deselection) by the canvas;
// the DC's original objects come back when the canvas goes away.
class Canvas {
public:
    explicit Canvas(HDC dc);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Handle() const { return dc_; }

    void SetPen(TColor color, int width = 1);
    void SetBrush(TColor color);  // solid
    void SetClearBrush();
    void SetFont(HFONT font);      // not owned
    void SetFontColor(TColor color);

    void FillRect(const RECT& r);   // with the brush
    void FrameRect(const RECT& r);  // one pixel, with the brush
    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // leaves out the final point
    void Polyline(const POINT* points, int count);
    void SetPixel(int x, int y, TColor color);
    COLORREF Pixel(int x, int y) const;

    // DrawText in the font colour; the brush decides whether the background
    // is filled (clear brush: transparent text).
    int DrawText(const std::wstring& text, RECT& r, UINT flags);
    SIZE TextExtent(const std::wstring& text);

private:
    HDC dc_;
    Pen pen_;
    Brush brush_;
    // Declared after the pen and brush: the DC's own objects come back
    // before ours are deleted.
    SavedDC saved_;
    bool brushClear_ = false;
    TColor fontColor_ = clBlack;
};

}  // namespace win
