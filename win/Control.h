#pragma once
#include <windows.h>

#include <string>

#include "win/Accessible.h"
#include "win/ControlSupport.h"
#include "win/Notify.h"
#include "win/Window.h"

namespace win {

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

    // What a screen reader is told of a control that paints itself; false
    // leaves the window's standard object as it is.
    virtual bool DescribeAccessible(AccessibleInfo& info) const { return false; }

protected:
    // Creates a window of the layer's own control class, or with stdClass
    // a standard control (an edit...) wrapped by subclassing.
    void CreateControl(HWND parent, int x, int y, int w, int h, DWORD style, DWORD exStyle = 0,
                       const wchar_t* stdClass = nullptr, const wchar_t* text = L"");
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual void Paint(Canvas& canvas) {}
    // False when Paint covers the whole area (no background erase).
    virtual bool ErasesBackground() const { return true; }
    // A screen reader's "do the default action" (press, check...).
    virtual void DoAccessibleDefault() {}

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

}  // namespace win
