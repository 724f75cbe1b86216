#pragma once
#include <windows.h>

#include <cstddef>

namespace win {

// A decoded picture: a 32-bit top-down DIB section, owned; empty when the
// bytes could not be decoded.
class Bitmap32 {
public:
    Bitmap32() = default;
    Bitmap32(HBITMAP bitmap, int width, int height, const BYTE* bits)
        : bitmap_(bitmap), width_(width), height_(height), bits_(bits) {}
    ~Bitmap32() { Reset(); }
    Bitmap32(Bitmap32&& other) noexcept { *this = static_cast<Bitmap32&&>(other); }
    Bitmap32& operator=(Bitmap32&& other) noexcept;
    Bitmap32(const Bitmap32&) = delete;
    Bitmap32& operator=(const Bitmap32&) = delete;

    bool Empty() const { return bitmap_ == nullptr; }
    HBITMAP Handle() const { return bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel at (x, y) as a COLORREF; CLR_INVALID outside or when empty.
    COLORREF Pixel(int x, int y) const;
    void Reset();

private:
    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
    const BYTE* bits_ = nullptr;  // BGRA rows, top row first
};

// Decodes JPEG bytes with libjpeg. Corrupt or truncated data, even data
// that libjpeg would only warn about, gives an empty picture.
Bitmap32 DecodeJpeg(const void* data, size_t size);

// Decodes an RT_RCDATA resource of a module; empty when it is missing.
Bitmap32 LoadJpegResource(HMODULE module, const wchar_t* name);

}  // namespace win
