#include "e2e/DialogDriver.h"

#include "support/TestSupport.h"

namespace dialog_driver {

HWND FindWindowOf(DWORD processId, const std::wstring& caption, int timeoutMs) {
    struct Find {
        DWORD pid;
        const std::wstring* caption;
        HWND found;
    } f{processId, &caption, nullptr};
    testing_support::WaitUntil(
        [&] {
            EnumWindows(
                [](HWND w, LPARAM lp) -> BOOL {
                    auto* f = reinterpret_cast<Find*>(lp);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(w, &pid);
                    if (pid == f->pid && IsWindowVisible(w) && TextOf(w) == *f->caption) {
                        f->found = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                (LPARAM)&f);
            return f.found != nullptr;
        },
        timeoutMs);
    return f.found;
}

bool WaitGone(HWND window, int timeoutMs) {
    return testing_support::WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); },
                                      timeoutMs);
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& className) {
    struct Collect {
        const std::wstring* cls;
        std::vector<HWND> found;
    } c{&className, {}};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Collect*>(lp);
            wchar_t cls[128] = {};
            GetClassNameW(w, cls, 128);
            if (_wcsicmp(cls, c->cls->c_str()) == 0) c->found.push_back(w);
            return TRUE;
        },
        (LPARAM)&c);
    return c.found;
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
    struct Find {
        const std::wstring* text;
        HWND found;
    } f{&text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            if (TextOf(w) == *f->text) {
                f->found = w;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&f);
    return f.found;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

void SetText(HWND edit, const std::wstring& text) {
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, 2000, nullptr);
}

namespace {
void MoveTo(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (p.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = (p.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}
void Button(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
}

// Moves the pointer and waits until it stays there: each move also comes
// back from X as a motion event of the desktop's process, which can arrive
// late and put the pointer back where an earlier move took it; the move is
// then made again. Settled means unchanged over several polls.
bool PointerTo(POINT p) {
    MoveTo(p);
    int steady = 0;
    return testing_support::WaitUntil(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            if (now.x == p.x && now.y == p.y) return ++steady >= 4;
            steady = 0;
            MoveTo(p);
            return false;
        },
        3000);
}
}  // namespace

// Pointer input reaches the program's thread in the order it was sent, so
// the control sees the move before the press; callers wait on what the click
// does.
void Click(HWND window, int x, int y) {
    RECT r{};
    GetClientRect(window, &r);
    POINT p{x < 0 ? (r.right - r.left) / 2 : x, y < 0 ? (r.bottom - r.top) / 2 : y};
    ClientToScreen(window, &p);
    // Arrive from a few pixels away, so that the control sees the pointer enter.
    PointerTo({p.x - 3, p.y - 2});
    PointerTo(p);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

void DoubleClick(HWND window, int x, int y) {
    Click(window, x, y);
    Button(MOUSEEVENTF_LEFTDOWN);
    Button(MOUSEEVENTF_LEFTUP);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{sizeof(info)};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

}  // namespace dialog_driver
