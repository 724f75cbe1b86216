#include "quick/FolderStates.h"

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

FolderStates::FolderStates(HWND notify, UINT message) : shared_(std::make_shared<Shared>()) {
    shared_->notify = notify;
    shared_->message = message;
    std::thread(Work, shared_).detach();
}

FolderStates::~FolderStates() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->wake.notify_all();
}

void FolderStates::Check(std::vector<std::wstring> folders, bool icons) {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->pending = std::move(folders);
        shared_->hasPending = true;
        shared_->icons = icons;
    }
    shared_->wake.notify_all();
}

FolderStates::State FolderStates::Of(const std::wstring& folder) const {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->states.find(folder);
    return it == shared_->states.end() ? Unknown : it->second;
}

HICON FolderStates::IconOf(const std::wstring& folder) const {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->iconOf.find(folder);
    return it == shared_->iconOf.end() ? nullptr : it->second.Get();
}

unsigned FolderStates::Rounds() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->rounds;
}

bool FolderStates::MayBeRemote(const std::wstring& folder) {
    if (folder.size() >= 2 && (folder[0] == L'\\' || folder[0] == L'/') && (folder[1] == L'\\' || folder[1] == L'/'))
        return true;
    if (folder.size() < 2 || folder[1] != L':') return true;
    std::wstring root = folder.substr(0, 2) + L"\\";
    UINT type = GetDriveTypeW(root.c_str());
    return type == DRIVE_REMOTE || type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR;
}

void FolderStates::Work(std::shared_ptr<Shared> s) {
    // No "insert a disk" boxes for empty removable drives.
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    for (;;) {
        std::vector<std::wstring> folders;
        bool icons = false;
        {
            std::unique_lock lock(s->mutex);
            s->wake.wait(lock, [&] { return s->hasPending || s->stop; });
            if (s->stop) return;
            folders = std::move(s->pending);
            s->hasPending = false;
            icons = s->icons;
        }
        // Local folders first: a slow network path keeps the rest waiting.
        std::stable_partition(folders.begin(), folders.end(),
                              [](const std::wstring& f) { return !MayBeRemote(f); });
        for (const std::wstring& f : folders) {
            DWORD attributes = GetFileAttributesW(f.c_str());
            State state = (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
                              ? Present
                              : Missing;
            win::IconHandle icon;
            if (icons && state == Present) {
                bool known;
                {
                    std::lock_guard lock(s->mutex);
                    known = s->iconOf.count(f) != 0;
                }
                SHFILEINFOW info{};
                if (!known && SHGetFileInfoW(f.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON))
                    icon.Reset(info.hIcon);
            }
            std::lock_guard lock(s->mutex);
            if (s->stop) return;
            s->states[f] = state;
            if (icon) s->iconOf[f] = std::move(icon);
        }
        std::lock_guard lock(s->mutex);
        if (s->stop) return;
        ++s->rounds;
        PostMessageW(s->notify, s->message, 0, 0);
    }
}
