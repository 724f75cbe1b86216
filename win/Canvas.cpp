#include "win/Canvas.h"

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

}  // namespace win
