#include "xpmenu/XPMenu.h"

#include "win/Dpi.h"

#include <algorithm>

#include "win/Application.h"
#include "win/Gdi.h"
#include "win/ListView.h"
#include "win/WindowHook.h"
#include "win/ToolBar.h"
#include "win/WindowLists.h"
#include "xpmenu/ControlSubClass.h"
#include "xpmenu/XPMenuManager.h"

namespace xpmenu {

namespace {
// Installed handlers are small functors so that a painter can recognise its
// own handlers again (std::function::target) when it detaches.
struct ItemPainter {
    TXPMenu* p;
    void operator()(win::MenuItem& item, HDC dc, const RECT& r, bool selected) const {
        p->PaintMenuItem(item, dc, r, selected);
    }
};
struct ItemMeasurer {
    TXPMenu* p;
    void operator()(win::MenuItem& item, HDC dc, int& w, int& h) const {
        p->MeasureMenuItem(item, dc, w, h);
    }
};
struct ToolButtonPainter {
    TXPMenu* p;
    HWND toolBar;
    LRESULT operator()(NMTBCUSTOMDRAW& cd) const { return p->CustomDrawToolBar(toolBar, cd); }
};
}  // namespace

std::wstring ClassNameOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

int WindowTag(HWND window) {
    win::Window* w = window ? win::Window::FromHandle(window) : nullptr;
    return w ? w->Tag : 0;
}

void SetControlColor(HWND window, COLORREF color) {
    SetPropW(window, kControlColorProp, (HANDLE)(UINT_PTR)(color | 0x01000000));
}

COLORREF ControlColor(HWND window) {
    if (auto* tb = dynamic_cast<win::ToolBar*>(win::Window::FromHandle(window)))
        if (tb->Color != CLR_NONE) return tb->Color;
    if (UINT_PTR v = (UINT_PTR)GetPropW(window, kControlColorProp)) return (COLORREF)(v & 0xFFFFFF);
    return GetSysColor(COLOR_BTNFACE);
}

TXPMenu::TXPMenu(win::Form& owner) : form_(owner) {
    NONCLIENTMETRICSW ncm{sizeof(ncm)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    font_ = ncm.lfMenuFont;
    font_.lfHeight = win::Unscale(font_.lfHeight, win::SystemDpi());
    fontColor_ = clMenuText;
    selectFont_ = fontColor_;

    OSVERSIONINFOW vi{sizeof(vi)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&vi);
#pragma GCC diagnostic pop
    nt_ = vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
    nt51_ = nt_ && vi.dwMajorVersion == 5 && vi.dwMinorVersion == 1;

    TXPMenuManager::Ensure().Constructed(this);
    if (HWND h = form_.Handle()) RefreshPalette(win::WindowDC(h));
}

TXPMenu::~TXPMenu() {
    ApplyToOwned(form_, false, false);
    // Handlers this painter left on other forms' menus and tool bars (the
    // manager paints forms without a painter of their own) go with it.
    DetachEverywhere();
    HookFormHover(false);
    if (auto* m = TXPMenuManager::Instance()) m->UnregisterPainter(this);
    // Records still hooked go with their painter; their controls get their
    // own look back rather than a hook that points nowhere.
    while (!records_.empty()) records_.back()->Unhook();
    if (IsWindow(form_.Handle())) RedrawWindow(form_.Handle(), nullptr, nullptr,
                                               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (auto* m = TXPMenuManager::Instance()) m->Destroyed(this);
}

void TXPMenu::Loaded() { TXPMenuManager::Ensure().RegisterPainter(this); }

void TXPMenu::ForgetRecord(TControlSubClass* r) {
    records_.erase(std::remove(records_.begin(), records_.end(), r), records_.end());
}

// ---- settings

void TXPMenu::SetPaletteColor(TColor& field, TColor value) {
    field = value;
    paletteDirty_ = true;
}

void TXPMenu::RedrawMenuBar() {
    if (IsWindow(form_.Handle()) && GetMenu(form_.Handle())) ::DrawMenuBar(form_.Handle());
}

void TXPMenu::SetFont(const LOGFONTW& font, TColor color) {
    font_ = font;
    fontColor_ = color;
    fontHandle_.Reset();
    RedrawMenuBar();
}

HFONT TXPMenu::FontHandle() const {
    const UINT dpi = Dpi();
    if (!fontHandle_ || dpi != fontDpi_) {
        LOGFONTW lf = font_;
        lf.lfHeight = win::Scale(lf.lfHeight, dpi);
        fontHandle_.Reset(CreateFontIndirectW(&lf));
        fontDpi_ = dpi;
    }
    return fontHandle_.Get();
}

int TXPMenu::Px(int value) const { return win::Scale(value, Dpi()); }

UINT TXPMenu::Dpi() const { return pinnedDpi_ ? pinnedDpi_ : win::DpiOf(form_.Handle()); }

void TXPMenu::SetMenuBarColor(TColor c) {
    SetPaletteColor(menuBar_, c);
    RedrawMenuBar();
}

void TXPMenu::SetUseSystemColors(bool v) {
    useSystemColors_ = v;
    RedrawMenuBar();
}

void TXPMenu::SetActive(bool v) {
    if (v == active_) return;
    active_ = v;
    ApplyToOwned(form_, v, true);
    HookFormHover(v);
    RedrawMenuBar();
}

// Windows asks for no bar item paint while the pointer moves over the bar;
// redraw the bar when the item under it changes, so it lights up.
class HoverHook : public win::WindowHook {
public:
    static constexpr UINT_PTR Id = 0x5851;
    explicit HoverHook(TXPMenu* painter) : WindowHook(Id), painter_(painter) {}

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_NCMOUSEMOVE || msg == WM_NCMOUSELEAVE) {
            HWND w = Hooked();
            int item = -1;
            if (msg == WM_NCMOUSEMOVE && wp == HTMENU && GetMenu(w)) {
                item = MenuItemFromPoint(w, GetMenu(w), {(short)LOWORD(lp), (short)HIWORD(lp)});
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_NONCLIENT, w, 0};
                TrackMouseEvent(&tme);
            }
            if (item != painter_->hoverItem_) {
                painter_->hoverItem_ = item;
                if (painter_->active_ && painter_->form_.Menu().OwnerDrawn) ::DrawMenuBar(w);
            }
        }
        return CallNext(msg, wp, lp);
    }
    void OnWindowGone() override {
        painter_->hoverHook_ = nullptr;
        Dispose();
    }

private:
    TXPMenu* painter_;
};

