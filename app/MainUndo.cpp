// Undo: the session's changes to the list taken back one by one, through
// the same crash-safe rewrite as every command of several positions.
#include "app/Main.h"

TfrmMain::Change::Change(TfrmMain& form, bool appends) : form_(form) {
    step_.Before = form.entries_;
    if (appends) step_.Hidden = StoredFrom(StoreKey, form.entries_.size() + 1);
}

// Also when the change stopped part way: what it did can be taken back.
TfrmMain::Change::~Change() {
    if (form_.entries_ != step_.Before) form_.undo_.Push(std::move(step_));
}

void TfrmMain::aUndoExecute() {
    if (undo_.Empty()) return;
    UndoStep step = undo_.Pop();
    FolderList target = UndoTarget(step, entries_);
    size_t oldCount = entries_.size(), first = 0, last = 0;
    if (!ChangedRange(entries_, target, first, last)) first = 1, last = 0;  // only the tail goes
    entries_ = std::move(target);
    struct ShowAfter {
        TfrmMain* form;
        int row;
        ~ShowAfter() { form->ShowEntries(row); }
    } show{this, entries_.empty() ? -1 : (int)std::min(first, entries_.size() - 1)};
    RewriteSafely(StoreKey, entries_, first, last, oldCount);
}

bool TfrmMain::aUndoUpdate() { return !undo_.Empty(); }
