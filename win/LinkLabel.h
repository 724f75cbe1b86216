#pragma once
#include <windows.h>

#include "win/Gdi.h"
#include "win/StdControls.h"

namespace win {

// A label that reads as a link: blue, underlined (a copy of the parent's
// font it owns), the hand cursor, and clicks reported through OnClick. It
// is a tab stop with a focus rectangle; Enter or Space on it is a click.
class LinkLabel : public Label {
public:
    LinkLabel() { TextColor = RGB(0, 0, 255); }
    ~LinkLabel() override;
    void Create(HWND parent, const std::wstring& text, int x, int y);
    HFONT LinkFont() const { return font_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void RedrawUnder();
    void UnderlineParentFont();
    FontHandle font_;
};

}  // namespace win
