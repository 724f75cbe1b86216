#pragma once
#include <functional>
#include <string>

#include "store/Store.h"

// List files: the whole list saved as an INI file, section "Pathnook",
// "Count" and "N<i>" / "P<i>" keys numbered like the store's values.
inline const std::wstring ListFileSection = L"Pathnook";
inline const std::wstring ListFileFilter = L"Backup files (*.pnx)|*.PNX|All files (*.*)| *.*";

// The name export writes to: ".pnx" appended unless the name already ends
// in it (in any letter case).
std::wstring ListFileName(const std::wstring& chosen);

// Writes "Count" and every entry, key by key, into the file; other keys and
// sections stay. A new file is made UTF-16 so that any alias or path comes
// back unchanged. A failed write raises "Unable to write to <full path>".
void ExportListFile(const std::wstring& file, const FolderList& list);

// The entries of a list file in position order, positions 0 .. Count-1 that
// have both an alias and a path. The section is read once, so a huge or
// bogus "Count" costs nothing.
FolderList ReadListFile(const std::wstring& file);

// Appends to the list every entry of the file that it does not hold yet,
// writing each to the store at once. The list holds an entry when a row has
// the same alias and the same path after upper-casing ASCII letters and
// adding a trailing backslash; rows appended by this import count too. An
// error ends the import; the list and the store never differ afterwards,
// and the error's message goes to `refused` when given. Returns the number
// appended.
size_t ImportListFile(const std::wstring& file, const std::wstring& key, FolderList& list,
                      std::wstring* refused = nullptr);

// The same, appending through `append` (which must leave the entry at the
// list's old end and in the store's position of that number, followed by any
// stored entries the append joined); used to test failures.
using EntryAppender = std::function<void(const std::wstring& key, FolderList&, const FolderEntry&)>;
size_t ImportListFile(const std::wstring& file, const std::wstring& key, FolderList& list,
                      const EntryAppender& append, std::wstring* refused = nullptr);
