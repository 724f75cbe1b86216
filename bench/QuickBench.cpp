// The quick menu with 1,000 entries: from the hot key to the menu on
// screen, beside a bare TrackPopupMenu of the same 1,000 plain items opened
// by a hot key of this process in the same run; and the registry calls an
// open makes when nothing changed since the last one.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "quick/QuickTestSupport.h"
#include "quick/QuickWindow.h"
#include "store/StoreNames.h"

using namespace testing_support;
using namespace quicktest;

namespace {
constexpr int kEntries = 1000, kRounds = 7;

double Now() {
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER v;
        QueryPerformanceFrequency(&v);
        return v;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)f.QuadPart;
}

// Polls closely, so that the time measured is the menu's, not the poll's.
HWND WaitMenu(DWORD pid, double deadlineMs) {
    double end = Now() + deadlineMs;
    while (Now() < end) {
        if (HWND w = ShownMenuWindow(pid)) return w;
        Sleep(0);  // a yield, not a wait: the deadline above ends the poll
    }
    return nullptr;
}

bool WaitNoMenu(DWORD pid) {
    return WaitUntil([&] { return !ShownMenuWindow(pid); });
}

void Close(HWND menu) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The floor of type to find: the same 1,000 names filtered into a bare
// list box for each key typed, case set aside, and drawn. The key reaches
// its window from this thread as a posted character, as the menu's does,
// and the list counts its paints for the same kind of question the menu is
// asked.
HWND bareList = nullptr;
std::vector<std::wstring> bareNames;
std::wstring bareTyped;
constexpr UINT WM_BARE_RESET = WM_APP + 1;   // a new round: nothing typed
constexpr UINT WM_BARE_PAINTS = WM_APP + 2;  // the list's paints so far
LRESULT barePaints = 0;
WNDPROC listProc = nullptr;
LRESULT CALLBACK CountingListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) ++barePaints;
    return CallWindowProcW(listProc, w, msg, wp, lp);
}
void FilterBareList(const std::wstring& typed) {
    std::wstring key = typed;
    CharLowerBuffW(key.data(), (DWORD)key.size());
    SendMessageW(bareList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(bareList, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : bareNames) {
        std::wstring low = name;
        CharLowerBuffW(low.data(), (DWORD)low.size());
        if (low.find(key) != std::wstring::npos) SendMessageW(bareList, LB_ADDSTRING, 0, (LPARAM)name.c_str());
    }
    SendMessageW(bareList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(bareList, nullptr, TRUE);
    UpdateWindow(bareList);
}

// The bare menu: this process's own window and hot key, 1,000 plain items.
std::atomic<HWND> bareWindow{nullptr};
LRESULT CALLBACK BareProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_BARE_RESET) {
        bareTyped.clear();
        return 0;
    }
    if (msg == WM_CHAR) {
        bareTyped += (wchar_t)wp;
        FilterBareList(bareTyped);
        return 0;
    }
    if (msg == WM_BARE_PAINTS) return barePaints;
    if (msg == WM_HOTKEY) {
        HMENU menu = CreatePopupMenu();
        for (int i = 0; i < kEntries; ++i)
            AppendMenuW(menu, MF_STRING, 1 + i, (L"Folder " + std::to_wstring(i)).c_str());
        POINT at;
        GetCursorPos(&at);
        SetForegroundWindow(w);
        TrackPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, 0, w, nullptr);
        PostMessageW(w, WM_NULL, 0, 0);
        DestroyMenu(menu);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}
