#include "win/RegWatch.h"

#include "win/Registry.h"

namespace win {

RegWatch::RegWatch(std::wstring path) : path_(std::move(path)) {
    event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    Open();
}

RegWatch::~RegWatch() {
    if (key_) RegCloseKey(key_);
    if (parent_) RegCloseKey(parent_);
    if (event_) CloseHandle(event_);
}

bool RegWatch::Open() {
    if (key_) {
        RegCloseKey(key_);
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
    if (!event_ || (!key_ && !Open())) return false;
    // The parent tells when the key itself is deleted or made again; the
    // key's own handle would go on watching a deleted key.
    size_t cut = path_.find_last_of(L'\\');
    if (!parent_ && cut != std::wstring::npos) {
        CountRegistryCall();
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.substr(0, cut).c_str(), 0, KEY_NOTIFY, &parent_) != ERROR_SUCCESS)
            parent_ = nullptr;
    }
    if (parent_) {
        CountRegistryCall();
        RegNotifyChangeKeyValue(parent_, FALSE, REG_NOTIFY_CHANGE_NAME, event_, TRUE);
    }
    // Reopened every time: after a deletion the name stands for a new key.
    if (!Open()) return false;
    CountRegistryCall();
    return RegNotifyChangeKeyValue(key_, FALSE, REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_NAME, event_, TRUE) ==
           ERROR_SUCCESS;
}

bool RegWatch::TakeChange() { return event_ && WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }

}  // namespace win
