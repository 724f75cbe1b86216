#pragma once
#include <string>

#include "store/Store.h"

// Compares two aliases folding only the ASCII letters a-z to upper case,
// otherwise by character value; a prefix sorts first. <0, 0 or >0.
int CompareAlias(const std::wstring& a, const std::wstring& b);

// Sorts by alias with the list's own exchange sort, so that entries whose
// aliases compare equal end up exactly where that sort leaves them.
// Ascending: for each i, every later j with alias i > alias j is exchanged
// with i; descending scans j from the end and exchanges when alias i < alias j.
void SortByAlias(FolderList& list, bool ascending);
