#include "app/SortByAlias.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {
wchar_t Fold(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; }
}  // namespace

int CompareAlias(const std::wstring& a, const std::wstring& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = Fold(a[i]), y = Fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void SortByAlias(FolderList& list, bool ascending) {
    const size_t n = list.size();
    if (n < 2) return;
    // Rank the aliases once so that the quadratic exchange loop compares
    // integers: same outcome as comparing the strings, at a fraction of the cost.
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        return CompareAlias(list[x].Alias, list[y].Alias) < 0;
    });
    std::vector<unsigned> rank(n);
    unsigned r = 0;
    for (size_t k = 0; k < n; ++k) {
        if (k > 0 && CompareAlias(list[order[k - 1]].Alias, list[order[k]].Alias) != 0) ++r;
        rank[order[k]] = r;
    }
    std::vector<size_t> slot(n);  // slot[i]: the entry now at position i
    std::iota(slot.begin(), slot.end(), 0);
    for (size_t i = 0; i + 1 < n; ++i) {
        if (ascending) {
            for (size_t j = i + 1; j < n; ++j)
                if (rank[slot[i]] > rank[slot[j]]) std::swap(slot[i], slot[j]);
        } else {
            for (size_t j = n - 1; j > i; --j)
                if (rank[slot[i]] < rank[slot[j]]) std::swap(slot[i], slot[j]);
        }
    }
    FolderList sorted;
    sorted.reserve(n);
    for (size_t i = 0; i < n; ++i) sorted.push_back(std::move(list[slot[i]]));
    list = std::move(sorted);
}
