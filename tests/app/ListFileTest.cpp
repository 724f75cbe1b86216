// List files against real INI files and the real registry.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "app/ListFile.h"
#include "support/TestSupport.h"
#include "win/Error.h"
#include "win/IniFile.h"

using namespace testing_support;

namespace {
const std::wstring kKey = L"Software\\PathnookListFileTest";

std::wstring Read(const std::wstring& file, const std::wstring& key, size_t size = 65536) {
    std::vector<wchar_t> buffer(size);
    GetPrivateProfileStringW(L"Pathnook", key.c_str(), L"<missing>", buffer.data(), (DWORD)size,
                             file.c_str());
    return buffer.data();
}

// The import's reading done the slow way, one position at a time up to Count.
FolderList ReadEveryPosition(const std::wstring& file) {
    // Not GetPrivateProfileInt: a count such as "2x" is not an integer and reads as 0.
    int count = win::ParseInteger(Read(file, L"Count"), 0);
    FolderList out;
    for (int i = 0; i < count; ++i) {
        FolderEntry e{Read(file, AliasName(i)), Read(file, PathName(i))};
        if (e.Alias == L"<missing>") e.Alias.clear();
        if (e.Path == L"<missing>") e.Path.clear();
        if (!e.Alias.empty() && !e.Path.empty()) out.push_back(e);
    }
    return out;
}

std::string Ansi(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), out.data(), n, nullptr, nullptr);
    return out;
}

std::string FirstBytes(const std::wstring& file) {
    char bytes[2] = {};
    DWORD got = 0;
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    ReadFile(h, bytes, 2, &got, nullptr);
    CloseHandle(h);
    return std::string(bytes, got);
}

class ListFileTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kKey); }
    void TearDown() override { DeleteKeyTree(kKey); }
    FolderList Stored() {
        FolderList list;
        LoadList(kKey, list);
        return list;
    }
    // Imports into `list`, checking that the store holds what the list holds.
    size_t Import(const std::wstring& file, FolderList& list) {
        size_t n = ImportListFile(file, kKey, list);
        EXPECT_EQ(Stored(), list);
        return n;
    }
    TempDir dir;
    std::wstring file = dir.File(L"list.pnx");
};
}  // namespace

TEST(ListFileNameTest, AddsTheExtensionOnlyWhenMissing) {
    EXPECT_EQ(ListFileName(L"C:\\b\\list.PNX"), L"C:\\b\\list.PNX");
    EXPECT_EQ(ListFileName(L"C:\\b\\list.pnx"), L"C:\\b\\list.pnx");
    EXPECT_EQ(ListFileName(L"C:\\b\\list.Pnx"), L"C:\\b\\list.Pnx");
    EXPECT_EQ(ListFileName(L"C:\\b\\list"), L"C:\\b\\list.pnx");
    EXPECT_EQ(ListFileName(L"C:\\b\\list.txt"), L"C:\\b\\list.txt.pnx");
    EXPECT_EQ(ListFileName(L"C:\\old.pnx\\list"), L"C:\\old.pnx\\list.pnx");
    EXPECT_EQ(ListFileName(L"C:\\b\\list.pnxx"), L"C:\\b\\list.pnxx.pnx");
}

TEST_F(ListFileTest, EmptyListWritesCountZeroAndNothingElse) {
    ExportListFile(file, {});
    std::wstring text = ReadFileText(file);
    EXPECT_NE(text.find(L"[Pathnook]"), std::wstring::npos);
    EXPECT_EQ(Read(file, L"Count"), L"0");
    EXPECT_EQ(text.find(L"N0"), std::wstring::npos);
    EXPECT_EQ(text.find(L"P0"), std::wstring::npos);
}

TEST_F(ListFileTest, ExportUpdatesAnExistingFileKeyByKey) {
    WriteFileText(file, "[Other]\r\nKeep=1\r\n[Pathnook]\r\nExtra=x\r\n");
    ExportListFile(file, {{L"a", L"C:\\a"}, {L"b", L"C:\\b"}, FolderEntry::Separator()});
    EXPECT_EQ(Read(file, L"Count"), L"3");
    EXPECT_EQ(Read(file, L"N2"), L"*Separator*");
    EXPECT_EQ(Read(file, L"P2"), L"-");
    ExportListFile(file, {{L"z", L"C:\\z"}});
    EXPECT_EQ(Read(file, L"Count"), L"1");
    EXPECT_EQ(Read(file, L"N0"), L"z");
    EXPECT_EQ(Read(file, L"N1"), L"b");  // left by the longer export
    EXPECT_EQ(Read(file, L"Extra"), L"x");
    wchar_t keep[8];
    GetPrivateProfileStringW(L"Other", L"Keep", L"", keep, 8, file.c_str());
    EXPECT_STREQ(keep, L"1");
}

