#pragma once
#include <windows.h>

#include <utility>

namespace win {

// Owning handles for GDI: each type is move-only, gives its handle back
// exactly once, and undoes what it did to a DC before it lets go.

// How each kind of handle is given back.
template <typename H>
struct GdiFree {
    static void Free(H handle) { DeleteObject(handle); }
};
template <>
struct GdiFree<HICON> {
    static void Free(HICON handle) { DestroyIcon(handle); }
};

// A pen, brush, font, bitmap or region (or an icon), deleted when the owner
// goes. Select it into a DC only through a Selection that lives shorter than
// the object.
template <typename H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    H Get() const { return handle_; }
    operator H() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    H Release() { return std::exchange(handle_, nullptr); }
    void Reset(H handle = nullptr) {
        if (handle_) GdiFree<H>::Free(handle_);
        handle_ = handle;
    }

private:
    H handle_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;
using IconHandle = GdiObject<HICON>;

inline Pen SolidPen(COLORREF color, int width = 1) { return Pen(CreatePen(PS_SOLID, width, color)); }
inline Brush SolidBrush(COLORREF color) { return Brush(CreateSolidBrush(color)); }

// Selects an object into a DC and puts the previous one back on leaving
// the scope, so that the object can then be deleted.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (dc_ && old_) SelectObject(dc_, old_);
    }
    Selection(Selection&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), old_(std::exchange(other.old_, nullptr)) {}
    Selection& operator=(Selection&&) = delete;
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves the DC's state and restores it on leaving the scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDC() {
        if (dc_) RestoreDC(dc_, id_);
    }
    SavedDC(SavedDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)), id_(other.id_) {}
    SavedDC& operator=(SavedDC&&) = delete;
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int id_;
};

// GetDC (the client area) or GetWindowDC (the whole window), released on
// leaving the scope; the DC's state is restored before it goes back.
class WindowDC {
public:
    enum Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Client)
        : window_(window), dc_(area == Whole ? GetWindowDC(window) : GetDC(window)),
          saved_(dc_ ? SaveDC(dc_) : 0) {}
    ~WindowDC() {
        if (!dc_) return;
        RestoreDC(dc_, saved_);
        ReleaseDC(window_, dc_);
    }
    WindowDC(WindowDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)), saved_(other.saved_) {}
    WindowDC& operator=(WindowDC&&) = delete;
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
    int saved_;
};

// BeginPaint/EndPaint. EndPaint runs however the scope is left, so that a
// paint that throws still validates the window instead of coming back.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    ~PaintDC() {
        if (window_) EndPaint(window_, &ps_);
    }
    PaintDC(PaintDC&&) = delete;
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A memory DC, optionally with a bitmap of its own selected into it; the
// bitmap is deselected before either is deleted.
class MemoryDC {
public:
    explicit MemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
    // With a bitmap of the given size in the format of `like` (null: the screen).
    MemoryDC(HDC like, int width, int height) : MemoryDC(like) {
        HDC screen = like ? nullptr : GetDC(nullptr);
        bitmap_.Reset(CreateCompatibleBitmap(like ? like : screen, width, height));
        if (screen) ReleaseDC(nullptr, screen);
        if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    // With `bitmap` (a DIB section, say) taken over and selected into it.
    explicit MemoryDC(BitmapHandle bitmap) : MemoryDC(nullptr) {
        bitmap_ = std::move(bitmap);
        if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    ~MemoryDC() { Free(); }
    MemoryDC(MemoryDC&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), bitmap_(std::move(other.bitmap_)),
          old_(std::exchange(other.old_, nullptr)) {}
    MemoryDC& operator=(MemoryDC&& other) noexcept {
        if (this != &other) {
            Free();
            dc_ = std::exchange(other.dc_, nullptr);
            bitmap_ = std::move(other.bitmap_);
            old_ = std::exchange(other.old_, nullptr);
        }
        return *this;
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    HBITMAP Bitmap() const { return bitmap_; }

private:
    void Free() {
        if (dc_ && old_) SelectObject(dc_, old_);
        old_ = nullptr;
        bitmap_.Reset();
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
    }
    HDC dc_ = nullptr;
    BitmapHandle bitmap_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace win
