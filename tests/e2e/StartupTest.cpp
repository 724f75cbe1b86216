// Start-up, single instance, first-start seeding and the values written at
// close, against the real Pathnook.exe in a folder of its own.
#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "support/TestSupport.h"
#include "win/Files.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kStore); }
    void TearDown() override { DeleteKeyTree(kStore); }
};

std::wstring Ini(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, path.c_str());
    return buffer;
}
}  // namespace

TEST_F(StartupTest, FirstStartSeedsTheStoreAndCloseWritesOptionsAndSettings) {
    TempDir dir;
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    wchar_t caption[64] = {};
    GetWindowTextW(app.Window(), caption, 64);
    EXPECT_STREQ(caption, L"Pathnook 1.8.3");
    RECT r;
    GetWindowRect(app.Window(), &r);
    EXPECT_EQ(r.right - r.left, 475);
    EXPECT_EQ(r.bottom - r.top, 396);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 475) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 396) / 2);

    auto values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"N0"], L"Windows Directory");
    EXPECT_EQ(values[L"P0"], win::WindowsDirectory());
    EXPECT_EQ(values[L"N1"], L"C:\\");
    EXPECT_EQ(values[L"P1"], L"C:\\");
    EXPECT_EQ(values[L"Setting"], app.ExePath());
    EXPECT_EQ(values.size(), 5u);  // the first-start record is not among the values
    EXPECT_EQ(app.RowCount(), 2);

    app.Close();
    DWORD code = 99;
    ASSERT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"PicView"], L"1");
    EXPECT_EQ(values[L"ExploerFolder"], L"1");
    std::wstring ini = dir.File(L"options.ini");
    EXPECT_EQ(Ini(ini, L"Window", L"State"), L"1");
    EXPECT_EQ(Ini(ini, L"Window", L"Width"), L"475");
    EXPECT_EQ(Ini(ini, L"Window", L"Height"), L"396");
    EXPECT_EQ(Ini(ini, L"Window", L"Left"), std::to_wstring(r.left));
    EXPECT_EQ(Ini(ini, L"ListView", L"C0"), L"180");
    EXPECT_EQ(Ini(ini, L"ListView", L"C1"), L"249");
    EXPECT_EQ(Ini(ini, L"Options", L"AskDelete"), L"1");

    // The seeding happens once: a user who emptied the list keeps it empty.
    DeleteKeyTree(kStore + L"\\N0");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), L"N0");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), L"P0");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), L"N1");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), L"P1");
    PathnookProcess again(dir.Path());
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(again.RowCount(), 0);
    EXPECT_EQ(ReadKeyValues(kStore).count(L"N0"), 0u);
}

TEST_F(StartupTest, FirstStartDoesNotOverwriteAnExistingList) {
    SetString(kStore, L"N0", L"Mine");
    SetString(kStore, L"P0", L"C:\\Mine");
    TempDir dir;
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    auto values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"N0"], L"Mine");
    EXPECT_EQ(values.count(L"N1"), 0u);
    EXPECT_EQ(app.RowCount(), 1);
}

TEST_F(StartupTest, ASecondStartHandsOverAndExitsHavingWrittenNothing) {
    TempDir first, second;
    PathnookProcess app(first.Path());
    ASSERT_TRUE(app.Start());

    ShowWindow(app.Window(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; }));
    PathnookProcess other(second.Path());
    ASSERT_TRUE(other.Start(false));
    DWORD code = 99;
    ASSERT_TRUE(other.WaitExit(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(app.Window()); }));
    EXPECT_EQ(GetForegroundWindow(), app.Window());

    ShowWindow(app.Window(), SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(app.Window()); }));
    PathnookProcess third(second.Path());
    ASSERT_TRUE(third.Start(false));
    ASSERT_TRUE(third.WaitExit(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app.Window()) != FALSE; }));

    // Neither later start wrote its own path or a settings file.
    EXPECT_EQ(ReadKeyValues(kStore)[L"Setting"], app.ExePath());
    EXPECT_FALSE(win::FileExists(second.File(L"options.ini")));
}

TEST_F(StartupTest, StartsAtTheSameMomentLeaveOneInstance) {
    TempDir dir;
    PathnookProcess a(dir.Path()), b(dir.Path());
    ASSERT_TRUE(a.Start(false));
    ASSERT_TRUE(b.Start(false));
    // One of them hands over and exits; the other keeps running.
    ASSERT_TRUE(WaitUntil([&] { return !a.Running() || !b.Running(); }, 15000));
    // The one left has passed the same check: its window is up and answers.
    PathnookProcess& kept = a.Running() ? a : b;
    ASSERT_TRUE(kept.WaitForWindow());
    EXPECT_NE(a.Running(), b.Running());
    int windows = 0;
    EnumWindows([](HWND w, LPARAM lp) -> BOOL {
        wchar_t cls[128] = {};
        GetClassNameW(w, cls, 128);
        if (std::wstring(cls) == MainWindowClass) ++*reinterpret_cast<int*>(lp);
        return TRUE;
    }, (LPARAM)&windows);
    EXPECT_EQ(windows, 1);
}

TEST_F(StartupTest, OptionsAreReadExactlyAndSettingFollowsTheExecutable) {
    SetString(kStore, L"PicView", L"0");  // ExploerFolder missing: on
    SetString(kStore, L"N0", L"a");
    SetString(kStore, L"P0", L"C:\\a");
    TempDir one, two;
    {
        PathnookProcess app(one.Path());
        ASSERT_TRUE(app.Start());
        EXPECT_EQ(ReadKeyValues(kStore)[L"Setting"], app.ExePath());
        app.Close();
        ASSERT_TRUE(app.WaitExit(10000));
    }
    auto values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"PicView"], L"0");
    EXPECT_EQ(values[L"ExploerFolder"], L"1");
    PathnookProcess moved(two.Path());
    ASSERT_TRUE(moved.Start());
    EXPECT_EQ(ReadKeyValues(kStore)[L"Setting"], moved.ExePath());
}

TEST_F(StartupTest, AStoreWithAGapShowsOnlyTheEntriesBeforeIt) {
    SetString(kStore, L"N0", L"zero");
    SetString(kStore, L"P0", L"C:\\zero");
    SetString(kStore, L"N1", L"one");
    SetString(kStore, L"N2", L"two");
    SetString(kStore, L"P2", L"C:\\two");
    TempDir dir;
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.RowCount(), 1);
}
