// Bad values in the store at start: the real Pathnook.exe opens its window
// all the same, shows the store's error in the default error box, hands
// over to a second start while the box is up, and leaves the store as it
// was but for what closing writes.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "app/CommandIds.h"
#include "support/TestSupport.h"
#include "win/Error.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";

struct RawValue {
    DWORD type;
    std::vector<BYTE> data;
    bool operator==(const RawValue&) const = default;
};

// Every value of the store key with its type and bytes.
std::map<std::wstring, RawValue> Snapshot() {
    std::map<std::wstring, RawValue> values;
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStore.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLen = 256, type = 0, size = 0;
        if (RegEnumValueW(h, i, name, &nameLen, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        RawValue v{type, std::vector<BYTE>(size)};
        nameLen = 256;
        RegEnumValueW(h, i, name, &nameLen, nullptr, &type, v.data.data(), &size);
        values[name] = v;
    }
    RegCloseKey(h);
    return values;
}

void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), name.c_str(), type, data, size);
}

class StartupErrorsTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kStore); }
    void TearDown() override { DeleteKeyTree(kStore); }

    // Three entries, an already seeded store, and "Setting" naming the
    // program, so that a sound start would write nothing.
    void StoreThreeEntries(bool seeded = true) {
        if (seeded) SetString(kStore + L"\\Install", L"Seeded", L"1");
        for (int i = 0; i < 3; ++i) {
            SetString(kStore, L"N" + std::to_wstring(i), L"e" + std::to_wstring(i));
            SetString(kStore, L"P" + std::to_wstring(i), L"C:\\e" + std::to_wstring(i));
        }
        SetString(kStore, L"Setting", app.ExePath());
    }

    // Starts the program, answers its error box and closes it; checks the
    // box's text, the rows shown, and that the store changed only in what
    // closing writes.
    void StartWithBadValue(const std::wstring& message, int rows) {
        auto before = Snapshot();
        ASSERT_TRUE(app.Start(false));
        HWND box = FindDialogOf(app.Id(), L"Pathnook", 20000);
        ASSERT_TRUE(box) << "no error box";
        EXPECT_EQ(DialogText(box), message);  // a closing quote takes no full stop
        EXPECT_TRUE(GetDlgItem(box, IDOK));
        EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
        // The window is up behind the box, with what could be read.
        ASSERT_TRUE(app.WaitForWindow());
        EXPECT_EQ(app.RowCount(), rows);
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        // It answers messages again, and no second box came.
        DWORD_PTR r;
        ASSERT_TRUE(SendMessageTimeoutW(app.Window(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &r));
        EXPECT_FALSE(FindDialogOf(app.Id(), L"", 300));
        EXPECT_TRUE(app.Running());

        app.Close();
        DWORD code = 99;
        ASSERT_TRUE(app.WaitExit(10000, &code));
        EXPECT_EQ(code, 0u);
        auto after = Snapshot();
        for (auto& [name, value] : after) {
            if (name == L"PicView" || name == L"ExploerFolder") {
                EXPECT_EQ(value.type, (DWORD)REG_SZ) << "written at close: " << win::Narrow(name);
                continue;
            }
            ASSERT_TRUE(before.count(name)) << "new value " << win::Narrow(name);
            EXPECT_TRUE(before[name] == value) << "changed " << win::Narrow(name);
        }
        for (auto& [name, value] : before) EXPECT_TRUE(after.count(name)) << "lost " << win::Narrow(name);
    }

    TempDir dir;
    PathnookProcess app{dir.Path()};
};
}  // namespace

TEST_F(StartupErrorsTest, PicViewAsANumber) {
    StoreThreeEntries();
    DWORD one = 1;
    SetRaw(L"PicView", REG_DWORD, &one, sizeof one);
    StartWithBadValue(L"Invalid data type for 'PicView'", 3);
}

TEST_F(StartupErrorsTest, APathAsANumberEndsTheListBeforeIt) {
    StoreThreeEntries();
    DWORD seven = 7;
    SetRaw(L"P1", REG_DWORD, &seven, sizeof seven);
    StartWithBadValue(L"Invalid data type for 'P1'", 1);
}

TEST_F(StartupErrorsTest, ABinaryFirstAliasOnAFirstStartIsNeitherSeededOverNorRepaired) {
    StoreThreeEntries(false);  // a first start: the seeding must leave the list alone
    const BYTE bytes[] = {1, 2, 3};
    SetRaw(L"N0", REG_BINARY, bytes, sizeof bytes);
    StartWithBadValue(L"Invalid data type for 'N0'", 0);
}

TEST_F(StartupErrorsTest, SettingAsAListOfStrings) {
    StoreThreeEntries();
    const wchar_t multi[] = L"C:\\one\0C:\\two\0";
    SetRaw(L"Setting", REG_MULTI_SZ, multi, sizeof multi);
    StartWithBadValue(L"Invalid data type for 'Setting'", 3);
}

TEST_F(StartupErrorsTest, ASecondStartHandsOverWhileTheBoxIsUp) {
    StoreThreeEntries();
    DWORD one = 1;
    SetRaw(L"ExploerFolder", REG_DWORD, &one, sizeof one);
    ASSERT_TRUE(app.Start(false));
    HWND box = FindDialogOf(app.Id(), L"Pathnook", 20000);
    ASSERT_TRUE(box);
    ASSERT_TRUE(app.WaitForWindow());
    ShowWindow(app.Window(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; }));

    TempDir other;
    PathnookProcess second(other.Path());
    ASSERT_TRUE(second.Start(false));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitExit(15000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(app.Window()); }));  // restored by the hand-over
    EXPECT_TRUE(IsWindow(box));
    EXPECT_TRUE(app.Running());
    PressButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(app.RowCount(), 3);
}
