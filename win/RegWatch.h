#pragma once
#include <windows.h>

#include <string>

namespace win {

// Watches one key under HKEY_CURRENT_USER for changes to its values. The
// event is signalled once after each Arm() when a value is set or deleted,
// so a reader can wait on it in its message loop and reread only then.
class RegWatch {
public:
    explicit RegWatch(std::wstring path);  // creates the key when missing
    ~RegWatch();
    RegWatch(const RegWatch&) = delete;
    RegWatch& operator=(const RegWatch&) = delete;

    HANDLE Event() const { return event_; }
    // Asks for the next change. Arm before reading, so that a change made
    // during the read is not lost. False when the key cannot be watched.
    bool Arm();
    // Takes a pending signal without waiting; costs no registry call.
    bool TakeChange();

private:
    bool Open();
    std::wstring path_;
    HKEY key_ = nullptr, parent_ = nullptr;
    HANDLE event_ = nullptr;
};

}  // namespace win
