// Undo takes back every kind of change, one by one, in the list and in the
// store alike.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/AddItem.h"
#include "app/AnswerDialog.h"
#include "app/BoxWatcher.h"
#include "app/Global.h"
#include "app/ListFile.h"
#include "app/MainFormFixture.h"
#include "app/Undo.h"
#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Error.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";

struct State {
    FolderList list;
    std::map<std::wstring, std::wstring> store;
};

class UndoTest : public MainFormFixture {
protected:
    void SetUp() override {
        SeedStore(0);
        const FolderEntry seed[] = {{L"delta", L"C:\\d"}, FolderEntry::Separator(), {L"alpha", L"C:\\a"},
                                    {L"charlie", L"C:\\c"}};
        for (size_t i = 0; i < 4; ++i) {
            SetString(kStore, AliasName(i), seed[i].Alias);
            SetString(kStore, PathName(i), seed[i].Path);
        }
        form = std::make_unique<win::Sealed<TfrmMain>>();
        form->Show();
        Settle();
        AppOptions.AskDelete = false;
    }
    void Settle() {
        win::Application::Instance().ProcessMessages();
        win::Application::Instance().Idle();
    }
    State Now() {
        auto store = ReadKeyValues(kStore);
        store.erase(L"Setting");
        store.erase(L"PicView");
        store.erase(L"ExploerFolder");
        return {form->Entries(), store};
    }
    void Select(int row) {
        form->lvMain.Select(row);
        Settle();
    }
    // Ctrl+Z as the keyboard gives it to the window.
    void PressCtrlZ() {
        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE held = keys[VK_CONTROL];
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageW(form->lvMain.Handle(), WM_KEYDOWN, 'Z', 1);
        Settle();
        keys[VK_CONTROL] = held;
        SetKeyboardState(keys);
    }
};
}  // namespace

TEST_F(UndoTest, EveryKindOfChangeIsTakenBackInTurn) {
    TempDir dir;
    std::vector<State> states{Now()};
    auto changed = [&](const char* what) {
        State s = Now();
        EXPECT_NE(s.list, states.back().list) << what << " changed nothing";
        states.push_back(s);
    };
    EXPECT_FALSE(form->aUndo->Enabled());

    Select(1);
    form->aDeleteExecute();
    changed("delete");
    Select(2);
    form->aItemUpExecute();
    changed("up");
    Select(0);
    form->aItemDownExecute();
    changed("down");
    form->aSortExecute();
    changed("sort");
    Select(0);
    AnswerDialog<TfrmProperty>([](TfrmProperty& d) {
        d.feName.SetText(L"edited");
        d.fePath.SetText(L"C:\\windows\\system32");  // OK wants a folder that exists
        d.fbOkClick();
    });
    form->aEditExecute();
    changed("edit");
    AnswerDialog<TfrmProperty>([](TfrmProperty& d) {
        d.feName.SetText(L"win");
        d.fePath.SetText(L"C:\\windows");
        d.fbOkClick();
    });
    form->aAddFolderExecute();
    changed("add");
    std::wstring file = dir.File(L"two.pnx");
    ExportListFile(file, {{L"one", L"C:\\one"}, {L"two", L"C:\\two"}});
    form->ShowOutcome(form->List().Import(file, -1));  // the Import command, past its file dialog
    changed("import");
    std::wstring folder = dir.File(L"dropped");
    CreateDirectoryW(folder.c_str(), nullptr);
    form->DropFolders({folder});
    ASSERT_TRUE(WaitUntil([&] {
        win::Application::Instance().ProcessMessages();
        return form->Background().Pending() == 0;
    })) << "the dropped folder was never checked";
    changed("drop");
    Settle();
    EXPECT_TRUE(form->aUndo->Enabled());

    // Back through every state; the first step by the keyboard.
    for (size_t k = states.size() - 1; k > 0; --k) {
        if (k == states.size() - 1)
            PressCtrlZ();
        else
            form->aUndoExecute();
        State s = Now();
        EXPECT_EQ(s.list, states[k - 1].list) << "after undoing step " << k;
        EXPECT_EQ(s.store, states[k - 1].store) << "after undoing step " << k;
        EXPECT_EQ(form->lvMain.ItemCount(), (int)s.list.size());
    }
    Settle();
    EXPECT_FALSE(form->aUndo->Enabled());
    form->aUndoExecute();  // nothing left: nothing happens
    EXPECT_EQ(Now().store, states[0].store);
}

