#include "win/Canvas.h"

#include <cstring>
#include <vector>

#include "win/Error.h"

namespace win {

COLORREF ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor((int)(color & 0xFF));
    return color & 0x00FFFFFFu;
}

Canvas::Canvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {
    SetBkMode(dc_, OPAQUE);
    SetFontColor(clBlack);
}

Canvas::~Canvas() {
    RestoreDC(dc_, saved_);  // deselects our objects before they go
    if (pen_) DeleteObject(pen_);
    if (brush_) DeleteObject(brush_);
}

void Canvas::SetPen(TColor color, int width) {
    HPEN pen = CreatePen(PS_SOLID, width, ColorToRGB(color));
    SelectObject(dc_, pen);
    if (pen_) DeleteObject(pen_);
    pen_ = pen;
}

void Canvas::SetBrush(TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    SelectObject(dc_, brush);
    if (brush_) DeleteObject(brush_);
    brush_ = brush;
    brushColor_ = color;
    brushClear_ = false;
    SetBkColor(dc_, ColorToRGB(color));
}

void Canvas::SetClearBrush() {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    if (brush_) DeleteObject(brush_);
    brush_ = nullptr;
    brushClear_ = true;
}

void Canvas::SetFont(HFONT font) {
    if (font) SelectObject(dc_, font);
}

void Canvas::SetFontColor(TColor color) {
    fontColor_ = color;
    SetTextColor(dc_, ColorToRGB(color));
}

void Canvas::FillRect(const RECT& r) {
    if (brushClear_) return;
    ::FillRect(dc_, &r, brush_);
}

void Canvas::FrameRect(const RECT& r) {
    if (brushClear_) return;
    ::FrameRect(dc_, &r, brush_);
}

void Canvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }
void Canvas::LineTo(int x, int y) { ::LineTo(dc_, x, y); }
void Canvas::Polyline(const POINT* points, int count) { ::Polyline(dc_, points, count); }
void Canvas::SetPixel(int x, int y, TColor color) { SetPixelV(dc_, x, y, ColorToRGB(color)); }
COLORREF Canvas::Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

int Canvas::DrawText(const std::wstring& text, RECT& r, UINT flags) {
    SetBkMode(dc_, brushClear_ ? TRANSPARENT : OPAQUE);
    return ::DrawTextW(dc_, text.c_str(), (int)text.size(), &r, flags);
}

SIZE Canvas::TextExtent(const std::wstring& text) {
    SIZE s{};
    GetTextExtentPoint32W(dc_, text.c_str(), (int)text.size(), &s);
    return s;
}

int Canvas::TextHeight() {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    return tm.tmHeight;
}

void Canvas::CopyFrom(const RECT& dest, HDC source, int sx, int sy) {
    BitBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source, sx, sy,
           SRCCOPY);
}

Bitmap::Bitmap(int width, int height) { SetSize(width, height); }

Bitmap::~Bitmap() { Release(); }

void Bitmap::Release() {
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    oldBitmap_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

void Bitmap::Clear() { Release(); }

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
    bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_) throw Error(L"Out of system resources");
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
        throw Error(L"Out of system resources");
    }
    oldBitmap_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
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
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, source);
    // A monochrome source takes the destination's text and background
    // colours: black for 0 bits, white for 1 bits.
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkColor(dc_, RGB(255, 255, 255));
    BitBlt(dc_, 0, 0, width_, height_, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
}

COLORREF Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    std::uint32_t v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Bitmap::SetPixel(int x, int y, COLORREF c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    GdiFlush();
    bits_[y * width_ + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void Bitmap::DrawMasked(HDC dest, int x, int y, COLORREF transparent) const {
    if (Empty()) return;
    // Mask: set (white) where the picture is transparent.
    HDC maskDC = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(width_, height_, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    COLORREF oldBk = SetBkColor(dc_, transparent);
    BitBlt(maskDC, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    SetBkColor(dc_, oldBk);
    // dest ^ src, masked to keep dest where transparent, ^ src again.
    COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
    COLORREF oldDestBk = SetBkColor(dest, RGB(255, 255, 255));
    BitBlt(dest, x, y, width_, height_, dc_, 0, 0, SRCINVERT);
    BitBlt(dest, x, y, width_, height_, maskDC, 0, 0, SRCAND);
    BitBlt(dest, x, y, width_, height_, dc_, 0, 0, SRCINVERT);
    SetTextColor(dest, oldText);
    SetBkColor(dest, oldDestBk);
    SelectObject(maskDC, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDC);
}

}  // namespace win
