#include "app/Icons.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "win/Canvas.h"
#include "win/Error.h"
#include "win/Gdi.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);  // drawn nowhere; becomes transparent

// Draws on a size x size canvas in units of 1/16 of the size.
class Sketch {
public:
    Sketch(HDC dc, int size) : canvas_(dc), s_(size / 16.0) {}
    int U(double v) const { return (int)std::lround(v * s_); }

    void Box(double l, double t, double r, double b, COLORREF fill, COLORREF line) {
        Use(fill, line);
        Rectangle(canvas_.Handle(), U(l), U(t), U(r), U(b));
    }
    void Poly(std::initializer_list<POINT> units, COLORREF fill, COLORREF line) {
        std::vector<POINT> pts;
        for (POINT p : units) pts.push_back({U(p.x / 2.0), U(p.y / 2.0)});
        Use(fill, line);
        Polygon(canvas_.Handle(), pts.data(), (int)pts.size());
    }
    void Arc(double l, double t, double r, double b, double x1, double y1, double x2, double y2,
             COLORREF line, int width) {
        win::Pen pen = win::SolidPen(line, std::max(1, U(width)));
        win::Selection picked(canvas_.Handle(), pen);
        ::Arc(canvas_.Handle(), U(l), U(t), U(r), U(b), U(x1), U(y1), U(x2), U(y2));
    }

private:
    void Use(COLORREF fill, COLORREF line) {
        canvas_.SetBrush(fill);
        canvas_.SetPen(line, std::max(1, U(1)));
    }

    win::Canvas canvas_;
    double s_;
};

void Folder(Sketch& k) {
    k.Poly({{2, 8}, {12, 8}, {14, 10}, {26, 10}, {26, 26}, {2, 26}}, RGB(250, 204, 92), RGB(166, 120, 24));
}

void Draw(HDC dc, int size, Icon icon) {
    Sketch k(dc, size);
    const COLORREF green = RGB(46, 160, 67), darkGreen = RGB(20, 100, 35);
    const COLORREF blue = RGB(52, 110, 200), darkBlue = RGB(24, 60, 130);
    switch (icon) {
    case Icon::Blank: break;
    case Icon::Add:
        Folder(k);
        k.Poly({{18, 14}, {22, 14}, {22, 20}, {28, 20}, {28, 24}, {22, 24}, {22, 30}, {18, 30},
                {18, 24}, {12, 24}, {12, 20}, {18, 20}},
               green, darkGreen);
        break;
    case Icon::Edit:
        Folder(k);
        k.Poly({{10, 28}, {12, 22}, {26, 8}, {30, 12}, {16, 26}}, RGB(245, 170, 60), RGB(120, 70, 20));
        k.Poly({{10, 28}, {12, 22}, {16, 26}}, RGB(60, 60, 60), RGB(40, 40, 40));
        break;
    case Icon::Delete:
        Folder(k);
        k.Poly({{14, 14}, {17, 14}, {21, 18}, {25, 14}, {28, 14}, {28, 17}, {24, 21}, {28, 25},
                {28, 28}, {25, 28}, {21, 24}, {17, 28}, {14, 28}, {14, 25}, {18, 21}, {14, 17}},
               RGB(215, 50, 40), RGB(130, 20, 15));
        break;
    case Icon::Up:
        k.Poly({{16, 2}, {29, 16}, {21, 16}, {21, 30}, {11, 30}, {11, 16}, {3, 16}}, blue, darkBlue);
        break;
    case Icon::Down:
        k.Poly({{16, 30}, {29, 16}, {21, 16}, {21, 2}, {11, 2}, {11, 16}, {3, 16}}, blue, darkBlue);
        break;
    case Icon::Refresh:
        k.Arc(3, 3, 13, 13, 13, 5, 5, 13, green, 2);
        k.Poly({{22, 2}, {28, 10}, {18, 12}}, green, darkGreen);
        break;
    case Icon::Exit:
        k.Box(2, 1, 10, 15, RGB(170, 120, 70), RGB(100, 60, 30));
        k.Poly({{16, 16}, {24, 16}, {24, 10}, {31, 18}, {24, 26}, {24, 20}, {16, 20}}, RGB(215, 50, 40),
               RGB(130, 20, 15));
        break;
    }
}

// A 32-bit top-down picture whose alpha marks what was drawn.
win::BitmapHandle Render(Icon icon, int size) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
    void* bits = nullptr;
    win::BitmapHandle bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp) throw win::Error(L"Out of system resources");
    {
        win::MemoryDC dc;
        win::Selection picked(dc, bmp);
        RECT all{0, 0, size, size};
        FillRect(dc, &all, win::SolidBrush(kKey));
        Draw(dc, size, icon);
        GdiFlush();
    }
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < size * size; ++i)
        px[i] = (px[i] & 0xFFFFFF) == 0xFF00FF ? 0 : (px[i] | 0xFF000000);
    return bmp;
}

}  // namespace

std::vector<Icon> SmallImageSlots() {
    std::vector<Icon> slots(19, Icon::Blank);
    slots[10] = Icon::Add;
    slots[11] = Icon::Delete;
    slots[12] = Icon::Edit;
    slots[14] = Icon::Refresh;
    slots[16] = Icon::Up;
    slots[17] = Icon::Exit;
    slots[18] = Icon::Down;
    return slots;
}

std::vector<Icon> LargeImageSlots() {
    std::vector<Icon> slots(10, Icon::Blank);
    slots[0] = Icon::Exit;
    slots[1] = Icon::Down;
    slots[3] = Icon::Add;
    slots[4] = Icon::Delete;
    slots[5] = Icon::Edit;
    slots[7] = Icon::Refresh;
    slots[9] = Icon::Up;
    return slots;
}

void FillImageList(win::ImageList& list, const std::vector<Icon>& slots) {
    for (Icon icon : slots) {
        list.AddWithAlpha(Render(icon, list.Width()));
    }
}