void TXPMenu::HookFormHover(bool on) {
    if (on == (hoverHook_ != nullptr)) return;
    if (on) {
        HWND h = form_.Handle();
        if (!IsWindow(h)) return;
        hoverHook_ = new HoverHook(this);
        if (!hoverHook_->Attach(h)) {
            hoverHook_->Dispose();
            hoverHook_ = nullptr;
        }
    } else {
        hoverHook_->Dispose();
        hoverHook_ = nullptr;
    }
    hoverItem_ = -1;
}

void TXPMenu::DetachEverywhere() {
    for (win::Form* f : win::Application::Instance().Forms()) {
        bool ours = false;
        f->Menu().ForEach([&](win::MenuItem& item) {
            if (auto* h = item.OnDrawItem.target<ItemPainter>(); h && h->p == this) {
                item.OnDrawItem = nullptr;
                ours = true;
            }
            if (auto* h = item.OnMeasureItem.target<ItemMeasurer>(); h && h->p == this) {
                item.OnMeasureItem = nullptr;
                ours = true;
            }
        });
        if (ours && f != &form_) {
            f->Menu().OwnerDrawn = false;
            if (f->Menu().Handle() && IsWindow(f->Handle())) {
                bool bar = GetMenu(f->Handle()) == f->Menu().Handle();
                f->Menu().Build();
                if (bar) {
                    SetMenu(f->Handle(), f->Menu().Handle());
                    ::DrawMenuBar(f->Handle());
                }
            }
        }
        if (!IsWindow(f->Handle())) continue;
        for (HWND w : win::ChildWindows(f->Handle()))
            if (auto* tb = dynamic_cast<win::ToolBar*>(win::Window::FromHandle(w)))
                if (auto* h = tb->OnCustomDraw.target<ToolButtonPainter>(); h && h->p == this) {
                    tb->OnCustomDraw = nullptr;
                    InvalidateRect(w, nullptr, TRUE);
                }
    }
}

