// The hooked controls' window procedure and what it paints, and the tool
// button and band painters.
#include <algorithm>
#include <cmath>
#include <memory>

#include "win/Error.h"
#include "win/Gdi.h"
#include "win/Notify.h"
#include "win/ToolBar.h"
#include "xpmenu/ControlSubClass.h"

namespace xpmenu {

namespace {
std::wstring TextOf(HWND w) {
    int n = GetWindowTextLengthW(w);
    std::wstring s(n + 1, L'\0');
    GetWindowTextW(w, s.data(), n + 1);
    s.resize(n);
    return s;
}

HFONT FontOf(HWND w) {
    HFONT f = (HFONT)SendMessageW(w, WM_GETFONT, 0, 0);
    return f ? f : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

bool ReadsRightToLeft(HWND w) { return (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0; }

// A control's own colour: one given to it, else its parent's.
COLORREF OwnColor(HWND w) {
    if (GetPropW(w, kControlColorProp)) return ControlColor(w);
    return ControlColor(GetParent(w));
}

bool IsTransparentToolBar(HWND tb) {
    auto* w = dynamic_cast<win::ToolBar*>(win::Window::FromHandle(tb));
    return !(w && w->Color != CLR_NONE) && !GetPropW(tb, kControlColorProp);
}

void PaintButtonControl(TControlSubClass& r);
void PaintPanelControl(TControlSubClass& r);
void PaintGroupBoxControl(TControlSubClass& r);
void PaintListViewControl(TControlSubClass& r);
void PaintComboControl(TControlSubClass& r);
}  // namespace

TControlSubClass* TControlSubClass::Of(HWND control) {
    return dynamic_cast<TControlSubClass*>(win::WindowHook::Find(control, Id));
}

void TControlSubClass::Install() { Attach(Control); }

TControlSubClass* TControlSubClass::CopyFor(TXPMenu* painter) const {
    auto* copy = new TControlSubClass(Control, painter);
    copy->Saved3D = Saved3D;
    copy->SavedSingle = SavedSingle;
    copy->SavedBorderBit = SavedBorderBit;
    copy->SavesStyle = SavesStyle;
    copy->Recreating = Recreating;
    copy->Hot = Hot;
    copy->Pressed = Pressed;
    copy->SpaceDown = SpaceDown;
    copy->SpacePaintDone = SpacePaintDone;
    copy->Focused = Focused;
    copy->LastMessage = LastMessage;
    return copy;
}

void TControlSubClass::RestoreStyle() {
    if (!SavesStyle || !IsWindow(Control)) return;
    LONG style = GetWindowLongW(Control, GWL_STYLE), ex = GetWindowLongW(Control, GWL_EXSTYLE);
    LONG nstyle = SavedBorderBit ? (style | WS_BORDER) : (style & ~WS_BORDER);
    LONG nex = Saved3D ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
    if (nstyle == style && nex == ex) return;
    SetWindowLongW(Control, GWL_STYLE, nstyle);
    SetWindowLongW(Control, GWL_EXSTYLE, nex);
    SetWindowPos(Control, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControlSubClass::Unhook() {
    if (Disposed()) return;
    if (IsWindow(Control)) win::Guarded([this] { RestoreStyle(); });
    if (Painter) Painter->ForgetRecord(this);
    Dispose();
}

LRESULT TControlSubClass::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    TControlSubClass* r = this;
    HWND hwnd = Control;
    LRESULT result = CallNext(msg, wp, lp);
    // A control destroyed during the message has taken this record off;
    // the record lives on until we return, but its work is over.
    if (Disposed()) return result;
    if (msg == WM_NCDESTROY) {
        // The window is gone for good: nothing can be recreated any more.
        r->Unhook();
        return result;
    }
    if (r->Painter && !r->Painter->Active()) {
        r->Unhook();
        return result;
    }
    r->LastMessage = msg;
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    switch (msg) {
    case WM_DESTROY:
        if (!r->Recreating) r->Unhook();
        else r->Recreating = false;
        return result;
    case WM_SETFOCUS:
        // A push button's hot look follows the pointer alone; focus has a
        // look of its own.
        if (!IsPushButton(hwnd)) r->Hot = true;
        r->PaintControl();
        break;
    case WM_KILLFOCUS: r->Hot = false; r->PaintControl(); break;
    case WM_PAINT: r->Recreating = false; r->PaintControl(); break;
    case WM_WINDOWPOSCHANGED: r->Recreating = true; break;
    case WM_NCPAINT:
        // The plain border Windows draws would cover the flat one; an
        // etched rule is all border.
        if (IsListView(hwnd) || IsPanel(hwnd)) r->PaintControl();
        break;
    case BM_GETCHECK:
    case BM_SETCHECK: r->Hot = false; r->PaintControl(); break;
    case BM_SETSTATE: r->PaintControl(); break;
    case WM_KEYDOWN:
        if (wp == VK_SPACE) {
            r->SpaceDown = true;
            if (!r->SpacePaintDone) r->PaintControl();
            r->SpacePaintDone = true;
        }
        break;
    case WM_KEYUP:
        if (wp == VK_SPACE) {
            r->SpaceDown = false;
            r->SpacePaintDone = false;
            r->PaintControl();
        }
        break;
    case WM_MOUSEMOVE:
        if (enabled && ClassNameOf(hwnd) == UPDOWN_CLASSW) r->PaintControl();
        // Standard controls get no enter and leave notices: track the pointer.
        if (enabled) {
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&tme);
            if (!r->Hot) {
                r->Hot = true;
                r->PaintControl();
            }
        }
        break;
    case WM_MOUSELEAVE:
        if (enabled && (GetFocus() != hwnd || IsPushButton(hwnd))) {
            r->Hot = false;
            r->PaintControl();
        }
        break;
    case WM_LBUTTONDOWN: r->Pressed = true; r->PaintControl(); break;
    case WM_LBUTTONUP: r->Pressed = false; r->PaintControl(); break;
    case WM_LBUTTONDBLCLK:
        if (IsPushButton(hwnd)) SendMessageW(hwnd, WM_LBUTTONDOWN, wp, lp);
        break;
    case win::CM_FOCUSCHANGED:
    case win::CM_PARENTCOLORCHANGED:
    case win::CM_TEXTCHANGED: r->PaintControl(); break;
    case win::CM_ENABLEDCHANGED:
        if (!enabled) r->Hot = false;
        r->PaintControl();
        break;
    case win::CM_CTL3DCHANGED:
    case win::CM_PARENTCTL3DCHANGED:
    case win::CM_RECREATEWND:
    case win::CN_PARENTNOTIFY:
    case EM_GETMODIFY: r->Recreating = true; break;
    case win::CM_MOUSEENTER:
        if (enabled) {
            r->Hot = true;
            r->PaintControl();
        }
        break;
    case win::CM_MOUSELEAVE:
        if (enabled) {
            r->Hot = false;
            r->PaintControl();
        }
        break;
    case win::CM_EXIT: r->Hot = false; r->PaintControl(); break;
    }
    return result;
}

void TControlSubClass::PaintControl() {
    if (!IsWindow(Control) || !Painter) return;
    Focused = GetFocus() == Control;
    if (IsComboBox(Control)) PaintComboControl(*this);
    if (IsPushButton(Control)) PaintButtonControl(*this);
    if (IsPanel(Control)) PaintPanelControl(*this);
    if (IsGroupBox(Control)) PaintGroupBoxControl(*this);
    if (IsListView(Control)) PaintListViewControl(*this);
}

namespace {

void PaintButtonControl(TControlSubClass& r) {
    TXPMenu& p = *r.Painter;
    HWND w = r.Control;
    if (p.PaletteDirty()) {
        win::WindowDC dc(w);
        p.RefreshPalette(dc);
    }
    const TPaintColors& pc = p.PaintColors();
    const bool tag1000 = WindowTag(w) == kTagParentFace;
    const COLORREF parent = ControlColor(GetParent(w));
    COLORREF fill, edge;
    if (r.Hot) {
        fill = LightenColor(tag1000 ? parent : ToRGB(clBtnFace), pc.HotLighten);
        edge = LightenColor(pc.SelectBorder, 60);
    } else {
        fill = tag1000 ? LightenColor(parent, pc.FaceLighten) : pc.IconColumn;
        edge = r.Focused ? LightenColor(pc.SelectBorder, 60) : ToRGB(clBtnShadow);
    }
    win::WindowDC dc(w);
    RECT cr{};
    GetClientRect(w, &cr);
    FillColor(dc, cr, parent);
    {
        win::Pen pen = win::SolidPen(LightenColor(edge, 30));
        win::Brush brush = win::SolidBrush(fill);
        win::Selection usePen(dc, pen), useBrush(dc, brush);
        RoundRect(dc, cr.left, cr.top, cr.right, cr.bottom, 4, 4);
    }
    const bool enabled = IsWindowEnabled(w) != FALSE;
    if (enabled) {
        const int l = cr.left, t = cr.top, rr = cr.right, b = cr.bottom;
        COLORREF c = DarkenColor(edge, 50);
        if (r.SpaceDown || (r.Pressed && r.Hot))
            PolylineColor(dc, {{l, b - 2}, {l, t + 1}, {l + 1, t}, {rr - 1, t}}, c);
        else
            PolylineColor(dc, {{rr - 1, t + 1}, {rr - 1, b - 2}, {rr - 2, b - 1}, {l, b - 1}}, c);
    }
    std::wstring caption = TextOf(w);
    const bool rtl = ReadsRightToLeft(w);
    HGDIOBJ old = SelectObject(dc, FontOf(w));
    RECT tr{0, 0, cr.right, 0};
    DrawTextW(dc, caption.c_str(), (int)caption.size(), &tr,
              DT_CALCRECT | DT_SINGLELINE | (rtl ? DT_RTLREADING : 0));
    SelectObject(dc, old);
    int tw = tr.right - tr.left, th = tr.bottom - tr.top;
    int ox = ((cr.right - cr.left) - tw) / 2, oy = ((cr.bottom - cr.top) - th) / 2;
    RECT box{cr.left + ox, cr.top + oy, cr.left + ox + tw, cr.top + oy + th};
    TXPMenu::TextOptions o;
    o.Owner = TOwnerKind::Control;
    o.Font = FontOf(w);
    o.FontColor = GetSysColor(COLOR_BTNTEXT);
    o.Format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | (rtl ? DT_RTLREADING : 0);
    o.IsDefault = (GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    o.Enabled = enabled;
    p.PaintItemText(dc, caption, box, o);
}

void PaintPanelControl(TControlSubClass& r) {
    if (r.LastMessage != WM_PAINT && r.LastMessage != WM_NCPAINT) return;
    HWND w = r.Control;
    COLORREF c = OwnColor(w);
    COLORREF dark = DarkenColor(c, 60), light = LightenColor(c, 60);
    // The whole window: a static's own edge is part of the rule.
    win::WindowDC dc(w, win::WindowDC::Whole);
    RECT wr{};
    GetWindowRect(w, &wr);
    RECT cr{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    // Etched and sunken statics are panels with a lowered outer bevel of 1.
    Frame3D(dc, cr, dark, light, 1);
}

void PaintGroupBoxControl(TControlSubClass& r) {
    if (r.LastMessage != WM_PAINT) return;
    HWND w = r.Control;
    win::WindowDC dc(w);
    SelectObject(dc, FontOf(w));
    std::wstring caption = TextOf(w);
    std::wstring measured = caption.empty() ? L" " : caption;
    SIZE ts{};
    GetTextExtentPoint32W(dc, measured.c_str(), (int)measured.size(), &ts);
    const int th = ts.cy, tw = ts.cx, h2 = th / 2;
    const COLORREF c = OwnColor(w), p = ControlColor(GetParent(w));
    const COLORREF dark = DarkenColor(c, 60), light = LightenColor(c, 60);
    RECT cr{};
    GetClientRect(w, &cr);
    const int l = cr.left, t = cr.top, rr = cr.right, b = cr.bottom;

    FrameColor(dc, {l + 1, t + th, rr - 1, b - 1}, c);
    PolylineColor(dc, {{l + 1, t + h2 - 1}, {l + 1, b}}, c);
    RECT frame{l, t + h2 - 1, rr, b};
    Frame3D(dc, frame, light, dark, 1);  // standard group boxes are drawn etched
    FillColor(dc, l, t, rr, t + h2 + 1, p);

    const bool rtl = ReadsRightToLeft(w);
    RECT cap = rtl ? RECT{rr - 9 - tw, t, rr - 9, t + th} : RECT{l + 9, t, l + 9 + tw, t + th};
    FillColor(dc, cap.left, t + h2 + 1, cap.right, t + 2 * h2 + 2, c);
    PolylineColor(dc, {{rr - 2, t + h2 + 1}, {rr - 2, t + th}}, c);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), (int)caption.size(), &cap,
              DT_SINGLELINE | (rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
    PolylineColor(dc, {{l, t + h2 + 1}, {cap.left, t + h2 + 1}}, light);
    PolylineColor(dc, {{cap.right, t + h2 + 1}, {rr - 1, t + h2 + 1}}, light);
}

void PaintListViewControl(TControlSubClass& r) {
    TXPMenu& p = *r.Painter;
    HWND w = r.Control;
    {
        win::WindowDC dc(w, win::WindowDC::Whole);
        p.RefreshPalette(dc);
    }
    const TPaintColors& pc = p.PaintColors();
    const COLORREF parent = ControlColor(GetParent(w));
    COLORREF colour;
    if (r.Hot || r.Focused) colour = LightenColor(pc.SelectBorder, r.SavedSingle ? 60 : 80);
    else colour = r.SavedSingle ? DarkenColor(parent, 60) : parent;
    LONG ex = GetWindowLongW(w, GWL_EXSTYLE);
    if (ex & WS_EX_CLIENTEDGE) {
        // Without the sunken edge a single border is a plain one-pixel line.
        r.Recreating = true;
        SetWindowLongW(w, GWL_EXSTYLE, ex & ~WS_EX_CLIENTEDGE);
        if (r.SavedSingle) SetWindowLongW(w, GWL_STYLE, GetWindowLongW(w, GWL_STYLE) | WS_BORDER);
        SetWindowPos(w, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT wr{};
    GetWindowRect(w, &wr);
    win::WindowDC dc(w, win::WindowDC::Whole);
    FrameColor(dc, {0, 0, wr.right - wr.left, wr.bottom - wr.top}, colour);
}

void PaintComboControl(TControlSubClass& r) {
    TXPMenu& p = *r.Painter;
    HWND w = r.Control;
    if (p.PaletteDirty()) {
        win::WindowDC dc(w);
        p.RefreshPalette(dc);
    }
    const TPaintColors& pc = p.PaintColors();
    const COLORREF own = OwnColor(w) == ControlColor(GetParent(w)) ? GetSysColor(COLOR_WINDOW) : OwnColor(w);
    const COLORREF parent = ControlColor(GetParent(w));
    const bool enabled = IsWindowEnabled(w) != FALSE;
    COLORREF arrow = enabled ? RGB(0, 0, 0) : RGB(255, 255, 255), border, button;
    if (r.Hot) {
        border = pc.SelectBorder;
        button = pc.SelectFill;
    } else {
        border = own;
        button = WindowTag(w) == kTagParentFace ? LightenColor(parent, 16) : ToRGB(clBtnFace);
        if (r.Focused) {
            border = LightenColor(pc.SelectBorder, 60);
            button = pc.CheckFill;
        }
    }
    win::WindowDC dc(w);
    RECT cr{};
    GetClientRect(w, &cr);
    RECT R = cr;
    FrameColor(dc, R, parent);
    InflateRect(&R, -1, -1);
    PolylineColor(dc, {{R.left, R.top}, {R.right, R.top}}, parent);
    InflateRect(&R, 0, -1);
    if (r.Hot || r.Focused) InflateRect(&R, 1, 1);
    FrameColor(dc, R, own);
    R.bottom += 1;
    FrameColor(dc, R, border);
    if (SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0)) {
        border = pc.SelectBorder;
        arrow = RGB(255, 255, 255);
        button = pc.CheckFillSelected;
    }
    if ((GetWindowLongW(w, GWL_STYLE) & 3) == CBS_SIMPLE) return;
    InflateRect(&R, -1, -1);
    const bool rtl = ReadsRightToLeft(w);
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    RECT btn = R;
    if (rtl) btn.right = btn.left + thumb + 1;
    else btn.left = btn.right - thumb - 1;
    if (r.Hot || r.Focused) {
        if (rtl) btn.right += 2;
        else btn.left -= 1;
    }
    FillColor(dc, btn, button);
    if (rtl) {
        FillColor(dc, btn.right - 5, btn.top, btn.right, btn.bottom, own);
        PolylineColor(dc, {{btn.right - 5, btn.top}, {btn.right - 5, btn.bottom}}, border);
    } else {
        FillColor(dc, btn.left, btn.top, btn.left + 5, btn.bottom, own);
        PolylineColor(dc, {{btn.left + 5, btn.top}, {btn.left + 5, btn.bottom}}, border);
    }
    int x = rtl ? cr.left + 5 : cr.right - 10;
    PolylineColor(dc, {{x, cr.top + 10}, {x + 5, cr.top + 10}}, arrow);
    PolylineColor(dc, {{x + 1, cr.top + 11}, {x + 4, cr.top + 11}}, arrow);
    PolylineColor(dc, {{x + 2, cr.top + 12}, {x + 3, cr.top + 12}}, arrow);
}

}  // namespace

// ---- tool bars and bands

LRESULT TXPMenu::CustomDrawToolBar(HWND toolBar, NMTBCUSTOMDRAW& cd) {
    if (!active_) return -1;
    if (cd.nmcd.dwDrawStage == CDDS_PREPAINT) {
        if (!IsTransparentToolBar(toolBar))
            FillColor(cd.nmcd.hdc, cd.nmcd.rc, ControlColor(toolBar));
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    }
    if (cd.nmcd.dwDrawStage == CDDS_POSTPAINT) {
        // Separators get no item notices and are drawn by the tool bar
        // itself: give every one the button face afterwards.
        if (!IsTransparentToolBar(toolBar)) {
            COLORREF tbColor = ControlColor(toolBar);
            COLORREF face = highColor_ ? LightenColor(tbColor, 16) : tbColor;
            int n = (int)SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0);
            for (int i = 0; i < n; ++i) {
                TBBUTTON b{};
                RECT r{};
                if (SendMessageW(toolBar, TB_GETBUTTON, i, (LPARAM)&b) && (b.fsStyle & BTNS_SEP) &&
                    SendMessageW(toolBar, TB_GETITEMRECT, i, (LPARAM)&r))
                    FillColor(cd.nmcd.hdc, r, face);
            }
        }
        return CDRF_DODEFAULT;
    }
    if (cd.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    int index = (int)SendMessageW(toolBar, TB_COMMANDTOINDEX, cd.nmcd.dwItemSpec, 0);
    UINT s = cd.nmcd.uItemState;
    ToolButtonState st;
    st.Selected = (s & CDIS_SELECTED) != 0;
    st.Disabled = (s & CDIS_DISABLED) != 0;
    st.Checked = (s & CDIS_CHECKED) != 0;
    st.Hot = (s & CDIS_HOT) != 0;
    st.Indeterminate = (s & CDIS_INDETERMINATE) != 0;
    bool defaultDraw = true;
    PaintToolButton(toolBar, index, cd.nmcd.hdc, cd.nmcd.rc, st, defaultDraw);
    return defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
}

void TXPMenu::PaintToolButton(HWND tb, int index, HDC dc, const RECT& box0, const ToolButtonState& st,
                              bool& defaultDraw) {
    TBBUTTON button{};
    if (index < 0 || !SendMessageW(tb, TB_GETBUTTON, index, (LPARAM)&button)) return;
    const int image = button.iBitmap;
    auto usable = [image](HIMAGELIST list) {
        return list && image >= 0 && image <= ImageList_GetImageCount(list) - 1;
    };
    HIMAGELIST normal = (HIMAGELIST)SendMessageW(tb, TB_GETIMAGELIST, 0, 0);
    HIMAGELIST hotList = (HIMAGELIST)SendMessageW(tb, TB_GETHOTIMAGELIST, 0, 0);
    HIMAGELIST disabledList = (HIMAGELIST)SendMessageW(tb, TB_GETDISABLEDIMAGELIST, 0, 0);

    if (PaletteDirty()) RefreshPalette(dc);
    // A high-contrast scheme shows the bar in the button face and a hot
    // button highlighted, in the scheme's colours only.
    const COLORREF tbColor = highContrast_ ? GetSysColor(COLOR_BTNFACE) : ControlColor(tb);
    const COLORREF hotFill =
        (highColor_ && !useSystemColors_ && !highContrast_) ? LightenColor(select_, 68) : colors_.SelectFill;
    const COLORREF face = highColor_ && !highContrast_ ? LightenColor(tbColor, 16) : tbColor;
    const LONG style = GetWindowLongW(tb, GWL_STYLE);
    // A tool bar without a colour of its own lets its parent show through
    // (flat tool bars carry the transparent style whatever their colour).
    const bool transparent = IsTransparentToolBar(tb);
    const bool dropDown = (button.fsStyle & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN)) != 0;
    RECT box = box0;

    if (!transparent) FillColor(dc, box, face);
    bool fill = false, frame = false;
    COLORREF fillColor = face;
    if (st.Hot) {
        fillColor = (st.Checked || st.Selected) ? colors_.CheckFillSelected : hotFill;
        fill = frame = true;
    } else if (st.Checked) {
        fillColor = colors_.CheckFill;
        fill = frame = true;
    } else if (st.Indeterminate) {
        fillColor = hotFill;
        fill = true;
    }
    if (fill) FillColor(dc, box.left, box.top + 1, box.right, box.bottom, fillColor);
    if (frame) {
        // The hover frame is as wide as a pixel at 96 DPI, scaled.
        auto frameOf = [&](RECT r) {
            for (int i = 0; i < std::max(1, Px(1)); ++i) {
                FrameColor(dc, r, colors_.SelectBorder);
                InflateRect(&r, -1, -1);
            }
        };
        if (dropDown) {
            frameOf({box.left, box.top + 1, box.right - Px(13), box.bottom});
            frameOf({box.right - Px(14), box.top + 1, box.right, box.bottom});
        } else {
            frameOf({box.left, box.top + 1, box.right, box.bottom});
        }
    }
    if (dropDown && st.Selected)
        PaintOpenBarItem(dc, false, false, tbColor, {box.left, box.top + 1, box.right, box.bottom});
    defaultDraw = false;

    if (dropDown) {
        int x = box.right - 10, y = box.top + ((box.bottom - box.top) - 3) / 2 + 1;
        PolylineColor(dc, {{x, y}, {x + 5, y}}, RGB(0, 0, 0));
        PolylineColor(dc, {{x + 1, y + 1}, {x + 4, y + 1}}, RGB(0, 0, 0));
        PolylineColor(dc, {{x + 2, y + 2}, {x + 3, y + 2}}, RGB(0, 0, 0));
    }

    HIMAGELIST list = nullptr;
    if (st.Hot && usable(hotList)) list = hotList;
    else if (st.Disabled && usable(disabledList)) list = disabledList;
    else if (usable(normal)) list = normal;
    int gw = 0, gh = 0;
    const bool listLayout = (style & TBSTYLE_LIST) != 0;
    RECT gbox = box;
    if (dropDown) gbox.right -= 12;
    if (list) {
        ImageList_GetIconSize(list, &gw, &gh);
        win::Bitmap glyph(gw, gh, KeyColor);
        ImageList_Draw(list, image, glyph.DC(), 0, 0, ILD_TRANSPARENT);
        int left;
        if (!listLayout) left = (int)std::nearbyint((gbox.right - gbox.left - gw) / 2.0 + gbox.left);
        else left = gbox.left + 3;
        int top = gbox.top + 2;
        RECT g{left, top, left + gw, top + gh + 6};
        PaintItemGlyph(dc, TOwnerKind::ToolButton, false, false, st.Checked, !st.Disabled, st.Selected,
                       st.Hot, g, glyph);
    }

    // Captions, when the tool bar shows them.
    if (SendMessageW(tb, TB_GETTEXTROWS, 0, 0) > 0) {
        wchar_t text[256] = {};
        LRESULT n = SendMessageW(tb, TB_GETBUTTONTEXTW, button.idCommand, 0);
        if (n > 0 && n < 256) SendMessageW(tb, TB_GETBUTTONTEXTW, button.idCommand, (LPARAM)text);
        RECT tr = box;
        if (dropDown) tr.right -= 12;
        UINT format = DT_SINGLELINE;
        SIZE ts{};
        {
            win::Selection font(dc, FontHandle());
            GetTextExtentPoint32W(dc, L"W", 1, &ts);
        }
        if (!listLayout) {
            tr.top = tr.bottom - ts.cy - 6;
            format |= DT_CENTER;
        } else {
            format |= DT_VCENTER | DT_LEFT;
            tr.left += gw + 6;
        }
        if (st.Selected && st.Disabled) InflateRect(&tr, -1, -1);
        TextOptions o;
        o.Owner = TOwnerKind::ToolButton;
        o.Format = format;
        o.Enabled = !st.Disabled;
        o.Selected = st.Selected || (highContrast_ && st.Hot);
        PaintItemText(dc, text, tr, o);
    }

    // The separator before this button shows the button face.
    if (index > 0) {
        TBBUTTON prev{};
        RECT pr{};
        if (SendMessageW(tb, TB_GETBUTTON, index - 1, (LPARAM)&prev) && (prev.fsStyle & BTNS_SEP) &&
            SendMessageW(tb, TB_GETITEMRECT, index - 1, (LPARAM)&pr) && !transparent)
            FillColor(dc, pr, face);
    }
}

void TXPMenu::PaintBand(HDC dc, const RECT& rect, TColor controlColor) {
    if (PaletteDirty()) RefreshPalette(dc);
    if (highContrast_) {
        FillColor(dc, rect, GetSysColor(COLOR_BTNFACE));
        return;
    }
    FillColor(dc, rect, highColor_ ? LightenColor(controlColor, 6) : ToRGB(controlColor));
    int k = 30;
    for (int y = rect.top + 5; y <= rect.bottom - 5; y += 2) {
        PolylineColor(dc, {{rect.left + 3, y}, {rect.left + 6, y}}, DarkenColor(controlColor, k));
        k += 7;
    }
}

}  // namespace xpmenu
