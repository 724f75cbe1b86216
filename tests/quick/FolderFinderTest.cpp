// Finding favourites by what is typed: any part of an alias or a path,
// whatever the case and accents, in every script.
#include <gtest/gtest.h>

#include "quick/FolderFinder.h"
#include "win/Error.h"

namespace {
const FolderList kList{
    {L"Documents", L"C:\\Users\\me\\Documents"},
    FolderEntry::Separator(),
    {L"Café Photos", L"D:\\Bilder\\Été"},
    {L"Έγγραφα", L"C:\\Έγγραφα"},
    {L"Проекты", L"C:\\Проекты"},
    {L"数据", L"C:\\数据"},
    {L"Tools", L"C:\\Program Files\\tools"},
};

std::vector<size_t> Find(const std::wstring& typed, size_t limit = 100, bool* more = nullptr) {
    FolderFinder finder;
    finder.Index(kList);
    return finder.Find(typed, limit, more);
}
}  // namespace

TEST(FolderFinder, MatchesAnyPartOfAliasOrPathWhateverTheCaseAndAccents) {
    EXPECT_EQ(Find(L"docu"), (std::vector<size_t>{0}));
    EXPECT_EQ(Find(L"MENTS"), (std::vector<size_t>{0}));
    EXPECT_EQ(Find(L"cafe"), (std::vector<size_t>{2}));  // é typed as e
    EXPECT_EQ(Find(L"ÉTÉ"), (std::vector<size_t>{2}));   // and the other way, in the path
    EXPECT_EQ(Find(L"bilder"), (std::vector<size_t>{2}));
    EXPECT_EQ(Find(L"program files"), (std::vector<size_t>{6}));
    EXPECT_EQ(Find(L"c:\\"), (std::vector<size_t>{0, 3, 4, 5, 6}));  // the separator never
    EXPECT_TRUE(Find(L"zz").empty());
    EXPECT_TRUE(Find(L"").empty());
    EXPECT_TRUE(Find(L"-").empty());
}

TEST(FolderFinder, FindsInEveryScript) {
    EXPECT_EQ(Find(L"εγγραφα"), (std::vector<size_t>{3}));  // no tonos, lower case
    EXPECT_EQ(Find(L"ΓΡΑΦ"), (std::vector<size_t>{3}));
    EXPECT_EQ(Find(L"проект"), (std::vector<size_t>{4}));
    EXPECT_EQ(Find(L"据"), (std::vector<size_t>{5}));
    EXPECT_EQ(FoldForFind(L"ΟΔΟΣ"), FoldForFind(L"οδος"));  // final sigma
}

TEST(FolderFinder, StopsAtTheLimitAndSaysMoreWereLeft) {
    bool more = false;
    EXPECT_EQ(Find(L"c:\\", 2, &more), (std::vector<size_t>{0, 3}));
    EXPECT_TRUE(more);
    Find(L"c:\\", 5, &more);
    EXPECT_FALSE(more);
}

// Each letter typed searches among what the shorter text found; the answers
// are those of a search of every entry, whichever way the text went.
TEST(FolderFinder, ALongerTextFindsWhatASearchOfEveryEntryFinds) {
    FolderList entries;
    for (int i = 0; i < 300; ++i) entries.push_back({L"Folder " + std::to_wstring(i), L"C:\\f" + std::to_wstring(i)});
    entries[7].Alias = L"Caf\u00e9 12";
    FolderFinder typing;
    typing.Index(entries);
    auto fresh = [&](const std::wstring& text, size_t limit) {
        FolderFinder finder;
        finder.Index(entries);
        return finder.Find(text, limit);
    };
    for (const wchar_t* text : {L"1", L"12", L"123", L"12", L"1", L"f1", L"f12", L"caf", L"cafe", L"caf\u00e9 1"})
        EXPECT_EQ(typing.Find(text, entries.size()), fresh(text, entries.size())) << win::Narrow(text);
    // A search cut at its limit is not narrowed from: "1" finds 3 of many,
    // "12" must still find all of its own.
    typing.Find(L"1", 3);
    EXPECT_EQ(typing.Find(L"12", entries.size()), fresh(L"12", entries.size()));
    // A new list is searched anew.
    typing.Find(L"fold", entries.size());
    entries[0].Alias = L"Foldable";
    entries[1].Alias = L"Other";
    typing.Index(entries);
    EXPECT_EQ(typing.Find(L"folda", entries.size()), fresh(L"folda", entries.size()));
}
