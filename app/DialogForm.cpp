#include "app/DialogForm.h"

TDialogForm::TDialogForm(const wchar_t* className, const std::wstring& caption, int clientWidth,
                         int clientHeight, HWND owner)
    : owner_(owner) {
    CreateForm(className, caption, clientWidth, clientHeight, WS_POPUP | WS_CAPTION | WS_SYSMENU,
               owner, true);
    DialogKeys = true;
}

void TDialogForm::SetActiveControl(HWND control) {
    activeControl_ = control;
    if (control && GetActiveWindow() == Handle()) ::SetFocus(control);
}

void TDialogForm::FirstShow() { CenterOn(owner_); }

LRESULT TDialogForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus)) activeControl_ = focus;
        }
        break;
    case WM_SETFOCUS: {
        // Activation focuses the dialog itself; pass it on to its control,
        // or to the first tab stop when that control cannot take it now.
        HWND target = activeControl_;
        if (!target || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target) ||
            !IsWindowEnabled(GetParent(target)))
            target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
        if (target) {
            ::SetFocus(target);
            return 0;
        }
        break;
    }
    }
    return Form::WndProc(msg, wp, lp);
}
