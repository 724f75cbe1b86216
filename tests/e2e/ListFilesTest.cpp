// Export and import driven through the real program: its File menu
// commands, the common file dialogs, its questions, the file and the store.
#include <gtest/gtest.h>

#include <map>

#include "app/CommandIds.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";
constexpr int kFileNameBox = 0x47C;  // cmb13

std::wstring Ini(const std::wstring& file, const std::wstring& key) {
    wchar_t buffer[4096];
    GetPrivateProfileStringW(L"Pathnook", key.c_str(), L"<missing>", buffer, 4096, file.c_str());
    return buffer;
}


class ListFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(kStore);
        SetString(kStore + L"\\Install", L"Seeded", L"1");
    }
    void TearDown() override { DeleteKeyTree(kStore); }

    void Store(const std::map<int, std::pair<std::wstring, std::wstring>>& entries) {
        for (auto& [i, e] : entries) {
            SetString(kStore, L"N" + std::to_wstring(i), e.first);
            SetString(kStore, L"P" + std::to_wstring(i), e.second);
        }
    }

    // Opens a command's file dialog, types the name and presses its OK
    // button (or cancels it when the name is empty).
    void ChooseFile(PathnookProcess& app, unsigned command, const std::wstring& title,
                    const std::wstring& name) {
        app.Command(command);
        // The first file dialog of a fresh Wine prefix takes long to come up.
        HWND dialog = FindDialogOf(app.Id(), title, 30000);
        ASSERT_TRUE(dialog) << "no dialog " << testing::PrintToString(title);
        if (name.empty()) {
            PressButton(dialog, IDCANCEL);
        } else {
            HWND box = GetDlgItem(dialog, kFileNameBox);
            ASSERT_TRUE(box);
            HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
            HWND edit = FindWindowExW(combo ? combo : box, nullptr, L"Edit", nullptr);
            ASSERT_TRUE(edit);
            SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)name.c_str());
            PressButton(dialog, IDOK);
        }
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 15000));
        // Answered only when the command has finished or waits in a message box.
        app.RowCount();
    }

    TempDir dir;
};
}  // namespace

TEST_F(ListFilesTest, ExportAsksBeforeOverwritingAndImportMergesIntoListAndStore) {
    const std::wstring greek = L"C:\\\x0388\x03b3\x03b3\x03c1\x03b1\x03c6\x03b1";
    const std::wstring chinese = L"D:\\\x6211\x7684\x6587\x6863";
    Store({{0, {L"Windows", L"C:\\windows"}}, {1, {L"*Separator*", L"-"}}, {2, {L"Docs", greek}},
           {3, {L"\x6587\x4ef6", chinese}}});
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(app.RowCount(), 4);

    // A name without extension gets ".pnx"; the file holds the list as it is.
    const std::wstring file = dir.File(L"backup.pnx");
    ChooseFile(app, cmdExport, L"Export Alias and Path", dir.File(L"backup"));
    ASSERT_TRUE(WaitUntil([&] { return Ini(file, L"Count") == L"4"; }));
    EXPECT_EQ(Ini(file, L"N0"), L"Windows");
    EXPECT_EQ(Ini(file, L"P1"), L"-");
    EXPECT_EQ(Ini(file, L"P2"), greek);
    EXPECT_EQ(Ini(file, L"N3"), L"\x6587\x4ef6");
    EXPECT_EQ(Ini(file, L"P3"), chinese);

    // Choosing it again, in capitals, asks first; No leaves the file alone.
    const std::wstring upper = dir.File(L"backup.PNX");
    WritePrivateProfileStringW(L"Pathnook", L"Count", L"99", file.c_str());
    ChooseFile(app, cmdExport, L"Export Alias and Path", upper);
    HWND ask = FindDialogOf(app.Id(), L"Pathnook");
    ASSERT_TRUE(ask);
    EXPECT_EQ(DialogText(ask), upper + L" has existed, overite it?");
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(ask, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
    PressButton(ask, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(ask); }));
    app.RowCount();
    EXPECT_EQ(Ini(file, L"Count"), L"99");
    // Yes writes it, without a second extension.
    ChooseFile(app, cmdExport, L"Export Alias and Path", upper);
    ask = FindDialogOf(app.Id(), L"Pathnook");
    ASSERT_TRUE(ask);
    PressButton(ask, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return Ini(file, L"Count") == L"4"; }));
    EXPECT_EQ(GetFileAttributesW(dir.File(L"backup.PNX.pnx").c_str()), INVALID_FILE_ATTRIBUTES);

    // A folder that cannot be written: the default error box, nothing changed.
    auto storeBefore = ReadKeyValues(kStore);
    const std::wstring nowhere = dir.File(L"missing\\list.pnx");
    ChooseFile(app, cmdExport, L"Export Alias and Path", nowhere);
    HWND error = FindDialogOf(app.Id(), L"Pathnook");
    ASSERT_TRUE(error);
    EXPECT_EQ(DialogText(error), L"Unable to write to " + nowhere + L".");
    PressButton(error, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(error); }));
    EXPECT_EQ(app.RowCount(), 4);
    EXPECT_EQ(ReadKeyValues(kStore), storeBefore);

    // Importing what was just exported changes nothing; cancelling neither.
    ChooseFile(app, cmdImport, L"Import Alias and Path", file);
    EXPECT_EQ(app.RowCount(), 4);
    ChooseFile(app, cmdImport, L"Import Alias and Path", L"");
    EXPECT_EQ(ReadKeyValues(kStore), storeBefore);

    // A file from elsewhere: present entries (case, backslash), an empty
    // alias, a separator, and a huge count. No error box appears.
    const std::wstring other = dir.File(L"other.pnx");
    WriteFileText(other,
                  "[Pathnook]\r\nCount=2147483647\r\nN0=Windows\r\nP0=c:\\WINDOWS\\\r\n"
                  "N1=\r\nP1=C:\\empty\r\nN2=*Separator*\r\nP2=-\r\nN3=Temp\r\nP3=C:\\temp\r\n"
                  "N4=Temp\r\nP4=C:\\TEMP\\\r\nN9=Users\r\nP9=C:\\users\r\n");
    ChooseFile(app, cmdImport, L"Import Alias and Path", other);
    EXPECT_EQ(app.RowCount(), 6);
    EXPECT_FALSE(FindDialogOf(app.Id(), L"Pathnook", 0));  // the import has finished (ChooseFile)
    auto values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"N4"], L"Temp");
    EXPECT_EQ(values[L"P4"], L"C:\\temp");
    EXPECT_EQ(values[L"N5"], L"Users");
    EXPECT_EQ(values[L"P5"], L"C:\\users");
    EXPECT_EQ(values.count(L"N6"), 0u);

    // The list shows what the store holds.
    app.Command(cmdRefresh);
    EXPECT_EQ(app.RowCount(), 6);
}
