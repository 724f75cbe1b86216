#pragma once
#include <windows.h>

#include <string>

#include "win/Accessible.h"
#include "win/ControlSupport.h"
#include "win/Notify.h"

namespace win {

class GraphicHost;

// A windowless control: a rectangle in its host window plus a paint
// routine. The host paints it, forwards pointer messages to it (holding the
// capture while a button is down) and passes notifications on.
class GraphicControl : public ColorSource {
public:
    GraphicControl() = default;
    virtual ~GraphicControl();
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    // The parent must be a host (a Form or a win::GroupBox). The place and
    // size are in 96-DPI pixels, scaled to the host's DPI.
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

    // What a screen reader is told of the control, a child of its host's
    // object; false leaves it out.
    virtual bool DescribeAccessible(AccessibleInfo& info) const { return false; }
    virtual void DoAccessibleDefault() {}

protected:
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual void Paint(Canvas& canvas) {}

private:
    friend class GraphicHost;
    void ReleaseFont();
    // Moves the control for the host's new DPI (see RescaleChildren).
    void Rescale(UINT from, UINT to);
    RECT design_{};
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

}  // namespace win
