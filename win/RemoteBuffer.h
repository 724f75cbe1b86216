#pragma once
#include <windows.h>

#include <string>

namespace win {

// Memory in another process, for messages whose parameter is a pointer:
// Windows copies only texts (WM_GETTEXT and the like) between processes.
class RemoteBuffer {
public:
    RemoteBuffer(HWND w, size_t bytes);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    BYTE* At(size_t offset) const { return address_ + offset; }
    bool Write(size_t offset, const void* data, size_t bytes);
    bool Read(size_t offset, void* data, size_t bytes) const;
    // A text the other process wrote there, cut at its end or the buffer's.
    std::wstring Text(size_t offset, size_t chars) const;

private:
    HANDLE process_ = nullptr;
    BYTE* address_ = nullptr;
    size_t size_;
};

}  // namespace win
