#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Control.h"
#include "win/Error.h"
#include "win/Form.h"
#include "win/ListView.h"
#include "win/StdControls.h"
#include "win/WindowHook.h"
#include "win/WindowLists.h"

namespace {

class PlainForm : public win::Form {
public:
    PlainForm() { CreateForm(L"winStructureTestForm", L"t", 300, 200, WS_OVERLAPPEDWINDOW, nullptr, true); }
};

// Answers every message box of the thread and counts them.
int g_boxes = 0;
void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
                ++g_boxes;
                SendMessageW(w, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        0);
}

class BoxCloser {
public:
    BoxCloser() : timer_(SetTimer(nullptr, 0, 30, CloseBoxes)) { g_boxes = 0; }
    ~BoxCloser() { KillTimer(nullptr, timer_); }

private:
    UINT_PTR timer_;
};

}  // namespace

// ---- the exception boundary

TEST(ExceptionBoundary, GuardedReturnsTheFallbackAndShowsTheErrorOnce) {
    BoxCloser closer;
    int ran = win::Guarded([] { return 7; }, -1);
    EXPECT_EQ(ran, 7);
    EXPECT_EQ(g_boxes, 0);
    int failed = win::Guarded([]() -> int { throw win::Error(L"Unable to write to X"); }, -1);
    EXPECT_EQ(failed, -1);
    EXPECT_EQ(g_boxes, 1);
}

namespace {
class FailingPainter : public win::Control {
public:
    void Create(HWND parent) { CreateControl(parent, 10, 10, 60, 30, WS_VISIBLE); }
    int paints = 0;

protected:
    void Paint(win::Canvas&) override {
        ++paints;
        throw win::Error(L"Out of system resources");
    }
};
}  // namespace

// A paint that fails would fail on every repaint: the window is validated
// and the error shown once, not once per repaint.
TEST(ExceptionBoundary, AFailingPaintIsShownOnceAndLeavesNothingToRepaint) {
    win::Sealed<PlainForm> form;
    FailingPainter control;
    control.Create(form.Handle());
    BoxCloser closer;
    form.Show(SW_SHOWNOACTIVATE);
    for (int i = 0; i < 3; ++i) {
        InvalidateRect(control.Handle(), nullptr, TRUE);
        UpdateWindow(control.Handle());
        EXPECT_FALSE(GetUpdateRect(control.Handle(), nullptr, FALSE)) << i;
    }
    win::Application::Instance().ProcessMessages();
    EXPECT_GE(control.paints, 3);  // every repaint ran, and failed
    EXPECT_EQ(g_boxes, 1);
}

// ---- hooks

namespace {
int g_hooksFreed = 0;
bool g_disposedInside = false;
int g_freedInside = -1;
class SelfDestroyingHook : public win::WindowHook {
public:
    SelfDestroyingHook() : WindowHook(0x7E57) {}
    ~SelfDestroyingHook() override { ++g_hooksFreed; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != WM_APP) return CallNext(msg, wp, lp);
        DestroyWindow(Hooked());  // the window goes inside its own message
        g_disposedInside = Disposed();
        g_freedInside = g_hooksFreed;  // still here: freed only after we return
        return 5;
    }
    void OnWindowGone() override { Dispose(); }
};
}  // namespace

TEST(WindowHook, AWindowDestroyedInsideItsOwnMessageFreesItsHookAfterwards) {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    auto* hook = new SelfDestroyingHook;
    ASSERT_TRUE(hook->Attach(w));
    EXPECT_EQ(win::WindowHook::Find(w, 0x7E57), hook);
    g_hooksFreed = 0;
    g_disposedInside = false;
    g_freedInside = -1;
    EXPECT_EQ(SendMessageW(w, WM_APP, 0, 0), 5);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_TRUE(g_disposedInside);  // the window's end reached the hook inside the message
    EXPECT_EQ(g_freedInside, 0);    // ... which still ran on live memory
    EXPECT_EQ(g_hooksFreed, 1);     // and freed it once done
}

// ---- child notifications

