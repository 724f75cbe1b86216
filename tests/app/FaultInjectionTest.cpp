// The list's commands with the store failing at each of their writes in
// turn, and read by another program at each of them, with no window: the
// list never holds what the store does not, a reader sees the list before
// or after a command and never between, and a crash loses nothing.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/BoxWatcher.h"
#include "app/ListCommands.h"
#include "app/ListFile.h"
#include "app/MainFormFixture.h"
#include "store/RewriteRecord.h"
#include "support/TestSupport.h"
#include "win/Error.h"

using namespace testing_support;

namespace {
const FolderEntry kDelta{L"delta", L"C:\\delta"};
const FolderEntry kAlpha{L"alpha", L"C:\\alpha"};
const FolderEntry kCharlie{L"Charlie", L"C:\\charlie"};
const FolderEntry kBravo{L"bravo", L"C:\\bravo"};
const FolderEntry kEcho{L"echo", L"C:\\echo"};
const FolderEntry kFoxtrot{L"foxtrot", L"C:\\foxtrot"};
const FolderEntry kSep = FolderEntry::Separator();
const FolderList kBefore{kDelta, kSep, kAlpha, kCharlie, kBravo};

FolderList With(FolderList list, const FolderList& more) {
    list.insert(list.end(), more.begin(), more.end());
    return list;
}

struct Command {
    const char* name;
    std::function<void(ListCommands&)> prepare;  // run before the store fails
    std::function<Outcome(ListCommands&)> run;
    FolderList expected;  // what the command leaves when nothing fails
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
    static FolderList Stored() {
        FolderList list;
        try {
            LoadList(kFixtureStore, list);
        } catch (const win::Error&) {
        }
        return list;
    }
    static bool RecordLeft() {
        HKEY h;
        std::wstring key = kFixtureStore + L"\\" + RewriteRecordKey;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
        RegCloseKey(h);
        return true;
    }
    std::vector<Command> Commands() {
        ExportListFile(file, {kEcho, {L"alpha", L"c:\\ALPHA\\"}, kSep, kFoxtrot});
        auto none = [](ListCommands&) {};
        return {
            {"delete the separator", none, [](ListCommands& l) { return l.Delete(1); },
             {kDelta, kAlpha, kCharlie, kBravo}},
            {"delete the last", none, [](ListCommands& l) { return l.Delete(4); }, {kDelta, kSep, kAlpha, kCharlie}},
            {"move up", none, [](ListCommands& l) { return l.MoveUp(3); }, {kDelta, kSep, kCharlie, kAlpha, kBravo}},
            {"move down", none, [](ListCommands& l) { return l.MoveDown(1); }, {kDelta, kAlpha, kSep, kCharlie, kBravo}},
            {"sort", none, [](ListCommands& l) { return l.Sort(true, 0); }, {kSep, kAlpha, kBravo, kCharlie, kDelta}},
            {"edit", none, [](ListCommands& l) { return l.Edit(2, kAlpha, kEcho); },
             {kDelta, kSep, kEcho, kCharlie, kBravo}},
            {"add", none, [](ListCommands& l) { return l.Append({kEcho}, 0, false); }, With(kBefore, {kEcho})},
            {"import", none, [this](ListCommands& l) { return l.Import(file, 0); }, With(kBefore, {kEcho, kFoxtrot})},
            {"undo a sort", [](ListCommands& l) { l.Sort(true, 0); }, [](ListCommands& l) { return l.Undo(0); },
             kBefore},
            {"undo an import", [this](ListCommands& l) { l.Import(file, 0); },
             [](ListCommands& l) { return l.Undo(0); }, kBefore},
        };
    }
    // A fresh list over the seeded store, with the command's preparation done.
    static std::unique_ptr<ListCommands> Open(const Command& c) {
        Seed();
        auto list = std::make_unique<ListCommands>(kFixtureStore);
        list->Load();
        EXPECT_EQ(list->Entries(), kBefore);
        c.prepare(*list);
        return list;
    }
    TempDir dir;
    std::wstring file = dir.File(L"list.pnx");
};
}  // namespace

