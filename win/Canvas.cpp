#include "win/Canvas.h"

#include <utility>

namespace win {

COLORREF ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor((int)(color & 0xFF));
    return color & 0x00FFFFFFu;
}

Canvas::Canvas(HDC dc) : dc_(dc), saved_(dc) {
    SetBkMode(dc_, OPAQUE);
    SetFontColor(clBlack);
}

// Each new pen or brush is selected before the one it replaces is deleted;
// the DC's saved state brings its own objects back at the end.
void Canvas::SetPen(TColor color, int width) {
    Pen pen = SolidPen(ColorToRGB(color), width);
    SelectObject(dc_, pen);
    pen_ = std::move(pen);
}

void Canvas::SetBrush(TColor color) {
    Brush brush = SolidBrush(ColorToRGB(color));
    SelectObject(dc_, brush);
    brush_ = std::move(brush);
    brushClear_ = false;
    SetBkColor(dc_, ColorToRGB(color));
}

void Canvas::SetClearBrush() {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    brush_.Reset();
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

}  // namespace win
