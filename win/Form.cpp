#include "win/Form.h"

#include <vector>

#include "win/Application.h"
#include "win/Dpi.h"
#include "win/Error.h"
#include "win/Gdi.h"
#include "win/Notify.h"
#include "win/PopupMenu.h"
#include "win/WindowLists.h"

namespace win {

Form::Form() { Application::Instance().AddForm(this); }

Form::~Form() {
    Application::Instance().RemoveForm(this);
}

void Form::CreateForm(const wchar_t* className, const std::wstring& caption, int width, int height,
                      DWORD style, HWND owner, bool clientSize) {
    DWORD exStyle = (style & WS_THICKFRAME) ? 0 : WS_EX_DLGMODALFRAME;
    // Opened beside its owner, at the owner's DPI; else on the primary
    // screen. Corrected below when the window lands elsewhere.
    dpi_ = owner ? DpiOf(owner) : SystemDpi();
    auto outer = [&](UINT dpi) {
        SIZE size{win::Scale(width, dpi), win::Scale(height, dpi)};
        if (clientSize) {
            RECT r{0, 0, size.cx, size.cy};
            AdjustWindowRectForDpi(r, style, false, exStyle, dpi);
            size = {r.right - r.left, r.bottom - r.top};
        }
        return size;
    };
    SIZE size = outer(dpi_);
    CreateOwnClass(className, CS_DBLCLKS, style, exStyle, caption.c_str(), CW_USEDEFAULT,
                   CW_USEDEFAULT, size.cx, size.cy, owner, nullptr);
    if (UINT actual = DpiOf(Handle()); actual != dpi_) {
        dpi_ = actual;
        size = outer(dpi_);
        SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!font_) SetFormFont(L"MS Sans Serif", 8);
}

void Form::SetFormFont(const wchar_t* face, int points) {
    fontFace_ = face;
    fontPoints_ = points;
    // Controls that use the form's font move to the new one before the old goes.
    FontHandle old = std::move(font_);
    font_.Reset(CreateFontW(FontHeightForPoints(points, dpi_), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, face));
    SendMessageW(Handle(), WM_SETFONT, (WPARAM)font_.Get(), FALSE);
    if (!Handle()) return;
    // Standard controls were handed the old font, at any depth (inside a
    // group box too); the layer's own controls inside those that follow
    // their parent's font are told once the parent holds the new one (the
    // walk meets a parent before its children).
    for (HWND w : ChildWindows(Handle())) {
        auto* control = dynamic_cast<Control*>(Window::FromHandle(w));
        if (control) {
            if (control->ParentFont() && GetParent(w) != Handle()) SendMessageW(w, CM_PARENTFONTCHANGED, 0, 0);
        } else if (old && (HFONT)SendMessageW(w, WM_GETFONT, 0, 0) == old.Get()) {
            SendMessageW(w, WM_SETFONT, (WPARAM)font_.Get(), TRUE);
            LRESULT ignored = 0;
            if (GetParent(w) != Handle())
                if (GraphicHost* host = GraphicHost::Of(w)) host->HandleHostMessage(w, CM_PARENTFONTCHANGED, 0, 0, ignored);
        }
    }
    NotifyChildren(Handle(), CM_PARENTFONTCHANGED, 0, 0);
}

void Form::ApplyDpi(UINT dpi, const RECT* suggested) {
    const UINT from = dpi_;
    RECT next{};
    if (suggested) {
        next = *suggested;
    } else {
        RECT r = Bounds();
        next = {r.left, r.top, r.left + MulDiv(r.right - r.left, (int)dpi, (int)from),
                r.top + MulDiv(r.bottom - r.top, (int)dpi, (int)from)};
    }
    dpi_ = dpi;
    SetWindowDpi(Handle(), dpi);
    SetWindowPos(Handle(), nullptr, next.left, next.top, next.right - next.left, next.bottom - next.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dpi != from) {
        // Places first: controls that fit themselves to the font do so after.
        RescaleChildren(Handle(), from, dpi);
        SetFormFont(fontFace_.c_str(), fontPoints_);
        LRESULT ignored = 0;
        HandleHostMessage(Handle(), CM_DPICHANGED, from, dpi, ignored);
        for (HWND w : ChildWindows(Handle())) SendMessageW(w, CM_DPICHANGED, from, dpi);
        menu_.Remeasure();
        DpiChanged(from, dpi);
    }
    if (menu_.Handle()) DrawMenuBar(Handle());
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::AttachMenu() {
    menu_.Build();
    SetMenu(Handle(), menu_.Handle());
    actions_.AddChangeListener([this](Action& a) { menu_.SyncAction(a); });
}

void Form::CenterOnScreen() {
    RECT r = Bounds();
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    SetWindowPos(Handle(), nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOn(HWND other) {
    if (!other) return CenterOnScreen();
    RECT o{}, r = Bounds();
    GetWindowRect(other, &o);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = o.left + ((o.right - o.left) - w) / 2;
    int y = o.top + ((o.bottom - o.top) - h) / 2;
    SetWindowPos(Handle(), nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::DestroyHandle() {
    if (Handle()) DestroyWindow(Handle());
}

void Form::Show(int showCommand) {
    if (!shown_) {
        shown_ = true;
        FormShow();
        FirstShow();
    }
    ShowWindow(Handle(), showCommand);
}

int Form::ShowModal() {
    // Disable every other enabled top-level window of this thread.
    std::vector<HWND> disabled;
    for (HWND w : ThreadWindows())
        if (w != Handle() && IsWindowVisible(w) && IsWindowEnabled(w)) disabled.push_back(w);
    for (HWND w : disabled) EnableWindow(w, FALSE);

    ModalResult = mrNone;
    modal_ = true;
    Show(SW_SHOW);
    SetForegroundWindow(Handle());
    auto& app = Application::Instance();
    while (ModalResult == mrNone && IsWindow(Handle())) {
        if (!app.HandleMessage()) {
            ModalResult = mrCancel;
            break;
        }
    }
    for (HWND w : disabled)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    modal_ = false;
    if (IsWindow(Handle())) ShowWindow(Handle(), SW_HIDE);
    if (!disabled.empty() && IsWindow(GetWindow(Handle(), GW_OWNER)))
        SetActiveWindow(GetWindow(Handle(), GW_OWNER));
    return ModalResult;
}

void Form::UpdateActions() {
    if (IsWindowVisible(Handle())) actions_.Update();
}

bool Form::PreTranslate(MSG& msg) {
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam != VK_CONTROL &&
        msg.wParam != VK_SHIFT && msg.wParam != VK_MENU) {
        ShortCut key = ShortCutFromKey(msg.wParam);
        if (key & (kCtrl | kAlt)) {
            if (MenuItem* item = menu_.FindShortCut(key)) {
                if (item->Bound) item->Bound->Update();
                if (item->IsEnabled()) item->Click();
                return true;
            }
            if (Action* a = actions_.FindShortCut(key)) {
                a->Execute();
                return true;
            }
        }
    }
    if (msg.message == WM_SYSCHAR && DialogChar(msg.wParam)) return true;
    if (msg.message == WM_CHAR && DialogKeys) {
        LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, (LPARAM)&msg);
        if (!(code & (DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTALLKEYS)) && DialogChar(msg.wParam))
            return true;
    }
    if (DialogKeys && msg.message == WM_KEYDOWN &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        // Offer Enter and Escape to the controls (a default or cancel button).
        for (HWND w = GetWindow(Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (IsWindowEnabled(w) && SendMessageW(w, CM_DIALOGKEY, msg.wParam, 0)) return true;
    }
    if (DialogKeys && IsDialogMessageW(Handle(), &msg)) return true;
    return false;
}

bool Form::DialogChar(WPARAM ch) {
    for (HWND w : ChildWindows(Handle()))
        if (IsWindowVisible(w) && SendMessageW(w, CM_DIALOGCHAR, ch, 0)) return true;
    return SendMessageW(Handle(), CM_DIALOGCHAR, ch, 0) != 0;
}

bool ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: child = (HWND)lp; break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(lp)->hwndFrom; break;
    case WM_DRAWITEM:
        // wParam 0: a menu's item, not a control's.
        if (wp) child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (wp) child = GetDlgItem(parent, (int)reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID);
        break;
    case WM_DELETEITEM: child = reinterpret_cast<DELETEITEMSTRUCT*>(lp)->hwndItem; break;
    case WM_COMPAREITEM: child = reinterpret_cast<COMPAREITEMSTRUCT*>(lp)->hwndItem; break;
    default: return false;
    }
    if (!child) return false;
    auto* target = dynamic_cast<NotifyTarget*>(Window::FromHandle(child));
    return target && target->OnParentNotify(msg, wp, lp, result);
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (ReflectToChild(Handle(), msg, wp, lp, result)) return result;
    if (HandleHostMessage(Handle(), msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_GETFONT:
        // Child controls created on the form take its font from here.
        return (LRESULT)font_.Get();
    case WM_ERASEBKGND:
        // Also answers controls that copy the form's look under themselves.
        if (!GetClassLongPtrW(Handle(), GCLP_HBRBACKGROUND)) {
            RECT r = ClientRect();
            FillRect((HDC)wp, &r, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        break;
    case WM_PAINT:
        // Windowless controls; a DC in wParam asks for painting into it.
        if (wp) {
            PaintControls((HDC)wp);
            return 0;
        }
        if (!Controls().empty()) {
            PaintDC dc(Handle());
            PaintControls(dc);
            return 0;
        }
        break;
    case WM_SYSCOLORCHANGE: {
        for (HWND w : ChildWindows(Handle()))
            if (IsWindow(w)) SendMessageW(w, CM_SYSCOLORCHANGE, 0, 0);
        HandleHostMessage(Handle(), CM_SYSCOLORCHANGE, 0, 0, result);
        break;
    }
    case WM_COMMAND:
        if (lp == 0) {
            if (MenuItem* item = menu_.FindCommand(LOWORD(wp))) {
                item->Click();
                return 0;
            }
            if (Action* a = actions_.Find(LOWORD(wp))) {
                a->Execute();
                return 0;
            }
        }
        // Enter and Escape reach a dialog as IDOK/IDCANCEL: nothing to do
        // unless a control took them as dialog keys.
        return 0;
    case WM_MENUCHAR:
        // Windows finds no mnemonic in owner-drawn items by itself.
        if (menu_.Owns((HMENU)lp)) return MenuCharAnswer((wchar_t)LOWORD(wp), (HMENU)lp);
        break;
    case WM_MEASUREITEM:
        if (menu_.HandleMeasure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
        break;
    case WM_DRAWITEM:
        if (menu_.HandleDraw(*reinterpret_cast<DRAWITEMSTRUCT*>(lp))) return TRUE;
        break;
    case WM_DPICHANGED:
        ApplyDpi(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_CLOSE:
        if (modal_) {
            ModalResult = mrCancel;
            return 0;
        }
        if (!CanClose()) return 0;
        // A failure while closing is shown, but the window still closes.
        Guarded([this] { FormClose(); });
        DestroyWindow(Handle());
        return 0;
    }
    return DefaultProc(msg, wp, lp);
}

}  // namespace win
