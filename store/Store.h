#pragma once
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
// Appends an entry to the list and writes it to the new last position.
void AppendEntry(const std::wstring& key, FolderList& list, const FolderEntry& entry);
