#pragma once
#include <functional>
#include <string>
#include <vector>

// The list of favourite folders as it is kept in the current user's
// registry: "N<i>" / "P<i>" string values for the entry at position i. The
// quick-access component reads this layout, so names and order are fixed.
struct FolderEntry {
    std::wstring Alias;
    std::wstring Path;

    bool operator==(const FolderEntry&) const = default;
    bool IsSeparator() const { return Alias == SeparatorAlias && Path == SeparatorPath; }
    static FolderEntry Separator() { return {SeparatorAlias, SeparatorPath}; }

    static constexpr const wchar_t* SeparatorAlias = L"*Separator*";
    static constexpr const wchar_t* SeparatorPath = L"-";
};

using FolderList = std::vector<FolderEntry>;

// The alias proposed for a folder: the name after its last backslash, or
// the whole path when nothing follows one ("C:\", "D:", "C:\Tools\").
// Both programs propose it, so that a folder gets the same alias from either.
std::wstring AliasFromPath(const std::wstring& path);

inline const std::wstring StoreKey = L"Software\\Pathnook";

std::wstring AliasName(size_t position);  // "N12"
std::wstring PathName(size_t position);   // "P12"

// Each operation opens the key, acts and closes it. Reading needs only
// read access; a key that is missing reads as an empty list. Wrong value
// types raise; a change the key refuses (it may only be read, or a value
// is refused) raises too, so that nothing pretends to be stored.
//
// Every change to the list holds the store's writer lock (StoreLock.h).

// Writes one value beside the list (an option, the manager's path); a key
// that cannot be opened makes it do nothing.
void WriteValue(const std::wstring& key, const std::wstring& name, const std::wstring& text);
// Appends the stored entries, stopping at the first position whose alias or
// path is missing or empty. The list read is the one before or the one
// after any rewrite that runs meanwhile, never a mix: a rewrite's record is
// laid over what was read, and a read that a rewrite started during is
// read again. A rewrite whose writer died is finished first, when no
// writer runs.
void LoadList(const std::wstring& key, FolderList& list);
// Writes list[first..last] to the positions of the same numbers, value by
// value, with no record and no lock: the bare layout.
void RewriteEntries(const std::wstring& key, const FolderList& list, size_t first, size_t last);
// Removes "N<n>" and "P<n>". Alone it is whole: without its alias the
// position ends the list.
void DeleteSlot(const std::wstring& key, size_t n);

// Appends an entry: writes it to the first position past the list, then
// takes into the list the entries stored beyond that position (an append
// that closes a gap joins them, and no later append may land on them). The
// list grows only once the entry is stored; until the second value is
// written the position still reads as incomplete, so a crash in between
// leaves the list as it was.
void AppendEntry(const std::wstring& key, FolderList& list, const FolderEntry& entry);
// The entries stored from `position` on, up to the next position that is
// missing, empty or unreadable: what an append that closes a gap just before
// `position` takes into the list.
FolderList StoredFrom(const std::wstring& key, size_t position);
// Overwrites the entry at one position, alias and path together.
void WriteEntry(const std::wstring& key, size_t position, const FolderEntry& entry);

// Writes list[first..last] to their positions (nothing when first > last),
// then removes the positions list.size() .. oldCount-1. Anything but the
// removal of one position first records its target in the subkey
// "<key>\Rewrite" (see RewriteRecord.h), and removes the record once
// everything is written; a crash in between leaves it for the next writer
// or reader, which finishes it.
void RewriteSafely(const std::wstring& key, const FolderList& list, size_t first, size_t last,
                   size_t oldCount);

enum class RecordState { None, Finished, Damaged };
// Takes the writer lock, which completes the rewrite a left record
// describes, exactly, and removes the record. A damaged record is removed
// and the store left as it stands.
RecordState FinishRewrite(const std::wstring& key);

// The message of a change the key refused to open for.
std::wstring CannotSaveMessage(const std::wstring& key, long status);

// Called before every change the store makes to the registry (a value set or
// deleted, the record written or removed). Tests make it throw to stand for
// a crash or a refused write at that point; empty in the program.
using StoreWriteHook = std::function<void()>;
void SetStoreWriteHook(StoreWriteHook hook);
