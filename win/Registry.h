#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace win {

// A key under HKEY_CURRENT_USER, opened for one operation and closed with
// the object. Read opens an existing key for reading only, so that a key
// the user may only read still reads; Write opens an existing key for
// reading and writing; Create makes it first when it is missing.
class RegKey {
public:
    enum Access { Read, Write, Create };
    RegKey(const std::wstring& path, Access access);
    // The older form: create when missing, else open for writing.
    RegKey(const std::wstring& path, bool create) : RegKey(path, create ? Create : Write) {}
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    HKEY Handle() const { return key_; }
    // Why the key did not open (ERROR_FILE_NOT_FOUND when it is missing).
    LSTATUS Status() const { return status_; }

    // A missing or empty value reads as "". String and expandable-string
    // values read as stored, up to the first NUL. Any other non-empty value
    // raises "Invalid data type for '<name>'".
    std::wstring ReadString(const std::wstring& name) const;
    // Raises "Failed to set data for '<name>'" when the key refuses it.
    void WriteString(const std::wstring& name, const std::wstring& value) const;
    // A missing value, or one of another type, reads as `fallback`.
    uint32_t ReadDword(const std::wstring& name, uint32_t fallback) const;
    void WriteDword(const std::wstring& name, uint32_t value) const;  // raises as WriteString
    // False when the value is missing or not binary.
    bool ReadBinary(const std::wstring& name, std::vector<uint8_t>& data) const;
    void WriteBinary(const std::wstring& name, const uint8_t* data, size_t size) const;  // raises as WriteString
    bool ValueExists(const std::wstring& name) const;
    void DeleteValue(const std::wstring& name) const;  // a missing value is no error
    // The same, true when the value is gone (or was never there).
    bool DeleteValueReported(const std::wstring& name) const;
    // Removes a subkey that has no subkeys of its own. False when it is
    // there and could not be removed.
    bool DeleteSubKey(const std::wstring& name) const;
    // When a value or subkey of the key last changed; 0 when unknown.
    uint64_t LastWriteTime() const;

private:
    HKEY key_ = nullptr;
    LSTATUS status_ = ERROR_SUCCESS;
};

// Registry calls made through this layer since the process started: the
// seam that shows a reader touches the registry only when it must.
unsigned long RegistryCallCount();
void CountRegistryCall(unsigned long calls = 1);

}  // namespace win
