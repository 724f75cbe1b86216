#include "win/BackgroundWork.h"

#include <objbase.h>

#include <deque>
#include <exception>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "win/Error.h"

namespace win {

namespace {
constexpr UINT kDeliver = WM_APP + 1;
constexpr const wchar_t* kClass = L"win.BackgroundWork";
}  // namespace

// Shared with the job threads, which may outlive the object while they
// wait on a dead network path.
struct BackgroundWork::Shared {
    std::mutex mutex;
    HWND window = nullptr;  // null once the object is gone
    unsigned next = 1;
    std::set<unsigned> live;  // started, reply neither run nor dropped
    std::deque<std::pair<unsigned, Reply>> replies;
};

BackgroundWork::BackgroundWork() : shared_(std::make_shared<Shared>()) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    if (!GetClassInfoExW(instance, kClass, &wc)) {
        wc = WNDCLASSEXW{sizeof(wc)};
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.lpszClassName = kClass;
        RegisterClassExW(&wc);
    }
    // Message-only: it takes the replies and nothing else.
    window_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!window_) throw Error(L"Unable to create a window for background work");
    SetWindowLongPtrW(window_, GWLP_USERDATA, (LONG_PTR)shared_.get());
    shared_->window = window_;
}

BackgroundWork::~BackgroundWork() {
    std::deque<std::pair<unsigned, Reply>> dropped;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->window = nullptr;
        shared_->live.clear();
        dropped.swap(shared_->replies);
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}  // the dropped replies go here, outside the lock

void BackgroundWork::Run(Job job) {
    unsigned id;
    {
        std::lock_guard lock(shared_->mutex);
        id = shared_->next++;
        shared_->live.insert(id);
    }
    std::thread([shared = shared_, id, job = std::move(job)] {
        // No "insert a disk" box for an empty drive, from any call.
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
        HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        Reply reply;
        try {
            reply = job();
        } catch (...) {
            reply = [e = std::current_exception()] { std::rethrow_exception(e); };
        }
        if (SUCCEEDED(com)) CoUninitialize();
        std::unique_lock lock(shared->mutex);
        if (!shared->window || !shared->live.count(id)) return;
        shared->replies.emplace_back(id, std::move(reply));
        PostMessageW(shared->window, kDeliver, 0, 0);
    }).detach();
}

int BackgroundWork::Pending() const {
    std::lock_guard lock(shared_->mutex);
    return (int)shared_->live.size();
}

void BackgroundWork::Drop() {
    std::deque<std::pair<unsigned, Reply>> dropped;
    std::lock_guard lock(shared_->mutex);
    shared_->live.clear();
    dropped.swap(shared_->replies);
}

LRESULT CALLBACK BackgroundWork::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kDeliver) return DefWindowProcW(w, msg, wp, lp);
    // One reply per message: a reply may run a modal loop (a message box)
    // in which the next one arrives, or may destroy this object.
    auto* shared = reinterpret_cast<Shared*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (!shared) return 0;
    Reply reply;
    {
        std::lock_guard lock(shared->mutex);
        while (!shared->replies.empty() && !reply) {
            auto [id, r] = std::move(shared->replies.front());
            shared->replies.pop_front();
            if (shared->live.erase(id)) reply = r ? std::move(r) : Reply([] {});
        }
    }
    if (reply) Guarded([&] { reply(); });
    return 0;
}

}  // namespace win
