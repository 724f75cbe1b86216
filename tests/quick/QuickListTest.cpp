// Reading the list as the quick menu keeps it: the store's rules, a bad
// value, and rereading only after the key changed.
#include <gtest/gtest.h>

#include "QuickTestSupport.h"
#include "quick/QuickList.h"
#include "store/StoreNames.h"
#include "win/Registry.h"

using namespace testing_support;
using namespace quicktest;

namespace {
class QuickListTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(StoreKey); }
    void TearDown() override { DeleteKeyTree(StoreKey); }
};

FolderList Expect(std::initializer_list<FolderEntry> entries) { return FolderList(entries); }
}  // namespace

TEST_F(QuickListTest, ReadsInOrderStopsAtTheFirstGapAndKeepsSeparatorsAndUnicode) {
    WriteList({{L"Home", L"C:\\users"}, {L"*Separator*", L"-"}, {L"Документы 文件", L"C:\\Данные\\文件"}});
    SetString(StoreKey, L"N3", L"No path");  // P3 missing: the list ends before it
    SetString(StoreKey, L"N4", L"Beyond");
    SetString(StoreKey, L"P4", L"C:\\beyond");
    SetString(StoreKey, PicViewValue, L"0");
    SetString(StoreKey, ExploreFolderValue, L"1");
    QuickList list;
    EXPECT_TRUE(list.Refresh());
    EXPECT_EQ(list.Entries(), Expect({{L"Home", L"C:\\users"},
                                      FolderEntry::Separator(),
                                      {L"Документы 文件", L"C:\\Данные\\文件"}}));
    EXPECT_TRUE(list.Entries()[1].IsSeparator());
    EXPECT_FALSE(list.PicView());
    EXPECT_TRUE(list.ExploreFolder());
    EXPECT_TRUE(list.ReadError().empty());
}

TEST_F(QuickListTest, AWrongTypedValueEndsTheListThereWithoutAFault) {
    WriteList({{L"One", L"C:\\one"}, {L"Two", L"C:\\two"}});
    SetDword(StoreKey, L"P1", 7);
    SetString(StoreKey, L"N2", L"Three");
    SetString(StoreKey, L"P2", L"C:\\three");
    SetDword(StoreKey, ExploreFolderValue, 0);
    QuickList list;
    ASSERT_NO_THROW(list.Refresh());
    EXPECT_EQ(list.Entries(), Expect({{L"One", L"C:\\one"}}));
    EXPECT_NE(list.ReadError().find(L"'P1'"), std::wstring::npos) << list.ReadError();
    EXPECT_TRUE(list.ExploreFolder());  // a bad option reads as the manager's default
}

TEST_F(QuickListTest, OptionsReadAsTheManagerWritesThem) {
    WriteList({{L"One", L"C:\\one"}});
    QuickList missing;
    missing.Refresh();
    EXPECT_TRUE(missing.PicView());
    EXPECT_TRUE(missing.ExploreFolder());
    SetString(StoreKey, PicViewValue, L"1");
    SetString(StoreKey, ExploreFolderValue, L"0");
    QuickList set;
    set.Refresh();
    EXPECT_TRUE(set.PicView());
    EXPECT_FALSE(set.ExploreFolder());
}

TEST_F(QuickListTest, RereadsOnlyAfterAChangeAndOtherwiseMakesNoRegistryCall) {
    WriteList({{L"One", L"C:\\one"}});
    QuickList list;
    ASSERT_TRUE(list.Refresh());
    ASSERT_EQ(list.Reads(), 1);
    // The counter sees the calls a read makes, so that zero below means something.
    unsigned long before = win::RegistryCallCount();
    list.Reload();
    EXPECT_GT(win::RegistryCallCount(), before);

    before = win::RegistryCallCount();
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(list.Refresh());
    EXPECT_EQ(win::RegistryCallCount(), before);
    EXPECT_EQ(list.Reads(), 2);

    // A change while running: the manager appends an entry and renames one.
    SetString(StoreKey, L"N1", L"Two");
    SetString(StoreKey, L"P1", L"C:\\two");
    SetString(StoreKey, L"N0", L"Uno");
    ASSERT_TRUE(WaitUntil([&] { return list.Watch().Changed(); }))
        << "no change signalled";
    list.Reload();  // as the message loop does once the event fired
    EXPECT_EQ(list.Entries(), Expect({{L"Uno", L"C:\\one"}, {L"Two", L"C:\\two"}}));
    // A deleted value counts as a change too.
    SetString(StoreKey, L"N1", L"");
    EXPECT_TRUE(WaitUntil([&] { return list.Refresh(); }));
    EXPECT_EQ(list.Entries(), Expect({{L"Uno", L"C:\\one"}}));
}

TEST_F(QuickListTest, TheKeyDeletedAndMadeAgainIsStillWatched) {
    WriteList({{L"One", L"C:\\one"}});
    QuickList list;
    list.Refresh();
    DeleteKeyTree(StoreKey);
    EXPECT_TRUE(WaitUntil([&] { return list.Refresh(); }));
    EXPECT_TRUE(list.Entries().empty());
    WriteList({{L"Again", L"C:\\again"}});
    EXPECT_TRUE(WaitUntil([&] { return list.Refresh() && !list.Entries().empty(); }));
    EXPECT_EQ(list.Entries(), Expect({{L"Again", L"C:\\again"}}));
}
