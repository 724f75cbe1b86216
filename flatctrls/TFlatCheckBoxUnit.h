#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "flatctrls/FlatUtilitys.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "win/Control.h"

namespace flat {

enum TCheckBoxLayout { checkboxLeft, checkboxRight };

// A focusable two-state check box drawn flat: an 11 x 11 square with a
// drawn tick and a word-wrapped caption beside it. Hover, press and focus
// redraw only the square.
class TFlatCheckBox : public win::Control, public HoverClient {
public:
    TFlatCheckBox();
    ~TFlatCheckBox() override;

    void Create(HWND parent, int x = 0, int y = 0, int w = 121, int h = 17,
                const std::wstring& caption = L"");

    bool Checked() const { return checked_; }
    void SetChecked(bool v);  // a change raises OnClick
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TCheckBoxLayout Layout() const { return layout_; }
    void SetLayout(TCheckBoxLayout v);
    TColor ColorFocused() const { return colorFocused_; }
    void SetColorFocused(TColor v);
    TColor ColorDown() const { return colorDown_; }
    void SetColorDown(TColor v);
    TColor ColorCheck() const { return colorCheck_; }
    void SetColorCheck(TColor v);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor v);
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
    void RecalcAdvColors();

    std::function<void()> OnClick, OnEnter, OnExit;
    std::function<void(int, int, int)> OnMouseDown, OnMouseUp;
    std::function<void(int, int)> OnMouseMove;

    bool Pressing() const { return pressing_; }
    bool HasFocus() const { return hasFocus_; }
    RECT SquareRect() const;
    int Px(int value) const;  // a 96-DPI length at the box's DPI
    RECT CaptionRect() const;

    // Draws the square at once on the window's device.
    void PaintCheckSquare();

    static HoverTracker& Tracker();
    bool HoverEnabled() const override { return Handle() && Window::Enabled(); }
    bool HoverHeld() const override { return pressing_; }
    void HoverRepaint() override { PaintCheckSquare(); }
    bool HoverIsAt(const win::ControlAt& at) const override {
        return Handle() && at.window == Handle() && !at.graphic;
    }
    bool DescribeAccessible(win::AccessibleInfo& info) const override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void Paint(win::Canvas& canvas) override;
    bool ErasesBackground() const override { return !transparent_; }
    void DoAccessibleDefault() override { SetChecked(!checked_); }

private:
    void PaintCheckSquare(win::Canvas& canvas);
    void PaintCheckCaption(win::Canvas& canvas);
    void Repaint();

    bool checked_ = false, transparent_ = false;
    TCheckBoxLayout layout_ = checkboxLeft;
    TColor colorFocused_ = clWhite, colorDown_ = clFlatDown, colorCheck_ = clBlack;
    TColor colorBorder_ = clFlatBorder, fontColor_ = clWindowText;
    TAdvColors advFocused_ = 10, advDown_ = 10, advBorder_ = 50;
    bool useAdvColors_ = false;
    bool pressing_ = false, hasFocus_ = false;
};

}  // namespace flat