void TXPMenu::SetOverrideOwnerDraw(bool v) {
    overrideOwnerDraw_ = v;
    if (active_) SetActive(true);  // unchanged value: takes hold at the next pass
}

// A changed set unhooks everything and hooks again what still qualifies.
void TXPMenu::ChangeKinds(const std::function<void()>& assign, bool changed) {
    if (changed && active_) {
        active_ = false;
        ApplyToOwned(form_, false, true);
        active_ = true;
        assign();
        DropUnqualifiedRecords();
        ApplyToOwned(form_, true, true);
    }
    assign();
}

void TXPMenu::SetXPControls(TXPControls v) {
    v &= AllXPControls;
    ChangeKinds([&] { xpControls_ = v; }, v != xpControls_);
}

void TXPMenu::SetXPContainers(TXPContainers v) {
    v &= AllXPContainers;
    ChangeKinds([&] { xpContainers_ = v; }, v != xpContainers_);
}

// Controls that no longer qualify lose their hook at once: with the painter
// active again no record would ever notice that it should go.
void TXPMenu::DropUnqualifiedRecords() {
    for (TControlSubClass* r : std::vector<TControlSubClass*>(records_))
        if (!IsWindow(r->Control) || !QualifiesByKind(r->Control) || !QualifiesByParent(r->Control))
            r->Unhook();
}

// The flag is stored, so that it does keep this painter from being the
// manager's active one; a painter that gives up the role hands it over.
void TXPMenu::SetDisableSubclassing(bool v) {
    if (v == disableSubclassing_) return;
    disableSubclassing_ = v;
    auto* m = TXPMenuManager::Instance();
    if (!m) return;
    if (v && m->ActivePainter() == this) m->HandOver(this);
    else if (!v && !m->ActivePainter()) m->HandOver(nullptr);
}

// ---- colour set

void TXPMenu::RefreshPalette(HDC dc) { RefreshPalette(GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES)); }

namespace {
// What the palette is made of outside the painter's own settings: the
// system's colours and whether a high-contrast scheme is on.
unsigned SchemeStamp() {
    static const int used[] = {COLOR_BTNFACE,  COLOR_BTNSHADOW, COLOR_BTNTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                               COLOR_MENU,     COLOR_MENUTEXT,  COLOR_GRAYTEXT, COLOR_INACTIVECAPTION,
                               COLOR_WINDOW,   COLOR_WINDOWTEXT};
    unsigned stamp = win::HighContrast() ? 1u : 0u;
    for (int i : used) stamp = stamp * 16777619u ^ (unsigned)GetSysColor(i);
    return stamp;
}
}  // namespace

bool TXPMenu::PaletteDirty() const { return paletteDirty_ || stamp_ != SchemeStamp(); }

