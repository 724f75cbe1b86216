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

inline const std::wstring StoreKey = L"Software\\Pathnook";

std::wstring AliasName(size_t position);  // "N12"
std::wstring PathName(size_t position);   // "P12"

// Each operation opens the key, acts and closes it; a key that cannot be
// opened makes it do nothing. Wrong value types and refused writes raise.
void WriteValue(const std::wstring& key, const std::wstring& name, const std::wstring& text);
// Appends the stored entries, stopping at the first position whose alias or
// path is missing or empty.
void LoadList(const std::wstring& key, FolderList& list);
// Writes list[first..last] to the positions of the same numbers.
void RewriteEntries(const std::wstring& key, const FolderList& list, size_t first, size_t last);
// Removes "N<n>" and "P<n>".
void DeleteSlot(const std::wstring& key, size_t n);

// Appends an entry: writes it to the first position past the list, then
// takes into the list the entries stored beyond that position (an append
// that closes a gap joins them, and no later append may land on them). The
// list grows only once the entry is stored, unless the key cannot be opened
// at all; until the second value is written the position still reads as
// incomplete, so a crash in between leaves the list as it was.
void AppendEntry(const std::wstring& key, FolderList& list, const FolderEntry& entry);
// The entries stored from `position` on, up to the next position that is
// missing, empty or unreadable: what an append that closes a gap just before
// `position` takes into the list.
FolderList StoredFrom(const std::wstring& key, size_t position);
// Overwrites the entry at one position, alias first.
void WriteEntry(const std::wstring& key, size_t position, const FolderEntry& entry);

// Writes list[first..last] to their positions (nothing when first > last),
// then removes the positions list.size() .. oldCount-1. When that changes
// more than one position, the target is first recorded in the subkey
// "<key>\Rewrite" (see RewriteRecord.h), which the store's readers never
// look at, and the record is removed once everything is written; a crash in
// between leaves it for FinishRewrite at the next start.
void RewriteSafely(const std::wstring& key, const FolderList& list, size_t first, size_t last,
                   size_t oldCount);

enum class RecordState { None, Finished, Damaged };
// Completes the rewrite a record left behind describes, exactly, and removes
// the record. A damaged record is removed and the store left as it stands.
RecordState FinishRewrite(const std::wstring& key);

// Called before every change the store makes to the registry (a value set or
// deleted, the record written or removed). Tests make it throw to stand for
// a crash or a refused write at that point; empty in the program.
using StoreWriteHook = std::function<void()>;
void SetStoreWriteHook(StoreWriteHook hook);
