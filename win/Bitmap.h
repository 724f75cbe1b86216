#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "win/Gdi.h"

namespace win {

// The one picture class: a 32-bit top-down DIB section with a memory DC of
// its own, its pixels reachable directly. Pictures of other depths are
// converted on assignment, so a monochrome picture arrives as black and
// white pixels. Move-only; the bitmap is deselected before it is deleted.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height);                  // cleared to black
    Bitmap(int width, int height, COLORREF fill);   // filled with one colour
    ~Bitmap();
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Takes over a 32-bit top-down DIB section whose pixels are at `bits`.
    static Bitmap Adopt(HBITMAP dib, int width, int height, void* bits);

    void SetSize(int width, int height);  // contents are cleared to black
    void Assign(const Bitmap& other);     // a copy of the pixels
    void AssignHandle(HBITMAP source);    // copies any GDI bitmap

    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HDC DC() const { return surface_ ? surface_->Get() : nullptr; }
    HBITMAP Handle() const { return surface_ ? surface_->Bitmap() : nullptr; }

    // $00BBGGRR, as GDI reads them; CLR_INVALID outside the picture.
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF color);

    // Draws the whole picture at (x, y), leaving out every pixel of the
    // transparent colour (mask blits).
    void DrawMasked(HDC dest, int x, int y, COLORREF transparent) const;
    // Draws it with the bottom-left pixel's colour transparent.
    void DrawTransparent(HDC dest, int x, int y) const;

private:
    void Release();
    void Take(BitmapHandle dib, int width, int height, void* bits);
    std::optional<MemoryDC> surface_;  // the DIB, selected into a DC of its own
    std::uint32_t* bits_ = nullptr;    // 0x00RRGGBB per pixel
    int width_ = 0, height_ = 0;
};

}  // namespace win
