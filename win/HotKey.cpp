#include "win/HotKey.h"

#include <commctrl.h>

namespace win {

std::wstring HotKeyText(const HotKeySpec& key) {
    std::wstring text;
    if (key.Modifiers & MOD_WIN) text += L"Win+";
    if (key.Modifiers & MOD_CONTROL) text += L"Ctrl+";
    if (key.Modifiers & MOD_ALT) text += L"Alt+";
    if (key.Modifiers & MOD_SHIFT) text += L"Shift+";
    if (!key.Key) return text.empty() ? L"None" : text.substr(0, text.size() - 1);
    if ((key.Key >= 'A' && key.Key <= 'Z') || (key.Key >= '0' && key.Key <= '9')) return text + (wchar_t)key.Key;
    if (key.Key >= VK_F1 && key.Key <= VK_F24) return text + L"F" + std::to_wstring(key.Key - VK_F1 + 1);
    wchar_t name[64] = {};
    LONG scan = (LONG)MapVirtualKeyW(key.Key, MAPVK_VK_TO_VSC) << 16;
    // Keys of the extended set (arrows, Insert, Home...) name themselves
    // only with the extended bit.
    switch (key.Key) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_DIVIDE: case VK_NUMLOCK:
        scan |= 1 << 24;
        break;
    }
    if (GetKeyNameTextW(scan, name, 64) > 0) return text + name;
    return text + L"#" + std::to_wstring(key.Key);
}

bool HotKey::Register(HWND owner, int id, const HotKeySpec& key) {
    if (registered_ && owner == owner_ && key == key_) return true;
    if (key.Empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // The new key is tried under a second id while the old one is still
    // held, so that a refusal leaves the old key working.
    const int trial = id ^ 0x4000;
    if (!RegisterHotKey(owner, trial, key.Modifiers, key.Key)) return false;
    Unregister();
    UnregisterHotKey(owner, trial);
    if (!RegisterHotKey(owner, id, key.Modifiers, key.Key)) return false;
    owner_ = owner;
    id_ = id;
    key_ = key;
    registered_ = true;
    return true;
}

void HotKey::Unregister() {
    if (registered_) UnregisterHotKey(owner_, id_);
    registered_ = false;
}

void HotKeyControl::Create(HWND parent, int x, int y, int w, int h, UINT id) {
    CreateStandard(HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0, x, y, w, h, parent, id);
    SetFont((HFONT)SendMessageW(parent, WM_GETFONT, 0, 0));
    // Plain letters need a modifier: a bare key would be taken from every program.
    SendMessageW(Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
}

void HotKeyControl::SetKey(const HotKeySpec& key) {
    BYTE flags = 0;
    if (key.Modifiers & MOD_CONTROL) flags |= HOTKEYF_CONTROL;
    if (key.Modifiers & MOD_ALT) flags |= HOTKEYF_ALT;
    if (key.Modifiers & MOD_SHIFT) flags |= HOTKEYF_SHIFT;
    SendMessageW(Handle(), HKM_SETHOTKEY, MAKEWORD((BYTE)key.Key, flags), 0);
}

HotKeySpec HotKeyControl::Key() const {
    WORD v = (WORD)SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0);
    HotKeySpec key;
    key.Key = LOBYTE(v);
    BYTE flags = HIBYTE(v);
    if (flags & HOTKEYF_CONTROL) key.Modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT) key.Modifiers |= MOD_ALT;
    if (flags & HOTKEYF_SHIFT) key.Modifiers |= MOD_SHIFT;
    return key;
}

void MaskHeldModifiers() {
    auto held = [](int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; };
    if (!held(VK_MENU) && !held(VK_LWIN) && !held(VK_RWIN)) return;
    constexpr WORD kMaskKey = 0xE8;  // unassigned
    INPUT keys[2]{};
    for (INPUT& k : keys) {
        k.type = INPUT_KEYBOARD;
        k.ki.wVk = kMaskKey;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

}  // namespace win
