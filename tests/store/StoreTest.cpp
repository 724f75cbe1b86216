// The store against the real registry, under a key of the tests' own.
#include <gtest/gtest.h>

#include "store/Store.h"
#include "support/TestSupport.h"
#include "win/Error.h"

using namespace testing_support;

namespace {
const std::wstring kKey = L"Software\\PathnookStoreTest";

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kKey); }
    void TearDown() override { DeleteKeyTree(kKey); }
    void Put(size_t i, const std::wstring& alias, const std::wstring& path) {
        SetString(kKey, AliasName(i), alias);
        SetString(kKey, PathName(i), path);
    }
    FolderList Load() {
        FolderList list;
        LoadList(kKey, list);
        return list;
    }
    static FolderList Entries(int n) {
        FolderList list;
        for (int i = 0; i < n; ++i) list.push_back({L"a" + std::to_wstring(i), L"C:\\p" + std::to_wstring(i)});
        return list;
    }
};
}  // namespace

TEST_F(StoreTest, LoadStopsAtTheFirstIncompletePosition) {
    Put(0, L"zero", L"C:\\zero");
    SetString(kKey, L"N1", L"one");  // no P1
    Put(2, L"two", L"C:\\two");
    FolderList list = Load();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], (FolderEntry{L"zero", L"C:\\zero"}));
    auto values = ReadKeyValues(kKey);
    EXPECT_EQ(values[L"N2"], L"two");  // beyond the gap, untouched
    EXPECT_EQ(values[L"P2"], L"C:\\two");

    SetString(kKey, L"P1", L"");  // an empty value ends the list too
    EXPECT_EQ(Load().size(), 1u);
}

TEST_F(StoreTest, AppendAtAGapJoinsTheEntriesBeyondIt) {
    Put(0, L"zero", L"C:\\zero");
    Put(2, L"two", L"C:\\two");
    FolderList list = Load();
    ASSERT_EQ(list.size(), 1u);
    AppendEntry(kKey, list, {L"one", L"C:\\one"});
    auto values = ReadKeyValues(kKey);
    EXPECT_EQ(values[L"N1"], L"one");
    EXPECT_EQ(values[L"P1"], L"C:\\one");
    FolderList reloaded = Load();
    ASSERT_EQ(reloaded.size(), 3u);
    EXPECT_EQ(reloaded[2].Alias, L"two");
}

TEST_F(StoreTest, PositionsAreDecimalWithoutLeadingZeros) {
    FolderList list = Entries(12);
    RewriteEntries(kKey, list, 0, 11);
    auto values = ReadKeyValues(kKey);
    EXPECT_EQ(values.size(), 24u);
    EXPECT_EQ(values[L"N10"], L"a10");
    EXPECT_EQ(values[L"P11"], L"C:\\p11");
    EXPECT_EQ(values.count(L"N01"), 0u);
    EXPECT_EQ(Load(), list);
}

TEST_F(StoreTest, SeparatorIsOnlyTheExactPair) {
    EXPECT_TRUE((FolderEntry{L"*Separator*", L"-"}).IsSeparator());
    EXPECT_FALSE((FolderEntry{L"Tools", L"-"}).IsSeparator());
    EXPECT_FALSE((FolderEntry{L"*Separator*", L"C:\\"}).IsSeparator());
    EXPECT_FALSE((FolderEntry{L"*separator*", L"-"}).IsSeparator());
    Put(0, L"Tools", L"-");
    Put(1, L"*Separator*", L"C:\\");
    EXPECT_EQ(Load().size(), 2u);  // both ordinary entries
}

TEST_F(StoreTest, DeleteSlotRemovesBothValuesAndToleratesMissingOnes) {
    Put(0, L"zero", L"C:\\zero");
    DeleteSlot(kKey, 0);
    EXPECT_TRUE(ReadKeyValues(kKey).empty());
    DeleteSlot(kKey, 7);  // nothing there: no error
    DeleteKeyTree(kKey);
    DeleteSlot(kKey, 0);  // no key: nothing created
    HKEY h;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
}

TEST_F(StoreTest, RewriteWritesExactlyTheRangeAndIgnoresRangesPastTheEnd) {
    FolderList list = Entries(5);
    RewriteEntries(kKey, list, 2, 3);
    auto values = ReadKeyValues(kKey);
    EXPECT_EQ(values.size(), 4u);
    EXPECT_EQ(values[L"N2"], L"a2");
    EXPECT_EQ(values[L"P3"], L"C:\\p3");

    DeleteKeyTree(kKey);
    RewriteEntries(kKey, list, 5, 6);  // first past the end: nothing, not even the key
    HKEY h;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    RewriteEntries(kKey, list, 3, 5);  // last past the end: nothing written
    EXPECT_TRUE(ReadKeyValues(kKey).empty());
}

TEST_F(StoreTest, ValuesOfAnotherTypeRaiseAndEmptyOnesReadAsEmpty) {
    Put(0, L"zero", L"C:\\zero");
    SetDword(kKey, L"N1", 5);
    SetString(kKey, L"P1", L"C:\\one");
    FolderList list;
    try {
        LoadList(kKey, list);
        FAIL() << "expected an error";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'N1'");
    }
    EXPECT_EQ(list.size(), 1u);  // what was read before stays

    // An empty value of another type is simply empty.
    HKEY h;
    RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_ALL_ACCESS, &h);
    RegSetValueExW(h, L"N1", 0, REG_BINARY, nullptr, 0);
    RegCloseKey(h);
    EXPECT_EQ(Load().size(), 1u);
}

TEST_F(StoreTest, ExpandableStringsReadUnexpandedUpToTheirFirstNul) {
    HKEY h;
    RegCreateKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    const wchar_t alias[] = L"win\0hidden";
    RegSetValueExW(h, L"N0", 0, REG_SZ, (const BYTE*)alias, sizeof(alias));
    const wchar_t path[] = L"%WINDIR%\\Temp";
    RegSetValueExW(h, L"P0", 0, REG_EXPAND_SZ, (const BYTE*)path, sizeof(path));
    RegCloseKey(h);
    FolderList list = Load();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Alias, L"win");
    EXPECT_EQ(list[0].Path, L"%WINDIR%\\Temp");
}

TEST_F(StoreTest, UnicodeAliasesAndPathsRoundTrip) {
    FolderList list{{L"Έγγραφα", L"C:\\Документы\\文件"}};
    RewriteEntries(kKey, list, 0, 0);
    EXPECT_EQ(Load(), list);
}
