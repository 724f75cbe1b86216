#include "app/ListCommands.h"

#include <algorithm>

#include "app/ListFile.h"
#include "app/SortByAlias.h"
#include "store/StoreLock.h"
#include "win/Error.h"
#include "win/Registry.h"

namespace {
std::wstring Quoted(const FolderEntry& entry) { return L"\"" + entry.Alias + L"\""; }

bool Holds(const FolderList& list, int row) { return row >= 0 && (size_t)row < list.size(); }

// The list as the store holds it now, as far as it can be read.
FolderList Stored(const std::wstring& key, bool* readable = nullptr) {
    FolderList list;
    try {
        LoadList(key, list);
    } catch (const win::Error&) {
        if (readable) *readable = false;
    }
    return list;
}
}  // namespace

ListCommands::ListCommands(std::wstring key) : key_(std::move(key)) {}

void ListCommands::Stamp() { stamp_ = win::RegKey(key_, win::RegKey::Read).LastWriteTime(); }

void ListCommands::Load() {
    entries_.clear();
    Stamp();  // before reading: a change made meanwhile is followed later
    LoadList(key_, entries_);
}

// The row of `entry` nearest to `around`, or -1.
int ListCommands::Find(const FolderEntry& entry, int around) const {
    int best = -1;
    for (int i = 0; i < (int)entries_.size(); ++i)
        if (entries_[i] == entry && (best < 0 || std::abs(i - around) < std::abs(best - around))) best = i;
    return best;
}

int ListCommands::RowOf(const FolderEntry& entry, int around) const {
    int row = Find(entry, around);
    if (row >= 0 || entries_.empty() || around < 0) return row;
    return std::min(around, (int)entries_.size() - 1);
}

bool ListCommands::Follow(int& selected) {
    uint64_t now = win::RegKey(key_, win::RegKey::Read).LastWriteTime();
    if (now == stamp_) return false;  // this list's own change, or none
    stamp_ = now;
    FolderList read = Stored(key_);
    if (read == entries_) return false;
    FolderEntry keep = Holds(entries_, selected) ? entries_[selected] : FolderEntry{};
    entries_ = std::move(read);
    selected = Holds(entries_, selected) || !keep.Alias.empty() ? RowOf(keep, selected) : -1;
    return true;
}

void ListCommands::Recover(const FolderEntry& keep, int& selected) {
    try {
        FinishRewrite(key_);  // a rewrite that stopped part way goes to its end, if it can
    } catch (const win::Error&) {
    }
    entries_ = Stored(key_);
    selected = RowOf(keep, selected);
}

Outcome ListCommands::Change(Kind kind, const std::wstring& what, int selected,
                             const std::function<Outcome()>& body) {
    FolderList before = entries_;
    appended_.clear();
    Outcome out;
    try {
        out = body();
    } catch (const win::Error& e) {
        Recover(Holds(before, selected) ? before[selected] : FolderEntry{}, selected);
        out = {selected, -1,
               what + L" could not be saved.\n\n" + win::ErrorBoxText(e.Message()) +
                   L"\n\nThe list shows what is stored now."};
    }
    if (entries_ != before)
        undo_.Push({std::move(before), entries_, kind == Kind::Append ? appended_ : std::vector<size_t>{}});
    Stamp();
    return out;
}

Outcome ListCommands::Delete(int row) {
    if (!Holds(entries_, row)) return {row};
    return Change(Kind::Rewrite, L"Deleting " + Quoted(entries_[row]), row, [&] {
        size_t n = entries_.size();
        entries_.erase(entries_.begin() + row);
        RewriteSafely(key_, entries_, row, n - 2, n);  // then the old last position goes
        return Outcome{(size_t)row < n - 1 ? row : (entries_.empty() ? -1 : 0)};
    });
}

Outcome ListCommands::MoveUp(int row) {
    if (row <= 0 || !Holds(entries_, row)) return {row};
    return Change(Kind::Rewrite, L"Moving " + Quoted(entries_[row]) + L" up", row, [&] {
        std::swap(entries_[row], entries_[row - 1]);
        RewriteSafely(key_, entries_, row - 1, row, entries_.size());
        return Outcome{row - 1};
    });
}

Outcome ListCommands::MoveDown(int row) {
    if (!Holds(entries_, row + 1) || row < 0) return {row};
    return Change(Kind::Rewrite, L"Moving " + Quoted(entries_[row]) + L" down", row, [&] {
        std::swap(entries_[row], entries_[row + 1]);
        RewriteSafely(key_, entries_, row, row + 1, entries_.size());
        return Outcome{row + 1};
    });
}

