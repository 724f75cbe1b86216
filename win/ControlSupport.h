#pragma once
#include <windows.h>

#include <string>

#include "win/Canvas.h"

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

}  // namespace win
