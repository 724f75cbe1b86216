// The list commands driven through the running window, checked by what the
// store's readers see.
#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "support/TestSupport.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";
using Entries = std::vector<std::pair<std::wstring, std::wstring>>;

// The "N"/"P" values of the store, position by position, as a map.
std::map<std::wstring, std::wstring> Slots() {
    auto values = ReadKeyValues(kStore);
    std::map<std::wstring, std::wstring> slots;
    for (auto& [name, value] : values)
        if ((name[0] == L'N' || name[0] == L'P') && name.size() > 1 && iswdigit(name[1])) slots[name] = value;
    return slots;
}

std::map<std::wstring, std::wstring> SlotsOf(const Entries& entries) {
    std::map<std::wstring, std::wstring> slots;
    for (size_t i = 0; i < entries.size(); ++i) {
        slots[L"N" + std::to_wstring(i)] = entries[i].first;
        slots[L"P" + std::to_wstring(i)] = entries[i].second;
    }
    return slots;
}

class CommandsTest : public ::testing::Test {
protected:
    void Start(const Entries& entries, bool askDelete) {
        DeleteKeyTree(kStore);
        SetString(kStore + L"\\Install", L"Seeded", L"1");
        for (size_t i = 0; i < entries.size(); ++i) {
            SetString(kStore, L"N" + std::to_wstring(i), entries[i].first);
            SetString(kStore, L"P" + std::to_wstring(i), entries[i].second);
        }
        WriteFileText(dir.File(L"options.ini"),
                      std::string("[Options]\r\nAskDelete=") + (askDelete ? "1" : "0") + "\r\n");
        app = std::make_unique<PathnookProcess>(dir.Path());
        ASSERT_TRUE(app->Start());
    }
    // Runs a command as its menu item does; once the program has handled it,
    // the store and the list show `expected`.
    void Run(unsigned command, const Entries& expected) {
        app->Command(command);
        ASSERT_TRUE(app->Sync());
        EXPECT_EQ(Slots(), SlotsOf(expected));
        EXPECT_EQ(app->RowCount(), (int)expected.size());
    }
    void TearDown() override {
        app.reset();
        DeleteKeyTree(kStore);
    }
    TempDir dir;
    std::unique_ptr<PathnookProcess> app;
};

const Entries kFive{{L"a", L"C:\\a"}, {L"b", L"C:\\b"}, {L"c", L"C:\\c"}, {L"d", L"C:\\d"}, {L"e", L"C:\\e"}};
}  // namespace

TEST_F(CommandsTest, DeleteRewritesTheTailAndSelectsAsDescribed) {
    Start(kFive, false);
    app->SelectRow(2);
    Run(cmdDelete, {{L"a", L"C:\\a"}, {L"b", L"C:\\b"}, {L"d", L"C:\\d"}, {L"e", L"C:\\e"}});
    EXPECT_EQ(app->SelectedRow(), 2);
    app->SelectRow(3);  // the last row: the first row is selected afterwards
    Run(cmdDelete, {{L"a", L"C:\\a"}, {L"b", L"C:\\b"}, {L"d", L"C:\\d"}});
    EXPECT_EQ(app->SelectedRow(), 0);
    Run(cmdDelete, {{L"b", L"C:\\b"}, {L"d", L"C:\\d"}});
    Run(cmdDelete, {{L"d", L"C:\\d"}});
    Run(cmdDelete, {});
    EXPECT_EQ(app->SelectedRow(), -1);
    app->Command(cmdDelete);  // nothing selected: disabled, nothing happens
    EXPECT_TRUE(app->Sync());
    EXPECT_TRUE(Slots().empty());
}

