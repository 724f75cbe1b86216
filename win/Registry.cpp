#include "win/Registry.h"

#include <atomic>

#include "win/Error.h"

namespace win {

namespace {
std::atomic<unsigned long> registryCalls{0};

void Set(HKEY key, const std::wstring& name, DWORD type, const void* data, size_t size) {
    CountRegistryCall();
    if (!key || RegSetValueExW(key, name.c_str(), 0, type, (const BYTE*)data, (DWORD)size) != ERROR_SUCCESS)
        throw Error(Format(L"Failed to set data for '%s'", name));
}
}  // namespace

unsigned long RegistryCallCount() { return registryCalls.load(); }
void CountRegistryCall(unsigned long calls) { registryCalls += calls; }

RegKey::RegKey(const std::wstring& path, Access access) {
    const REGSAM rights = access == Read ? KEY_READ : KEY_READ | KEY_WRITE;
    status_ = access == Create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, rights, nullptr,
                                                 &key_, nullptr)
                               : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, rights, &key_);
    CountRegistryCall();
    if (status_ != ERROR_SUCCESS) key_ = nullptr;
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
    Set(key_, name, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
}

uint32_t RegKey::ReadDword(const std::wstring& name, uint32_t fallback) const {
    if (!key_) return fallback;
    DWORD type = 0, value = 0, size = sizeof value;
    CountRegistryCall();
    if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, (BYTE*)&value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return fallback;
    return value;
}

void RegKey::WriteDword(const std::wstring& name, uint32_t value) const {
    DWORD v = value;
    Set(key_, name, REG_DWORD, &v, sizeof v);
}

bool RegKey::ReadBinary(const std::wstring& name, std::vector<uint8_t>& data) const {
    if (!key_) return false;
    DWORD type = 0, size = 0;
    CountRegistryCall();
    if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY)
        return false;
    data.resize(size);
    DWORD got = size;
    CountRegistryCall();
    return RegQueryValueExW(key_, name.c_str(), nullptr, &type, size ? data.data() : nullptr, &got) ==
               ERROR_SUCCESS &&
           type == REG_BINARY && got == size;
}

void RegKey::WriteBinary(const std::wstring& name, const uint8_t* data, size_t size) const {
    Set(key_, name, REG_BINARY, data, size);
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

bool RegKey::DeleteValueReported(const std::wstring& name) const {
    if (!key_) return false;
    CountRegistryCall();
    LSTATUS rc = RegDeleteValueW(key_, name.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool RegKey::DeleteSubKey(const std::wstring& name) const {
    if (!key_) return false;
    CountRegistryCall();
    LSTATUS rc = RegDeleteKeyW(key_, name.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

uint64_t RegKey::LastWriteTime() const {
    FILETIME t{};
    if (!key_) return 0;
    CountRegistryCall();
    if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, &t) != ERROR_SUCCESS)
        return 0;
    return ((uint64_t)t.dwHighDateTime << 32) | t.dwLowDateTime;
}

}  // namespace win