void TXPMenu::RefreshPalette(int bitsPerPixel) {
    paletteDirty_ = false;
    stamp_ = SchemeStamp();
    highColor_ = bitsPerPixel >= 16;
    TPaintColors& c = colors_;
    highContrast_ = win::HighContrast();
    if (highContrast_) {
        // The scheme's own colours, nothing derived from them: a selected
        // item is highlighted as the system highlights.
        c.Background = c.IconColumn = c.CheckFill = c.Bar = GetSysColor(COLOR_MENU);
        c.SelectFill = c.SelectBorder = c.CheckFillSelected = GetSysColor(COLOR_HIGHLIGHT);
        c.SelectText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        c.CheckMark = GetSysColor(COLOR_MENUTEXT);
        c.Disabled = c.Separator = GetSysColor(COLOR_GRAYTEXT);
        c.FrameOuter = GetSysColor(COLOR_MENUTEXT);
        c.FrameShadow = GetSysColor(COLOR_BTNSHADOW);
        c.HotLighten = c.FaceLighten = 0;
        return;
    }
    c.HotLighten = 40;
    c.FaceLighten = 16;
    const COLORREF font = ToRGB(fontColor_);
    if (useSystemColors_) {
        if (highColor_) {
            c.Background = LightenColor(clBtnFace, 86);
            c.IconColumn = LightenColor(clBtnFace, 16);
            c.SelectFill = LightenColor(clHighlight, 68);
            c.CheckFill = LightenColor(clHighlight, 80);
            c.CheckFillSelected = LightenColor(clHighlight, 50);
            c.Disabled = LightenColor(clBtnShadow, 10);
            c.Separator = LightenColor(clBtnShadow, 25);
        } else {
            c.Background = ToRGB(clWhite);
            c.IconColumn = ToRGB(clBtnFace);
            c.SelectFill = ToRGB(clWhite);
            c.CheckFill = ToRGB(clWhite);
            c.CheckFillSelected = ToRGB(clWhite);
            c.Disabled = ToRGB(clBtnShadow);
            c.Separator = ToRGB(clBtnShadow);
        }
        c.SelectBorder = ToRGB(clHighlight);
        c.SelectText = font;
        c.CheckMark = ToRGB(clHighlight);
        c.Bar = ToRGB(clBtnFace);
    } else {
        c.Background = ToRGB(color_);
        c.IconColumn = ToRGB(iconBack_);
        if (highColor_) {
            c.SelectFill = UseDimColor ? LightenColor(select_, 68) : ToRGB(select_);
            c.CheckFill = UseDimColor ? LightenColor(select_, 80) : ToRGB(select_);
            c.CheckFillSelected = UseDimColor ? LightenColor(select_, 50) : ToRGB(select_);
        } else {
            c.SelectFill = ToRGB(select_);
            c.CheckFill = ToRGB(clWhite);
            c.CheckFillSelected = ToRGB(clSilver);
        }
        c.SelectBorder = ToRGB(selectBorder_);
        c.SelectText = ToRGB(selectFont_);
        c.CheckMark = ToRGB(checked_);
        c.Bar = ToRGB(menuBar_);
        c.Disabled = ToRGB(disabled_);
        c.Separator = ToRGB(separator_);
    }
    c.FrameOuter = highColor_ ? DarkenColor(clBtnFace, 90) : ToRGB(clBtnShadow);
    c.FrameShadow = highColor_ ? DarkenColor(clBtnFace, 76) : ToRGB(clBtnShadow);
}

COLORREF TXPMenu::ContrastTextColor(TColor c) const {
    COLORREF rgb = ToRGB(c);
    if ((GetRValue(rgb) + GetBValue(rgb)) / 2 > 150 || GetGValue(rgb) > 200) return ToRGB(fontColor_);
    return LightenColor(rgb, 90);
}

// ---- attachment

void TXPMenu::ApplyToOwned(win::Form& form, bool enable, bool update) {
    if (!IsWindow(form.Handle())) return;
    ApplyToMenu(form.Menu(), enable);
    if (GetMenu(form.Handle()) && form.Menu().Handle() && !form.Menu().Root.Items.empty()) {
        // The rebuilt menu must become the window's menu bar.
        if (GetMenu(form.Handle()) != form.Menu().Handle()) SetMenu(form.Handle(), form.Menu().Handle());
        ::DrawMenuBar(form.Handle());
    }
    for (HWND w : win::ChildWindows(form.Handle()))
        if (IsWindow(w)) ApplyToWindow(w, enable, update);
}

void TXPMenu::ApplyToMenu(win::MainMenu& menu, bool enable) {
    if (!(xpControls_ & Bit(xcMainMenu)) || menu.Tag == kTagNotPainted) return;
    if (menu.Root.Items.empty()) return;
    menu.OwnerDrawn = enable;
    for (auto& item : menu.Root.Items) AttachItemTree(*item, enable);
    // Rebuilding makes Windows measure the bar and its items again.
    if (menu.Handle()) menu.Build();
}

void TXPMenu::AttachItemTree(win::MenuItem& item, bool enable) {
    AttachItem(item, enable);
    for (auto& sub : item.Items) AttachItemTree(*sub, enable);
}

void TXPMenu::AttachItem(win::MenuItem& item, bool enable) {
    if (enable) {
        if (item.Tag == kTagNotPainted) return;
        if (!item.OnDrawItem || overrideOwnerDraw_) item.OnDrawItem = ItemPainter{this};
        if (!item.OnMeasureItem || overrideOwnerDraw_) item.OnMeasureItem = ItemMeasurer{this};
    } else {
        if (item.OnDrawItem.target<ItemPainter>()) item.OnDrawItem = nullptr;
        if (item.OnMeasureItem.target<ItemMeasurer>()) item.OnMeasureItem = nullptr;
    }
}