namespace {
class OwnerDrawnButton : public win::Window, public win::NotifyTarget {
public:
    void Create(HWND parent, int x) {
        CreateStandard(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, x, 20, 40, 20, parent, 7);
    }
    int drawn = 0;
    bool OnParentNotify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) override {
        if (msg != WM_DRAWITEM) return false;
        ++drawn;
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        FillRect(dis->hDC, &dis->rcItem, (HBRUSH)GetStockObject(BLACK_BRUSH));
        result = TRUE;
        return true;
    }
};
}  // namespace

TEST(ChildNotifications, ReachAnOwnerDrawnControlOnAFormAndInsideAGroupBox) {
    win::Sealed<PlainForm> form;
    OwnerDrawnButton onForm;
    onForm.Create(form.Handle(), 10);
    win::GroupBox box;
    box.Create(form.Handle(), L"Box", 100, 10, 150, 80);
    OwnerDrawnButton inBox;
    inBox.Create(box.Handle(), 10);
    form.Show(SW_SHOWNOACTIVATE);
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_GT(onForm.drawn, 0);  // the form's path ran
    EXPECT_GT(inBox.drawn, 0);
}

// ---- form lifetime

namespace {
bool g_windowGoneBeforeMembers = false;
int g_readsAfterFree = 0;

// A form as anyone would write it: a list whose texts live in a member
// declared after it, so the texts go first.
class ListForm : public win::Form {
public:
    ListForm() {
        CreateForm(L"winStructureListForm", L"t", 300, 200, WS_OVERLAPPEDWINDOW, nullptr, true);
        list.Create(Handle(), 0, 0, 300, 200);
        list.AddColumn(L"Name", 100);
        list.OnGetText = [this](int row, int) {
            if (!texts.alive) ++g_readsAfterFree;
            return texts.rows.at(row);
        };
        list.SetItemCount(2);
    }
    win::ListView list;
    struct Texts {
        std::vector<std::wstring> rows{L"a", L"b"};
        bool alive = true;
        ~Texts() { alive = false; }
    } texts;
    // Declared last: the first member to go.
    struct Probe {
        const win::Window* form;
        ~Probe() { g_windowGoneBeforeMembers = form->Handle() == nullptr; }
    } probe{this};
};
}  // namespace

TEST(FormLifetime, AFormLosesItsWindowBeforeAnyOfItsMembers) {
    g_windowGoneBeforeMembers = false;
    g_readsAfterFree = 0;
    HWND h = nullptr;
    {
        win::Sealed<ListForm> form;
        h = form.Handle();
        form.Show(SW_SHOWNOACTIVATE);
        UpdateWindow(h);
        win::Application::Instance().ProcessMessages();
        EXPECT_TRUE(IsWindow(h));
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(g_windowGoneBeforeMembers);
    EXPECT_EQ(g_readsAfterFree, 0);
}

// ---- window lists

TEST(WindowLists, ChildrenAtEveryDepthAndOnlyThisThreadsTopLevelWindows) {
    win::Sealed<PlainForm> form;
    HWND group = CreateWindowExW(0, L"BUTTON", L"g", WS_CHILD | BS_GROUPBOX, 0, 0, 100, 100, form.Handle(),
                                 nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExW(0, L"STATIC", L"i", WS_CHILD, 0, 0, 10, 10, group, nullptr, nullptr, nullptr);
    ASSERT_TRUE(group && inner);
    EXPECT_EQ(win::ChildWindows(form.Handle()), (std::vector<HWND>{group, inner}));
    EXPECT_EQ(win::ChildWindows(group), (std::vector<HWND>{inner}));

    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND foreign = nullptr;
    std::thread other([&] {
        foreign = CreateWindowExW(0, L"STATIC", L"o", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        SetEvent(made);
        WaitForSingleObject(done, 10000);
        DestroyWindow(foreign);
    });
    ASSERT_EQ(WaitForSingleObject(made, 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(foreign);
    std::vector<HWND> mine = win::ThreadWindows();
    auto has = [&](HWND w) { return std::find(mine.begin(), mine.end(), w) != mine.end(); };
    EXPECT_TRUE(has(form.Handle()));
    EXPECT_FALSE(has(group));
    EXPECT_FALSE(has(foreign));
    SetEvent(done);
    other.join();
    CloseHandle(made);
    CloseHandle(done);
}
