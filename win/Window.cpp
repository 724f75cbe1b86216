#include "win/Window.h"

#include <commctrl.h>

#include <unordered_map>

#include "win/Dpi.h"
#include "win/Error.h"

namespace win {

namespace {
std::unordered_map<HWND, Window*>& Registry() {
    static std::unordered_map<HWND, Window*> map;
    return map;
}
constexpr UINT_PTR kSubclassId = 0x574E;  // "WN"
}  // namespace

Window::~Window() {
    if (hwnd_) {
        HWND h = hwnd_;
        if (subclassed_) RemoveWindowSubclass(h, SubclassProc, kSubclassId);
        Registry().erase(h);
        hwnd_ = nullptr;
        if (IsWindow(h)) DestroyWindow(h);
    }
}

Window* Window::FromHandle(HWND hwnd) {
    auto it = Registry().find(hwnd);
    return it == Registry().end() ? nullptr : it->second;
}

void Window::Register(HWND hwnd) {
    Registry()[hwnd] = this;
    hwnd_ = hwnd;
}

void Window::ScaleForParent(DWORD style, HWND parent, int& x, int& y, int& w, int& h) {
    if (!(style & WS_CHILD) || !parent) return;
    SetDesignBounds({x, y, x + w, y + h});
    RECT r = ScaleRect(design_, kDesignDpi, DpiOf(parent));
    x = r.left;
    y = r.top;
    w = r.right - r.left;
    h = r.bottom - r.top;
}

void Window::CreateOwnClass(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle,
                            const wchar_t* text, int x, int y, int w, int h, HWND parent,
                            HMENU menu) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    if (!GetClassInfoExW(inst, className, &wc)) {
        wc = WNDCLASSEXW{sizeof(wc)};
        wc.style = classStyle;
        wc.lpfnWndProc = OwnProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }
    ScaleForParent(style, parent, x, y, w, h);
    CreateWindowExW(exStyle, className, text, style, x, y, w, h, parent, menu, inst, this);
    if (!hwnd_) throw Error(L"Unable to create window " + std::wstring(className));
}

void Window::CreateStandard(const wchar_t* className, const wchar_t* text, DWORD style,
                            DWORD exStyle, int x, int y, int w, int h, HWND parent, UINT id) {
    ScaleForParent(style, parent, x, y, w, h);
    HWND hwnd = CreateWindowExW(exStyle, className, text, style, x, y, w, h, parent,
                                (HMENU)(UINT_PTR)id, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Error(L"Unable to create control " + std::wstring(className));
    Attach(hwnd);
}

void Window::Attach(HWND hwnd) {
    Register(hwnd);
    subclassed_ = true;
    SetWindowSubclass(hwnd, SubclassProc, kSubclassId, (DWORD_PTR)this);
}

LRESULT CALLBACK Window::OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        // A window that cannot be registered is not made: CreateOwnClass reports it.
        if (self && !Guarded([&] { return self->Register(hwnd), true; }, false, [] {})) return FALSE;
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR ref) {
    return reinterpret_cast<Window*>(ref)->Dispatch(msg, wp, lp);
}

// Every wrapped window's messages run inside the exception boundary.
LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = hwnd_;
    LRESULT result = Guarded([&] { return WndProc(msg, wp, lp); }, LRESULT{0}, [&] {
        // A paint that fails would fail again on every repaint: the area is
        // validated, and the error shown once for the window.
        const bool paint = msg == WM_PAINT || msg == WM_NCPAINT || msg == WM_ERASEBKGND ||
                           msg == WM_PRINTCLIENT || msg == WM_DRAWITEM;
        if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
        const bool alive = FromHandle(hwnd) == this;
        if (!paint || !alive || !paintErrorShown_) {
            if (paint && alive) paintErrorShown_ = true;
            ShowCurrentException();
        }
    });
    if (msg == WM_NCDESTROY && FromHandle(hwnd) == this) {
        if (subclassed_) RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        subclassed_ = false;
        Registry().erase(hwnd);
        hwnd_ = nullptr;
    }
    return result;
}

LRESULT Window::WndProc(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT Window::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (subclassed_) return DefSubclassProc(hwnd_, msg, wp, lp);
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::SetText(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

std::wstring Window::Text() const {
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(n + 1, L'\0');
    n = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(n);
    return s;
}

RECT Window::Bounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    HWND parent = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd_) : nullptr;
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Window::SetBounds(int x, int y, int w, int h) {
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Window::ClientRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

void Window::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
bool Window::Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
void Window::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
bool Window::Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
void Window::Invalidate(bool erase) { InvalidateRect(hwnd_, nullptr, erase); }
void Window::SetFont(HFONT font) { SendMessageW(hwnd_, WM_SETFONT, (WPARAM)font, TRUE); }

void Window::SetIcon(int resourceId) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    // Shared icons belong to the module: nothing to free with the window.
    auto load = [&](int cx, int cy) {
        return (LPARAM)LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, cx, cy, LR_SHARED);
    };
    const UINT dpi = DpiOf(hwnd_);
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
                 load(SystemMetricForDpi(SM_CXICON, dpi), SystemMetricForDpi(SM_CYICON, dpi)));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                 load(SystemMetricForDpi(SM_CXSMICON, dpi), SystemMetricForDpi(SM_CYSMICON, dpi)));
}

}  // namespace win