TEST_F(FaultInjectionTest, ARefusedWriteLeavesTheListAsTheStoreHoldsItAndSaysSo) {
    for (const Command& c : Commands()) {
        for (int k = 0;; ++k) {
            SCOPED_TRACE(std::string(c.name) + ", refused at write " + std::to_string(k));
            auto list = Open(c);
            FolderList before = list->Entries();
            int calls = 0;
            bool fired = false;
            SetStoreWriteHook([&] {
                if (calls++ == k) {
                    fired = true;
                    throw win::Error(L"Failed to set data for 'refused'");
                }
            });
            Outcome outcome = c.run(*list);
            SetStoreWriteHook(nullptr);
            FolderList stored = Stored();
            EXPECT_EQ(list->Entries(), stored);
            EXPECT_TRUE(stored == before || stored == c.expected) << "neither before nor after";
            EXPECT_FALSE(RecordLeft());
            EXPECT_EQ(outcome.Message.empty(), !fired) << win::Narrow(outcome.Message);
            // The next command works on the list the store holds: an add
            // lands where that list ends, on no entry.
            size_t end = list->Entries().size();
            list->Append({{L"later", L"C:\\later"}}, -1, false);
            EXPECT_EQ(Stored(), list->Entries());
            ASSERT_GT(list->Entries().size(), end);
            EXPECT_EQ(list->Entries()[end].Alias, L"later");
            if (!fired) {
                EXPECT_EQ(stored, c.expected);
                EXPECT_GT(k, 0);
                break;
            }
        }
    }
}

TEST_F(FaultInjectionTest, AStoreThatStopsTakingWritesLosesNothingAtTheNextStart) {
    for (const Command& c : Commands()) {
        for (int k = 0;; ++k) {
            SCOPED_TRACE(std::string(c.name) + ", no write from " + std::to_string(k) + " on");
            auto list = Open(c);
            FolderList before = list->Entries();
            int calls = 0;
            SetStoreWriteHook([&] {
                if (calls++ >= k) throw win::Error(L"crash");
            });
            Outcome outcome = c.run(*list);
            SetStoreWriteHook(nullptr);
            bool fired = calls > k;
            FolderList shown = list->Entries();
            EXPECT_TRUE(shown == before || shown == c.expected) << "neither before nor after";
            // A start as the program makes it: the record finished, then the list read.
            EXPECT_NE(FinishRewrite(kFixtureStore), RecordState::Damaged);
            EXPECT_FALSE(RecordLeft());
            EXPECT_EQ(Stored(), shown);
            if (!fired) {
                EXPECT_TRUE(outcome.Message.empty());
                break;
            }
        }
    }
}

TEST_F(FaultInjectionTest, AReaderAtEveryWriteSeesTheListBeforeOrAfter) {
    for (const Command& c : Commands()) {
        SCOPED_TRACE(c.name);
        auto list = Open(c);
        FolderList before = list->Entries();
        std::vector<FolderList> reads;
        SetStoreWriteHook([&] {
            // Another program reads while the write waits: a thread of its own,
            // which the writer's lock does not let in.
            FolderList seen;
            std::thread reader([&] {
                try {
                    LoadList(kFixtureStore, seen);
                } catch (const win::Error&) {
                }
            });
            reader.join();
            reads.push_back(seen);
        });
        Outcome outcome = c.run(*list);
        SetStoreWriteHook(nullptr);
        EXPECT_TRUE(outcome.Message.empty());
        ASSERT_EQ(list->Entries(), c.expected);
        ASSERT_FALSE(reads.empty());
        int after = 0;
        for (size_t i = 0; i < reads.size(); ++i) {
            EXPECT_TRUE(reads[i] == before || reads[i] == c.expected) << "read at write " << i;
            after += reads[i] == c.expected;
        }
        EXPECT_GT(after, 0) << "no reader saw the change made";
    }
}

TEST_F(FaultInjectionTest, AWindowOpenedAfterACrashShowsTheFinishedRewrite) {
    {
        ListCommands list(kFixtureStore);
        list.Load();
        int calls = 0;
        SetStoreWriteHook([&] {
            if (calls++ >= 4) throw win::Error(L"crash");  // the count, the record and one value
        });
        list.Delete(1);
        SetStoreWriteHook(nullptr);
    }
    ASSERT_TRUE(RecordLeft());
    BoxWatcher boxes;
    auto fresh = std::make_unique<win::Sealed<TfrmMain>>();
    fresh->Show();
    win::Application::Instance().ProcessMessages();
    EXPECT_TRUE(boxes.Texts.empty());
    EXPECT_FALSE(RecordLeft());
    EXPECT_EQ(fresh->Entries(), (FolderList{kDelta, kAlpha, kCharlie, kBravo}));
    EXPECT_EQ(fresh->lvMain.ItemCount(), 4);
    EXPECT_EQ(Stored(), fresh->Entries());
}
