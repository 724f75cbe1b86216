#include "app/ListFile.h"

#include <windows.h>

#include <cwctype>
#include <map>
#include <set>
#include <unordered_set>
#include <vector>

#include "win/Error.h"
#include "win/IniFile.h"
#include "win/Registry.h"

namespace {

std::wstring FullPath(const std::wstring& file) {
    DWORD n = GetFullPathNameW(file.c_str(), 0, nullptr, nullptr);
    if (n == 0) return file;
    std::wstring out(n, L'\0');
    n = GetFullPathNameW(file.c_str(), n, out.data(), nullptr);
    out.resize(n);
    return out;
}

[[noreturn]] void CannotWrite(const std::wstring& full) {
    throw win::Error(win::Format(L"Unable to write to %s", full));
}

// Whether the text survives a trip through the system code page.
bool FitsCodePage(const std::wstring& text) {
    if (text.empty() || GetACP() == CP_UTF8) return true;
    BOOL lost = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), (int)text.size(),
                                nullptr, 0, nullptr, &lost);
    return n > 0 && !lost;
}

bool ListFitsCodePage(const FolderList& list) {
    for (const FolderEntry& e : list)
        if (!FitsCodePage(e.Alias) || !FitsCodePage(e.Path)) return false;
    return true;
}

std::string ReadBytes(HANDLE h) {
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
}

// Either byte order: both keep any text, so neither needs converting.
bool IsUtf16(const std::string& bytes) {
    if (bytes.size() < 2) return false;
    unsigned char a = bytes[0], b = bytes[1];
    return (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF);
}

std::wstring Decode(const std::string& bytes) {
    UINT cp = CP_ACP;
    size_t skip = 0;
    if (bytes.size() >= 3 && (unsigned char)bytes[0] == 0xEF && (unsigned char)bytes[1] == 0xBB &&
        (unsigned char)bytes[2] == 0xBF) {
        cp = CP_UTF8;
        skip = 3;
    }
    int n = MultiByteToWideChar(cp, 0, bytes.data() + skip, (int)(bytes.size() - skip), nullptr, 0);
    std::wstring text(n, L'\0');
    MultiByteToWideChar(cp, 0, bytes.data() + skip, (int)(bytes.size() - skip), text.data(), n);
    return text;
}

void WriteUtf16(HANDLE h, const std::wstring& text, const std::wstring& full) {
    std::wstring content = L"\xFEFF" + text;
    DWORD bytes = (DWORD)(content.size() * sizeof(wchar_t)), written = 0;
    if (!WriteFile(h, content.data(), bytes, &written, nullptr) || written != bytes) {
        CloseHandle(h);
        CannotWrite(full);
    }
    CloseHandle(h);
}

// The profile functions keep a file's encoding: a file that starts with a
// UTF-16 byte-order mark stays Unicode, anything else is read and written
// in the system code page. So a new list file starts out as UTF-16, and an
// older one is converted when the list holds text its code page cannot.
// A new file is written whole, as the key-by-key writes would leave it:
// the profile functions rewrite the file at every key, which makes a long
// list slow. Returns whether the file was new.
bool PrepareFile(const std::wstring& full, bool needsUnicode, const std::wstring& newContent) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, full.c_str());  // flush the cache
    HANDLE h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        WriteUtf16(h, newContent, full);
        return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
        CannotWrite(full);
    if (!needsUnicode) return false;
    h = CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) CannotWrite(full);
    std::string bytes = ReadBytes(h);
    CloseHandle(h);
    if (IsUtf16(bytes)) return false;
    h = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) CannotWrite(full);
    WriteUtf16(h, Decode(bytes), full);
    return false;
}

bool IsQuote(wchar_t c) { return c == L'"' || c == L'\''; }

// The profile functions trim blanks around a value and strip one pair of
// matching quotes; quoting such a value makes it read back as written.
std::wstring Protect(const std::wstring& value) {
    if (value.empty()) return value;
    bool quote = iswspace(value.front()) || iswspace(value.back()) ||
                 (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front());
    return quote ? L"\"" + value + L"\"" : value;
}

std::wstring Unquote(const std::wstring& value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::wstring UpperAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z') c = (wchar_t)(c - L'a' + L'A');
    return text;
}

