#include "store/StoreLock.h"

#include <map>

#include "store/RewriteRecord.h"
#include "win/Error.h"

namespace {

struct Hold {
    HANDLE mutex = nullptr;
    int depth = 0;
};

// A mutex belongs to a thread, so the holds are counted per thread.
std::map<std::wstring, Hold>& Holds() {
    thread_local std::map<std::wstring, Hold> holds;
    return holds;
}

std::wstring MutexName(const std::wstring& key) {
    std::wstring name = L"Local\\Pathnook.StoreWriter." + key;
    for (size_t i = 6; i < name.size(); ++i)
        if (name[i] == L'\\') name[i] = L'/';  // no backslash past the namespace
    return name;
}

// Takes the lock within `wait` ms; false when another writer keeps it.
bool Take(const std::wstring& key, DWORD wait) {
    Hold& hold = Holds()[key];
    if (hold.depth > 0) {
        ++hold.depth;
        return true;
    }
    HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexName(key).c_str());
    if (!mutex) throw win::Error(L"The list cannot be changed: its lock cannot be made");
    DWORD r = WaitForSingleObject(mutex, wait);
    if (r != WAIT_OBJECT_0 && r != WAIT_ABANDONED) {  // abandoned: its writer died; ours now
        CloseHandle(mutex);
        Holds().erase(key);
        return false;
    }
    hold.mutex = mutex;
    hold.depth = 1;
    return true;
}

void Release(const std::wstring& key) {
    auto it = Holds().find(key);
    if (it == Holds().end() || --it->second.depth > 0) return;
    ReleaseMutex(it->second.mutex);
    CloseHandle(it->second.mutex);
    Holds().erase(it);
}

// Runs `finish` in the outermost hold just taken; the lock goes if it fails.
RecordState FinishUnder(const std::wstring& key) {
    if (Holds()[key].depth != 1) return RecordState::None;
    try {
        return FinishRecordedRewrite(key);
    } catch (...) {
        Release(key);
        throw;
    }
}

}  // namespace

StoreWriter::StoreWriter(const std::wstring& key) : key_(key) {
    if (!Take(key, WaitMs))
        throw win::Error(L"The list is being changed by another Pathnook program. Try again in a moment");
    finished_ = FinishUnder(key);
}

StoreWriter::~StoreWriter() { Release(key_); }

bool HoldsStoreWriter(const std::wstring& key) {
    auto it = Holds().find(key);
    return it != Holds().end() && it->second.depth > 0;
}

RecordState FinishOrphanedRewrite(const std::wstring& key) {
    if (HoldsStoreWriter(key) || !Take(key, 0)) return RecordState::None;
    RecordState state = FinishUnder(key);
    Release(key);
    return state;
}