// Each keystroke typed in the open quick menu until its matches show,
// beside the bare list box filtered to the same text.
int TypeToFind(QuickProcess& app) {
    const std::wstring typed = L"123";
    std::vector<std::vector<double>> q(typed.size()), done(typed.size()), b(typed.size());
    auto heading = [&](const std::wstring& text) {
        ATOM atom = (ATOM)app.Ask(WM_QUICK_MENU_TEXT, 0);
        wchar_t buf[256] = {};
        GlobalGetAtomNameW(atom, buf, 256);
        GlobalDeleteAtom(atom);
        return std::wstring(buf).find(L"\u201c" + text + L"\u201d") != std::wstring::npos;
    };
    for (int round = 0; round <= kRounds; ++round) {
        SendKeys({VK_LWIN, VK_MENU}, {'F'});
        HWND m = WaitMenu(app.Id(), 20000);
        if (!m || !WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; })) {
            printf("the quick menu did not open to type in\n");
            return 1;
        }
        for (size_t k = 0; k < typed.size(); ++k) {
            std::wstring sofar = typed.substr(0, k + 1);
            HWND shown = ShownMenuWindow(app.Id());
            const LRESULT paints0 = app.Ask(WM_QUICK_FOUND_PAINTS);
            double quick0 = Now();
            PostMessageW(shown, WM_CHAR, typed[k], 1);
            // The matches shown (in a list of their own, which the first
            // letter shows and further letters change): drawn since, as the
            // floor's list box is, with the text in its heading. One question
            // while waiting: each is answered only between the list's tasks.
            double end = quick0 + 20000, quick1 = 0;
            while (Now() < end && !quick1) {
                if (app.Ask(WM_QUICK_FOUND_PAINTS) > paints0) quick1 = Now();
                else Sleep(0);
            }
            while (Now() < end && !heading(sofar)) Sleep(0);
            // Then all the keystroke asked is done (the window fitted to the
            // matches) and the list takes keys: its loop ran dry.
            LRESULT idles = app.Ask(WM_QUICK_MENU_IDLES);
            while (Now() < end && !(app.Ask(WM_QUICK_MENU_IDLES) > idles && app.Ask(WM_QUICK_MENU_READY) != 0))
                Sleep(0);
            double quick2 = Now();
            if (Now() >= end) {
                printf("the quick menu did not show the matches of \"%ls\"\n", sofar.c_str());
                return 1;
            }
            if (k == 0) SendMessageW(bareWindow, WM_BARE_RESET, 0, 0);
            LRESULT paints = SendMessageW(bareWindow, WM_BARE_PAINTS, 0, 0);
            double bare0 = Now();
            PostMessageW(bareWindow, WM_CHAR, typed[k], 1);
            while (SendMessageW(bareWindow, WM_BARE_PAINTS, 0, 0) <= paints) Sleep(0);
            double bare1 = Now();
            // The first round builds the folders' images once; not counted.
            if (round > 0) {
                q[k].push_back(quick1 - quick0);
                done[k].push_back(quick2 - quick0);
                b[k].push_back(bare1 - bare0);
            }
        }
        Close(ShownMenuWindow(app.Id()));
        WaitNoMenu(app.Id());
    }
    for (size_t k = 0; k < typed.size(); ++k) {
        double qm = Median(q[k]), dm = Median(done[k]), bm = Median(b[k]);
        printf("type to find \"%ls\": keystroke to matches drawn, median of %d: quick menu %.1f ms, bare list box "
               "%.1f ms, ratio %.2fx (target <= 1.5x); to all done and taking keys: %.1f ms, ratio %.2fx\n",
               typed.substr(0, k + 1).c_str(), kRounds, qm, bm, qm / bm, dm, dm / bm);
    }
    fflush(stdout);
    return 0;
}
}  // namespace

