#include <gtest/gtest.h>

#include <random>

#include "app/SortByAlias.h"

namespace {
std::vector<std::wstring> Aliases(const FolderList& list) {
    std::vector<std::wstring> out;
    for (auto& e : list) out.push_back(e.Alias);
    return out;
}

// The exchange sort exactly as the list command describes it, on strings.
void ReferenceSort(FolderList& list, bool ascending) {
    size_t n = list.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (ascending) {
            for (size_t j = i + 1; j < n; ++j)
                if (CompareAlias(list[i].Alias, list[j].Alias) > 0) std::swap(list[i], list[j]);
        } else {
            for (size_t j = n - 1; j > i; --j)
                if (CompareAlias(list[i].Alias, list[j].Alias) < 0) std::swap(list[i], list[j]);
        }
    }
}
}  // namespace

TEST(CompareAlias, FoldsOnlyAsciiLettersAndPutsPrefixesFirst) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
    } cases[] = {
        {L"alpha", L"ALPHA", 0},   {L"Alpha", L"beta", -1},  {L"*Separator*", L"Alpha", -1},
        {L"ab", L"abc", -1},       {L"abc", L"ab", 1},       {L"", L"", 0},
        {L"", L"a", -1},           {L"a_", L"A[", 1},        // '_' (0x5F) > '[' (0x5B): no folding of symbols
        {L"é", L"É", 1},           // only a-z fold
        {L"Zeta", L"alpha", 1},    {L"1", L"A", -1},
    };
    for (auto& c : cases) {
        int r = CompareAlias(c.a, c.b);
        int sign = r < 0 ? -1 : (r > 0 ? 1 : 0);
        EXPECT_EQ(sign, c.sign) << c.a << L" vs " << c.b;
    }
}

TEST(SortByAlias, AscendingThenDescendingOfTheDocumentedExample) {
    FolderList list{{L"beta", L"b"}, {L"Alpha", L"A"}, {L"*Separator*", L"-"}, {L"alpha", L"a"}};
    SortByAlias(list, true);
    EXPECT_EQ(Aliases(list), (std::vector<std::wstring>{L"*Separator*", L"Alpha", L"alpha", L"beta"}));
    SortByAlias(list, false);
    EXPECT_EQ(Aliases(list)[0], L"beta");
    EXPECT_EQ(Aliases(list)[3], L"*Separator*");
}

TEST(SortByAlias, MatchesTheExchangeSortOnEqualAliases) {
    std::mt19937 rng(42);
    const wchar_t* pool[] = {L"a", L"A", L"b", L"B", L"c", L"ab", L"*Separator*", L"Tools"};
    for (int round = 0; round < 200; ++round) {
        FolderList list;
        int n = 1 + (int)(rng() % 30);
        for (int i = 0; i < n; ++i) list.push_back({pool[rng() % 8], std::to_wstring(i)});
        for (bool ascending : {true, false}) {
            FolderList expected = list, actual = list;
            ReferenceSort(expected, ascending);
            SortByAlias(actual, ascending);
            ASSERT_EQ(actual, expected) << "round " << round;
        }
    }
}
