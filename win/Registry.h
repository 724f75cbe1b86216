#pragma once
#include <windows.h>

#include <string>

namespace win {

// A key under HKEY_CURRENT_USER, opened for one operation and closed with
// the object.
class RegKey {
public:
    // create: make the key when it is missing. Check IsOpen() afterwards.
    RegKey(const std::wstring& path, bool create);
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Handle() const { return key_; }

    // A missing or empty value reads as "". String and expandable-string
    // values read as stored, up to the first NUL. Any other non-empty value
    // raises "Invalid data type for '<name>'".
    std::wstring ReadString(const std::wstring& name) const;
    // Raises "Failed to set data for '<name>'" when the key refuses it.
    void WriteString(const std::wstring& name, const std::wstring& value) const;
    bool ValueExists(const std::wstring& name) const;
    void DeleteValue(const std::wstring& name) const;  // a missing value is no error

private:
    HKEY key_ = nullptr;
};

// Registry calls made through this layer since the process started: the
// seam that shows a reader touches the registry only when it must.
unsigned long RegistryCallCount();
void CountRegistryCall(unsigned long calls = 1);

}  // namespace win