bool IsToolBar(HWND w) { return ClassNameOf(w) == TOOLBARCLASSNAMEW; }
bool IsListView(HWND w) { return ClassNameOf(w) == WC_LISTVIEWW; }
bool IsComboBox(HWND w) { return ClassNameOf(w) == L"ComboBox"; }
bool IsPushButton(HWND w) {
    if (ClassNameOf(w) != L"Button") return false;
    LONG type = GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}
bool IsGroupBox(HWND w) {
    return ClassNameOf(w) == L"Button" && (GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}
// A panel here is a static drawn as an etched or sunken rule or frame.
bool IsPanel(HWND w) {
    if (ClassNameOf(w) != L"Static") return false;
    LONG style = GetWindowLongW(w, GWL_STYLE);
    LONG type = style & SS_TYPEMASK;
    return type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT || type == SS_ETCHEDFRAME || (style & SS_SUNKEN);
}

bool TXPMenu::QualifiesByKind(HWND c) const {
    auto has = [this](TXPControl k) { return (xpControls_ & Bit(k)) != 0; };
    return (IsComboBox(c) && has(xcCombo)) || (IsPushButton(c) && has(xcButton)) ||
           (ClassNameOf(c) == UPDOWN_CLASSW && has(xcUpDown)) || (IsPanel(c) && has(xcPanel)) ||
           (IsGroupBox(c) && has(xcGroupBox)) || (IsListView(c) && has(xcListView));
}

bool TXPMenu::QualifiesByParent(HWND c) const {
    HWND p = GetParent(c);
    if (!p) return false;
    auto has = [this](TXPContainer k) { return (xpContainers_ & Bit(k)) != 0; };
    bool isForm = dynamic_cast<win::Form*>(win::Window::FromHandle(p)) != nullptr;
    return (IsToolBar(p) && has(xccToolbar)) || (IsPanel(p) && has(xccPanel)) ||
           (IsGroupBox(p) && has(xccGroupBox)) || (isForm && has(xccForm));
}

void TXPMenu::ApplyToWindow(HWND c, bool enable, bool update) {
    if (IsToolBar(c)) {
        if (!(xpControls_ & Bit(xcToolbar))) return;
        LONG style = GetWindowLongW(c, GWL_STYLE);
        if (!(style & TBSTYLE_FLAT)) SetWindowLongW(c, GWL_STYLE, style | TBSTYLE_FLAT);
        if (auto* tb = dynamic_cast<win::ToolBar*>(win::Window::FromHandle(c))) {
            if (enable) {
                if (SendMessageW(c, TB_BUTTONCOUNT, 0, 0) > 0 && (!tb->OnCustomDraw || overrideOwnerDraw_))
                    tb->OnCustomDraw = ToolButtonPainter{this, c};
            } else if (tb->OnCustomDraw.target<ToolButtonPainter>()) {
                tb->OnCustomDraw = nullptr;
            }
        }
        if (update) InvalidateRect(c, nullptr, TRUE);
        return;
    }
    if (!QualifiesByKind(c) || !QualifiesByParent(c)) return;
    if (enable && WindowTag(c) != kTagNotPainted && WindowTag(GetParent(c)) != kTagNotPainted && !TControlSubClass::Of(c)) {
        auto* r = new TControlSubClass(c, this);
        AddRecord(r);
        if (IsListView(c)) {
            LONG style = GetWindowLongW(c, GWL_STYLE), ex = GetWindowLongW(c, GWL_EXSTYLE);
            r->SavesStyle = true;
            r->Saved3D = (ex & WS_EX_CLIENTEDGE) != 0;
            r->SavedSingle = (style & WS_BORDER) || (ex & WS_EX_CLIENTEDGE);
            r->SavedBorderBit = (style & WS_BORDER) != 0;
        }
        r->Install();
    }
    if (update) InvalidateRect(c, nullptr, TRUE);
}

}  // namespace xpmenu
