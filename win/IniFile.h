#pragma once
#include <string>

namespace win {

// An INI file read and written one key at a time through the system's
// profile-string functions.
class IniFile {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& Path() const { return path_; }

    // Values are read up to 2047 characters.
    std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& fallback) const;
    int ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const;
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const;
    bool KeyExists(const std::wstring& section, const std::wstring& key) const;

    // A write that fails raises "Unable to write to <path>".
    void WriteString(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) const;
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value) const;
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value) const;

private:
    std::wstring path_;
};

// Decimal, or hexadecimal after "$", "0x" or "0X", with an optional sign;
// anything else (or a value out of range) gives the fallback.
int ParseInteger(const std::wstring& text, int fallback);

}  // namespace win
