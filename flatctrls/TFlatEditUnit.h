#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "flatctrls/FlatUtilitys.h"
#include "win/Control.h"
#include "win/Form.h"
#include "win/Gdi.h"

namespace flat {

// The standard single-line edit with a flat three-pixel frame: a border
// ring and two inner rings in the colour of the text area, which is the
// flat colour at rest and the focused colour while focused or pointed at.
class TCustomFlatEdit : public win::Control, public win::NotifyTarget {
public:
    TCustomFlatEdit() = default;

    void Create(HWND parent, int x = 0, int y = 0, int w = 121, int h = 19,
                const std::wstring& text = L"");

    TColor ColorFocused() const { return colorFocused_; }
    void SetColorFocused(TColor v);
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor v);
    TColor ColorFlat() const { return colorFlat_; }
    void SetColorFlat(TColor v);  // ParentColor becomes false
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TAdvColors AdvColorFocused() const { return advFocused_; }
    void SetAdvColorFocused(TAdvColors v);
    TAdvColors AdvColorBorder() const { return advBorder_; }
    void SetAdvColorBorder(TAdvColors v);
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool v);
    void RecalcAdvColors();

    void SetMaxLength(int n);
    void SetReadOnly(bool v);
    void SetPasswordChar(wchar_t ch);
    void SelectAll();

    std::function<void()> OnChange;

    bool Hovered() const { return hovered_; }
    // The background the text area has now (focused or flat colour).
    TColor BackColor() const { return backColor_; }
    void PaintFlatBorder();
    void FitHeightToFont();
    // The painted frame: a border line and two inner lines, each as wide as
    // a pixel at 96 DPI scaled to the edit's DPI.
    int Px(int value) const;
    int FrameWidth() const { return 3 * (Px(1) > 1 ? Px(1) : 1); }

    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Editable text named by the label before it, as a plain edit is.
    bool DescribeAccessible(win::AccessibleInfo& info) const override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void SetBackColor(TColor c);
    void FollowTextFont();
    TColor ParentsColor() const;

    TColor colorFocused_ = clWhite, colorBorder_ = clFlatBorder, colorFlat_ = clFlatFace;
    bool parentColor_ = true;
    TAdvColors advFocused_ = 10, advBorder_ = 50;
    bool useAdvColors_ = false;
    bool hovered_ = false;
    TColor backColor_ = clFlatFace;
    COLORREF backRgb_ = CLR_INVALID;  // what the brush was made of
    win::Brush backBrush_;
    // The font the edit draws with when its own lacks some of the text's
    // characters; empty while the control's font has them all.
    win::FontHandle textFont_;
    std::wstring textFace_;
};

class TFlatEdit : public TCustomFlatEdit {};

}  // namespace flat
