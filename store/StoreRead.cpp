// Reading the list so that a rewrite running meanwhile is seen whole or not
// at all.
#include <exception>
#include <optional>

#include "store/RewriteRecord.h"
#include "store/Store.h"
#include "store/StoreLock.h"
#include "win/Registry.h"

namespace {

// Reads that may go without the lock before one waits for it: only a
// stream of rewrites, one starting during each read, uses them up.
constexpr int kLockFreeReads = 3;

// The stored positions in order, with a live rewrite's target laid over
// them. A wrong-typed value ends the reading; its error is returned.
std::exception_ptr ReadPositions(const win::RegKey& reg, const RewriteRecord* record, FolderList& out) {
    try {
        for (size_t i = 0;; ++i) {
            if (record) {
                if (i >= record->RemoveFrom && i < record->RemoveTo) break;
                if (i >= record->First && i - record->First < record->Entries.size()) {
                    out.push_back(record->Entries[i - record->First]);
                    continue;
                }
            }
            FolderEntry entry{reg.ReadString(AliasName(i)), reg.ReadString(PathName(i))};
            if (entry.Alias.empty() || entry.Path.empty()) break;
            out.push_back(std::move(entry));
        }
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

}  // namespace

void LoadList(const std::wstring& key, FolderList& list) {
    std::exception_ptr unfinished;
    try {
        FinishOrphanedRewrite(key);
    } catch (...) {
        unfinished = std::current_exception();  // the read below still sees its target
    }
    for (int attempt = 0;; ++attempt) {
        std::optional<StoreWriter> held;
        if (attempt == kLockFreeReads) held.emplace(key);
        win::RegKey reg(key, win::RegKey::Read);
        if (!reg.IsOpen()) return;
        uint32_t started = RewritesStarted(key);
        RewriteRecord record;
        bool live = LiveRecord(key, started, record);
        FolderList read;
        std::exception_ptr bad = ReadPositions(reg, live ? &record : nullptr, read);
        if (!held && RewritesStarted(key) != started) continue;
        list.insert(list.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
        if (bad) std::rethrow_exception(bad);
        if (unfinished) std::rethrow_exception(unfinished);
        return;
    }
}
