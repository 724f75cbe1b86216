#include "win/Registry.h"

#include <atomic>
#include <vector>

#include "win/Error.h"

namespace win {

namespace {
std::atomic<unsigned long> registryCalls{0};
}

unsigned long RegistryCallCount() { return registryCalls.load(); }
void CountRegistryCall(unsigned long calls) { registryCalls += calls; }

RegKey::RegKey(const std::wstring& path, bool create) {
    LSTATUS rc = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                          KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                        : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key_);
    CountRegistryCall();
    if (rc != ERROR_SUCCESS) key_ = nullptr;
}

RegKey::~RegKey() {
    if (key_) {
        RegCloseKey(key_);
        CountRegistryCall();
    }
}

std::wstring RegKey::ReadString(const std::wstring& name) const {
    if (!key_) return {};
    // One query into a buffer that fits almost every value: a long list is
    // read value by value, and each query is a round trip.
    wchar_t small[260];
    std::vector<wchar_t> large;
    wchar_t* data = small;
    DWORD type = 0, size = sizeof small - sizeof(wchar_t);
    CountRegistryCall();
    LSTATUS rc = RegQueryValueExW(key_, name.c_str(), nullptr, &type, (BYTE*)data, &size);
    while (rc == ERROR_MORE_DATA) {
        CountRegistryCall();
        large.assign(size / sizeof(wchar_t) + 2, L'\0');
        data = large.data();
        size = (DWORD)((large.size() - 1) * sizeof(wchar_t));
        rc = RegQueryValueExW(key_, name.c_str(), nullptr, &type, (BYTE*)data, &size);
    }
    if (rc != ERROR_SUCCESS || size == 0) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw Error(Format(L"Invalid data type for '%s'", name));
    data[size / sizeof(wchar_t)] = L'\0';  // the stored text need not end in one
    return std::wstring(data);              // up to the first NUL
}

void RegKey::WriteString(const std::wstring& name, const std::wstring& value) const {
    if (!key_) return;
    DWORD bytes = (DWORD)((value.size() + 1) * sizeof(wchar_t));
    CountRegistryCall();
    if (RegSetValueExW(key_, name.c_str(), 0, REG_SZ, (const BYTE*)value.c_str(), bytes) !=
        ERROR_SUCCESS)
        throw Error(Format(L"Failed to set data for '%s'", name));
}

bool RegKey::ValueExists(const std::wstring& name) const {
    if (key_) CountRegistryCall();
    return key_ && RegQueryValueExW(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                       ERROR_SUCCESS;
}

void RegKey::DeleteValue(const std::wstring& name) const {
    if (!key_) return;
    CountRegistryCall();
    RegDeleteValueW(key_, name.c_str());
}

}  // namespace win
