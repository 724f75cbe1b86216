#pragma once
#include <windows.h>

#include <string>

namespace win {

// What a control painted by its own code tells a screen reader: what
// the standard object of its window cannot know from the window alone.
// Focus, focusability, visibility and the disabled state come from the
// window itself.
struct AccessibleInfo {
    std::wstring Name;
    long Role = 0;   // ROLE_SYSTEM_*
    long State = 0;  // STATE_SYSTEM_* of the control's own (checked, pressed, ...)
    std::wstring DefaultAction;  // empty: none
    std::wstring KeyboardShortcut;
    bool HasValue = false;
    std::wstring Value;
};

class Control;

// The answer to WM_GETOBJECT: for the client area, the window's standard
// object with the control's own description laid over it; anything else
// is left to the window's default handling (result false).
bool AnswerGetObject(Control& control, WPARAM wp, LPARAM lp, LRESULT& result);
// The same for a window hosting windowless controls: its standard object
// with those that describe themselves as simple children after its child
// windows. False when none does.
bool AnswerHostObject(HWND host, WPARAM wp, LPARAM lp, LRESULT& result);

// The same for a ListMenu's window: a menu with its items as simple
// children, the lit one focused.
bool AnswerListMenuObject(HWND menu, WPARAM wp, LPARAM lp, LRESULT& result);

// "Alt+O" for a caption "&OK"; empty without a mnemonic.
std::wstring MnemonicShortcut(const std::wstring& caption);
// The text of the static label just before a control in the tab order, the
// name Windows gives an edit; empty when there is none.
std::wstring LabelBefore(HWND control);

}  // namespace win
