#include "app/Undo.h"

#include <algorithm>

void UndoHistory::Push(UndoStep step) {
    steps_.push_back(std::move(step));
    if (steps_.size() > Depth) steps_.pop_front();
}

UndoStep UndoHistory::Pop() {
    UndoStep step = std::move(steps_.back());
    steps_.pop_back();
    return step;
}

bool ChangedRange(const FolderList& from, const FolderList& to, size_t& first, size_t& last) {
    size_t common = std::min(from.size(), to.size());
    first = 0;
    while (first < common && from[first] == to[first]) ++first;
    if (to.size() > from.size()) {
        last = to.size() - 1;
        return true;
    }
    if (first == to.size()) return false;  // nothing to write; the tail may still go
    last = to.size() - 1;
    while (last > first && from[last] == to[last]) --last;
    return true;
}
