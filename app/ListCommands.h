#pragma once
#include <functional>
#include <string>

#include "app/Undo.h"
#include "store/Store.h"

// What a command leaves for the window to show.
struct Outcome {
    int Select = -1;       // the row to select; -1 for none
    int Reveal = -1;       // a row to bring into view; -1 for none
    std::wstring Message;  // what could not be done, and why; empty when all went well
};

// The list's commands, as operations on the list and the store together.
// The list never holds what the store does not: when the store refuses a
// write, the command finishes what can be finished, reads the list back
// from the store and says what was not saved. Every change can be undone,
// unless the store was changed elsewhere since.
class ListCommands {
public:
    explicit ListCommands(std::wstring key = StoreKey);

    const FolderList& Entries() const { return entries_; }
    const std::wstring& Key() const { return key_; }

    // Reads the list anew; a bad value raises after what came before it is
    // in the list.
    void Load();
    // The store changed: reads it again unless the change was this list's
    // own. True when the list now differs; `selected` follows its entry.
    bool Follow(int& selected);

    Outcome Delete(int row);
    Outcome MoveUp(int row);
    Outcome MoveDown(int row);
    Outcome Sort(bool ascending, int selected);
    // Adds entries at the end; `selectAdded` selects the last one added,
    // else the selection stays and the first one added comes into view.
    Outcome Append(const FolderList& entries, int selected, bool selectAdded);
    Outcome Import(const std::wstring& file, int selected);
    // `was` is the entry the edit began with: it is found again, or the
    // edit is refused, should the list have changed meanwhile.
    Outcome Edit(int row, const FolderEntry& was, const FolderEntry& entry);
    Outcome Undo(int selected);
    bool CanUndo() const { return !undo_.Empty(); }

private:
    enum class Kind { Rewrite, Append };
    // Runs one change: its undo step, and the way back to the store's list
    // when the store refuses part of it.
    Outcome Change(Kind kind, const std::wstring& what, int selected, const std::function<Outcome()>& body);
    void Recover(const FolderEntry& keep, int& selected);
    // Appends are planned in memory as AppendEntry would make them one by
    // one, then stored in one rewrite: a reader sees none or all of them.
    void PlanAppend(const FolderEntry& entry);
    void CommitAppends(size_t oldCount);
    void Stamp();
    int Find(const FolderEntry& entry, int around) const;
    int RowOf(const FolderEntry& entry, int around) const;

    std::wstring key_;
    FolderList entries_;
    UndoHistory undo_;
    std::vector<size_t> appended_;  // positions the running change appended
    uint64_t stamp_ = 0;            // the store's last change that this list has seen
};
