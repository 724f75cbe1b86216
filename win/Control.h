#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "win/Canvas.h"
#include "win/Notify.h"
#include "win/Window.h"

namespace win {

class Form;
class GraphicControl;

// A window whose colour its ParentColor children take.
class ColorSource {
public:
    virtual ~ColorSource() = default;
    virtual TColor ChildColor() const = 0;
};

// The colour a ParentColor child of `parent` takes: the parent's own colour
// when it has one, else clBtnFace (a form or a standard control).
TColor ParentColorOf(HWND parent);
HFONT ParentFontOf(HWND parent);
// The form that holds the window (its top-level ancestor), if it is a Form.
Form* ParentFormOf(HWND window);
// The accelerator test: `ch` is the character after a single "&" in the
// caption, compared without regard to case.
bool IsAccel(WPARAM ch, const std::wstring& caption);
// Sends a notification to every direct child of `parent`, windowed or not.
void NotifyChildren(HWND parent, UINT msg, WPARAM wp, LPARAM lp);
// The application has an active window (one of this thread's).
bool ApplicationActive();
// A bold or resized copy of a font, owned by the caller.
HFONT DeriveFont(HFONT base, int height, bool bold);

// What lies under a screen point: the deepest window there, disabled ones
// included, and the windowless control inside it, if any.
struct ControlAt {
    HWND window = nullptr;
    GraphicControl* graphic = nullptr;
};
ControlAt FindControlAt(POINT screen);

// A windowed control painted by its own code: colour and font that can
// follow the parent, a caption, tab stop, and the framework notifications
// (CM_*) turned out of the raw messages. Subclasses answer them in WndProc.
class Control : public Window, public ColorSource {
public:
    Control() = default;
    ~Control() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);  // ParentColor becomes false
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TColor ChildColor() const override { return color_; }

    HFONT Font() const { return font_; }
    // Sets the control's font (ParentFont becomes false); with owned the
    // control deletes it when replaced or destroyed.
    void SetControlFont(HFONT font, bool owned = false);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& text) { SetText(text); }

    bool TabStop() const;
    void SetTabStop(bool value);

    bool Focused() const { return Handle() && GetFocus() == Handle(); }
    bool CanFocus() const;
    void SetFocus();
    bool MouseInControl() const { return mouseInside_; }
    HWND Parent() const { return Handle() ? GetParent(Handle()) : nullptr; }

    void Repaint();  // invalidate and paint at once

protected:
    // Creates a window of the layer's own control class, or with stdClass
    // a standard control (an edit...) wrapped by subclassing.
    void CreateControl(HWND parent, int x, int y, int w, int h, DWORD style, DWORD exStyle = 0,
                       const wchar_t* stdClass = nullptr, const wchar_t* text = L"");
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual void Paint(Canvas& canvas) {}
    // False when Paint covers the whole area (no background erase).
    virtual bool ErasesBackground() const { return true; }

private:
    void ReleaseFont();
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    HFONT font_ = nullptr;
    FontHandle ownedFont_;  // font_ when the control was given it to own
    bool parentFont_ = true;
    bool mouseInside_ = false;
    bool ownClass_ = false;
};

// A windowless control: a rectangle in its host window plus a paint
// routine. The host paints it, forwards pointer messages to it (holding the
// capture while a button is down) and passes notifications on.
class GraphicControl : public ColorSource {
public:
    GraphicControl() = default;
    virtual ~GraphicControl();
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    // The parent must be a host (a Form or a win::GroupBox).
    void Create(HWND parent, int x, int y, int w, int h);

    HWND Parent() const { return parent_; }
    RECT Bounds() const { return bounds_; }  // in the host's client area
    void SetBounds(int x, int y, int w, int h);
    RECT ClientRect() const { return {0, 0, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top}; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);  // sends CM_ENABLEDCHANGED
    std::wstring Caption() const { return caption_; }
    void SetCaption(const std::wstring& text);  // sends CM_TEXTCHANGED
    std::wstring Text() const { return caption_; }
    void SetText(const std::wstring& text) { SetCaption(text); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TColor ChildColor() const override { return color_; }
    HFONT Font() const { return font_; }
    void SetControlFont(HFONT font, bool owned = false);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    void Invalidate();
    void Repaint();  // invalidate and paint at once
    bool MouseInControl() const { return mouseInside_; }

    int Tag = 0;

    // Notifications and pointer messages, coordinates relative to the
    // control. The host calls it; so may anyone who sends a notification.
    LRESULT Perform(UINT msg, WPARAM wp, LPARAM lp);
    void PaintOn(HDC hostDC);  // paints at the control's place in the host

protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual void Paint(Canvas& canvas) {}

private:
    friend class GraphicHost;
    void ReleaseFont();
    HWND parent_ = nullptr;
    RECT bounds_{};
    bool visible_ = true;
    bool enabled_ = true;
    std::wstring caption_;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    HFONT font_ = nullptr;
    FontHandle ownedFont_;  // font_ when the control was given it to own
    bool parentFont_ = true;
    bool mouseInside_ = false;
};

// The windowless controls of one window. A window that hosts them gives
// every message to Handle first.
class GraphicHost {
public:
    virtual ~GraphicHost();
    static GraphicHost* Of(HWND window);

    void Add(GraphicControl* control);
    void Remove(GraphicControl* control);
    const std::vector<GraphicControl*>& Controls() const { return controls_; }
    // The topmost visible control at a client point.
    GraphicControl* ControlAtPoint(POINT client, bool allowDisabled) const;
    void PaintControls(HDC dc);
    // Notifications to all, pointer routing, painting on WM_PAINT with a DC.
    bool HandleHostMessage(HWND host, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    std::vector<GraphicControl*> controls_;
    GraphicControl* captured_ = nullptr;
    GraphicControl* under_ = nullptr;
};

}  // namespace win
