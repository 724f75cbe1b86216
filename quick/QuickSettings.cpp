#include "quick/QuickSettings.h"

#include <windows.h>

#include "store/StoreNames.h"
#include "win/Error.h"
#include "win/Registry.h"

const wchar_t* const RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const RunValue = L"Pathnook Quick Menu";

namespace {
constexpr const wchar_t* kModifiers = L"Modifiers";
constexpr const wchar_t* kKey = L"Key";
constexpr UINT kKnownModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
}  // namespace

win::HotKeySpec DefaultHotKey() { return {MOD_WIN | MOD_ALT, 'F'}; }

win::HotKeySpec LoadHotKey() {
    win::RegKey key(QuickMenuKey, win::RegKey::Read);
    UINT mods = key.ReadDword(kModifiers, 0), vk = key.ReadDword(kKey, 0);
    // A key without a modifier, or one that is no key, would take a plain
    // key from every program: the default instead.
    if (vk == 0 || vk > 0xFE || (mods & ~kKnownModifiers) || !(mods & kKnownModifiers)) return DefaultHotKey();
    return {mods, vk};
}

void SaveHotKey(const win::HotKeySpec& hotKey) {
    win::RegKey key(QuickMenuKey, win::RegKey::Create);
    if (!key.IsOpen()) return;
    try {
        key.WriteDword(kModifiers, hotKey.Modifiers);
        key.WriteDword(kKey, hotKey.Key);
    } catch (const win::Error&) {
        // The key works for this run; the next start falls back to the default.
    }
}

bool StartsWithWindows() {
    try {
        return !win::RegKey(RunKey, win::RegKey::Read).ReadString(RunValue).empty();
    } catch (const win::Error&) {
        return false;  // a value of another type starts nothing
    }
}

bool SetStartWithWindows(bool on, const std::wstring& exe) {
    win::RegKey key(RunKey, win::RegKey::Create);
    if (!key.IsOpen()) return false;
    if (!on) return key.DeleteValueReported(RunValue);
    try {
        key.WriteString(RunValue, L"\"" + exe + L"\"");
        return true;
    } catch (const win::Error&) {
        return false;
    }
}

std::wstring OwnExePath() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    return path;
}
