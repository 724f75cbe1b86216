#pragma once
#include <windows.h>

#include <functional>
#include <memory>

namespace win {

// Work that may wait on the file system or on another program (a folder
// on an unreachable share, a dialog that does not answer) runs on a thread
// of its own, so that a window's thread never waits for it. What the work
// hands back runs later on the thread that made this object, from that
// thread's message loop (modal loops included).
class BackgroundWork {
public:
    using Reply = std::function<void()>;
    using Job = std::function<Reply()>;

    // On the thread that is to run the replies; it must pump messages.
    BackgroundWork();
    // Replies not run yet are dropped; jobs still running end on their own.
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // Runs `job` on a new thread with COM initialised (for the shell) and
    // no system error boxes; the reply it returns (may be empty) runs here.
    // Something thrown by the job is raised again here, when its reply
    // would have run.
    void Run(Job job);
    // Jobs started whose reply has neither run nor been dropped.
    int Pending() const;
    // Drops the replies of every job started so far: their work goes on
    // (it cannot be stopped half way) but nobody hears of it.
    void Drop();

private:
    struct Shared;
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    std::shared_ptr<Shared> shared_;
    HWND window_ = nullptr;
};

}  // namespace win