// "key=value" lines of the section, as the profile functions read it.
std::vector<std::wstring> SectionLines(const std::wstring& full, const std::wstring& section) {
    std::vector<wchar_t> buffer(32768);
    DWORD got;
    for (;;) {
        got = GetPrivateProfileSectionW(section.c_str(), buffer.data(), (DWORD)buffer.size(),
                                        full.c_str());
        if (got + 2 < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::wstring> lines;
    for (const wchar_t* p = buffer.data(); p < buffer.data() + got && *p; p += wcslen(p) + 1)
        lines.emplace_back(p);
    return lines;
}

// The position a key names: "N12" or "P12", decimal without leading zeros.
bool KeyPosition(const std::wstring& key, wchar_t& kind, unsigned long long& position) {
    if (key.size() < 2 || key.size() > 11 || (key[0] != L'N' && key[0] != L'P')) return false;
    if (key[1] == L'0' && key.size() > 2) return false;
    position = 0;
    for (size_t i = 1; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9') return false;
        position = position * 10 + (key[i] - L'0');
    }
    kind = key[0];
    return true;
}

// What makes two entries the same for import: the alias as it is, the path
// upper-cased (ASCII letters) with a trailing backslash.
std::wstring EntryKey(const FolderEntry& entry) {
    std::wstring path = UpperAscii(entry.Path);
    if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
    return entry.Alias + L'\0' + path;
}

}  // namespace

std::wstring ListFileName(const std::wstring& chosen) {
    size_t dot = chosen.find_last_of(L'.');
    size_t slash = chosen.find_last_of(L"\\/:");
    bool hasPnx = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) &&
                  UpperAscii(chosen.substr(dot)) == L".PNX";
    return hasPnx ? chosen : chosen + L".pnx";
}

void ExportListFile(const std::wstring& file, const FolderList& list) {
    std::wstring full = FullPath(file);
    std::wstring whole = L"[" + ListFileSection + L"]\r\nCount=" + std::to_wstring(list.size()) + L"\r\n";
    for (size_t i = 0; i < list.size(); ++i)
        whole += AliasName(i) + L"=" + Protect(list[i].Alias) + L"\r\n" + PathName(i) + L"=" +
                 Protect(list[i].Path) + L"\r\n";
    if (PrepareFile(full, !ListFitsCodePage(list), whole)) return;
    win::IniFile ini(full);
    ini.WriteInteger(ListFileSection, L"Count", (int)list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        ini.WriteString(ListFileSection, AliasName(i), Protect(list[i].Alias));
        ini.WriteString(ListFileSection, PathName(i), Protect(list[i].Path));
    }
}

FolderList ReadListFile(const std::wstring& file) {
    // A key read on its own takes the first line of that name, in any case.
    std::set<std::wstring> seen;
    long long count = 0;
    std::map<unsigned long long, FolderEntry> positions;
    for (const std::wstring& line : SectionLines(FullPath(file), ListFileSection)) {
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;  // a key without a value reads as empty
        std::wstring key = UpperAscii(line.substr(0, eq));
        if (!seen.insert(key).second) continue;
        std::wstring value = Unquote(line.substr(eq + 1));
        wchar_t kind;
        unsigned long long position;
        if (key == L"COUNT") count = win::ParseInteger(value, 0);
        else if (KeyPosition(key, kind, position))
            (kind == L'N' ? positions[position].Alias : positions[position].Path) = value;
    }
    FolderList entries;
    for (auto& [position, entry] : positions) {
        if ((long long)position >= count) break;
        // An empty alias or path would end the stored list at the next load,
        // hiding this entry and all after it.
        if (!entry.Alias.empty() && !entry.Path.empty()) entries.push_back(std::move(entry));
    }
    return entries;
}

size_t ImportListFile(const std::wstring& file, const std::wstring& key, FolderList& list,
                      std::wstring* refused) {
    return ImportListFile(file, key, list, AppendEntry, refused);
}

size_t ImportListFile(const std::wstring& file, const std::wstring& key, FolderList& list,
                      const EntryAppender& append, std::wstring* refused) {
    size_t appended = 0;
    try {
        // Kept in a set so that a long file does not cost a scan of the list
        // per entry.
        std::unordered_set<std::wstring> held;
        for (const FolderEntry& e : list) held.insert(EntryKey(e));
        for (const FolderEntry& entry : ReadListFile(file)) {
            std::wstring same = EntryKey(entry);
            if (held.count(same)) continue;
            size_t position = list.size();
            try {
                append(key, list, entry);
            } catch (...) {
                // Undo a half-done append: without its alias the store's
                // reader stops at this position, as the list now does.
                if (list.size() > position) list.resize(position);
                win::RegKey(key, false).DeleteValue(AliasName(position));
                throw;
            }
            // The append may have joined entries stored beyond a gap it
            // closed: they are held now too.
            for (size_t i = position + 1; i < list.size(); ++i) held.insert(EntryKey(list[i]));
            held.insert(std::move(same));
            ++appended;
        }
    } catch (const win::Error& e) {
        // What was appended stays in both places.
        if (refused) *refused = e.Message();
    } catch (...) {
        if (refused) *refused = L"The list file could not be read";
    }
    return appended;
}
