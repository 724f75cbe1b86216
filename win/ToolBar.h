#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Action.h"
#include "win/NotifyTarget.h"
#include "win/Window.h"
#include "win/Window.h"

namespace win {

class ImageList;

// A flat tool bar whose buttons run actions and show the actions' (or
// their own) hints as tooltips.
class ToolBar : public Window, public NotifyTarget {
public:
    struct Button {
        Action* Bound = nullptr;
        std::wstring Caption;
        std::wstring Hint;  // empty: the action's hint
        int ImageIndex = -1;
        bool Separator = false;
        int Width = 0;  // separators
        UINT Command = 0;
        const std::wstring& EffectiveHint() const { return Hint.empty() && Bound ? Bound->Hint : Hint; }
    };

    // Height, indent and button size in 96-DPI pixels, as are separator
    // widths; the bar keeps them at its window's DPI.
    void Create(HWND parent, int height, int indent, int buttonWidth, int buttonHeight);
    void SetImages(ImageList* images, ImageList* hot = nullptr, ImageList* disabled = nullptr);
    void AddButton(Action& action, std::wstring caption, std::wstring hint, int image);
    void AddSeparator(int width);
    void SyncAction(const Action& action);

    int Height() const;
    int Indent() const { return indent_; }  // at the window's DPI
    SIZE ButtonSize() const;
    COLORREF Color = CLR_NONE;  // the face colour; CLR_NONE leaves the default
    void SetColor(COLORREF color);
    const std::vector<Button>& Buttons() const { return buttons_; }
    ImageList* Images() const { return images_; }
    ImageList* HotImages() const { return hot_; }
    ImageList* DisabledImages() const { return disabled_; }

    // Per-button custom drawing: return a CDRF_* value, or -1 for default.
    std::function<LRESULT(NMTBCUSTOMDRAW&)> OnCustomDraw;

    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The metrics at the window's DPI; separators too.
    void ApplyMetrics();
    int designIndent_ = 0;
    SIZE designButton_{};
    std::vector<Button> buttons_;
    ImageList* images_ = nullptr;
    ImageList* hot_ = nullptr;
    ImageList* disabled_ = nullptr;
    int indent_ = 0;
    UINT nextCommand_ = 0xD000;
    HWND tooltip_ = nullptr;
};

}  // namespace win
