#pragma once
#include <deque>

#include "store/Store.h"

// One change to the list that Undo can take back: the list before it, and
// the stored entries that lay hidden beyond the gap an append may close.
struct UndoStep {
    FolderList Before;
    FolderList Hidden;
};

// The session's changes, newest last, a bounded number deep.
class UndoHistory {
public:
    static constexpr size_t Depth = 20;
    void Push(UndoStep step);
    bool Empty() const { return steps_.empty(); }
    UndoStep Pop();

private:
    std::deque<UndoStep> steps_;
};

// The list an undo goes back to: the list before the change, followed by
// the hidden entries the change brought into the list when it closed a gap,
// which stay, since Undo never drops a stored favourite.
FolderList UndoTarget(const UndoStep& step, const FolderList& now);

// The positions to write to turn `from` into `to` (`to` past the end of
// `from` counts as changed). False when nothing is to be written.
bool ChangedRange(const FolderList& from, const FolderList& to, size_t& first, size_t& last);
