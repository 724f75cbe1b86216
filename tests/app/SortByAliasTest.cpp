// Sort by Alias as the user meets it: the rows of the list and the order
// stored in the registry, ascending and then descending.
#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "app/SortByAlias.h"

namespace {
using Entry = std::pair<std::wstring, std::wstring>;  // alias, path

std::vector<Entry> Pairs(const FolderList& list) {
    std::vector<Entry> out;
    for (auto& e : list) out.push_back({e.Alias, e.Path});
    return out;
}

// The list in the order a user would type it in.
const std::vector<Entry> kTyped{
    {L"beta", L"C:\\beta"},
    {L"*Separator*", L"-"},
    {L"\u00E9clair", L"C:\\eclair lower"},   // é
    {L"Zeta", L"C:\\zeta"},
    {L"alpha", L"C:\\alpha"},
    {L"\u0388\u03B3\u03B3\u03C1\u03B1\u03C6\u03B1", L"C:\\docs"},  // Greek
    {L"a_b", L"C:\\a_b"},
    {L"\u00C9clair", L"C:\\Eclair upper"},   // É
    {L"Alp", L"C:\\alp"},
    {L"2019 backups", L"C:\\backups"},
    {L"*Separator*", L"-"},
    {L"Ab", L"C:\\ab"},
};

// Letters a-z count as A-Z and nothing else is folded: symbols and digits
// by their character value (separators first), a shorter prefix before
// the longer alias, accented and other scripts after the Latin letters,
// with no locale's collation.
const std::vector<Entry> kAscending{
    {L"*Separator*", L"-"},
    {L"*Separator*", L"-"},
    {L"2019 backups", L"C:\\backups"},
    {L"Ab", L"C:\\ab"},
    {L"Alp", L"C:\\alp"},
    {L"alpha", L"C:\\alpha"},
    {L"a_b", L"C:\\a_b"},
    {L"beta", L"C:\\beta"},
    {L"Zeta", L"C:\\zeta"},
    {L"\u00C9clair", L"C:\\Eclair upper"},
    {L"\u00E9clair", L"C:\\eclair lower"},
    {L"\u0388\u03B3\u03B3\u03C1\u03B1\u03C6\u03B1", L"C:\\docs"},
};

class SortByAliasTest : public MainFormFixture {
protected:
    void FillStore() override {
        using namespace testing_support;
        SeedStore(0);
        for (size_t i = 0; i < kTyped.size(); ++i) {
            SetString(kFixtureStore, L"N" + std::to_wstring(i), kTyped[i].first);
            SetString(kFixtureStore, L"P" + std::to_wstring(i), kTyped[i].second);
        }
    }

    std::vector<Entry> Rows() const {
        std::vector<Entry> rows;
        HWND list = form->lvMain.Handle();
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            wchar_t alias[128] = {}, path[260] = {};
            ListView_GetItemText(list, i, 0, alias, 128);
            ListView_GetItemText(list, i, 1, path, 260);
            rows.push_back({alias, path});
        }
        return rows;
    }
    static std::vector<Entry> Stored() {
        auto values = testing_support::ReadKeyValues(kFixtureStore);
        std::vector<Entry> stored;
        for (size_t i = 0; values.count(L"N" + std::to_wstring(i)); ++i)
            stored.push_back({values[L"N" + std::to_wstring(i)], values[L"P" + std::to_wstring(i)]});
        return stored;
    }
};
}  // namespace

TEST_F(SortByAliasTest, TheRowsAndTheStoredOrderFollowTheAliasesThenReverseOnTheSecondSort) {
    ASSERT_EQ(Rows(), kTyped);
    form->lvMain.Select(4);
    form->aSort->Execute();
    EXPECT_EQ(Rows(), kAscending);
    EXPECT_EQ(Stored(), kAscending);
    EXPECT_EQ(form->lvMain.Selected(), 4);  // the row number stays selected

    form->aSort->Execute();
    std::vector<Entry> descending(kAscending.rbegin(), kAscending.rend());
    EXPECT_EQ(Rows(), descending);
    EXPECT_EQ(Stored(), descending);

    // What was stored is what a new start of the program shows.
    OpenForm();
    EXPECT_EQ(Rows(), descending);
}

// Aliases that differ only in the case of a-z are equal; where such
// entries end up is where the list's own exchange sort leaves them, which
// is not always the order they had.
TEST(SortByAlias, EntriesWithEqualAliasesLandWhereTheListsExchangeSortLeavesThem) {
    FolderList list{{L"b", L"C:\\1"}, {L"B", L"C:\\2"}, {L"a", L"C:\\3"}};
    SortByAlias(list, true);
    EXPECT_EQ(Pairs(list), (std::vector<Entry>{{L"a", L"C:\\3"}, {L"B", L"C:\\2"}, {L"b", L"C:\\1"}}));

    list = {{L"c", L"C:\\1"}, {L"a", L"C:\\2"}, {L"C", L"C:\\3"}, {L"A", L"C:\\4"}};
    SortByAlias(list, true);
    EXPECT_EQ(Pairs(list), (std::vector<Entry>{{L"a", L"C:\\2"}, {L"A", L"C:\\4"}, {L"C", L"C:\\3"}, {L"c", L"C:\\1"}}));

    list = {{L"a", L"C:\\1"}, {L"A", L"C:\\2"}, {L"b", L"C:\\3"}};
    SortByAlias(list, false);
    EXPECT_EQ(Pairs(list), (std::vector<Entry>{{L"b", L"C:\\3"}, {L"A", L"C:\\2"}, {L"a", L"C:\\1"}}));

    // Nothing to sort: one entry or none stays as it is.
    list = {{L"only", L"C:\\only"}};
    SortByAlias(list, false);
    EXPECT_EQ(Pairs(list), (std::vector<Entry>{{L"only", L"C:\\only"}}));
    list.clear();
    SortByAlias(list, true);
    EXPECT_TRUE(list.empty());
}
