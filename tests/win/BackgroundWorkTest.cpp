// Work kept off a window's thread: what it finds comes back to that thread,
// a slow path holds only the worker, and answers nobody waits for any more
// are never run.
#include <gtest/gtest.h>
#include <objbase.h>

#include <atomic>
#include <memory>

#include "support/TestSupport.h"
#include "support/Watchers.h"
#include "win/Application.h"
#include "win/BackgroundWork.h"
#include "win/Error.h"
#include "win/PathCheck.h"

using namespace testing_support;
using win::PathKind;

TEST(BackgroundWork, JobsRunElsewhereWithComAndQuietErrorsAndReplyHere) {
    win::BackgroundWork work;
    const DWORD self = GetCurrentThreadId();
    std::atomic<DWORD> jobThread{0};
    std::atomic<bool> sta{false}, quiet{false};
    DWORD replyThread = 0;
    std::vector<int> order;
    for (int i = 0; i < 3; ++i) {
        work.Run([&, i]() -> win::BackgroundWork::Reply {
            jobThread = GetCurrentThreadId();
            APTTYPE type{};
            APTTYPEQUALIFIER qualifier{};
            sta = SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
            quiet = (GetThreadErrorMode() & SEM_FAILCRITICALERRORS) != 0;
            return [&, i] {
                replyThread = GetCurrentThreadId();
                order.push_back(i);
            };
        });
    }
    EXPECT_EQ(work.Pending(), 3);
    ASSERT_TRUE(WaitUntil([&] { return work.Pending() == 0; }));
    EXPECT_EQ(order.size(), 3u);
    EXPECT_NE(jobThread, self);
    EXPECT_EQ(replyThread, self);
    EXPECT_TRUE(sta) << "the shell wants COM on the worker";
    EXPECT_TRUE(quiet) << "no system box for a drive without a disk";

    // What a job throws is shown where its reply would have run.
    win::Application::Instance().SetTitle(L"Pathnook");
    BoxAnswerer boxes(L"Pathnook");
    work.Run([]() -> win::BackgroundWork::Reply { throw win::Error(L"Unable to read the share"); });
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Texts().empty(); }));
    EXPECT_EQ(boxes.Texts().front(), L"Unable to read the share.");
    EXPECT_TRUE(WaitUntil([&] { return work.Pending() == 0; }));
}

TEST(BackgroundWork, DroppedAnswersAndThoseOfAGoneObjectNeverRun) {
    TempDir dir;
    std::wstring folder = dir.File(L"slow");
    CreateDirectoryW(folder.c_str(), nullptr);
    SlowPath slow(folder);
    std::atomic<int> finished{0};
    bool dropped = false, gone = false, later = false;
    auto job = [&](bool& replied) {
        return [&, flag = &replied]() -> win::BackgroundWork::Reply {
            win::CheckPath(folder);
            ++finished;
            return [flag] { *flag = true; };
        };
    };

    win::BackgroundWork work;
    work.Run(job(dropped));
    auto other = std::make_unique<win::BackgroundWork>();
    other->Run(job(gone));
    ASSERT_TRUE(WaitUntil([&] { return slow.Calls() == 2; }));
    work.Drop();
    EXPECT_EQ(work.Pending(), 0);
    other.reset();
    slow.Release();
    ASSERT_TRUE(WaitUntil([&] { return finished == 2; }));
    // Work started afterwards still answers, on the same object.
    work.Run([&]() -> win::BackgroundWork::Reply { return [&] { later = true; }; });
    ASSERT_TRUE(WaitUntil([&] { return later; }));
    Pump();
    EXPECT_FALSE(dropped);
    EXPECT_FALSE(gone);
}

TEST(PathCheck, TellsFoldersFromFilesMissingPathsAndNonPaths) {
    TempDir dir;
    std::wstring folder = dir.File(L"folder"), file = dir.File(L"notes.txt");
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileText(file, "x");
    ProgramCopy program(dir.File(L"tool.exe"));
    struct Row {
        std::wstring path;
        PathKind kind;
    } rows[] = {
        {folder, PathKind::Folder},
        {folder + L"\\", PathKind::Folder},
        {L"C:\\windows", PathKind::Folder},
        {file, PathKind::File},
        {program.Path(), PathKind::File},
        {L"C:\\windows\\system32\\notepad.exe", PathKind::File},
        {dir.File(L"missing"), PathKind::Missing},
        {L"", PathKind::NotAPath},
        {L"notepad.exe", PathKind::NotAPath},      // the shell would look along PATH
        {L"C:notepad.exe", PathKind::NotAPath},    // relative to the drive's folder
        {L"http://127.0.0.1/", PathKind::NotAPath},
        {L"file:///C:/windows", PathKind::NotAPath},
    };
    for (const Row& r : rows) EXPECT_EQ(win::CheckPath(r.path), r.kind) << win::Narrow(r.path);
    EXPECT_TRUE(win::WhyNotAFolder(PathKind::Folder).empty());
    EXPECT_NE(win::WhyNotAFolder(PathKind::File).find(L"not a folder"), std::wstring::npos);
    EXPECT_NE(win::WhyNotAFolder(PathKind::Missing).find(L"does not exist"), std::wstring::npos);
}

TEST(CheckPaths, AnswersEveryPathInOrderWhileTheWindowKeepsAnswering) {
    TempDir dir;
    std::wstring folder = dir.File(L"share"), file = dir.File(L"file.txt");
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileText(file, "x");
    HWND window = CreateWindowExW(0, L"Static", L"window", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SlowPath slow(folder);
    win::BackgroundWork work;
    std::vector<PathKind> kinds;
    bool answered = false;
    DWORD start = GetTickCount();
    win::CheckPaths(work, {file, folder, dir.File(L"gone"), L"http://127.0.0.1/"},
                    [&](const std::vector<PathKind>& k) {
                        kinds = k;
                        answered = true;
                    });
    EXPECT_LT(GetTickCount() - start, 200u) << "the call waited for the check";
    AnswerTimer timer(window);
    ASSERT_TRUE(WaitUntil([&] { return slow.Waiting(); }));
    ASSERT_TRUE(WaitUntil([&] { return timer.Sends() >= 10; }));
    EXPECT_FALSE(answered);
    EXPECT_LT(timer.Stop(), 200u);
    slow.Release();
    ASSERT_TRUE(WaitUntil([&] { return answered; }));
    EXPECT_EQ(kinds, (std::vector<PathKind>{PathKind::File, PathKind::Folder, PathKind::Missing, PathKind::NotAPath}));
    DestroyWindow(window);
}