TEST_F(CommandsTest, DeleteAsksFirstWhenAskDeleteIsOn) {
    Start(kFive, true);
    app->SelectRow(1);
    app->Command(cmdDelete);
    HWND box = FindDialogOf(app->Id(), L"Pathnook");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogText(box), L"Are you sure you want to remove the selected item?");
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDOK), nullptr);
    // No is the default button.
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON);
    PressButton(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(app->Sync());
    EXPECT_EQ(Slots(), SlotsOf(kFive));

    app->Command(cmdDelete);
    box = FindDialogOf(app->Id(), L"Pathnook");
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    Entries rest{{L"a", L"C:\\a"}, {L"c", L"C:\\c"}, {L"d", L"C:\\d"}, {L"e", L"C:\\e"}};
    WaitUntil([&] { return Slots() == SlotsOf(rest); }, 3000);
    EXPECT_EQ(Slots(), SlotsOf(rest));
}

TEST_F(CommandsTest, MovingRewritesExactlyTheTwoPositions) {
    Start(kFive, false);
    app->SelectRow(0);
    Run(cmdItemUp, kFive);  // first row: disabled, nothing changes
    Run(cmdItemDown, {{L"b", L"C:\\b"}, {L"a", L"C:\\a"}, {L"c", L"C:\\c"}, {L"d", L"C:\\d"}, {L"e", L"C:\\e"}});
    EXPECT_EQ(app->SelectedRow(), 1);
    Run(cmdItemUp, kFive);
    EXPECT_EQ(app->SelectedRow(), 0);
    app->SelectRow(4);
    Run(cmdItemDown, kFive);  // last row: disabled
    EXPECT_EQ(app->SelectedRow(), 4);
    Run(cmdItemUp, {{L"a", L"C:\\a"}, {L"b", L"C:\\b"}, {L"c", L"C:\\c"}, {L"e", L"C:\\e"}, {L"d", L"C:\\d"}});
    EXPECT_EQ(app->SelectedRow(), 3);
}

TEST_F(CommandsTest, SortAlternatesDirectionAndKeepsTheSelectedRowNumber) {
    Start({{L"beta", L"C:\\b"}, {L"Alpha", L"C:\\A"}, {L"*Separator*", L"-"}, {L"alpha", L"C:\\a"}}, false);
    app->SelectRow(1);
    Run(cmdSort, {{L"*Separator*", L"-"}, {L"Alpha", L"C:\\A"}, {L"alpha", L"C:\\a"}, {L"beta", L"C:\\b"}});
    EXPECT_EQ(app->SelectedRow(), 1);
    // The next sort runs descending (equal aliases as the exchange sort leaves them).
    app->Command(cmdSort);
    WaitUntil([&] { return Slots()[L"N0"] == L"beta"; }, 3000);
    auto slots = Slots();
    EXPECT_EQ(slots[L"N0"], L"beta");
    EXPECT_EQ(slots[L"N3"], L"*Separator*");
    EXPECT_EQ(slots[L"P3"], L"-");
}

TEST_F(CommandsTest, RefreshReloadsWhatTheStoreHolds) {
    Start(kFive, false);
    SetString(kStore, L"N5", L"f");
    SetString(kStore, L"P5", L"C:\\f");
    app->Command(cmdRefresh);
    EXPECT_TRUE(WaitUntil([&] { return app->RowCount() == 6; }));
}

TEST_F(CommandsTest, ResizingKeepsTheListInsideItsMargins) {
    Start(kFive, false);
    SetWindowPos(app->Window(), nullptr, 10, 10, 700, 500, SWP_NOZORDER);
    EXPECT_TRUE(app->Sync());
    RECT client, list, bar;
    GetClientRect(app->Window(), &client);
    GetWindowRect(app->List(), &list);
    GetWindowRect(FindWindowExW(app->Window(), nullptr, L"ToolbarWindow32", nullptr), &bar);
    MapWindowPoints(HWND_DESKTOP, app->Window(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.left, 10);
    EXPECT_EQ(list.top, bar.bottom - bar.top);
    EXPECT_EQ(bar.bottom - bar.top, 41);
    EXPECT_EQ(client.right - list.right, 10);
    EXPECT_EQ(client.bottom - list.bottom, 10);
}