TEST_F(ListFileTest, ImportAppendsInFileOrderAndReimportChangesNothing) {
    FolderList exported{{L"one", L"C:\\one"}, FolderEntry::Separator(), {L"two", L"D:\\two\\"},
                        {L"three", L"C:\\three"}};
    ExportListFile(file, exported);
    FolderList list;
    EXPECT_EQ(Import(file, list), 4u);
    EXPECT_EQ(list, exported);
    auto values = ReadKeyValues(kKey);
    EXPECT_EQ(values[L"N1"], L"*Separator*");
    EXPECT_EQ(values[L"P2"], L"D:\\two\\");

    EXPECT_EQ(Import(file, list), 0u);
    EXPECT_EQ(list, exported);
    EXPECT_EQ(ReadKeyValues(kKey).size(), 8u);
}

TEST_F(ListFileTest, PathsCompareWithoutCaseAndTrailingBackslashButAliasesExactly) {
    FolderList list{{L"Docs", L"C:\\Users\\Me\\Docs"}, {L"Root", L"c:\\"}};
    RewriteEntries(kKey, list, 0, list.size() - 1);
    ExportListFile(file, {{L"Docs", L"c:\\USERS\\me\\docs\\"},  // present
                          {L"Root", L"C:"},                     // "C:\" once completed
                          {L"docs", L"C:\\Users\\Me\\Docs"},    // another alias
                          {L"Docs", L"C:\\Users\\Me\\Docs2"},   // another path
                          {L"new", L"E:\\x"},
                          {L"new", L"e:\\X\\"}});  // a row appended by this import
    EXPECT_EQ(Import(file, list), 3u);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[2], (FolderEntry{L"docs", L"C:\\Users\\Me\\Docs"}));
    EXPECT_EQ(list[3], (FolderEntry{L"Docs", L"C:\\Users\\Me\\Docs2"}));
    EXPECT_EQ(list[4], (FolderEntry{L"new", L"E:\\x"}));
    // Only ASCII letters are folded: "É" and "é" are different paths.
    ExportListFile(file, {{L"e", L"C:\\\x00E9"}, {L"e", L"C:\\\x00C9"}});
    EXPECT_EQ(Import(file, list), 2u);
}

TEST_F(ListFileTest, SeparatorsArriveOnlyWhenTheListHasNone) {
    ExportListFile(file, {FolderEntry::Separator(), {L"a", L"C:\\a"}, FolderEntry::Separator()});
    FolderList without{{L"x", L"C:\\x"}};
    RewriteEntries(kKey, without, 0, 0);
    EXPECT_EQ(Import(file, without), 2u);
    EXPECT_EQ(without, (FolderList{{L"x", L"C:\\x"}, FolderEntry::Separator(), {L"a", L"C:\\a"}}));

    DeleteKeyTree(kKey);
    FolderList with{FolderEntry::Separator()};
    RewriteEntries(kKey, with, 0, 0);
    EXPECT_EQ(Import(file, with), 1u);
    EXPECT_EQ(with, (FolderList{FolderEntry::Separator(), {L"a", L"C:\\a"}}));
}

TEST_F(ListFileTest, EntriesWithAnEmptyAliasOrPathAreSkipped) {
    WriteFileText(file,
                  "[Pathnook]\r\nCount=5\r\nN0=a\r\nP0=C:\\a\r\nN1=\r\nP1=C:\\b\r\nN2=c\r\n"
                  "N3=d\r\nP3=C:\\d\r\nN4=e\r\nP4=\"\"\r\n");
    FolderList list;
    EXPECT_EQ(Import(file, list), 2u);  // Import checks that the store shows both
    EXPECT_EQ(list, (FolderList{{L"a", L"C:\\a"}, {L"d", L"C:\\d"}}));
}

TEST_F(ListFileTest, TextOutsideTheCodePageRoundTrips) {
    FolderList exported{{L"\x0395\x03bb\x03bb\x03b7\x03bd\x03b9\x03ba\x03ac",
                         L"C:\\\x0388\x03b3\x03b3\x03c1\x03b1\x03c6\x03b1"},
                        {L"\x0414\x043e\x043a\x0443\x043c\x0435\x043d\x0442\x044b",
                         L"D:\\\x041f\x0430\x043f\x043a\x0430\\\x0444\x0430\x0439\x043b"},
                        {L"\x6587\x4ef6", L"E:\\\x6211\x7684\x6587\x6863\\"}};
    ExportListFile(file, exported);
    EXPECT_EQ(FirstBytes(file), "\xFF\xFE");  // a new file is UTF-16
    FolderList list;
    EXPECT_EQ(Import(file, list), 3u);
    EXPECT_EQ(list, exported);

    // An older file in the code page is converted when the list needs it,
    // keeping what else it holds.
    std::wstring old = dir.File(L"old.pnx");
    WriteFileText(old, "[Keep]\r\nK=" + Ansi(L"caf\x00e9") + "\r\n[Pathnook]\r\nCount=9\r\nN8=x\r\n");
    ExportListFile(old, exported);
    EXPECT_EQ(list, ReadListFile(old));
    EXPECT_EQ(Read(old, L"N8"), L"x");
    wchar_t keep[16];
    GetPrivateProfileStringW(L"Keep", L"K", L"", keep, 16, old.c_str());
    if (Ansi(L"caf\x00e9").size() == 4) {
        EXPECT_STREQ(keep, L"caf\x00e9");
    }
    EXPECT_EQ(FirstBytes(old), "\xFF\xFE");
}

