#pragma once
#include <windows.h>

#include <array>
#include <string>

namespace win {

// Watches one key under HKEY_CURRENT_USER for changes to its values and
// subkeys, and for the key itself going or coming back. Each of its two
// notifications (the key's, and its parent's for the key's name) stays
// registered once: Arm() registers anew only what has fired.
class RegWatch {
public:
    explicit RegWatch(std::wstring path);  // creates the key when missing
    ~RegWatch();
    RegWatch(const RegWatch&) = delete;
    RegWatch& operator=(const RegWatch&) = delete;

    // Manual-reset events: signalled by a change after an Arm(), until the
    // next Arm(). A message loop waits on both.
    std::array<HANDLE, 2> Events() const { return {keyEvent_, parentEvent_}; }
    // Asks for the next change. Arm before reading, so that a change made
    // during the read is not lost. False when the key cannot be watched.
    bool Arm();
    // Whether a change came since the last Arm(); costs no registry call.
    bool Changed() const;
    // Notifications registered since the watch was made.
    int Registrations() const { return registrations_; }

private:
    bool Open();
    std::wstring path_;
    HKEY key_ = nullptr, parent_ = nullptr;
    HANDLE keyEvent_ = nullptr, parentEvent_ = nullptr;
    bool keyArmed_ = false, parentArmed_ = false;
    int registrations_ = 0;
};

}  // namespace win
