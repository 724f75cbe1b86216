#pragma once
#include <windows.h>

#include <string>

#include "win/Window.h"

namespace win {

// A key with its modifiers as RegisterHotKey takes them (MOD_WIN, MOD_ALT,
// MOD_CONTROL, MOD_SHIFT).
struct HotKeySpec {
    UINT Modifiers = 0;
    UINT Key = 0;  // virtual-key code; 0 = none
    bool operator==(const HotKeySpec&) const = default;
    bool Empty() const { return Key == 0; }
};

std::wstring HotKeyText(const HotKeySpec& key);  // "Win+Alt+F"

// A hot key registered for one window; released with the object.
class HotKey {
public:
    HotKey() = default;
    ~HotKey() { Unregister(); }
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;

    // Registers the key; on failure (another program holds it) the key
    // registered before stays registered and GetLastError tells why.
    bool Register(HWND owner, int id, const HotKeySpec& key);
    void Unregister();
    const HotKeySpec& Current() const { return key_; }
    bool Registered() const { return registered_; }

private:
    HWND owner_ = nullptr;
    int id_ = 0;
    HotKeySpec key_{};
    bool registered_ = false;
};

// The common hot-key control (msctls_hotkey32). It knows Ctrl, Alt and
// Shift; the Windows key is offered beside it by the dialog that uses it.
class HotKeyControl : public Window {
public:
    void Create(HWND parent, int x, int y, int w, int h, UINT id);
    // Only the control's own modifiers are taken from and given to it.
    void SetKey(const HotKeySpec& key);
    HotKeySpec Key() const;
};

// When a hot key fires with Alt or Win still held, their release alone
// would open the foreground program's menu bar or the Start menu: a key
// that means nothing is tapped in between, as though another key had been
// pressed with them.
void MaskHeldModifiers();

}  // namespace win
