#include "win/TrayIcon.h"

#include <shellapi.h>

namespace win {

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Notify(DWORD what) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = owner_;
    nid.uID = id_;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = callback_;
    nid.hIcon = icon_;
    lstrcpynW(nid.szTip, tip_.c_str(), ARRAYSIZE(nid.szTip));
    return Shell_NotifyIconW(what, &nid) != FALSE;
}

bool TrayIcon::Add(HWND owner, UINT id, HICON icon, const std::wstring& tip, UINT callbackMessage) {
    Remove();
    owner_ = owner;
    id_ = id;
    icon_ = icon;
    tip_ = tip;
    callback_ = callbackMessage;
    shown_ = Notify(NIM_ADD);
    return shown_;
}

void TrayIcon::Remove() {
    if (shown_) Notify(NIM_DELETE);
    shown_ = false;
}

bool TrayIcon::HandleMessage(UINT msg) {
    if (msg != taskbarCreated_ || !owner_) return false;
    shown_ = Notify(NIM_ADD);
    return true;
}

}  // namespace win