TEST_F(UndoTest, UndoingAddsThatClosedTwoGapsGivesBackTheStoreExactly) {
    // Positions 0-3 as seeded, a gap at 4, two beyond it, a gap at 7, one beyond that.
    for (int i : {5, 6, 8}) {
        SetString(kStore, AliasName(i), L"hidden " + std::to_wstring(i));
        SetString(kStore, PathName(i), L"C:\\h" + std::to_wstring(i));
    }
    State start = Now();
    for (const wchar_t* alias : {L"first", L"second"}) {
        AnswerDialog<TfrmProperty>([alias](TfrmProperty& d) {
            d.feName.SetText(alias);
            d.fePath.SetText(L"C:\\windows");
            d.fbOkClick();
        });
        form->aAddFolderExecute();
    }
    ASSERT_EQ(form->Entries().size(), 9u);  // both gaps closed
    form->aUndoExecute();
    EXPECT_EQ(form->Entries().size(), 7u);
    form->aUndoExecute();
    // Each position the adds wrote is free again; every hidden entry stays
    // where it was stored, the one beyond the second gap included.
    EXPECT_EQ(Now().list, start.list);
    EXPECT_EQ(Now().store, start.store);
    EXPECT_EQ(ReadKeyValues(kStore)[L"N8"], L"hidden 8");
}

TEST_F(UndoTest, UndoRefusesToTakeBackAChangeTheStoreNoLongerHolds) {
    Select(1);
    form->aDeleteExecute();
    // Another writer appends; F5 shows it.
    SetString(kStore, L"N3", L"from outside");
    SetString(kStore, L"P3", L"C:\\outside");
    form->aRefreshExecute();
    ASSERT_EQ(form->Entries().size(), 4u);
    State changed = Now();
    BoxWatcher boxes;
    PressCtrlZ();
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Texts.empty(); }));
    EXPECT_NE(boxes.Texts[0].find(L"nothing was undone"), std::wstring::npos) << win::Narrow(boxes.Texts[0]);
    EXPECT_EQ(Now().list, changed.list);
    EXPECT_EQ(Now().store, changed.store);
    Settle();
    EXPECT_FALSE(form->aUndo->Enabled());
}

TEST(UndoRules, ChangedRangeCoversExactlyThePositionsThatDiffer) {
    FolderList a{{L"a", L"1"}, {L"b", L"2"}, {L"c", L"3"}, {L"d", L"4"}};
    FolderList swapped{{L"a", L"1"}, {L"c", L"3"}, {L"b", L"2"}, {L"d", L"4"}};
    size_t first, last;
    ASSERT_TRUE(ChangedRange(a, swapped, first, last));
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(last, 2u);
    FolderList shorter(a.begin(), a.begin() + 2);
    EXPECT_FALSE(ChangedRange(a, shorter, first, last));  // only the tail goes
    ASSERT_TRUE(ChangedRange(shorter, a, first, last));
    EXPECT_EQ(first, 2u);
    EXPECT_EQ(last, 3u);
    EXPECT_FALSE(ChangedRange(a, a, first, last));
    ASSERT_TRUE(ChangedRange({}, a, first, last));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, 3u);
}

TEST(UndoRules, HistoryKeepsTheNewestStepsOnly) {
    UndoHistory history;
    for (size_t i = 0; i < UndoHistory::Depth + 5; ++i) history.Push({FolderList(i), {}});
    size_t popped = 0;
    while (!history.Empty()) {
        EXPECT_EQ(history.Pop().Before.size(), UndoHistory::Depth + 4 - popped);
        ++popped;
    }
    EXPECT_EQ(popped, UndoHistory::Depth);
}
