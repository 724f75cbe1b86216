#include "quick/FolderFinder.h"

#include <windows.h>

std::wstring FoldForFind(const std::wstring& text) {
    if (text.empty()) return text;
    // Decomposed, so that an accent is a mark of its own beside its letter.
    int n = NormalizeString(NormalizationD, text.c_str(), (int)text.size(), nullptr, 0);
    std::wstring decomposed(n > 0 ? (size_t)n : 0, L'\0');
    if (n > 0) n = NormalizeString(NormalizationD, text.c_str(), (int)text.size(), decomposed.data(), n);
    decomposed.resize(n > 0 ? (size_t)n : 0);
    if (decomposed.empty()) decomposed = text;
    std::vector<WORD> types(decomposed.size());
    GetStringTypeW(CT_CTYPE3, decomposed.c_str(), (int)decomposed.size(), types.data());
    std::wstring folded;
    folded.reserve(decomposed.size());
    for (size_t i = 0; i < decomposed.size(); ++i)
        if (!(types[i] & C3_NONSPACING)) folded.push_back(decomposed[i]);
    CharLowerBuffW(folded.data(), (DWORD)folded.size());
    for (wchar_t& c : folded)
        if (c == L'\u03c2') c = L'\u03c3';  // final sigma
    return folded;
}

void FolderFinder::Index(const FolderList& entries) {
    lastKey_.clear();
    lastFound_.clear();
    folded_.clear();
    folded_.reserve(entries.size());
    for (const FolderEntry& e : entries) folded_.push_back(e.IsSeparator() ? std::wstring() : FoldForFind(e.Alias + L"\n" + e.Path));
}

std::vector<size_t> FolderFinder::Find(const std::wstring& typed, size_t limit, bool* more) const {
    std::vector<size_t> found;
    if (more) *more = false;
    std::wstring key = FoldForFind(typed);
    if (key.empty()) return found;
    // A key that goes on from the last one finds among what that found:
    // each letter typed scans fewer texts.
    const bool narrowing = !lastKey_.empty() && key.compare(0, lastKey_.size(), lastKey_) == 0;
    const size_t count = narrowing ? lastFound_.size() : folded_.size();
    bool cut = false;
    for (size_t k = 0; k < count; ++k) {
        const size_t i = narrowing ? lastFound_[k] : k;
        if (folded_[i].empty() || folded_[i].find(key) == std::wstring::npos) continue;
        if (found.size() == limit) {
            cut = true;
            break;
        }
        found.push_back(i);
    }
    if (more) *more = cut;
    // Only a whole answer can be narrowed later.
    lastKey_ = cut ? std::wstring() : key;
    lastFound_ = cut ? std::vector<size_t>() : found;
    return found;
}
