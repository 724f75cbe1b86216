// The options dialog in the running program: what OK and Cancel leave in
// options.ini and the store.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/CommandIds.h"
#include "e2e/DialogDriver.h"
#include "support/TestSupport.h"

using namespace testing_support;
using namespace dialog_driver;

namespace {
const std::wstring kStore = L"Software\\Pathnook";

std::wstring Ini(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, path.c_str());
    return buffer;
}

struct OptionsDialog {
    HWND window = nullptr, enableImage = nullptr, exploreFolder = nullptr, askDelete = nullptr;
    HWND ok = nullptr, cancel = nullptr;
    static OptionsDialog Find(DWORD pid) {
        OptionsDialog d;
        d.window = FindWindowOf(pid, L"Options");
        if (!d.window) return d;
        d.enableImage = ChildWithText(d.window, L"Enable preview image");
        d.exploreFolder = ChildWithText(d.window, L"Explore folder when opening it in a stand alone window");
        d.askDelete = ChildWithText(d.window, L"Ask before removing a selected item from list");
        d.ok = ChildWithText(d.window, L"&OK");
        d.cancel = ChildWithText(d.window, L"&Cancel");
        return d;
    }
    bool Complete() const { return window && enableImage && exploreFolder && askDelete && ok && cancel; }
};

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(kStore);
        SetString(kStore + L"\\Install", L"Seeded", L"1");
        SetString(kStore, L"PicView", L"1");
        SetString(kStore, L"ExploerFolder", L"0");
        WriteFileText(IniPath(), "[Options]\r\nAskDelete=0\r\n");
        app = std::make_unique<PathnookProcess>(dir.Path());
        ASSERT_TRUE(app->Start());
    }
    void TearDown() override {
        SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        app.reset();
        DeleteKeyTree(kStore);
    }
    OptionsDialog Open() {
        app->Command(cmdOptions);
        OptionsDialog d = OptionsDialog::Find(app->Id());
        EXPECT_TRUE(d.Complete());
        EXPECT_TRUE(app->Sync());
        return d;
    }
    void ForgetSaved() {
        DeleteFileW(IniPath().c_str());
        HKEY key;
        RegOpenKeyExW(HKEY_CURRENT_USER, kStore.c_str(), 0, KEY_SET_VALUE, &key);
        RegDeleteValueW(key, L"PicView");
        RegDeleteValueW(key, L"ExploerFolder");
        RegCloseKey(key);
    }
    std::wstring IniPath() const { return dir.File(L"options.ini"); }
    TempDir dir;
    std::unique_ptr<PathnookProcess> app;
};
}  // namespace

TEST_F(OptionsDialogTest, OkRewritesEverythingEvenUnchangedAndCancelNothing) {
    OptionsDialog d = Open();
    ASSERT_TRUE(d.Complete());
    RECT client{};
    GetClientRect(d.window, &client);
    // Wider than the layout's 340 only when a caption needs it, with the
    // buttons kept at the right edge (the rule itself is tested in app).
    EXPECT_GE(client.right, 340);
    EXPECT_EQ(client.bottom, 188);
    RECT cancel{};
    GetWindowRect(d.cancel, &cancel);
    MapWindowPoints(HWND_DESKTOP, d.window, reinterpret_cast<POINT*>(&cancel), 2);
    EXPECT_EQ(cancel.right, client.right - 11);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(d.window) == d.exploreFolder; }, 3000)) << "focus not in d.exploreFolder";  // first in the tab order

    // Cancel after a change writes nothing.
    ForgetSaved();
    Click(d.askDelete);
    Click(d.cancel);
    ASSERT_TRUE(WaitGone(d.window));
    EXPECT_TRUE(app->Sync());
    EXPECT_EQ(GetFileAttributesW(IniPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadKeyValues(kStore).count(L"PicView"), 0u);

    // OK without a change still saves all of it.
    d = Open();
    ASSERT_TRUE(d.Complete());
    Click(d.ok);
    ASSERT_TRUE(WaitGone(d.window));
    ASSERT_TRUE(WaitUntil([&] { return ReadKeyValues(kStore).count(L"ExploerFolder") == 1; }));
    auto values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"PicView"], L"1");
    EXPECT_EQ(values[L"ExploerFolder"], L"0");
    EXPECT_EQ(Ini(IniPath(), L"Options", L"AskDelete"), L"0");
    EXPECT_EQ(Ini(IniPath(), L"Window", L"State"), L"1");
    RECT r{};
    GetWindowRect(app->Window(), &r);
    EXPECT_EQ(Ini(IniPath(), L"Window", L"Width"), std::to_wstring(r.right - r.left));
    EXPECT_NE(Ini(IniPath(), L"ListView", L"C0"), L"<missing>");

    // Each box lands in its own option.
    d = Open();
    ASSERT_TRUE(d.Complete());
    Click(d.enableImage);
    Click(d.exploreFolder);
    Click(d.askDelete);
    Click(d.ok);
    ASSERT_TRUE(WaitGone(d.window));
    ASSERT_TRUE(WaitUntil([&] { return ReadKeyValues(kStore)[L"PicView"] == L"0"; }));
    values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"ExploerFolder"], L"1");
    EXPECT_EQ(Ini(IniPath(), L"Options", L"AskDelete"), L"1");
}

TEST_F(OptionsDialogTest, AReadOnlySettingsFileKeepsTheDialogOpen) {
    SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_READONLY);
    OptionsDialog d = Open();
    ASSERT_TRUE(d.Complete());
    Click(d.enableImage);  // PicView would become "0"
    Click(d.ok);
    HWND box = FindDialogOf(app->Id(), L"Pathnook");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), L"Unable to write to " + IniPath() + L".");
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitGone(box));
    EXPECT_TRUE(app->Sync());
    EXPECT_TRUE(IsWindowVisible(d.window));
    EXPECT_EQ(ReadKeyValues(kStore)[L"PicView"], L"1");  // the save stopped at the file

    // The flags were taken all the same: a writable file gets them next time.
    SetFileAttributesW(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    Click(d.cancel);
    ASSERT_TRUE(WaitGone(d.window));
    app->Close();
    ASSERT_TRUE(app->WaitExit(10000));
    EXPECT_EQ(ReadKeyValues(kStore)[L"PicView"], L"0");
}
