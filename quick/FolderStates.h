#pragma once
#include <windows.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "win/Gdi.h"

// Whether each folder of the list exists, found out on a thread of its own:
// a folder on an unreachable network drive can take the file system many
// seconds to answer, and the menu must never wait for that. Until a folder
// has been checked it counts as present.
class FolderStates {
public:
    enum State { Unknown, Present, Missing };

    // `notify` gets `message` posted whenever a check round has finished.
    FolderStates(HWND notify, UINT message);
    ~FolderStates();
    FolderStates(const FolderStates&) = delete;
    FolderStates& operator=(const FolderStates&) = delete;

    // Checks these folders again (replacing a round not yet started); with
    // `icons`, also fetches each present folder's shell icon once.
    void Check(std::vector<std::wstring> folders, bool icons = false);
    State Of(const std::wstring& folder) const;
    // The folder's own small icon once fetched, else null. Owned here.
    HICON IconOf(const std::wstring& folder) const;
    // Rounds finished so far; tests wait on it.
    unsigned Rounds() const;

    // True for paths whose check may wait on a network: UNC paths and
    // drives that are remote or of unknown type.
    static bool MayBeRemote(const std::wstring& folder);

private:
    // Shared with the worker, which may outlive this object while it waits
    // on a dead network path.
    struct Shared {
        HWND notify;
        UINT message;
        std::mutex mutex;
        std::condition_variable wake;
        std::vector<std::wstring> pending;
        bool hasPending = false, stop = false, icons = false;
        std::unordered_map<std::wstring, State> states;
        std::unordered_map<std::wstring, win::IconHandle> iconOf;
        unsigned rounds = 0;
    };
    static void Work(std::shared_ptr<Shared> shared);
    std::shared_ptr<Shared> shared_;
};
