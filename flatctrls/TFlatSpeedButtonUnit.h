#pragma once
#include <windows.h>

#include <string>

#include "flatctrls/TFlatButtonUnit.h"
#include "win/Control.h"
#include "win/GraphicControl.h"

namespace flat {

// The windowless sibling of TFlatButton: painted by its host (a form or a
// group box) straight on the host's surface, and never takes the focus.
class TFlatSpeedButton : public win::GraphicControl, public FlatButtonCore {
public:
    TFlatSpeedButton();
    ~TFlatSpeedButton() override;

    void Create(HWND parent, int x = 0, int y = 0, int w = 25, int h = 25,
                const std::wstring& caption = L"");

    static HoverTracker& Tracker();

    bool HoverEnabled() const override { return Parent() && GraphicControl::Enabled(); }
    bool HoverIsAt(const win::ControlAt& at) const override { return at.graphic == this; }
    bool DescribeAccessible(win::AccessibleInfo& info) const override { return DescribeButton(info); }
    void DoAccessibleDefault() override { Click(); }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void Paint(win::Canvas& canvas) override;

    TColor BaseColor() const override { return Color(); }
    void SetParentColorFlag(bool v) override { SetParentColor(v); }
    bool ButtonEnabled() const override { return GraphicControl::Enabled(); }
    std::wstring ButtonCaption() const override { return Caption(); }
    HWND ButtonParent() const override { return Parent(); }
    SIZE ClientSize() const override;
    RECT BoundsInParent() const override { return Bounds(); }
    POINT ToScreen(int x, int y) const override;
    void InvalidateButton() override { Invalidate(); }
    void RepaintButtonNow() override { Repaint(); }
};

}  // namespace flat
