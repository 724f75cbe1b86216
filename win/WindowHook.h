#pragma once
#include <windows.h>

namespace win {

// A hook on another window's procedure, through SetWindowSubclass. The hook
// object is the subclass's reference data, so its state travels with the
// window; it comes off by itself at WM_NCDESTROY. Messages run inside the
// exception boundary.
//
// A hook made with new is ended with Dispose, which is safe at any time,
// even from inside one of the hook's own messages (a control destroyed by
// its own click): the object is freed once the outermost of its messages
// has returned, and OnMessage checks Disposed() after CallNext before it
// touches its state again.
class WindowHook {
public:
    explicit WindowHook(UINT_PTR id) : id_(id) {}
    virtual ~WindowHook();
    WindowHook(const WindowHook&) = delete;
    WindowHook& operator=(const WindowHook&) = delete;

    // Hooks the window; false when it is no window (or this thread's hook
    // list refused it).
    bool Attach(HWND window);
    // Takes the hook off; the object stays.
    void Detach();
    HWND Hooked() const { return window_; }
    UINT_PTR Id() const { return id_; }

    // Takes the hook off and frees the object (now, or after its messages).
    void Dispose();
    bool Disposed() const { return disposed_; }

    // The hook with this id on a window, or null.
    static WindowHook* Find(HWND window, UINT_PTR id);

protected:
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return CallNext(msg, wp, lp); }
    // The window has been destroyed; the hook is already off.
    virtual void OnWindowGone() {}
    LRESULT CallNext(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND window_ = nullptr;
    HWND current_ = nullptr;  // the window of the message now running
    UINT_PTR id_;
    int depth_ = 0;  // messages of this hook now running
    bool disposed_ = false;
};

}  // namespace win
