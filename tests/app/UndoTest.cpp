// Undo takes back every kind of change, one by one, in the list and in the
// store alike.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/AddItem.h"
#include "app/AnswerDialog.h"
#include "app/Global.h"
#include "app/ListFile.h"
#include "app/MainFormFixture.h"
#include "app/Undo.h"
#include "support/TestSupport.h"
#include "win/Application.h"

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
    {
        TfrmMain::Change change(*form, true);  // what the Import command wraps round the import
        ImportListFile(file, kStore, form->Entries());
    }
    form->ShowEntries(-1);
    changed("import");
    std::wstring folder = dir.File(L"dropped");
    CreateDirectoryW(folder.c_str(), nullptr);
    form->DropFolders({folder});
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

TEST_F(UndoTest, UndoingAnAddThatClosedAGapKeepsTheEntriesItBroughtIn) {
    // Positions 0-3 as seeded, 4 missing, 5 and 6 stored beyond the gap.
    SetString(kStore, L"N5", L"hidden one");
    SetString(kStore, L"P5", L"C:\\h1");
    SetString(kStore, L"N6", L"hidden two");
    SetString(kStore, L"P6", L"C:\\h2");
    AnswerDialog<TfrmProperty>([](TfrmProperty& d) {
        d.feName.SetText(L"win");
        d.fePath.SetText(L"C:\\windows");
        d.fbOkClick();
    });
    form->aAddFolderExecute();
    ASSERT_EQ(form->Entries().size(), 7u);
    form->aUndoExecute();
    FolderList expect{{L"delta", L"C:\\d"}, FolderEntry::Separator(), {L"alpha", L"C:\\a"},
                      {L"charlie", L"C:\\c"}, {L"hidden one", L"C:\\h1"}, {L"hidden two", L"C:\\h2"}};
    EXPECT_EQ(form->Entries(), expect);
    FolderList stored;
    LoadList(kStore, stored);
    EXPECT_EQ(stored, expect);
    EXPECT_EQ(ReadKeyValues(kStore).count(L"N6"), 0u);  // moved down into the closed gap
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
