#include "quick/HotKeyDialog.h"

TfrmHotKey::TfrmHotKey(HWND owner) {
    DialogKeys = true;
    CreateForm(L"TfrmHotKey", Caption, 300, 118, WS_POPUP | WS_CAPTION | WS_SYSMENU, owner, true);
    lHint.Create(Handle(), L"Key that opens the quick menu:", 12, 12, 276, 16);
    hkKey.Create(Handle(), 12, 32, 170, 22, HotKeyId);
    cbWin = CreateWindowExW(0, L"BUTTON", L"With the &Windows key", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                            Scale(12), Scale(60), Scale(200), Scale(20), Handle(), (HMENU)(UINT_PTR)WinKeyId,
                            GetModuleHandleW(nullptr), nullptr);
    SendMessageW(cbWin, WM_SETFONT, (WPARAM)Font(), FALSE);
    bOk.Create(Handle(), L"OK", 132, 86, 75, 24, BS_DEFPUSHBUTTON);
    SetWindowLongPtrW(bOk.Handle(), GWLP_ID, IDOK);
    bOk.ModalResult = win::mrOk;
    bOk.OnClick = [this] { ReadBack(); };
    bCancel.Create(Handle(), L"Cancel", 213, 86, 75, 24);
    SetWindowLongPtrW(bCancel.Handle(), GWLP_ID, IDCANCEL);
    bCancel.ModalResult = win::mrCancel;
}

TfrmHotKey::~TfrmHotKey() { DestroyHandle(); }

void TfrmHotKey::FormShow() {
    hkKey.SetKey(Key);
    SendMessageW(cbWin, BM_SETCHECK, (Key.Modifiers & MOD_WIN) ? BST_CHECKED : BST_UNCHECKED, 0);
    CenterOnScreen();
    SetFocus(hkKey.Handle());
}

void TfrmHotKey::ReadBack() {
    Key = hkKey.Key();
    if (SendMessageW(cbWin, BM_GETCHECK, 0, 0) == BST_CHECKED) Key.Modifiers |= MOD_WIN;
}

LRESULT TfrmHotKey::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    // Enter and Escape from the dialog keys.
    if (msg == WM_COMMAND && lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
        if (LOWORD(wp) == IDOK) ReadBack();
        ModalResult = LOWORD(wp) == IDOK ? win::mrOk : win::mrCancel;
        return 0;
    }
    return Form::WndProc(msg, wp, lp);
}
