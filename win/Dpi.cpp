#include "win/Dpi.h"

#include <vector>

#include "win/Window.h"

namespace win {

namespace {
const wchar_t kDpiProp[] = L"win.Dpi";

template <typename F>
F UserFunction(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}
}  // namespace

UINT SystemDpi() {
    static const auto forSystem = UserFunction<UINT(WINAPI*)()>("GetDpiForSystem");
    if (forSystem) return forSystem();
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? (UINT)dpi : kDesignDpi;
}

UINT DpiAt(POINT screen) {
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const ForMonitor forMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<ForMonitor>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (forMonitor && SUCCEEDED(forMonitor(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) && y)
        return y;
    return SystemDpi();
}

UINT DpiOf(HWND window) {
    if (!window) return SystemDpi();
    HWND top = GetAncestor(window, GA_ROOT);
    if (UINT_PTR dpi = (UINT_PTR)GetPropW(top ? top : window, kDpiProp)) return (UINT)dpi;
    static const auto forWindow = UserFunction<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow)
        if (UINT dpi = forWindow(window)) return dpi;
    return SystemDpi();
}

void SetWindowDpi(HWND topLevel, UINT dpi) { SetPropW(topLevel, kDpiProp, (HANDLE)(UINT_PTR)dpi); }

RECT ScaleRect(const RECT& r, UINT from, UINT to) {
    auto s = [&](LONG v) { return (LONG)MulDiv(v, (int)to, (int)from); };
    return {s(r.left), s(r.top), s(r.right), s(r.bottom)};
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = UserFunction<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), (int)dpi, (int)SystemDpi());
}

void AdjustWindowRectForDpi(RECT& r, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
    static const auto forDpi = UserFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&r, style, menu, exStyle, dpi)) AdjustWindowRectEx(&r, style, menu, exStyle);
}

void RescaleChildren(HWND parent, UINT from, UINT to) {
    if (from == to) return;
    std::vector<HWND> children;
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) children.push_back(w);
    for (HWND w : children) {
        RECT r{};
        GetWindowRect(w, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        RECT next = ScaleRect(r, from, to);
        if (Window* wrapper = Window::FromHandle(w)) {
            RECT design{};
            RECT placed = wrapper->DesignBounds(design) ? ScaleRect(design, kDesignDpi, from) : RECT{};
            if (EqualRect(&r, &placed))
                next = ScaleRect(design, kDesignDpi, to);
            else
                wrapper->SetDesignBounds(ScaleRect(r, from, kDesignDpi));
        }
        SetWindowPos(w, nullptr, next.left, next.top, next.right - next.left, next.bottom - next.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // Controls inside a group box; a list view's header and the like
        // are placed by their own control.
        if (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) RescaleChildren(w, from, to);
    }
}

}  // namespace win
