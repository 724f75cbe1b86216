#include "win/WindowHook.h"

#include <commctrl.h>

#include <utility>

#include "win/Error.h"

namespace win {

namespace {
using GetWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);

// mingw's import library lacks GetWindowSubclass; comctl32 exports it by ordinal.
BOOL QuerySubclass(HWND w, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* ref) {
    static auto fn = reinterpret_cast<GetWindowSubclassFn>(
        GetProcAddress(GetModuleHandleW(L"comctl32.dll"), MAKEINTRESOURCEA(411)));
    return fn ? fn(w, proc, id, ref) : FALSE;
}
}  // namespace

WindowHook::~WindowHook() { Detach(); }

bool WindowHook::Attach(HWND window) {
    Detach();
    if (!IsWindow(window) || !SetWindowSubclass(window, Proc, id_, (DWORD_PTR)this)) return false;
    window_ = window;
    return true;
}

void WindowHook::Detach() {
    if (!window_) return;
    // Only our own entry: another hook object may have taken the id since.
    DWORD_PTR ref = 0;
    if (IsWindow(window_) && QuerySubclass(window_, Proc, id_, &ref) && ref == (DWORD_PTR)this)
        RemoveWindowSubclass(window_, Proc, id_);
    window_ = nullptr;
}

void WindowHook::Dispose() {
    if (disposed_) return;
    disposed_ = true;
    Detach();
    if (depth_ == 0) delete this;
}

WindowHook* WindowHook::Find(HWND window, UINT_PTR id) {
    DWORD_PTR ref = 0;
    if (!window || !QuerySubclass(window, Proc, id, &ref)) return nullptr;
    return reinterpret_cast<WindowHook*>(ref);
}

LRESULT WindowHook::CallNext(UINT msg, WPARAM wp, LPARAM lp) {
    return DefSubclassProc(current_, msg, wp, lp);
}

LRESULT CALLBACK WindowHook::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<WindowHook*>(ref);
    if (self->disposed_) return DefSubclassProc(hwnd, msg, wp, lp);
    ++self->depth_;
    HWND outer = std::exchange(self->current_, hwnd);
    LRESULT result = Guarded([&] { return self->OnMessage(msg, wp, lp); });
    self->current_ = outer;
    if (msg == WM_NCDESTROY && !self->disposed_) {
        self->Detach();
        Guarded([&] { self->OnWindowGone(); });
    }
    --self->depth_;
    if (self->disposed_ && self->depth_ == 0) delete self;
    return result;
}

}  // namespace win
