#include "support/Watchers.h"

#include <shellapi.h>
#include <psapi.h>

#include <set>

#include "support/TestSupport.h"
#include "win/PathCheck.h"

namespace testing_support {

SlowPath::SlowPath(const std::wstring& path, DWORD maxMs)
    : path_(path), release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    win::SetPathCheckHook([this, maxMs](const std::wstring& p) {
        if (CompareStringOrdinal(p.c_str(), -1, path_.c_str(), -1, TRUE) != CSTR_EQUAL) return;
        ++calls_;
        ++waiting_;
        WaitForSingleObject(release_, maxMs);
        --waiting_;
    });
}

SlowPath::~SlowPath() {
    Release();
    win::SetPathCheckHook(nullptr);
    // A check still inside the hook holds `this`.
    WaitUntil([&] { return waiting_ == 0; }, 5000);
    CloseHandle(release_);
}

BoxAnswerer::BoxAnswerer(const std::wstring& caption) : caption_(caption) {
    thread_ = std::thread([this] {
        std::set<HWND> seen;
        while (!stop_) {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, L"#32770", caption_.c_str()))) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || !seen.insert(w).second) continue;
                {
                    std::lock_guard lock(mutex_);
                    texts_.push_back(DialogText(w));
                }
                PostMessageW(w, WM_COMMAND, IDOK, 0);
            }
            Sleep(20);
        }
    });
}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    thread_.join();
}

std::vector<std::wstring> BoxAnswerer::Texts() const {
    std::lock_guard lock(mutex_);
    return texts_;
}

AnswerTimer::AnswerTimer(HWND window) : window_(window) {
    thread_ = std::thread([this] {
        while (!stop_) {
            DWORD start = GetTickCount();
            DWORD_PTR r = 0;
            bool answered = SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r) != 0;
            DWORD took = answered ? GetTickCount() - start : 10000;
            if (took > worst_) worst_ = took;
            ++sends_;
            Sleep(10);
        }
        ended_ = true;
    });
}

AnswerTimer::~AnswerTimer() { Stop(); }

DWORD AnswerTimer::Stop() {
    if (!stop_.exchange(true)) {
        // Its last send may be to a window of this thread: keep answering.
        WaitUntil([&] { return ended_.load(); }, 15000);
        thread_.join();
    }
    return worst_;
}

ProgramCopy::ProgramCopy(const std::wstring& path) : path_(path) {
    CopyFileW(BuiltExe(L"bare_window.exe").c_str(), path_.c_str(), FALSE);
}

ProgramCopy::~ProgramCopy() {
    for (HANDLE p : started_) {
        TerminateProcess(p, 0);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
    }
}

int ProgramCopy::Running() const {
    // Every process's image, compared by full path (the tool help snapshot
    // misbehaves under Wine).
    std::vector<DWORD> ids(4096);
    DWORD bytes = 0;
    if (!K32EnumProcesses(ids.data(), (DWORD)(ids.size() * sizeof(DWORD)), &bytes)) return -1;
    ids.resize(bytes / sizeof(DWORD));
    int n = 0;
    for (DWORD id : ids) {
        HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
        if (!p) continue;
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (QueryFullProcessImageNameW(p, 0, image, &size) &&
            CompareStringOrdinal(image, -1, path_.c_str(), -1, TRUE) == CSTR_EQUAL && WaitForSingleObject(p, 0) == WAIT_TIMEOUT)
            ++n;
        CloseHandle(p);
    }
    return n;
}

bool ProgramCopy::StartThroughShell() {
    SHELLEXECUTEINFOW info{sizeof(info)};
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = path_.c_str();
    info.nShow = SW_SHOWMINNOACTIVE;
    if (!ShellExecuteExW(&info) || !info.hProcess) return false;
    started_.push_back(info.hProcess);
    return true;
}

}  // namespace testing_support
