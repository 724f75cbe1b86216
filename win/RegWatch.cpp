#include "win/RegWatch.h"

#include "win/Registry.h"

namespace win {

namespace {
bool Signalled(HANDLE event) { return event && WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }
}  // namespace

RegWatch::RegWatch(std::wstring path) : path_(std::move(path)) {
    keyEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    parentEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Open();
}

RegWatch::~RegWatch() {
    if (key_) RegCloseKey(key_);
    if (parent_) RegCloseKey(parent_);
    if (keyEvent_) CloseHandle(keyEvent_);
    if (parentEvent_) CloseHandle(parentEvent_);
}

bool RegWatch::Open() {
    if (key_) {
        RegCloseKey(key_);  // its registration, if any, goes with it
        key_ = nullptr;
        CountRegistryCall();
    }
    CountRegistryCall();
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_NOTIFY | KEY_READ, nullptr,
                        &key_, nullptr) != ERROR_SUCCESS)
        key_ = nullptr;
    return key_ != nullptr;
}

bool RegWatch::Arm() {
    if (!keyEvent_ || !parentEvent_) return false;
    // The parent tells when the key itself is deleted or made again; the
    // key's own handle would go on watching a deleted key.
    size_t cut = path_.find_last_of(L'\\');
    bool parentFired = cut != std::wstring::npos && (!parentArmed_ || Signalled(parentEvent_));
    bool keyFired = !keyArmed_ || Signalled(keyEvent_);
    if (parentFired) {
        if (!parent_) {
            CountRegistryCall();
            if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.substr(0, cut).c_str(), 0, KEY_NOTIFY, &parent_) != ERROR_SUCCESS)
                parent_ = nullptr;
        }
        ResetEvent(parentEvent_);
        CountRegistryCall();
        parentArmed_ = parent_ && RegNotifyChangeKeyValue(parent_, FALSE, REG_NOTIFY_CHANGE_NAME, parentEvent_,
                                                          TRUE) == ERROR_SUCCESS;
        registrations_ += parentArmed_;
    }
    if (!parentFired && !keyFired) return keyArmed_;
    // After the key's name changed it may stand for a new key: reopened.
    if ((parentFired || !key_) && !Open()) return keyArmed_ = false;
    ResetEvent(keyEvent_);
    CountRegistryCall();
    keyArmed_ = RegNotifyChangeKeyValue(key_, FALSE, REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME, keyEvent_,
                                        TRUE) == ERROR_SUCCESS;
    registrations_ += keyArmed_;
    return keyArmed_;
}

bool RegWatch::Changed() const { return Signalled(keyEvent_) || Signalled(parentEvent_); }

}  // namespace win