TEST_F(ListFileTest, CodePageFilesStillImport) {
    std::wstring alias = L"Caf\x00e9", path = L"C:\\Men\x00fc";
    BOOL lost = FALSE;
    std::wstring both = alias + path;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, both.c_str(), -1, nullptr, 0, nullptr, &lost);
    if (lost) GTEST_SKIP() << "code page " << GetACP() << " lacks the test's letters";
    WriteFileText(file, "[Pathnook]\r\nCount=1\r\nN0=" + Ansi(alias) + "\r\nP0=" + Ansi(path) + "\r\n");
    FolderList list;
    EXPECT_EQ(Import(file, list), 1u);
    EXPECT_EQ(list, (FolderList{{alias, path}}));
    // Writing plain text into it keeps it in the code page.
    ExportListFile(file, list);
    EXPECT_EQ(Read(file, L"N0"), alias);
}

TEST_F(ListFileTest, BlanksAndQuotesAroundValuesSurvive) {
    FolderList exported{{L" lead", L"C:\\trail "},
                        {L"\"quoted\"", L"'C:\\single'"},
                        {L"'", L"\""},
                        {L"a=b;c", L"C:\\x"}};
    ExportListFile(file, exported);
    EXPECT_EQ(ReadListFile(file), exported);
}

TEST_F(ListFileTest, LongValuesComeBackWhole) {
    FolderList exported;
    for (size_t n : {2046, 2047, 2048, 5000})
        exported.push_back({L"len" + std::to_wstring(n), L"C:\\" + std::wstring(n - 3, L'x')});
    ExportListFile(file, exported);
    FolderList list;
    EXPECT_EQ(Import(file, list), 4u);
    EXPECT_EQ(list, exported);
}

TEST_F(ListFileTest, MalformedFilesImportWhatTheyHoldSoundly) {
    struct Case {
        const char* name;
        std::string text;
        size_t expected;
    };
    const std::string body = "N0=a\r\nP0=C:\\a\r\nN1=b\r\nP1=C:\\b\r\n";
    const Case cases[] = {
        {"no section", "[Other]\r\nCount=2\r\n" + body, 0},
        {"count missing", "[Pathnook]\r\n" + body, 0},
        {"count not numeric", "[Pathnook]\r\nCount=two\r\n" + body, 0},
        {"count with trailing text", "[Pathnook]\r\nCount=2x\r\n" + body, 0},
        {"count negative", "[Pathnook]\r\nCount=-5\r\n" + body, 0},
        {"count hexadecimal", "[Pathnook]\r\nCount=$2\r\n" + body, 2},
        {"count smaller", "[Pathnook]\r\nCount=1\r\n" + body, 1},
        {"count zero", "[Pathnook]\r\nCount=0\r\n" + body, 0},
        {"empty file", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteKeyTree(kKey);
        WriteFileText(file, c.text);
        FolderList list;
        EXPECT_EQ(Import(file, list), c.expected);
        EXPECT_EQ(list, ReadEveryPosition(file));
    }
    FolderList list;
    EXPECT_EQ(Import(dir.File(L"missing.pnx"), list), 0u);
    EXPECT_TRUE(list.empty());
}

TEST_F(ListFileTest, ReadingTheSectionOnceMatchesReadingEveryPosition) {
    std::string longValue(3000, 'v');
    WriteFileText(file,
                  "; comment\r\n[pathnook]\r\ncount = 14\r\n"
                  "N0 = spaced \r\nP0=  C:\\spaced\r\n"
                  "n1=lower\r\np1=C:\\lower\r\n"
                  "N2=first\r\nP2=C:\\first\r\nN2=second\r\n"
                  "N03=leading zero\r\nP03=C:\\zero\r\n"
                  "N4=\"quoted\"\r\nP4='C:\\single'\r\n"
                  "N5=a=b\r\nP5=C:\\eq=\r\n"
                  "N6\r\nP6=C:\\nokey\r\n"
                  "N9=gap\r\nP9=C:\\gap\r\n"
                  "N10=long\r\nP10=" + longValue + "\r\n"
                  "N13=last\r\nP13=C:\\last\r\n"
                  "N14=beyond\r\nP14=C:\\beyond\r\n"
                  "[Pathnook]\r\nN11=second section\r\nP11=C:\\s\r\n");
    FolderList expected = ReadEveryPosition(file);
    EXPECT_EQ(ReadListFile(file), expected);
    EXPECT_GE(expected.size(), 6u);
}

TEST_F(ListFileTest, AHugeCountCostsOnlyWhatTheFileHolds) {
    for (const char* count : {"2147483647", "2000000000"}) {
        SCOPED_TRACE(count);
        DeleteKeyTree(kKey);
        WriteFileText(file, std::string("[Pathnook]\r\nCount=") + count +
                                "\r\nN0=a\r\nP0=C:\\a\r\nN7=b\r\nP7=C:\\b\r\nN2147483646=c\r\n"
                                "P2147483646=C:\\c\r\nN2147483647=d\r\nP2147483647=C:\\d\r\n");
        auto start = std::chrono::steady_clock::now();
        FolderList list;
        size_t n = Import(file, list);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 2.0);
        bool full = std::string(count) == "2147483647";
        EXPECT_EQ(n, full ? 3u : 2u);
        FolderList expected{{L"a", L"C:\\a"}, {L"b", L"C:\\b"}};
        if (full) expected.push_back({L"c", L"C:\\c"});
        EXPECT_EQ(list, expected);
    }
}

