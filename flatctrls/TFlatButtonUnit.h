#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "flatctrls/FlatUtilitys.h"
#include "win/Canvas.h"
#include "win/Control.h"

namespace flat {

enum TTransparentMode { tmAlways, tmNotFocused, tmNone };

constexpr TColor clWindowText = 0xFF000008;

// What the flat push button and the flat speed button share: their
// properties, states, grouping, pointer handling and paint. The two
// classes supply the window (or the place in a host) around it.
class FlatButtonCore : public HoverClient {
public:
    FlatButtonCore(HoverTracker& tracker, int kind);
    ~FlatButtonCore() override;

    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    TColor ColorFocused() const { return colorFocused_; }
    void SetColorFocused(TColor v);
    TColor ColorDown() const { return colorDown_; }
    void SetColorDown(TColor v);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor v);
    TColor ColorHighLight() const { return colorHighLight_; }
    void SetColorHighLight(TColor v);
    TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(TColor v);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor v);
    TAdvColors AdvColorFocused() const { return advFocused_; }
    void SetAdvColorFocused(TAdvColors v);
    TAdvColors AdvColorDown() const { return advDown_; }
    void SetAdvColorDown(TAdvColors v);
    TAdvColors AdvColorBorder() const { return advBorder_; }
    void SetAdvColorBorder(TAdvColors v);
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    void SetDown(bool v);
    const win::Bitmap& Glyph() const { return glyph_; }
    void SetGlyph(const win::Bitmap& picture);
    void SetGlyph(HBITMAP picture);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    int Margin() const { return margin_; }
    void SetMargin(int v);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    int ModalResult = 0;
    // What a screen reader says for the button when its caption says too
    // little ("..."), and a key that presses it from elsewhere; empty: the
    // caption and its mnemonic.
    std::wstring AccessibleName, AccessibleShortcut;

    std::function<void()> OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
    // Button (VK_LBUTTON...), client x, y.
    std::function<void(int, int, int)> OnMouseDown, OnMouseUp;
    std::function<void(int, int)> OnMouseMove;

    ButtonState State() const { return state_; }
    bool Tracking() const { return tracking_; }

    // Sets the form's modal result, then raises OnClick.
    void Click();
    // A push button to a screen reader: its caption, pressed when latched.
    bool DescribeButton(win::AccessibleInfo& info) const;
    void RecalcAdvColors();

    // HoverClient
    bool HoverHeld() const override { return tracking_; }
    void HoverRepaint() override { InvalidateButton(); }

protected:
    virtual TColor BaseColor() const = 0;
    virtual void SetParentColorFlag(bool v) = 0;
    virtual bool ButtonEnabled() const = 0;
    virtual std::wstring ButtonCaption() const = 0;
    virtual HWND ButtonParent() const = 0;
    virtual SIZE ClientSize() const = 0;
    virtual RECT BoundsInParent() const = 0;
    virtual POINT ToScreen(int x, int y) const = 0;
    virtual void InvalidateButton() = 0;
    virtual void RepaintButtonNow() = 0;
    virtual void TakeFocus() {}
    virtual void BeginCapture() {}
    virtual void EndCapture() {}

    // Shared reactions to the raw messages; each returns what the message
    // handler should answer.
    void MouseDown(int button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int button, int x, int y);
    void DoubleClick(int x, int y);
    bool DialogChar(WPARAM ch, bool latchOnAccel);
    void ButtonPressed(WPARAM group, LPARAM sender);
    void EnabledChanged();
    void ParentColorChanged();
    void SysColorChanged();
    void NotifyGroup();
    bool Inside(int x, int y) const;

    // The whole face on a canvas. windowed: transparent parts are filled
    // from a copy of the parent (else left untouched) and Default shows.
    void PaintButton(win::Canvas& canvas, bool windowed, bool isDefault);

    HoverTracker& tracker_;
    ButtonState state_ = ButtonState::Up;
    bool tracking_ = false;

private:
    int kind_;
    TTransparentMode transparentMode_ = tmNone;
    bool allowAllUp_ = false;
    TColor colorFocused_ = clFlatFace, colorDown_ = clFlatDown, colorBorder_ = clFlatBorder;
    TColor colorHighLight_ = clWhite, colorShadow_ = clBlack, fontColor_ = clWindowText;
    TAdvColors advFocused_ = 10, advDown_ = 10, advBorder_ = 50;
    bool useAdvColors_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    win::Bitmap glyph_;
    TButtonLayout layout_ = blGlyphTop;
    int margin_ = -1, numGlyphs_ = 1, spacing_ = 4;
};

// A focusable flat push button with its own window. Focus shows only as
// the hot look; it paints off-screen and copies the result in one step.
class TFlatButton : public win::Control, public FlatButtonCore {
public:
    TFlatButton();
    ~TFlatButton() override;

    void Create(HWND parent, int x = 0, int y = 0, int w = 25, int h = 25,
                const std::wstring& caption = L"");

    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Enabled() const { return Window::Enabled(); }

    static HoverTracker& Tracker();

    bool HoverEnabled() const override { return Handle() && Window::Enabled(); }
    bool HoverIsAt(const win::ControlAt& at) const override {
        return Handle() && at.window == Handle() && !at.graphic;
    }
    bool DescribeAccessible(win::AccessibleInfo& info) const override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void Paint(win::Canvas& canvas) override;
    bool ErasesBackground() const override { return false; }
    void DoAccessibleDefault() override;

    TColor BaseColor() const override { return Color(); }
    void SetParentColorFlag(bool v) override { SetParentColor(v); }
    bool ButtonEnabled() const override { return Window::Enabled(); }
    std::wstring ButtonCaption() const override { return Text(); }
    HWND ButtonParent() const override { return Parent(); }
    SIZE ClientSize() const override;
    RECT BoundsInParent() const override { return Bounds(); }
    POINT ToScreen(int x, int y) const override;
    void InvalidateButton() override { if (Handle()) Invalidate(false); }
    void RepaintButtonNow() override { Repaint(); }
    void TakeFocus() override { SetFocus(); }
    void BeginCapture() override { SetCapture(Handle()); }
    void EndCapture() override { if (GetCapture() == Handle()) ReleaseCapture(); }

private:
    bool default_ = false;
};

}  // namespace flat
