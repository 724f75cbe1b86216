// The item dialog's folder check and the manager's "Open Folder" run off
// the window's thread: while a folder takes long to answer, the windows
// answer; the outcome comes when the answer does; nothing but an existing
// folder is ever opened.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "MainFormFixture.h"
#include "app/AddItem.h"
#include "app/Global.h"
#include "support/ShellRecorder.h"
#include "support/Watchers.h"
#include "win/Application.h"
#include "win/Error.h"

using namespace testing_support;

namespace {
// Runs `step` from inside whatever modal loop is running, once.
std::function<void()> g_step;
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(g_step);
    g_step = nullptr;
    if (step) step();
}
void Later(std::function<void()> step, UINT ms = 50) {
    g_step = std::move(step);
    SetTimer(nullptr, 0, ms, StepTimer);
}
// Runs `then` once `ready` holds, checking from the modal loop.
void When(std::function<bool()> ready, std::function<void()> then) {
    Later([ready, then] {
        if (ready()) then();
        else When(ready, then);
    });
}

class SlowFolderTest : public MainFormFixture {
protected:
    TempDir dir;
    std::wstring folder = dir.File(L"share");
    void FillStore() override {
        CreateDirectoryW(folder.c_str(), nullptr);
        SeedStore(0);
    }
};
}  // namespace

TEST_F(SlowFolderTest, ItemDialogOkWaitsForTheFolderWithoutHoldingTheDialog) {
    SlowPath slow(folder);
    win::Sealed<TfrmProperty> d(form->Handle(), L"Share", folder);
    std::unique_ptr<AnswerTimer> timer;
    bool checking = false, openWhileHeld = false;
    int callsWhileHeld = 0;
    DWORD worstAnswer = 0;
    Later([&] {
        d.fbOkClick();
        d.fbOkClick();  // a second OK while the check runs adds nothing
        checking = d.Checking();
        timer = std::make_unique<AnswerTimer>(d.Handle());
        When([&] { return slow.Waiting() && timer->Sends() >= 10; }, [&] {
            openWhileHeld = IsWindowVisible(d.Handle()) && d.ModalResult == win::mrNone;
            callsWhileHeld = slow.Calls();
            // Measured while held: hiding the dialog afterwards is the window system's time.
            worstAnswer = timer->Stop();
            slow.Release();
        });
    });
    EXPECT_EQ(d.ShowModal(), win::mrOk);
    EXPECT_TRUE(checking);
    EXPECT_TRUE(openWhileHeld) << "the dialog closed before the answer";
    EXPECT_EQ(callsWhileHeld, 1);
    EXPECT_EQ(slow.Calls(), 1);
    EXPECT_LT(worstAnswer, 200u) << "the dialog did not answer while the folder was asked for";
    EXPECT_EQ(d.Entry(), (FolderEntry{L"Share", folder}));
}

TEST_F(SlowFolderTest, AMissingFolderIsToldOnceTheAnswerComesAndCancelJustCancels) {
    std::wstring missing = dir.File(L"gone");
    BoxAnswerer boxes;
    {
        SlowPath slow(missing);
        win::Sealed<TfrmProperty> d(form->Handle(), L"Gone", missing);
        bool toldEarly = true, stillOpen = false;
        Later([&] {
            d.fbOkClick();
            When([&] { return slow.Waiting(); }, [&] {
                toldEarly = !boxes.Texts().empty();
                slow.Release();
                When([&] { return !d.Checking() && boxes.Texts().size() == 1; }, [&] {
                    stillOpen = d.ModalResult == win::mrNone && IsWindowVisible(d.Handle());
                    d.ModalResult = win::mrCancel;
                });
            });
        });
        EXPECT_EQ(d.ShowModal(), win::mrCancel);
        EXPECT_FALSE(toldEarly);
        EXPECT_TRUE(stillOpen) << "a refused path closed the dialog";
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], NoSuchFolderMessage(missing));
    }
    // Cancelled while the check runs: the late answer closes nothing and says nothing.
    SlowPath slow(folder);
    win::Sealed<TfrmProperty> d(form->Handle(), L"Share", folder);
    Later([&] {
        d.fbOkClick();
        When([&] { return slow.Waiting(); }, [&] { d.ModalResult = win::mrCancel; });
    });
    EXPECT_EQ(d.ShowModal(), win::mrCancel);
    slow.Release();
    ASSERT_TRUE(WaitUntil([&] { return !d.Checking(); })) << "the answer never came";
    EXPECT_EQ(d.ModalResult, win::mrCancel);
    EXPECT_EQ(boxes.Texts().size(), 1u);
}

