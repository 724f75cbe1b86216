#include "win/Bitmap.h"

#include <cstring>
#include <utility>

#include "win/Error.h"
#include "win/Gdi.h"

namespace win {

Bitmap::Bitmap(int width, int height) { SetSize(width, height); }

Bitmap::Bitmap(int width, int height, COLORREF fill) {
    SetSize(width, height);
    if (Empty()) return;
    RECT r{0, 0, width_, height_};
    Brush brush = SolidBrush(fill);
    FillRect(DC(), &r, brush);
}

Bitmap::~Bitmap() { Release(); }

Bitmap::Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        Release();
        surface_ = std::move(other.surface_);
        other.surface_.reset();
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

Bitmap Bitmap::Adopt(HBITMAP dib, int width, int height, void* bits) {
    Bitmap b;
    b.Take(BitmapHandle(dib), width, height, bits);
    return b;
}

void Bitmap::Take(BitmapHandle dib, int width, int height, void* bits) {
    MemoryDC dc(std::move(dib));
    if (!dc.Get()) throw Error(L"Out of system resources");  // the DIB goes with it
    surface_.emplace(std::move(dc));
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
}

void Bitmap::Release() {
    surface_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
}

void Bitmap::SetSize(int width, int height) {
    Release();
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) throw Error(L"Out of system resources");
    Take(std::move(dib), width, height, bits);
    std::memset(bits_, 0, sizeof(std::uint32_t) * width * height);
}

void Bitmap::Assign(const Bitmap& other) {
    if (&other == this) return;
    if (other.Empty()) return Release();
    SetSize(other.width_, other.height_);
    GdiFlush();
    std::memcpy(bits_, other.bits_, sizeof(std::uint32_t) * width_ * height_);
}

void Bitmap::AssignHandle(HBITMAP source) {
    BITMAP bm{};
    if (!source || !GetObjectW(source, sizeof(bm), &bm)) return Release();
    SetSize(bm.bmWidth, bm.bmHeight);
    MemoryDC src;
    Selection picked(src, source);
    // A monochrome source takes the destination's text and background
    // colours: black for 0 bits, white for 1 bits.
    SetTextColor(DC(), RGB(0, 0, 0));
    SetBkColor(DC(), RGB(255, 255, 255));
    BitBlt(DC(), 0, 0, width_, height_, src, 0, 0, SRCCOPY);
}

COLORREF Bitmap::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    std::uint32_t v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Bitmap::SetPixel(int x, int y, COLORREF c) {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    GdiFlush();
    bits_[y * width_ + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void Bitmap::DrawMasked(HDC dest, int x, int y, COLORREF transparent) const {
    if (Empty()) return;
    // Mask: set (white) where the picture is transparent.
    MemoryDC maskDC;
    BitmapHandle mask(CreateBitmap(width_, height_, 1, 1, nullptr));
    Selection maskPicked(maskDC, mask);
    COLORREF oldBk = SetBkColor(DC(), transparent);
    BitBlt(maskDC, 0, 0, width_, height_, DC(), 0, 0, SRCCOPY);
    SetBkColor(DC(), oldBk);
    // dest ^ src, masked to keep dest where transparent, ^ src again.
    COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
    COLORREF oldDestBk = SetBkColor(dest, RGB(255, 255, 255));
    BitBlt(dest, x, y, width_, height_, DC(), 0, 0, SRCINVERT);
    BitBlt(dest, x, y, width_, height_, maskDC, 0, 0, SRCAND);
    BitBlt(dest, x, y, width_, height_, DC(), 0, 0, SRCINVERT);
    SetTextColor(dest, oldText);
    SetBkColor(dest, oldDestBk);
}

void Bitmap::DrawTransparent(HDC dest, int x, int y) const {
    if (Empty()) return;
    TransparentBlt(dest, x, y, width_, height_, DC(), 0, 0, width_, height_, Pixel(0, height_ - 1));
}

}  // namespace win
