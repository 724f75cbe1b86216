#include "store/Store.h"

#include "win/Registry.h"

std::wstring AliasName(size_t position) { return L"N" + std::to_wstring(position); }
std::wstring PathName(size_t position) { return L"P" + std::to_wstring(position); }

void WriteValue(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    win::RegKey reg(key, true);
    if (reg.IsOpen()) reg.WriteString(name, text);
}

void LoadList(const std::wstring& key, FolderList& list) {
    win::RegKey reg(key, true);
    if (!reg.IsOpen()) return;
    for (size_t i = 0;; ++i) {
        FolderEntry entry{reg.ReadString(AliasName(i)), reg.ReadString(PathName(i))};
        if (entry.Alias.empty() || entry.Path.empty()) break;
        list.push_back(std::move(entry));
    }
}

void RewriteEntries(const std::wstring& key, const FolderList& list, size_t first, size_t last) {
    if (first >= list.size()) return;
    win::RegKey reg(key, true);
    if (!reg.IsOpen() || last >= list.size()) return;
    for (size_t i = first; i <= last; ++i) {
        reg.WriteString(AliasName(i), list[i].Alias);
        reg.WriteString(PathName(i), list[i].Path);
    }
}

void DeleteSlot(const std::wstring& key, size_t n) {
    win::RegKey reg(key, false);
    if (!reg.IsOpen()) return;
    reg.DeleteValue(AliasName(n));
    reg.DeleteValue(PathName(n));
}

void AppendEntry(const std::wstring& key, FolderList& list, const FolderEntry& entry) {
    list.push_back(entry);
    WriteValue(key, AliasName(list.size() - 1), entry.Alias);
    WriteValue(key, PathName(list.size() - 1), entry.Path);
}
