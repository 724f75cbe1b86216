// Rewrites of several positions that a crash cannot leave half done.
#include <set>

#include "store/RewriteRecord.h"
#include "store/Store.h"
#include "win/Registry.h"

namespace {

// Keys whose record a failed rewrite of this process may have left: every
// later change to their list finishes that rewrite first, or a delete's
// record could remove an entry appended after it.
std::set<std::wstring>& Pending() {
    static std::set<std::wstring> keys;
    return keys;
}

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

}  // namespace

void FinishPendingRewrite(const std::wstring& key) {
    if (Pending().count(key)) FinishRewrite(key);
}

RecordState FinishRewrite(const std::wstring& key) {
    win::RegKey reg(key, false);
    if (!reg.IsOpen()) {
        Pending().erase(key);
        return RecordState::None;
    }
    RewriteRecord record;
    RecordState state = RecordState::None;
    switch (ReadRecord(reg.Handle(), record)) {
    case RecordRead::None: break;
    case RecordRead::Damaged:
        RemoveRecord(reg.Handle());
        state = RecordState::Damaged;
        break;
    case RecordRead::Sound:
        Pending().insert(key);  // until it is done, whatever stops it
        Apply(reg, record);
        RemoveRecord(reg.Handle());
        state = RecordState::Finished;
        break;
    }
    Pending().erase(key);
    return state;
}

void RewriteSafely(const std::wstring& key, const FolderList& list, size_t first, size_t last,
                   size_t oldCount) {
    FinishPendingRewrite(key);
    RewriteRecord record;
    record.First = first;
    if (first <= last && last < list.size())
        record.Entries.assign(list.begin() + (std::ptrdiff_t)first, list.begin() + (std::ptrdiff_t)last + 1);
    record.RemoveFrom = list.size();
    record.RemoveTo = oldCount > list.size() ? oldCount : list.size();
    size_t positions = record.Entries.size() + (record.RemoveTo - record.RemoveFrom);
    if (positions == 0) return;
    // Removing alone creates nothing; writing creates the key as every write does.
    win::RegKey reg(key, !record.Entries.empty());
    if (!reg.IsOpen()) return;
    if (positions == 1) return Apply(reg, record);  // one position: nothing in between to lose
    Pending().insert(key);
    WriteRecord(reg.Handle(), record);
    Apply(reg, record);
    RemoveRecord(reg.Handle());
    Pending().erase(key);
}
