#pragma once
// Answers every message box this thread shows while it lives, keeping their
// texts, so that a test can assert that none came, or which one.
#include <windows.h>

#include <string>
#include <vector>

class BoxWatcher {
public:
    BoxWatcher() {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~BoxWatcher() {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    std::vector<std::wstring> Texts;

private:
    static BoxWatcher*& Current() {
        static BoxWatcher* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (Current() && IsWindowVisible(w) && std::wstring(cls) == L"#32770") {
                wchar_t text[1024] = {};
                GetDlgItemTextW(w, 0xFFFF, text, 1024);
                Current()->Texts.push_back(text);
                PostMessageW(w, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        }, 0);
    }
    UINT_PTR timer_ = 0;
};
