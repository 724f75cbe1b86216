#include "win/IniFile.h"

#include <windows.h>

#include "win/Error.h"

namespace win {

int ParseInteger(const std::wstring& text, int fallback) {
    size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;  // leading blanks are allowed
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    int base = 10;
    if (i < text.size() && text[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return fallback;
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        int digit;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        else return fallback;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) return fallback;
    }
    if (base == 10) {
        if (negative ? value > 2147483648ull : value > 2147483647ull) return fallback;
        return negative ? (int)(0 - value) : (int)value;
    }
    // Hexadecimal covers the whole 32-bit range ($FFFFFFFF is -1).
    int v = (int)(unsigned)value;
    return negative ? -v : v;
}

std::wstring IniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& fallback) const {
    wchar_t buffer[2048];
    GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer, 2048,
                             path_.c_str());
    return buffer;
}

int IniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const {
    std::wstring text = ReadString(section, key, L"");
    return text.empty() ? fallback : ParseInteger(text, fallback);
}

bool IniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::KeyExists(const std::wstring& section, const std::wstring& key) const {
    const wchar_t* marker = L"\x1\x2\x3";
    return ReadString(section, key, marker) != marker;
}

void IniFile::WriteString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& value) const {
    // Windows refuses to write a read-only file even for administrators;
    // where the file system would let a privileged user through, the
    // attribute is honoured here all the same.
    DWORD attr = GetFileAttributesW(path_.c_str());
    bool readOnly = attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY);
    if (readOnly ||
        !WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw Error(Format(L"Unable to write to %s", path_));
}

void IniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) const {
    WriteString(section, key, std::to_wstring(value));
}

void IniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) const {
    WriteString(section, key, value ? L"1" : L"0");
}

}  // namespace win