int wmain() {
    DeleteKeyTree(StoreKey);
    TempDir dir;
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (int i = 0; i < kEntries; ++i) {
        // Half the folders exist; the rest are greyed.
        std::wstring path = dir.File(L"f" + std::to_wstring(i));
        if (i % 2 == 0) CreateDirectoryW(path.c_str(), nullptr);
        entries.push_back({L"Folder " + std::to_wstring(i), i % 50 == 49 ? L"-" : path});
        if (i % 50 == 49) entries.back().first = L"*Separator*";
        else bareNames.push_back(entries.back().first + L"\n" + path);
    }
    WriteList(entries);

    // The bare menu's thread.
    std::thread bare([] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BareProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BareMenuBench";
        RegisterClassW(&wc);
        HWND w = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        RegisterHotKey(w, 1, MOD_CONTROL | MOD_ALT, 'B');
        bareList = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 600, 100, 250,
                                   700, nullptr, nullptr, nullptr, nullptr);
        listProc = (WNDPROC)SetWindowLongPtrW(bareList, GWLP_WNDPROC, (LONG_PTR)CountingListProc);
        bareWindow = w;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    });
    if (!WaitUntil([] { return bareWindow != nullptr; }, 10000)) {
        printf("the bare menu's window did not come up\n");
        return 1;
    }

    SetString(StoreKey, PicViewValue, L"1");
    QuickProcess app;
    if (!app.Start()) {
        printf("PathnookQuick.exe did not start\n");
        return 1;
    }
    int failures = 0;
    for (const wchar_t* picView : {L"1", L"0"}) {
        LRESULT reads = app.Ask(WM_QUICK_READS);
        SetString(StoreKey, PicViewValue, picView);
        WaitUntil([&] { return app.Ask(WM_QUICK_READS) > reads; }, 10000);
        unsigned checks = (unsigned)app.Ask(WM_QUICK_CHECKS);
        WaitUntil([&] { return (unsigned)app.Ask(WM_QUICK_CHECKS) > checks; }, 30000);
        SetCursorPos(400, 200);
        std::vector<double> quick, plain;
        long calls = -1;
        for (int round = 0; round <= kRounds; ++round) {
            double t0 = Now();
            SendKeys({VK_LWIN, VK_MENU}, {'F'});
            HWND m = WaitMenu(app.Id(), 20000);
            double t1 = Now();
            if (!m) {
                printf("the quick menu did not open\n");
                ++failures;
                break;
            }
            WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; });
            Close(m);
            WaitNoMenu(app.Id());
            // The first round builds the folders' images once; not counted.
            if (round > 0) quick.push_back(t1 - t0);

            // An open with no change since the last one: its registry calls.
            if (round == kRounds) {
                LRESULT before = app.Ask(WM_QUICK_REGISTRY_CALLS);
                SendKeys({VK_LWIN, VK_MENU}, {'F'});
                HWND again = WaitMenu(app.Id(), 20000);
                WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; });
                if (again) Close(again);
                WaitNoMenu(app.Id());
                calls = (long)(app.Ask(WM_QUICK_REGISTRY_CALLS) - before);
            }

            t0 = Now();
            SendKeys({VK_CONTROL, VK_MENU}, {'B'});
            m = WaitMenu(GetCurrentProcessId(), 20000);
            t1 = Now();
            if (!m) {
                printf("the bare menu did not open\n");
                ++failures;
                break;
            }
            WaitUntil([&] { return FindWindowExW(nullptr, nullptr, L"#32768", nullptr) != nullptr; });
            Close(m);
            WaitNoMenu(GetCurrentProcessId());
            if (round > 0) plain.push_back(t1 - t0);
        }
        if (quick.empty() || plain.empty()) continue;
        double q = Median(quick), b = Median(plain);
        printf("PicView=%ls: hot key to menu shown, median of %d: quick menu %.1f ms, bare TrackPopupMenu %.1f ms, "
               "ratio %.2fx (target <= 1.5x)\n",
               picView, kRounds, q, b, q / b);
        printf("PicView=%ls: registry calls made by an open with no change since the last: %ld (target 0)\n", picView,
               calls);
        fflush(stdout);
    }
    failures += TypeToFind(app);
    app.Kill();
    PostMessageW(bareWindow, WM_QUIT, 0, 0);
    bare.join();
    DeleteKeyTree(StoreKey);
    return failures ? 1 : 0;
}
