// Every list command that rewrites several positions, with the store's
// writes failing after k of them for every k (a crash at that point), then a
// fresh start: the list is exactly what it was before the command or exactly
// what the command meant to write, never anything in between.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/BoxWatcher.h"
#include "app/Global.h"
#include "app/ListFile.h"
#include "app/Main.h"
#include "app/MainFormFixture.h"
#include "store/RewriteRecord.h"
#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Error.h"

using namespace testing_support;

namespace {
const FolderEntry kDelta{L"delta", L"C:\\delta"};
const FolderEntry kAlpha{L"alpha", L"C:\\alpha"};
const FolderEntry kCharlie{L"Charlie", L"C:\\charlie"};
const FolderEntry kBravo{L"bravo", L"C:\\bravo"};
const FolderEntry kSep = FolderEntry::Separator();
const FolderList kBefore{kDelta, kSep, kAlpha, kCharlie, kBravo};

struct Command {
    const char* name;
    int row;
    std::function<void(TfrmMain&)> run;
    FolderList expected;  // what the command writes when nothing fails
};

class FaultInjectionTest : public ::testing::Test {
protected:
    void SetUp() override { Seed(); }
    void TearDown() override {
        SetStoreWriteHook(nullptr);
        DeleteKeyTree(kFixtureStore);
    }
    static void Seed() {
        SeedStore(0);
        for (size_t i = 0; i < kBefore.size(); ++i) {
            SetString(kFixtureStore, AliasName(i), kBefore[i].Alias);
            SetString(kFixtureStore, PathName(i), kBefore[i].Path);
        }
        // A path left past the list's end: an append there must never pair
        // it with its new alias.
        SetString(kFixtureStore, PathName(kBefore.size()), L"C:\\stale");
    }
    static std::unique_ptr<TfrmMain> Start() {
        auto form = std::make_unique<win::Sealed<TfrmMain>>();
        form->Show();
        win::Application::Instance().ProcessMessages();
        AppOptions.AskDelete = false;
        return form;
    }
    static FolderList Stored() {
        FolderList list;
        LoadList(kFixtureStore, list);
        return list;
    }
    static bool RecordLeft() {
        HKEY h;
        std::wstring key = kFixtureStore + L"\\" + RewriteRecordKey;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
        RegCloseKey(h);
        return true;
    }

    // A start as the program makes it: the record finished, then the list
    // loaded (the start-up itself runs end to end in the crash test).
    static FolderList Restart() {
        EXPECT_NE(FinishRewrite(kFixtureStore), RecordState::Damaged);
        return Stored();
    }

    // Runs the command failing at each write in turn, on one window whose
    // list is reloaded each time; returns how many writes the whole command
    // made.
    int RunWithEveryFailure(const Command& c, bool rewrites) {
        auto form = Start();
        for (int k = 0;; ++k) {
            SCOPED_TRACE(std::string(c.name) + ", failing at write " + std::to_string(k));
            Seed();
            form->aRefreshExecute();
            form->SortAscending = true;
            EXPECT_EQ(form->Entries(), kBefore);
            form->lvMain.Select(c.row);
            int calls = 0;
            bool fired = false;
            SetStoreWriteHook([&] {
                if (calls++ == k) {
                    fired = true;
                    throw win::Error(L"Failed to set data for 'crash'");
                }
            });
            try {
                c.run(*form);
            } catch (const win::Error&) {
                EXPECT_TRUE(fired);
            }
            SetStoreWriteHook(nullptr);
            FolderList left = form->Entries();  // what the command meant to write, or left

            FolderList now = Restart();
            EXPECT_FALSE(RecordLeft());
            EXPECT_TRUE(now == kBefore || now == left) << "neither before nor after";
            if (rewrites) {
                // Before the record is written nothing has changed; once it
                // is, the start finishes the rewrite.
                EXPECT_EQ(now, k == 0 && fired ? kBefore : c.expected);
            } else {
                EXPECT_EQ(now, left);  // an import keeps each whole append
            }
            if (!fired) {
                EXPECT_EQ(left, c.expected);
                EXPECT_EQ(now, c.expected);
                return calls;
            }
        }
    }
};
}  // namespace

TEST_F(FaultInjectionTest, RewritesEndExactlyBeforeOrAfterWhereverTheyStop) {
    std::vector<Command> commands{
        {"delete the separator", 1, [](TfrmMain& f) { f.aDeleteExecute(); },
         {kDelta, kAlpha, kCharlie, kBravo}},
        {"move up", 3, [](TfrmMain& f) { f.aItemUpExecute(); }, {kDelta, kSep, kCharlie, kAlpha, kBravo}},
        {"move down", 1, [](TfrmMain& f) { f.aItemDownExecute(); }, {kDelta, kAlpha, kSep, kCharlie, kBravo}},
        {"sort", 0, [](TfrmMain& f) { f.aSortExecute(); }, {kSep, kAlpha, kBravo, kCharlie, kDelta}},
    };
    // Record, the positions, the removed one, the record's removal.
    const int writes[] = {1 + 3 * 2 + 2 + 1, 1 + 2 * 2 + 1, 1 + 2 * 2 + 1, 1 + 5 * 2 + 1};
    for (size_t i = 0; i < commands.size(); ++i) EXPECT_EQ(RunWithEveryFailure(commands[i], true), writes[i]);
}

TEST_F(FaultInjectionTest, AWindowOpenedAfterACrashShowsTheFinishedRewrite) {
    {
        auto form = Start();
        form->lvMain.Select(1);
        SetStoreWriteHook([calls = 0]() mutable {
            if (calls++ == 3) throw win::Error(L"crash");  // after the record and one value
        });
        EXPECT_THROW(form->aDeleteExecute(), win::Error);
        SetStoreWriteHook(nullptr);
    }
    ASSERT_TRUE(RecordLeft());
    EXPECT_NE(Stored(), (FolderList{kDelta, kAlpha, kCharlie, kBravo}));
    BoxWatcher boxes;
    auto fresh = Start();
    EXPECT_TRUE(boxes.Texts.empty());
    EXPECT_FALSE(RecordLeft());
    EXPECT_EQ(fresh->Entries(), (FolderList{kDelta, kAlpha, kCharlie, kBravo}));
    EXPECT_EQ(fresh->lvMain.ItemCount(), 4);
    EXPECT_EQ(Stored(), fresh->Entries());
}

TEST_F(FaultInjectionTest, AnImportThatRollsBackKeepsOnlyWholeEntries) {
    TempDir dir;
    std::wstring file = dir.File(L"list.pnx");
    ExportListFile(file, {{L"echo", L"C:\\echo"}, {L"alpha", L"c:\\ALPHA\\"}, kSep, {L"foxtrot", L"C:\\foxtrot"}});
    Command import{"import", 0, [&](TfrmMain& f) {
                       ImportListFile(file, kFixtureStore, f.Entries());
                       f.ShowEntries(-1);
                   },
                   {kDelta, kSep, kAlpha, kCharlie, kBravo, {L"echo", L"C:\\echo"}, {L"foxtrot", L"C:\\foxtrot"}}};
    EXPECT_EQ(RunWithEveryFailure(import, false), 4);  // two entries, two values each
}
