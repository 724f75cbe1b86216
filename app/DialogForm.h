#pragma once
#include "win/Form.h"

// What the program's own dialogs share: a fixed border, centring on the
// window that opened them, Tab between the tab stops, and the focused
// control kept while another window (a message box, the folder picker)
// is active. Enter and Escape press nothing: these dialogs are closed with
// their buttons or the title bar.
class TDialogForm : public win::Form {
public:
    // Creates the window with the given client size.
    TDialogForm(const wchar_t* className, const std::wstring& caption, int clientWidth,
                int clientHeight, HWND owner);

    // The control that gets the focus when the dialog is activated.
    void SetActiveControl(HWND control);
    HWND ActiveControl() const { return activeControl_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void FirstShow() override;

private:
    HWND owner_;
    HWND activeControl_ = nullptr;
};
