// Finding favourites by what is typed: any part of an alias or a path,
// whatever the case and accents, in every script.
#include <gtest/gtest.h>

#include "quick/FolderFinder.h"

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
