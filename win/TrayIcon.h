#pragma once
#include <windows.h>

#include <string>

namespace win {

// An icon in the notification area. Mouse events on it arrive at the
// owner window as CallbackMessage with the mouse message in lParam. The
// icon comes back by itself when the task bar is recreated (Explorer
// restarted): the owner passes every message to HandleMessage.
class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool Add(HWND owner, UINT id, HICON icon, const std::wstring& tip, UINT callbackMessage);
    void Remove();
    bool Shown() const { return shown_; }
    const std::wstring& Tip() const { return tip_; }
    bool HandleMessage(UINT msg);

private:
    bool Notify(DWORD what);
    HWND owner_ = nullptr;
    UINT id_ = 0, callback_ = 0;
    HICON icon_ = nullptr;
    std::wstring tip_;
    bool shown_ = false;
    UINT taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
};

}  // namespace win
