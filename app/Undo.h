#pragma once
#include <deque>
#include <vector>

#include "store/Store.h"

// One change to the list that Undo can take back: the list before it and
// after it, and for appends the positions the change itself wrote (entries
// an append joined from beyond a gap were not written by it, and stay).
struct UndoStep {
    FolderList Before;
    FolderList After;
    std::vector<size_t> Appended;
};

// The session's changes, newest last, a bounded number deep.
class UndoHistory {
public:
    static constexpr size_t Depth = 20;
    void Push(UndoStep step);
    bool Empty() const { return steps_.empty(); }
    UndoStep Pop();
    void Clear() { steps_.clear(); }

private:
    std::deque<UndoStep> steps_;
};

// The positions to write to turn `from` into `to` (`to` past the end of
// `from` counts as changed). False when nothing is to be written.
bool ChangedRange(const FolderList& from, const FolderList& to, size_t& first, size_t& last);