TEST_F(SlowFolderTest, OpenFolderStartsNoProgramAndWaitsForAFolderWithoutHoldingTheWindow) {
    ProgramCopy program(dir.File(L"tool.exe"));
    ASSERT_TRUE(program.StartThroughShell());
    ASSERT_TRUE(WaitUntil([&] { return program.Running() == 1; })) << "a started copy is not seen";
    SeedStore(0);
    SetString(kFixtureStore, L"N0", L"Tool");
    SetString(kFixtureStore, L"P0", program.Path());
    SetString(kFixtureStore, L"N1", L"Share");
    SetString(kFixtureStore, L"P1", folder);
    form->aRefreshExecute();
    form->ShowEntries(0);
    RecordingShell shell(dir.File(L"record.txt"));
    BoxAnswerer boxes;
    for (bool explore : {false, true}) {
        AppOptions.ExploreFolder = explore;
        form->aOpenFolderExecute();
        ASSERT_TRUE(WaitUntil([&] { return form->Background().Pending() == 0; }));
    }
    AppOptions.ExploreFolder = false;
    ASSERT_EQ(boxes.Texts().size(), 2u);
    for (const std::wstring& text : boxes.Texts()) {
        EXPECT_NE(text.find(program.Path()), std::wstring::npos) << win::Narrow(text);
        EXPECT_NE(text.find(L"not a folder"), std::wstring::npos) << win::Narrow(text);
    }
    EXPECT_EQ(program.Running(), 1) << "the program was started";

    SlowPath slow(folder);
    form->lvMain.Select(1);
    AnswerTimer timer(form->Handle());
    DWORD start = GetTickCount();
    form->aOpenFolderExecute();
    EXPECT_LT(GetTickCount() - start, 200u) << "the command waited for the folder";
    ASSERT_TRUE(WaitUntil([&] { return slow.Waiting() && timer.Sends() >= 10; }));
    std::wstring verb, got;
    EXPECT_FALSE(shell.Wait(verb, got, 0)) << "opened before the answer";
    EXPECT_LT(timer.Stop(), 200u);
    slow.Release();
    ASSERT_TRUE(shell.Wait(verb, got));
    EXPECT_EQ(verb, L"open");
    EXPECT_EQ(_wcsicmp(got.c_str(), folder.c_str()), 0) << win::Narrow(got);
    EXPECT_EQ(boxes.Texts().size(), 2u);
}

// A folder dropped from a slow share is checked while the window answers,
// and joins the list when the answer comes.
TEST_F(SlowFolderTest, ADroppedFolderIsCheckedWithoutHoldingTheWindow) {
    size_t before = form->Entries().size();
    SlowPath slow(folder);
    AnswerTimer timer(form->Handle());
    DWORD start = GetTickCount();
    form->DropFolders({folder});
    EXPECT_LT(GetTickCount() - start, 200u) << "the drop waited for the folder";
    ASSERT_TRUE(WaitUntil([&] { return slow.Waiting() && timer.Sends() >= 10; }));
    EXPECT_EQ(form->Entries().size(), before) << "added before the answer";
    EXPECT_LT(timer.Stop(), 200u);
    slow.Release();
    ASSERT_TRUE(WaitUntil([&] {
        win::Application::Instance().ProcessMessages();
        return form->Entries().size() == before + 1;
    })) << "the checked folder was not added";
    EXPECT_EQ(form->Entries().back().Path, folder);
}
