#include "quick/QuickSettings.h"

#include <windows.h>

#include "store/StoreNames.h"

const wchar_t* const RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const RunValue = L"Pathnook Quick Menu";

namespace {
constexpr const wchar_t* kModifiers = L"Modifiers";
constexpr const wchar_t* kKey = L"Key";
constexpr UINT kKnownModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

bool ReadDword(HKEY key, const wchar_t* name, DWORD& out) {
    DWORD type = 0, size = sizeof(out);
    return RegQueryValueExW(key, name, nullptr, &type, (BYTE*)&out, &size) == ERROR_SUCCESS && type == REG_DWORD &&
           size == sizeof(out);
}
}  // namespace

win::HotKeySpec DefaultHotKey() { return {MOD_WIN | MOD_ALT, 'F'}; }

win::HotKeySpec LoadHotKey() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, QuickMenuKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return DefaultHotKey();
    DWORD mods = 0, vk = 0;
    bool ok = ReadDword(key, kModifiers, mods) && ReadDword(key, kKey, vk);
    RegCloseKey(key);
    // A key without a modifier, or one that is no key, would take a plain
    // key from every program: the default instead.
    if (!ok || vk == 0 || vk > 0xFE || (mods & ~kKnownModifiers) || !(mods & kKnownModifiers)) return DefaultHotKey();
    return {mods, vk};
}

void SaveHotKey(const win::HotKeySpec& hotKey) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, QuickMenuKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    DWORD mods = hotKey.Modifiers, vk = hotKey.Key;
    RegSetValueExW(key, kModifiers, 0, REG_DWORD, (const BYTE*)&mods, sizeof(mods));
    RegSetValueExW(key, kKey, 0, REG_DWORD, (const BYTE*)&vk, sizeof(vk));
    RegCloseKey(key);
}

bool StartsWithWindows() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    bool found = RegQueryValueExW(key, RunValue, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
                 (type == REG_SZ || type == REG_EXPAND_SZ);
    RegCloseKey(key);
    return found;
}

bool SetStartWithWindows(bool on, const std::wstring& exe) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LSTATUS rc;
    if (on) {
        std::wstring command = L"\"" + exe + L"\"";
        rc = RegSetValueExW(key, RunValue, 0, REG_SZ, (const BYTE*)command.c_str(),
                            (DWORD)((command.size() + 1) * sizeof(wchar_t)));
    } else {
        rc = RegDeleteValueW(key, RunValue);
        if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::wstring OwnExePath() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    return path;
}
