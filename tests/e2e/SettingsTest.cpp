// options.ini as the running program reads and writes it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "support/TestSupport.h"
#include "win/Files.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";

std::wstring Ini(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, path.c_str());
    return buffer;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(kStore);
        SetString(kStore + L"\\Install", L"Seeded", L"1");
    }
    void TearDown() override { DeleteKeyTree(kStore); }
    std::wstring IniPath() const { return dir.File(L"options.ini"); }
    void CloseAndWait(PathnookProcess& app) {
        app.Close();
        ASSERT_TRUE(app.WaitExit(10000));
    }
    static int Column(PathnookProcess& app, int c) {
        return (int)SendMessageW(app.List(), LVM_GETCOLUMNWIDTH, c, 0);
    }
    TempDir dir;
};

RECT WindowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}
}  // namespace

TEST_F(SettingsTest, SavedSizeIsUsedAndTheWindowIsCentred) {
    WriteFileText(IniPath(),
                  "[Window]\r\nState=1\r\nLeft=0\r\nTop=0\r\nWidth=600\r\nHeight=$1F4\r\n"
                  "[ListView]\r\nC0=0x64\r\nC1=120\r\n[Options]\r\nAskDelete=0\r\n");
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    RECT r = WindowRect(app.Window());
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 500);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 600) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 500) / 2);
    EXPECT_EQ(Column(app, 0), 100);
    EXPECT_EQ(Column(app, 1), 120);
    CloseAndWait(app);
    EXPECT_EQ(Ini(IniPath(), L"Options", L"AskDelete"), L"0");
    EXPECT_EQ(Ini(IniPath(), L"Window", L"Height"), L"500");
}

TEST_F(SettingsTest, MaximisedStateReopensMaximisedWithDesignedColumns) {
    WriteFileText(IniPath(), "[ListView]\r\nC0=300\r\nC1=300\r\n");
    {
        PathnookProcess app(dir.Path());
        ASSERT_TRUE(app.Start());
        ShowWindow(app.Window(), SW_MAXIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return IsZoomed(app.Window()) != FALSE; }));
        CloseAndWait(app);
    }
    EXPECT_EQ(Ini(IniPath(), L"Window", L"State"), L"3");
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(IsZoomed(app.Window()));
    EXPECT_EQ(Column(app, 0), 175);
    EXPECT_EQ(Column(app, 1), 240);
    ShowWindow(app.Window(), SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(app.Window()); }));
    RECT r = WindowRect(app.Window());
    EXPECT_EQ(r.right - r.left, 475);
    EXPECT_EQ(r.bottom - r.top, 396);
}

TEST_F(SettingsTest, ClosingWhileMinimisedSavesTheRestoredBounds) {
    WriteFileText(IniPath(), "[Window]\r\nWidth=520\r\nHeight=430\r\n");
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    RECT before = WindowRect(app.Window());
    ShowWindow(app.Window(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; }));
    CloseAndWait(app);
    EXPECT_EQ(Ini(IniPath(), L"Window", L"State"), L"2");
    EXPECT_EQ(Ini(IniPath(), L"Window", L"Width"), L"520");
    EXPECT_EQ(Ini(IniPath(), L"Window", L"Height"), L"430");
    EXPECT_EQ(Ini(IniPath(), L"Window", L"Left"), std::to_wstring(before.left));
    EXPECT_EQ(Ini(IniPath(), L"Window", L"Top"), std::to_wstring(before.top));
}

TEST_F(SettingsTest, UnusableOrMalformedValuesReadAsDefaults) {
    WriteFileText(IniPath(),
                  "[Window]\r\nState=x\r\nLeft=-40000\r\nTop=-40000\r\nWidth=3\r\nHeight=2\r\n"
                  "[ListView]\r\nC0=wide\r\n[Options]\r\nAskDelete=maybe\r\n");
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    RECT r = WindowRect(app.Window());
    EXPECT_EQ(r.right - r.left, 475);
    EXPECT_EQ(r.bottom - r.top, 396);
    EXPECT_EQ(Column(app, 0), 180);
    CloseAndWait(app);
    EXPECT_EQ(Ini(IniPath(), L"Options", L"AskDelete"), L"1");
    EXPECT_EQ(Ini(IniPath(), L"Window", L"Width"), L"475");
}

TEST_F(SettingsTest, AReadOnlySettingsFileIsReportedAndTheWindowStillCloses) {
    WriteFileText(IniPath(), "[Options]\r\nAskDelete=0\r\n");
    SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    app.Close();
    HWND box = FindDialogOf(app.Id(), L"Pathnook");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), L"Unable to write to " + IniPath() + L".");
    PressButton(box, IDOK);
    EXPECT_TRUE(app.WaitExit(10000));
    // The save stopped at the first failed write: no options reached the store.
    EXPECT_EQ(ReadKeyValues(kStore).count(L"PicView"), 0u);
    SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}
