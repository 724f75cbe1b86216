#include "win/InputTaker.h"

#include "win/Error.h"

namespace win {

namespace {
thread_local InputTaker* current = nullptr;

bool IsModifier(DWORD vk) {
    switch (vk) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
    case VK_MENU: case VK_LMENU: case VK_RMENU:
    case VK_LWIN: case VK_RWIN: return true;
    }
    return false;
}
}  // namespace

InputTaker::InputTaker(std::function<HWND()> target, std::function<void()> pressedOutside, std::function<RECT()> area)
    : target_(std::move(target)), pressedOutside_(std::move(pressedOutside)), area_(std::move(area)), outer_(current) {
    current = this;
    keyboard_ = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardFilter, GetModuleHandleW(nullptr), 0);
    if (pressedOutside_ && area_) mouse_ = SetWindowsHookExW(WH_MOUSE_LL, MouseFilter, GetModuleHandleW(nullptr), 0);
}

InputTaker::~InputTaker() {
    if (mouse_) UnhookWindowsHookEx(mouse_);
    if (keyboard_) UnhookWindowsHookEx(keyboard_);
    current = outer_;
}

LRESULT CALLBACK InputTaker::KeyboardFilter(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
        const bool up = (key.flags & LLKHF_UP) != 0;
        static thread_local bool taken[256] = {};
        const bool ours = key.vkCode < 256 && (!up || taken[key.vkCode]);
        if (key.vkCode < 256 && !up) taken[key.vkCode] = false;
        HWND to = current && ours && !IsModifier(key.vkCode) ? Guarded([] { return current->target_(); }, HWND{})
                                                               : nullptr;
        if (to) {
            taken[key.vkCode] = !up;
            LPARAM info = 1 | ((LPARAM)key.scanCode << 16) | ((key.flags & LLKHF_EXTENDED) ? 1 << 24 : 0) |
                          (up ? (LPARAM)3 << 30 : 0);
            PostMessageW(to, up ? WM_KEYUP : WM_KEYDOWN, key.vkCode, info);
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK InputTaker::MouseFilter(int code, WPARAM wp, LPARAM lp) {
    const bool press = wp == WM_LBUTTONDOWN || wp == WM_RBUTTONDOWN || wp == WM_MBUTTONDOWN ||
                       wp == WM_NCLBUTTONDOWN || wp == WM_NCRBUTTONDOWN || wp == WM_XBUTTONDOWN;
    if (code == HC_ACTION && press && current && current->pressedOutside_) {
        const POINT at = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp)->pt;
        Guarded([&] {
            const RECT area = current->area_();
            if (!PtInRect(&area, at)) current->pressedOutside_();
            return true;
        }, false);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace win
