// Rewrites of the list that a crash cannot leave half done, and that a
// reader never sees half done either.
#include "store/RewriteRecord.h"
#include "store/Store.h"
#include "store/StoreLock.h"
#include "win/Error.h"
#include "win/Registry.h"

namespace {

void Apply(const win::RegKey& reg, const RewriteRecord& record) {
    for (size_t i = 0; i < record.Entries.size(); ++i) {
        BeforeStoreWrite();
        reg.WriteString(AliasName(record.First + i), record.Entries[i].Alias);
        BeforeStoreWrite();
        reg.WriteString(PathName(record.First + i), record.Entries[i].Path);
    }
    for (size_t i = record.RemoveFrom; i < record.RemoveTo; ++i) {
        BeforeStoreWrite();
        reg.DeleteValue(AliasName(i));
        BeforeStoreWrite();
        reg.DeleteValue(PathName(i));
    }
}

// A record that stays after its rewrite is done must never be applied
// again over later changes: counting another rewrite makes it stale.
void RemoveDoneRecord(const std::wstring& key) {
    if (RemoveRecord(key)) return;
    try {
        StartRewrite(key);
    } catch (const win::Error&) {
    }
    throw win::Error(L"A change to the list was saved, but its record (HKEY_CURRENT_USER\\" + key + L"\\" +
                     RewriteRecordKey + L") could not be removed. It will not be used again");
}

}  // namespace

std::wstring CannotSaveMessage(const std::wstring& key, long status) {
    std::wstring where = L"HKEY_CURRENT_USER\\" + key;
    return status == ERROR_ACCESS_DENIED ? L"The list cannot be saved: the registry key " + where + L" may only be read"
                                         : L"The list cannot be saved: the registry key " + where +
                                               L" cannot be written (error " + std::to_wstring(status) + L")";
}

RecordState FinishRecordedRewrite(const std::wstring& key) {
    RewriteRecord record;
    switch (ReadRecord(key, record)) {
    case RecordRead::None: return RecordState::None;
    case RecordRead::Damaged: RemoveDoneRecord(key); return RecordState::Damaged;
    case RecordRead::Sound: break;
    }
    if (record.Serial != 0 && record.Serial != RewritesStarted(key)) {
        RemoveDoneRecord(key);  // stale: its rewrite was finished before
        return RecordState::None;
    }
    win::RegKey reg(key, win::RegKey::Write);
    if (!reg.IsOpen()) throw win::Error(CannotSaveMessage(key, reg.Status()));
    Apply(reg, record);
    RemoveDoneRecord(key);
    return RecordState::Finished;
}

RecordState FinishRewrite(const std::wstring& key) { return StoreWriter(key).Finished(); }

void Rewrite(const std::wstring& key, RewriteRecord record) {
    size_t removed = record.RemoveTo > record.RemoveFrom ? record.RemoveTo - record.RemoveFrom : 0;
    if (record.Entries.empty() && removed == 0) return;
    StoreWriter lock(key);
    win::RegKey reg(key, record.Entries.empty() ? win::RegKey::Write : win::RegKey::Create);
    if (!reg.IsOpen()) {
        if (record.Entries.empty() && reg.Status() == ERROR_FILE_NOT_FOUND) return;  // nothing stored to remove
        throw win::Error(CannotSaveMessage(key, reg.Status()));
    }
    // Removing one position is whole by itself: without its alias it ends
    // the list, as it will once its path is gone too.
    if (record.Entries.empty() && removed == 1) return Apply(reg, record);
    record.Serial = StartRewrite(key);
    WriteRecord(key, record);
    Apply(reg, record);
    RemoveDoneRecord(key);
}

void RewriteSafely(const std::wstring& key, const FolderList& list, size_t first, size_t last,
                   size_t oldCount) {
    RewriteRecord record;
    record.First = first;
    if (first <= last && last < list.size())
        record.Entries.assign(list.begin() + (std::ptrdiff_t)first, list.begin() + (std::ptrdiff_t)last + 1);
    record.RemoveFrom = list.size();
    record.RemoveTo = oldCount > list.size() ? oldCount : list.size();
    Rewrite(key, std::move(record));
}

void WriteEntry(const std::wstring& key, size_t position, const FolderEntry& entry) {
    RewriteRecord record;
    record.First = position;
    record.Entries = {entry};
    Rewrite(key, std::move(record));
}
