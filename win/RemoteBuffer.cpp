#include "win/RemoteBuffer.h"

#include <vector>

namespace win {

RemoteBuffer::RemoteBuffer(HWND w, size_t bytes) : size_(bytes) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = (BYTE*)VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t bytes) {
    return offset + bytes <= size_ && WriteProcessMemory(process_, address_ + offset, data, bytes, nullptr);
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t bytes) const {
    return offset + bytes <= size_ && ReadProcessMemory(process_, address_ + offset, data, bytes, nullptr);
}

std::wstring RemoteBuffer::Text(size_t offset, size_t chars) const {
    std::vector<wchar_t> text(chars + 1, L'\0');
    if (!Read(offset, text.data(), chars * sizeof(wchar_t))) return {};
    return text.data();
}

}  // namespace win
