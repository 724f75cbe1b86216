#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "win/Error.h"
#include "win/FileDialog.h"
#include "win/IniFile.h"

using namespace testing_support;

TEST(ParseInteger, AcceptsDecimalAndTheThreeHexForms) {
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {
        {L"42", 42},          {L"-7", -7},          {L"$1F", 31},       {L"0x1f", 31},
        {L"0X10", 16},        {L"$FFFFFFFF", -1},   {L"2147483647", 2147483647},
        {L"-2147483648", (int)0x80000000},          {L"2147483648", 99},  // out of range
        {L"12abc", 99},       {L"abc", 99},         {L"", 99},          {L"$", 99},
        {L"0x", 99},          {L"1.5", 99},         {L"$100000000", 99}, {L" 5", 5},
    };
    for (auto& c : cases) EXPECT_EQ(win::ParseInteger(c.text, 99), c.value) << c.text;
}

TEST(IniFile, ReadsDefaultsAndWritesOneKeyAtATime) {
    TempDir dir;
    win::IniFile ini(dir.File(L"a.ini"));
    EXPECT_EQ(ini.ReadInteger(L"S", L"K", 5), 5);  // no file
    EXPECT_TRUE(ini.ReadBool(L"S", L"B", true));
    ini.WriteInteger(L"S", L"K", 12);
    ini.WriteBool(L"S", L"B", false);
    ini.WriteString(L"T", L"X", L"$10");
    EXPECT_EQ(ini.ReadInteger(L"S", L"K", 5), 12);
    EXPECT_FALSE(ini.ReadBool(L"S", L"B", true));
    EXPECT_EQ(ini.ReadInteger(L"T", L"X", 0), 16);
    EXPECT_TRUE(ini.KeyExists(L"S", L"K"));
    EXPECT_FALSE(ini.KeyExists(L"S", L"Missing"));
    std::wstring text = ReadFileText(ini.Path());
    EXPECT_NE(text.find(L"[S]"), std::wstring::npos);
    EXPECT_NE(text.find(L"K=12"), std::wstring::npos);
}

TEST(IniFile, AFailedWriteRaisesWithTheFullPath) {
    TempDir dir;
    std::wstring path = dir.File(L"missing-folder\\b.ini");
    win::IniFile ini(path);
    try {
        ini.WriteString(L"S", L"K", L"v");
        FAIL() << "expected an error";
    } catch (const win::Error& e) {
        EXPECT_EQ(e.Message(), L"Unable to write to " + path);
    }
}

TEST(IniFile, AReadOnlyFileOrADirectoryInItsPlaceCannotBeWritten) {
    TempDir dir;
    std::wstring path = dir.File(L"ro.ini");
    WriteFileText(path, "[S]\r\nK=1\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    win::IniFile ini(path);
    EXPECT_THROW(ini.WriteString(L"S", L"K", L"2"), win::Error);
    EXPECT_EQ(ini.ReadInteger(L"S", L"K", 0), 1);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    std::wstring folder = dir.File(L"dir.ini");
    CreateDirectoryW(folder.c_str(), nullptr);
    win::IniFile notAFile(folder);
    EXPECT_THROW(notAFile.WriteString(L"S", L"K", L"2"), win::Error);
    EXPECT_EQ(notAFile.ReadInteger(L"S", L"K", 7), 7);
}

TEST(FileDialogTest, FilterTakesTheDoubleNulForm) {
    using namespace std::string_literals;
    EXPECT_EQ(win::FilterToWindows(L"Backup files (*.pnx)|*.PNX|All files (*.*)| *.*"),
              L"Backup files (*.pnx)\0*.PNX\0All files (*.*)\0 *.*\0\0"s);
    EXPECT_EQ(win::FilterToWindows(L""), L"\0\0"s);
}
