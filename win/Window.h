#pragma once
#include <windows.h>

#include <string>

namespace win {

// Base of every window the layer creates or wraps. One window procedure
// dispatches to the virtual WndProc; `this` travels in lpCreateParams and is
// picked up at WM_NCCREATE. Standard controls are wrapped by subclassing
// (SetWindowSubclass), never by taking over their GWLP_USERDATA.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }
    static Window* FromHandle(HWND hwnd);

    int Tag = 0;

    void SetText(const std::wstring& text);
    std::wstring Text() const;
    RECT Bounds() const;  // relative to the parent's client area
    void SetBounds(int x, int y, int w, int h);
    RECT ClientRect() const;
    void SetVisible(bool visible);
    bool Visible() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;
    void Invalidate(bool erase = false);
    void SetFont(HFONT font);
    // The title bar's and task bar's icons from the executable's icon
    // resource, each at the size the system asks for at the window's DPI.
    void SetIcon(int resourceId);

    // The place and size the layout gave a child, in 96-DPI pixels (the
    // creation functions take them so); false when none was recorded.
    bool DesignBounds(RECT& r) const {
        r = design_;
        return hasDesign_;
    }
    void SetDesignBounds(const RECT& r) {
        design_ = r;
        hasDesign_ = true;
    }

    // Passes a message to the default handling of the window's class.
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

protected:
    // Creates a window of a class registered here on first use. A child's
    // place and size (here and in CreateStandard) are in 96-DPI pixels and
    // scaled to the parent's DPI.
    void CreateOwnClass(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle,
                        const wchar_t* text, int x, int y, int w, int h, HWND parent, HMENU menu);
    // Creates a standard control (list view, tool bar, ...) and subclasses it.
    void CreateStandard(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                        int x, int y, int w, int h, HWND parent, UINT id);
    // Wraps an existing window by subclassing it.
    void Attach(HWND hwnd);

    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK OwnProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void Register(HWND hwnd);
    // Scales a child's design bounds to its parent's DPI and records them.
    void ScaleForParent(DWORD style, HWND parent, int& x, int& y, int& w, int& h);

    HWND hwnd_ = nullptr;
    RECT design_{};
    bool hasDesign_ = false;
    bool subclassed_ = false;
    bool paintErrorShown_ = false;
};

}  // namespace win
