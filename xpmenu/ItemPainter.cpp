// Measuring and painting menu items, and the glyph, text, check mark and
// bar-item pieces the tool bar painter shares.
#include <algorithm>
#include <cmath>
#include <memory>

#include "win/Gdi.h"
#include "win/ImageList.h"
#include "xpmenu/XPMenu.h"
#include "xpmenu/XPMenuManager.h"

namespace xpmenu {

namespace {
SIZE TextSize(HDC dc, const std::wstring& s) {
    SIZE sz{};
    GetTextExtentPoint32W(dc, s.c_str(), (int)s.size(), &sz);
    return sz;
}

// The menu an item belongs to, when it is the painter's form's menu.
win::MainMenu* MenuOf(win::Form& form, const win::MenuItem& item) {
    const win::MenuItem* top = &item;
    while (top->Parent) top = top->Parent;
    return top == &form.Menu().Root ? &form.Menu() : nullptr;
}

bool IsBar(win::MainMenu* menu, const win::MenuItem& item) { return menu && item.Parent == &menu->Root; }

// The image list an item's image comes from, or null.
win::ImageList* ItemImages(win::MainMenu* menu, const win::MenuItem& item) {
    if (!menu || !menu->Images || item.EffectiveImage() == -1) return nullptr;
    return menu->Images;
}

SIZE BitmapSize(HBITMAP b) {
    BITMAP bm{};
    if (!b || !GetObjectW(b, sizeof(bm), &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

std::wstring ShortCutDisplay(const win::MenuItem& item) {
    win::ShortCut sc = item.EffectiveShortCut();
    return sc ? win::ShortCutText(sc) : std::wstring();
}

std::wstring Trim(const std::wstring& s) {
    size_t a = s.find_first_not_of(L" \t"), b = s.find_last_not_of(L" \t");
    return a == std::wstring::npos ? L"" : s.substr(a, b - a + 1);
}

// A solid pen or brush selected into a DC for a scope; deselected before
// it is deleted.
class Selected {
public:
    static Selected Pen(HDC dc, COLORREF c) { return Selected(dc, win::SolidPen(c).Release()); }
    static Selected Brush(HDC dc, COLORREF c) { return Selected(dc, win::SolidBrush(c).Release()); }

private:
    Selected(HDC dc, HGDIOBJ object) : object_(object), selection_(dc, object) {}
    win::GdiObject<HGDIOBJ> object_;
    win::Selection selection_;
};

void Line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}
}  // namespace

SIZE TXPMenu::ImageSizeOf(const win::MenuItem& item, bool bar) const {
    win::MainMenu* menu = MenuOf(form_, item);
    SIZE size{0, 0};
    if (win::ImageList* list = ItemImages(menu, item)) size = {list->Width(), list->Height()};
    else if (BitmapSize(item.Bitmap).cx > 0) size = BitmapSize(item.Bitmap);
    if (!bar) size.cx = std::max<LONG>(size.cx, Px(IconWidth));
    return size;
}

void TXPMenu::MeasureMenuItem(win::MenuItem& item, HDC dc, int& width, int& height) {
    if (!active_) return;
    DpiPin pin(*this);
    win::MainMenu* menu = MenuOf(form_, item);
    bool bar = IsBar(menu, item);
    std::wstring text = item.IsSeparator() ? L"" : item.Caption;
    std::wstring sc = Trim(ShortCutDisplay(item));
    if (!sc.empty()) text += sc + L"WWW";  // the letters reserve the gap before the short-cut

    win::Selection font(dc, FontHandle());
    SIZE ts = TextSize(dc, text);
    int w = ts.cx + Px(5);
    if (text.find(L'&') != std::wstring::npos) w -= TextSize(dc, L"&").cx;
    if (!bar && !item.Items.empty()) w += Px(6);
    if (bar) {
        // A title is drawn 3 pixels and a space in from the left, and an open
        // title's box has its right edge and shadow 8 pixels in from the right:
        // the same margin on the right keeps the whole title inside the box.
        const int margin = Px(3) + TextSize(dc, L" ").cx;
        w = (w - Px(5)) + 2 * margin + Px(8);
    }
    SIZE img = ImageSizeOf(item, bar);
    if (width < w + img.cx) width = w + img.cx;
    if (item.IsSeparator()) {
        height = Px(4);
    } else {
        int h = ts.cy + win::RoundEven(0.75 * ts.cy);
        if (h < img.cy + Px(6)) h = img.cy + Px(6);
        if (height < h) height = h;
    }
}

void TXPMenu::PaintMenuItem(win::MenuItem& item, HDC dc, const RECT& rect, bool selected) {
    if (!active_) return;
    DpiPin pin(*this);
    win::MainMenu* menu = MenuOf(form_, item);
    const bool bar = IsBar(menu, item);
    const bool rtl = menu && menu->RightToLeft;
    const bool enabled = item.IsEnabled();
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (W <= 0 || H <= 0) return;
    const int off = bar ? 0 : 4;  // a drop-down item also covers the 4 columns on its left

    // One surface for every item, made again only for a larger one; each
    // paint starts from its own clean state and white.
    if (itemSurface_.Width() < W + off || itemSurface_.Height() < H)
        itemSurface_.SetSize(std::max(itemSurface_.Width(), W + off), std::max(itemSurface_.Height(), H));
    HDC m = itemSurface_.DC();
    win::SavedDC fresh(m);
    FillColor(m, 0, 0, W + off, H, RGB(255, 255, 255));
    SetViewportOrgEx(m, off, 0, nullptr);
    const int L = 0, T = 0, R = W, B = bar ? H : H + 1;
    if (PaletteDirty()) RefreshPalette(m);
    win::Selection font(m, FontHandle());

    // Glyph, rebuilt for every paint since fading works in place.
    std::unique_ptr<win::Bitmap> glyph;
    bool hasImage = false;
    SIZE bs = BitmapSize(item.Bitmap);
    if (bs.cx > 0) {
        glyph = std::make_unique<win::Bitmap>(bs.cx, bs.cy, KeyColor);
        win::MemoryDC src;
        win::Selection picked(src, item.Bitmap);
        COLORREF transparent = GetPixel(src, 0, bs.cy - 1);
        TransparentBlt(glyph->DC(), 0, 0, bs.cx, bs.cy, src, 0, 0, bs.cx, bs.cy, transparent);
        hasImage = true;
    }
    if (win::ImageList* list = ItemImages(menu, item)) {
        glyph = std::make_unique<win::Bitmap>(list->Width(), list->Height(), KeyColor);
        ImageList_Draw(list->Handle(), item.EffectiveImage(), glyph->DC(), 0, 0, ILD_TRANSPARENT);
        hasImage = true;
    }
    const int gw = glyph ? glyph->Width() : 0;
    const int iconWidth = Px(IconWidth), mark = Px(10);

    RECT icon = rtl ? RECT{R - iconWidth, T, R, B} : RECT{L, T, L + iconWidth, B};
    RECT g;
    if (hasImage) {
        g = {icon.left + Px(1), icon.top + Px(2), icon.right - Px(3), icon.bottom - Px(2)};
    } else {
        int gl = icon.left + (icon.right - icon.left - mark) / 2, gt = T + (B - T - mark) / 2;
        g = {gl, gt, gl + mark, gt + mark};
    }
    if (gw > iconWidth) {
        if (rtl) g.left = g.right - gw;
        else g.right = g.left + gw;
    }
    if (bar) OffsetRect(&g, 0, -1);

    RECT tr{L, T, R, B};
    if (!rtl) {
        int x0 = bar ? L + Px(4) : L + iconWidth;
        if (x0 < L + gw) x0 = L + gw + Px(4);
        tr.left = x0;
    } else {
        int x1 = bar ? R - Px(4) : R - iconWidth;
        if (x1 > R - gw) x1 = R - gw - Px(8);
        tr.right = x1;
    }
    if (bar) {
        if (!hasImage) tr = {L, T, R, B};
        else if (rtl) tr.right += Px(5);
        else tr.left -= Px(5);
    }

    // Background.
    if (bar) {
        if (DrawMenuBar) colors_.Bar = ToRGB(menuBar_);
        FillColor(m, L, T, R, B, colors_.Bar);
    } else if (Gradient && highColor_) {
        PaintGradientBackground(m, {L, T, R + 2, B}, rtl);
    } else {
        FillColor(m, L - 4, T, R, B, colors_.Background);
        FillColor(m, icon, colors_.IconColumn);
    }

    bool hot = false;
    if (selected && DrawSelect) {
        if (bar) {
            PaintOpenBarItem(m, true, rtl, menuBar_, {L, T, R, B});
        } else if (enabled) {
            RECT box{L, T + 1, FlatMenu ? R - 1 : R, B - 1};
            FillColor(m, box, colors_.SelectFill);
            FrameColor(m, box, colors_.SelectBorder);
        }
        hot = true;
    } else if (bar && enabled && nt_ && IsMouseOverBarItem(form_.Handle(), rect)) {
        RECT box{L, T, R - 7, B};
        FillColor(m, box, colors_.SelectFill);
        FrameColor(m, box, colors_.SelectBorder);
        hot = true;
    }

    if (item.Checked || item.RadioItem) PaintCheckMark(m, item, selected, g, hasImage, enabled);
    if (gw > 0)
        PaintItemGlyph(m, TOwnerKind::MenuItem, rtl, bar, item.Checked, enabled, false, selected || hot,
                       icon, *glyph);

    if (item.IsSeparator()) {
        int y = tr.top + win::RoundEven((tr.bottom - tr.top) / 2.0);
        if (!rtl) PolylineColor(m, {{tr.left + Px(7), y}, {tr.right, y}}, colors_.Separator);
        else PolylineColor(m, {{tr.left, y}, {tr.right - Px(7), y}}, colors_.Separator);
    } else {
        TextOptions o;
        if (!rtl) {
            tr.left += Px(3);
            o.Format = DT_LEFT;
        } else {
            tr.right -= Px(3);
            o.Format = DT_RIGHT | DT_RTLREADING;
        }
        tr.top += ((tr.bottom - tr.top) - TextSize(m, L"W").cy) / 2;
        o.RightToLeft = rtl;
        o.IsBar = bar;
        o.IsDefault = item.Default;
        o.Enabled = enabled;
        o.Selected = selected;
        o.ShortCut = ShortCutDisplay(item);
        PaintItemText(m, L" " + item.Caption, tr, o);
    }

    SetViewportOrgEx(m, 0, 0, nullptr);
    BitBlt(dc, rect.left - off, rect.top, W + off, H, m, 0, 0, SRCCOPY);

    if (FlatMenu && !bar) {
        auto* mgr = TXPMenuManager::Instance();
        HWND app = mgr ? mgr->AppWindow() : nullptr;
        MSG waiting;
        if (app && !PeekMessageW(&waiting, app, WM_PAINTFRAME_ITEM, WM_PAINTFRAME_WINDOW, PM_NOREMOVE)) {
            HWND w = WindowFromDC(dc);
            if (!w) {
                // The item travels by its place in its menu, never by address.
                int index = -1;
                if (item.Parent)
                    for (size_t i = 0; i < item.Parent->Items.size(); ++i)
                        if (item.Parent->Items[i].get() == &item) index = (int)i;
                if (index >= 0 && item.Owner) PostMessageW(app, WM_PAINTFRAME_ITEM, index, (LPARAM)item.Owner);
            }
            else if (w != form_.Handle()) PostMessageW(app, WM_PAINTFRAME_WINDOW, rtl, (LPARAM)w);
        }
    }
}

bool TXPMenu::IsMouseOverBarItem(HWND form, const RECT& r) {
    POINT p{};
    RECT wr{};
    if (!GetCursorPos(&p) || !GetWindowRect(form, &wr)) return false;
    int x = p.x - wr.left, y = p.y - wr.top;
    return x >= r.left && x <= r.right - 1 && y >= r.top && y <= r.bottom - 2;
}

void TXPMenu::PaintOpenBarItem(HDC dc, bool isMenuItem, bool rtl, TColor barColor, const RECT& r) {
    FillColor(dc, r, colors_.SelectFill);
    if (highContrast_) {
        FrameColor(dc, r, colors_.SelectBorder);
        return;
    }
    if (rtl || !highColor_ || !isMenuItem) {
        PolylineColor(dc, {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 3, r.top}, {r.right - 3, r.bottom}},
                      colors_.SelectBorder);
        FillColor(dc, r.right - 2, r.top + 2, r.right, r.bottom, DarkenColor(barColor, 70));
        FillColor(dc, r.right - 2, r.top, r.right, r.top + 2, ToRGB(barColor));
        return;
    }
    PolylineColor(dc, {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 8, r.top}, {r.right - 8, r.bottom}},
                  colors_.SelectBorder);
    const COLORREF c = colors_.Bar;
    const int x7 = r.right - 7, t = r.top, rr = r.right;
    FillColor(dc, x7, t, rr, r.bottom, DarkenColor(c, 10));
    FillColor(dc, x7, t + 3, rr - 2, r.bottom, DarkenColor(c, 30));
    FillColor(dc, x7, t + 5, rr - 3, r.bottom, DarkenColor(c, 60));
    FillColor(dc, x7, t + 6, rr - 5, r.bottom, DarkenColor(c, 100));
    PolylineColor(dc, {{rr - 5, t + 1}, {rr - 1, t + 1}, {rr - 1, t + 6}}, c);
    PolylineColor(dc, {{rr - 3, t + 2}, {rr - 2, t + 2}, {rr - 2, t + 3}, {rr - 3, t + 3}}, c);
    PolylineColor(dc, {{rr - 6, t + 3}, {rr - 3, t + 3}, {rr - 3, t + 6}, {rr - 4, t + 6}, {rr - 4, t + 3}},
                  DarkenColor(c, 10));
    PolylineColor(dc, {{rr - 5, t + 5}, {rr - 4, t + 5}, {rr - 4, t + 9}}, DarkenColor(c, 30));
    PolylineColor(dc, {{rr - 6, t + 5}, {rr - 6, t + 7}}, DarkenColor(c, 40));
}

void TXPMenu::PaintCheckMark(HDC dc, const win::MenuItem& item, bool selected, const RECT& g,
                             bool hasImage, bool enabled) {
    if (!item.Checked) return;
    win::MainMenu* menu = MenuOf(form_, item);
    COLORREF pen = enabled ? colors_.SelectBorder : colors_.Disabled;
    // A disabled mark keeps the brush last used: the column's own colour.
    COLORREF brush = enabled ? (selected ? colors_.CheckFillSelected : colors_.CheckFill)
                             : (IsBar(menu, item) ? colors_.Bar : colors_.IconColumn);
    if (item.RadioItem) {
        auto p = Selected::Pen(dc, pen);
        auto b = Selected::Brush(dc, brush);
        if (hasImage) {
            RoundRect(dc, g.left, g.top, g.right, g.bottom, Px(6), Px(6));
        } else {
            Ellipse(dc, g.left, g.top, g.right, g.bottom);
            auto dot = Selected::Brush(dc, pen);
            Ellipse(dc, g.left + Px(2), g.top + Px(2), g.right - Px(2), g.bottom - Px(2));
        }
        return;
    }
    if (hasImage) {
        auto p = Selected::Pen(dc, pen);
        auto b = Selected::Brush(dc, brush);
        Rectangle(dc, g.left, g.top, g.right, g.bottom);
        return;
    }
    {
        auto p = Selected::Pen(dc, enabled ? colors_.CheckMark : pen);
        auto b = Selected::Brush(dc, brush);
        Rectangle(dc, g.left, g.top, g.right, g.bottom);
    }
    const COLORREF tick = !highContrast_ ? RGB(0, 0, 0) : selected ? colors_.SelectText : colors_.CheckMark;
    auto p = Selected::Pen(dc, enabled ? tick : colors_.Disabled);
    // The tick's strokes at 96 DPI, each as thick as a scaled pixel.
    const int l = g.left, t = g.top, r = g.right, b = g.bottom;
    for (int d = 0; d < std::max(1, Px(1)); ++d) {
        Line(dc, l + Px(1) + d, t + Px(5), l + Px(4) + d, b - Px(2));
        Line(dc, l + Px(2) + d, t + Px(5), l + Px(4) + d, b - Px(3));
        Line(dc, l + Px(2) + d, t + Px(4), l + Px(5) + d, b - Px(3));
        Line(dc, l + Px(4) + d, b - Px(3), r + Px(2) + d, t - Px(1));
        Line(dc, l + Px(4) + d, b - Px(2), r - Px(2) + d, t + Px(3));
    }
}

void TXPMenu::PaintItemGlyph(HDC dc, TOwnerKind owner, bool rtl, bool isBar, bool checked, bool enabled,
                             bool down, bool hot, const RECT& box, win::Bitmap& glyph) {
    if (glyph.Empty()) return;
    const int gw = glyph.Width();
    const int iconWidth = Px(IconWidth);
    int x = box.left, y = box.top + Px(1);
    if (owner == TOwnerKind::MenuItem) {
        y += Px(2);
        if (gw < iconWidth) x = box.left + (iconWidth - gw) / 2 - Px(1);
        else x = rtl ? box.right - gw - Px(2) : box.left + Px(2);
    }
    if (isBar) x = rtl ? box.right - gw - Px(5) : box.left + Px(1);
    // The lit glyph stands out by a pixel (two upward on the bar).
    if (hot && isBar && enabled && !down) {
        x -= Px(1);
        y -= Px(2);
    }
    if (hot && !isBar && enabled && !checked && !down) {
        x -= Px(1);
        y -= Px(1);
    }
    if (!hot && enabled && !checked && highColor_ && !highContrast_) FadeGlyph(glyph, DimLevel);
    if (!enabled) {
        GrayGlyph(glyph, GrayLevel);
        FadeGlyph(glyph, 40);
    }
    if (hot && enabled && !checked) {
        COLORREF s = (highColor_ && !useSystemColors_ && owner == TOwnerKind::ToolButton)
                         ? LightenColor(select_, 68)
                         : colors_.SelectFill;
        PaintGlyphShadow(glyph, dc, x + 2, y + 2, DarkenColor(s, 50));
    }
    glyph.DrawTransparent(dc, x, y);
}

void TXPMenu::PaintItemText(HDC dc, const std::wstring& text, RECT r, const TextOptions& o) {
    win::Selection font(dc, o.Font ? o.Font : FontHandle());
    COLORREF c = o.FontColor != CLR_INVALID ? o.FontColor : ToRGB(fontColor_);
    if (o.Selected) c = colors_.SelectText;
    if (!o.Enabled) {
        c = colors_.Disabled;
        if (o.Owner == TOwnerKind::ToolButton) {
            r.top += ((r.bottom - r.top) - TextSize(dc, L"W").cy) / 2;
            int w = r.right - r.left, h = r.bottom - r.top;
            if (w > 0 && h > 0) {
                LOGBRUSH lb{};
                GetObjectW(GetCurrentObject(dc, OBJ_BRUSH), sizeof(lb), &lb);
                win::Bitmap tmp(w, h, lb.lbColor);
                win::Selection tmpFont(tmp.DC(), GetCurrentObject(dc, OBJ_FONT));
                SetBkMode(tmp.DC(), TRANSPARENT);
                SetTextColor(tmp.DC(), c);
                RECT tr{0, 0, w, h};
                DrawTextW(tmp.DC(), text.c_str(), (int)text.size(), &tr,
                          o.Format | DT_EXPANDTABS | DT_VCENTER);
                BitBlt(dc, r.left, r.top, w, h, tmp.DC(), 0, 0, SRCCOPY);
            }
            return;
        }
    }
    if (o.IsBar && o.Selected && useSystemColors_ && !highContrast_) c = ContrastTextColor(colors_.IconColumn);
    SetBkMode(dc, TRANSPARENT);
    UINT format = o.Format | DT_EXPANDTABS;
    auto draw = [&](RECT rc) { DrawTextW(dc, text.c_str(), (int)text.size(), &rc, format); };
    if (o.IsDefault && o.Enabled) {
        // Embossed: each pass darkens what lies under its corner.
        struct Pass { RECT rc; int d; } passes[] = {
            {{r.left + 1, r.top, r.right, r.bottom}, 30},
            {{r.left + 1, r.top + 2, r.right + 1, r.bottom}, 30},
            {{r.left, r.top + 1, r.right, r.bottom}, 40},
            {{r.left + 1, r.top + 1, r.right + 1, r.bottom}, 60},
        };
        for (auto& p : passes) {
            SetTextColor(dc, DarkenColor(GetPixel(dc, p.rc.left, p.rc.top), p.d));
            draw(p.rc);
        }
    }
    SetTextColor(dc, c);
    draw(r);
    if (!o.ShortCut.empty()) {
        std::wstring sc = o.ShortCut + L" ";
        RECT sr = r;
        UINT f;
        if (!o.RightToLeft) {
            sr.right -= 10;
            f = DT_RIGHT;
        } else {
            sr.left += 10;
            f = DT_LEFT | DT_RTLREADING;
        }
        DrawTextW(dc, sc.c_str(), (int)sc.size(), &sr, f);
    }
}

void TXPMenu::PaintGradientBackground(HDC dc, const RECT& r, bool rtl) {
    int k = 0;
    auto column = [&](int x, bool band) {
        if (k < 96) k = std::min(96, k + (band ? 3 : 1));
        PolylineColor(dc, {{x, r.top}, {x, r.bottom}}, LightenColor(colors_.IconColumn, k));
    };
    if (!rtl) {
        for (int x = r.left; x <= r.right; ++x) column(x, r.left < x && x < r.left + Px(IconWidth + 5));
    } else {
        int n = r.right - r.left + 1;
        for (int i = 0, x = r.right - 1; i < n; ++i, --x)
            column(x, r.right - Px(IconWidth) + Px(5) < x && x < r.right);
    }
}

}  // namespace xpmenu
