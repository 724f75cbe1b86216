#include "store/Store.h"

#include "store/RewriteRecord.h"
#include "store/StoreLock.h"
#include "win/Error.h"
#include "win/Registry.h"

namespace {

StoreWriteHook& Hook() {
    static StoreWriteHook hook;
    return hook;
}

void Write(const win::RegKey& reg, const std::wstring& name, const std::wstring& text) {
    BeforeStoreWrite();
    reg.WriteString(name, text);
}

// Whether the value reads as a non-empty string (a value of another type
// does not, and is not read here: that is the next load's to report).
bool HoldsText(const win::RegKey& reg, const std::wstring& name) {
    try {
        return !reg.ReadString(name).empty();
    } catch (const win::Error&) {
        return false;
    }
}

}  // namespace

void SetStoreWriteHook(StoreWriteHook hook) { Hook() = std::move(hook); }

void BeforeStoreWrite() {
    if (Hook()) Hook()();
}

std::wstring AliasName(size_t position) { return L"N" + std::to_wstring(position); }
std::wstring PathName(size_t position) { return L"P" + std::to_wstring(position); }

std::wstring AliasFromPath(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) return path;
    return path.substr(slash + 1);
}

void WriteValue(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    win::RegKey reg(key, win::RegKey::Create);
    if (reg.IsOpen()) Write(reg, name, text);
}

void RewriteEntries(const std::wstring& key, const FolderList& list, size_t first, size_t last) {
    if (first >= list.size()) return;
    win::RegKey reg(key, win::RegKey::Create);
    if (!reg.IsOpen() || last >= list.size()) return;
    for (size_t i = first; i <= last; ++i) {
        Write(reg, AliasName(i), list[i].Alias);
        Write(reg, PathName(i), list[i].Path);
    }
}

void DeleteSlot(const std::wstring& key, size_t n) {
    StoreWriter lock(key);
    win::RegKey reg(key, win::RegKey::Write);
    if (!reg.IsOpen()) {
        if (reg.Status() == ERROR_FILE_NOT_FOUND) return;
        throw win::Error(CannotSaveMessage(key, reg.Status()));
    }
    BeforeStoreWrite();
    reg.DeleteValue(AliasName(n));
    BeforeStoreWrite();
    reg.DeleteValue(PathName(n));
}

void AppendEntry(const std::wstring& key, FolderList& list, const FolderEntry& entry) {
    StoreWriter lock(key);
    win::RegKey reg(key, win::RegKey::Create);
    if (!reg.IsOpen()) throw win::Error(CannotSaveMessage(key, reg.Status()));
    size_t k = list.size();
    // The position is incomplete (that is where the list ends). The value it
    // lacks is written last, so that it stays incomplete until the entry is
    // whole: a stale path left there must not pair with the new alias.
    if (HoldsText(reg, PathName(k))) {
        Write(reg, PathName(k), entry.Path);
        Write(reg, AliasName(k), entry.Alias);
    } else {
        Write(reg, AliasName(k), entry.Alias);
        Write(reg, PathName(k), entry.Path);
    }
    list.push_back(entry);
    // Entries stored beyond a gap this append closed are part of the list
    // now; a bad value ends them here, as it ends the next load.
    for (size_t i = list.size();; ++i) {
        FolderEntry next;
        try {
            next.Alias = reg.ReadString(AliasName(i));
            if (next.Alias.empty()) break;  // the common case: one query
            next.Path = reg.ReadString(PathName(i));
        } catch (const win::Error&) {
            break;
        }
        if (next.Path.empty()) break;
        list.push_back(std::move(next));
    }
}

FolderList StoredFrom(const std::wstring& key, size_t position) {
    FolderList run;
    win::RegKey reg(key, win::RegKey::Read);
    try {
        for (size_t i = position; reg.IsOpen(); ++i) {
            FolderEntry entry{reg.ReadString(AliasName(i)), reg.ReadString(PathName(i))};
            if (entry.Alias.empty() || entry.Path.empty()) break;
            run.push_back(std::move(entry));
        }
    } catch (const win::Error&) {
        // A wrong-typed value ends the run, as it ends a load.
    }
    return run;
}
