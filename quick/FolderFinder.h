#pragma once
#include <string>
#include <vector>

#include "store/Store.h"

// Finding favourites by typing: the typed text anywhere in an alias or a
// path, with letter case and accents set aside, in any script. The entries'
// texts are folded once, when the list is read, so that a keystroke costs
// one scan of ready strings.
class FolderFinder {
public:
    void Index(const FolderList& entries);
    // Positions of the matching entries in list order (separators never
    // match), at most `limit` of them; `more` tells whether others were left.
    std::vector<size_t> Find(const std::wstring& typed, size_t limit, bool* more = nullptr) const;

private:
    std::vector<std::wstring> folded_;  // alias, a line break, path; empty for separators
    mutable std::wstring lastKey_;       // the last key whose matches were all found,
    mutable std::vector<size_t> lastFound_;  // and those matches
};

// Lower case, accents and other combining marks taken off, final sigma as
// sigma: "Éλλη" and "ελλη" fold alike.
std::wstring FoldForFind(const std::wstring& text);