Outcome ListCommands::Sort(bool ascending, int selected) {
    return Change(Kind::Rewrite, L"The sort by alias", selected, [&] {
        SortByAlias(entries_, ascending);
        if (!entries_.empty()) RewriteSafely(key_, entries_, 0, entries_.size() - 1, entries_.size());
        return Outcome{selected};  // the same row number stays selected
    });
}

void ListCommands::PlanAppend(const FolderEntry& entry) {
    size_t position = entries_.size();
    entries_.push_back(entry);
    appended_.push_back(position);
    // An append that closes a gap joins the entries stored beyond it, so
    // that no later append lands on one of them.
    FolderList run = StoredFrom(key_, position + 1);
    entries_.insert(entries_.end(), run.begin(), run.end());
}

void ListCommands::CommitAppends(size_t oldCount) {
    if (entries_.size() > oldCount) RewriteSafely(key_, entries_, oldCount, entries_.size() - 1, entries_.size());
}

Outcome ListCommands::Append(const FolderList& entries, int selected, bool selectAdded) {
    if (entries.empty()) return {selected};
    std::wstring what = entries.size() == 1 ? L"Adding " + Quoted(entries[0])
                                            : L"Adding " + std::to_wstring(entries.size()) + L" folders";
    return Change(Kind::Append, what, selected, [&] {
        StoreWriter lock(key_);  // what lies beyond the list stays as read until written
        size_t oldCount = entries_.size();
        for (const FolderEntry& entry : entries) PlanAppend(entry);
        CommitAppends(oldCount);
        return selectAdded ? Outcome{(int)appended_.back()} : Outcome{selected, (int)oldCount};
    });
}

Outcome ListCommands::Import(const std::wstring& file, int selected) {
    return Change(Kind::Append, L"The import of " + file, selected, [&] {
        StoreWriter lock(key_);
        size_t oldCount = entries_.size();
        std::wstring refused;
        ImportListFile(
            file, key_, entries_,
            [this](const std::wstring&, FolderList&, const FolderEntry& entry) { PlanAppend(entry); }, &refused);
        if (!refused.empty()) {
            entries_.resize(oldCount);  // nothing of a file that failed part way
            appended_.clear();
            throw win::Error(refused);
        }
        CommitAppends(oldCount);
        return Outcome{selected, entries_.size() > oldCount ? (int)entries_.size() - 1 : -1};
    });
}

Outcome ListCommands::Edit(int row, const FolderEntry& was, const FolderEntry& entry) {
    int at = Holds(entries_, row) && entries_[row] == was ? row : Find(was, row);
    if (at < 0)
        return {row, -1,
                L"The entry " + Quoted(was) +
                    L" was changed elsewhere while it was being edited, so the edit was not saved."};
    return Change(Kind::Rewrite, L"Editing " + Quoted(was), at, [&] {
        entries_[at] = entry;
        WriteEntry(key_, at, entry);
        return Outcome{at};
    });
}

Outcome ListCommands::Undo(int selected) {
    if (undo_.Empty()) return {selected};
    UndoStep step = undo_.Pop();
    FolderEntry keep = Holds(entries_, selected) ? entries_[selected] : FolderEntry{};
    // Taking back a step over a list that has changed since would lose
    // that change: the store must still hold what the step left.
    bool readable = true;
    FolderList stored = Stored(key_, &readable);
    if (!readable || stored != step.After || entries_ != step.After) {
        undo_.Clear();
        if (readable) entries_ = std::move(stored);
        Stamp();
        return {RowOf(keep, selected), -1,
                L"The list was changed elsewhere since the change that Undo would take back (by another "
                L"program, or by hand). To keep that change, nothing was undone."};
    }
    Outcome out{selected};
    try {
        if (!step.Appended.empty()) {
            // The lowest position first: from then on the list ends there,
            // and what an append joined from beyond a gap is stored as before.
            std::sort(step.Appended.begin(), step.Appended.end());
            for (size_t position : step.Appended) DeleteSlot(key_, position);
            entries_ = step.Before;
            out.Select = RowOf(keep, selected);
        } else {
            size_t first = 0, last = 0, oldCount = entries_.size();
            if (!ChangedRange(entries_, step.Before, first, last)) first = 1, last = 0;  // only the tail goes
            entries_ = step.Before;
            RewriteSafely(key_, entries_, first, last, oldCount);
            out.Select = entries_.empty() ? -1 : (int)std::min(first, entries_.size() - 1);
        }
    } catch (const win::Error& e) {
        Recover(keep, selected);
        out = {selected, -1, L"Undo could not be saved.\n\n" + win::ErrorBoxText(e.Message()) +
                                 L"\n\nThe list shows what is stored now."};
    }
    Stamp();
    return out;
}