TEST_F(ListFileTest, AFailedStoreWriteLeavesListAndStoreAlike) {
    ExportListFile(file, {{L"a", L"C:\\a"}, {L"b", L"C:\\b"}, {L"c", L"C:\\c"}});
    SetString(kKey, L"P1", L"C:\\stale");  // beyond the list's end, left by someone
    FolderList list;
    // Writes the alias, then fails on the path, as a refused registry write does.
    auto failOnB = [](const std::wstring& key, FolderList& l, const FolderEntry& e) {
        if (e.Alias != L"b") return AppendEntry(key, l, e);
        l.push_back(e);
        WriteValue(key, AliasName(l.size() - 1), e.Alias);
        throw win::Error(L"Failed to set data for 'P1'");
    };
    EXPECT_EQ(ImportListFile(file, kKey, list, failOnB), 1u);  // no error escapes
    EXPECT_EQ(list, (FolderList{{L"a", L"C:\\a"}}));
    EXPECT_EQ(Stored(), list);
}

TEST_F(ListFileTest, ExportToAFolderThatCannotBeWrittenRaises) {
    FolderList list{{L"a", L"C:\\a"}};
    RewriteEntries(kKey, list, 0, 0);
    auto before = ReadKeyValues(kKey);
    std::wstring target = dir.File(L"no such folder\\list.pnx");
    try {
        ExportListFile(target, list);
        FAIL() << "no error";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message(), L"Unable to write to " + target);
    }
    EXPECT_EQ(list, (FolderList{{L"a", L"C:\\a"}}));
    EXPECT_EQ(ReadKeyValues(kKey), before);
    EXPECT_EQ(GetFileAttributesW(target.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ListFileTest, ALongFileImportsInTimeItsLength) {
    // Every entry new, so each is checked against all before it.
    std::string text = "[Pathnook]\r\nCount=2147483647\r\n";
    const int n = 3000;
    for (int i = 0; i < n; ++i) {
        std::string k = std::to_string(i);
        text.append("N").append(k).append("=a").append(k).append("\r\nP").append(k);
        text.append("=C:\\").append(k).append("\r\n");
    }
    WriteFileText(file, text);
    auto start = std::chrono::steady_clock::now();
    FolderList list;
    size_t appended = ImportListFile(file, kKey, list);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(appended, (size_t)n);
    EXPECT_EQ(list.back(), (FolderEntry{L"a2999", L"C:\\2999"}));
    EXPECT_EQ(Stored().size(), (size_t)n);
    std::printf("imported %d entries in %.2f s\n", n, seconds);
    EXPECT_LT(seconds, 10.0);
}

TEST_F(ListFileTest, AnAppendThatClosesAGapTakesInTheEntriesBeyondIt) {
    SetString(kKey, L"N0", L"zero");
    SetString(kKey, L"P0", L"C:\\zero");
    SetString(kKey, L"N2", L"two");  // beyond the gap at 1, not part of the list
    SetString(kKey, L"P2", L"C:\\two");
    FolderList list = Stored();
    ASSERT_EQ(list.size(), 1u);
    ExportListFile(file, {{L"one", L"C:\\one"}});
    EXPECT_EQ(Import(file, list), 1u);  // Import checks list and store agree
    EXPECT_EQ(list, (FolderList{{L"zero", L"C:\\zero"}, {L"one", L"C:\\one"}, {L"two", L"C:\\two"}}));
}
