#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace win {

// A colour value: $00BBGGRR for a plain colour, $FF0000nn for entry nn of
// the system's colour table. Resolve it before computing with it.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clBtnHighlight = 0xFF000014;

// System colours become the system's current value; plain colours stay.
COLORREF ColorToRGB(TColor color);

// Non-owning drawing surface on any DC. The pen, brush and font it creates
// are selected into the DC and deleted (after deselection) by the canvas;
// the DC's original objects come back when the canvas goes away.
class Canvas {
public:
    explicit Canvas(HDC dc);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Handle() const { return dc_; }

    void SetPen(TColor color, int width = 1);
    void SetBrush(TColor color);  // solid
    void SetClearBrush();
    bool BrushClear() const { return brushClear_; }
    TColor BrushColor() const { return brushColor_; }
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
    int TextHeight();

    void CopyFrom(const RECT& dest, HDC source, int sx, int sy);

private:
    HDC dc_;
    int saved_;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
    TColor brushColor_ = clWhite;
    bool brushClear_ = false;
    TColor fontColor_ = clBlack;
};

// A 32-bit top-down DIB section with its own memory DC; the pixels are
// reachable directly. Pictures of other depths are converted on assignment,
// so a monochrome picture arrives as black and white pixels.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    void SetSize(int width, int height);  // contents are cleared to black
    void Assign(const Bitmap& other);     // a copy of the pixels
    void AssignHandle(HBITMAP source);    // copies any GDI bitmap
    void Clear();                         // back to empty

    bool Empty() const { return width_ == 0 || height_ == 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC DC() const { return dc_; }
    HBITMAP Handle() const { return bitmap_; }

    // $00BBGGRR, as GDI reads them.
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF color);

    // Draws the whole picture at (x, y), leaving out every pixel of the
    // transparent colour.
    void DrawMasked(HDC dest, int x, int y, COLORREF transparent) const;

private:
    void Release();
    std::uint32_t* bits_ = nullptr;  // 0x00RRGGBB per pixel
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HDC dc_ = nullptr;
    int width_ = 0, height_ = 0;
};

// Saves the DC's state and restores it on leaving the scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, id_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int id_;
};

}  // namespace win
