#include "xpmenu/XPMenuManager.h"

#include <algorithm>

#include "win/Application.h"
#include "win/Error.h"
#include "win/Gdi.h"
#include "win/WindowHook.h"
#include "xpmenu/ControlSubClass.h"
#include "xpmenu/XPMenu.h"

namespace xpmenu {

TXPMenuManager* TXPMenuManager::instance_ = nullptr;

namespace {
template <typename T>
bool Contains(const std::vector<T>& v, const T& x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}
template <typename T>
void Erase(std::vector<T>& v, const T& x) {
    v.erase(std::remove(v.begin(), v.end(), x), v.end());
}
const wchar_t kAppClass[] = L"XPMenuManagerWindow";
}  // namespace

TXPMenuManager& TXPMenuManager::Ensure() {
    if (!instance_) instance_ = new TXPMenuManager();
    return *instance_;
}

TXPMenuManager::TXPMenuManager() {
    // A message-only window stands in for the application window: frame
    // requests are posted to it, and menu loops dispatch them to it too.
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{sizeof(wc)};
    if (!GetClassInfoExW(inst, kAppClass, &wc)) {
        wc = {sizeof(wc)};
        wc.lpfnWndProc = AppWndProc;
        wc.hInstance = inst;
        wc.lpszClassName = kAppClass;
        RegisterClassExW(&wc);
    }
    appWindow_ = CreateWindowExW(0, kAppClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
    auto& app = win::Application::Instance();
    hook_ = app.AddMessageHook([this](MSG&) {
        OnAppMessage();
        return false;  // never consumed
    });
    formListener_ = app.AddFormListener([this](win::Form* f, bool added) { NoteForm(f, added); });
}

TXPMenuManager::~TXPMenuManager() {
    auto& app = win::Application::Instance();
    app.RemoveMessageHook(hook_);
    app.RemoveFormListener(formListener_);
    if (appWindow_) DestroyWindow(appWindow_);
}

LRESULT CALLBACK TXPMenuManager::AppWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if ((msg == WM_PAINTFRAME_ITEM || msg == WM_PAINTFRAME_WINDOW) && instance_) {
        win::Guarded([&] { instance_->FrameMessage(msg, wp, lp); });
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

void TXPMenuManager::Constructed(TXPMenu* p) {
    if (!Contains(all_, p)) all_.push_back(p);
}

void TXPMenuManager::Destroyed(TXPMenu* p) {
    Erase(all_, p);
    Erase(painters_, p);
    if (active_ == p) active_ = nullptr;
    if (all_.empty() && painters_.empty()) {
        instance_ = nullptr;
        delete this;
    }
}

bool TXPMenuManager::FormOwnsPainter(win::Form* form) const {
    return std::any_of(all_.begin(), all_.end(), [form](TXPMenu* p) { return &p->Form() == form; });
}

void TXPMenuManager::RegisterPainter(TXPMenu* p) {
    if (!Contains(painters_, p)) painters_.push_back(p);
    if (!Contains(handled_, &p->Form())) handled_.push_back(&p->Form());
    if (!active_ && p->Active() && !p->DisableSubclassing()) {
        active_ = p;
        QueueForms();
    }
}

void TXPMenuManager::UnregisterPainter(TXPMenu* p) {
    if (p == active_) HandOver(p);
    Erase(painters_, p);
}

void TXPMenuManager::QueueForms() {
    for (win::Form* f : win::Application::Instance().Forms()) {
        if (Contains(handled_, f) || f->Tag == kTagNotPainted || Contains(pending_, f)) continue;
        if (!FormOwnsPainter(f)) pending_.push_back(f);
    }
}

void TXPMenuManager::NoteForm(win::Form* form, bool inserted) {
    if (!active_) return;
    if (inserted) {
        if (!Contains(pending_, form)) pending_.push_back(form);
        // Make sure a message comes by to paint it, even in a quiet queue.
        if (appWindow_) PostMessageW(appWindow_, WM_NULL, 0, 0);
    } else {
        Erase(pending_, form);
        Erase(handled_, form);
    }
}

void TXPMenuManager::OnAppMessage() {
    if (pending_.empty()) return;
    try {
        // A form is painted once its window exists; one still being built
        // waits for a later message.
        std::vector<win::Form*> later;
        for (win::Form* f : std::vector<win::Form*>(pending_)) {
            // A form with a painter of its own is painted by that one.
            if (!active_ || Contains(handled_, f) || FormOwnsPainter(f)) continue;
            if (!IsWindow(f->Handle()) || f->Tag == kTagNotPainted) {
                if (!IsWindow(f->Handle())) later.push_back(f);
                continue;
            }
            handled_.push_back(f);
            Erase(pending_, f);
            active_->ApplyToOwned(*f, true, true);
        }
        pending_ = later;
    } catch (...) {
        // Forms not yet handled stay pending for the next message.
    }
}

void TXPMenuManager::HandOver(TXPMenu* leaving) {
    TXPMenu* successor = nullptr;
    for (TXPMenu* p : painters_)
        if (p->Active() && !p->DisableSubclassing() && p != leaving) {
            successor = p;
            break;
        }
    if (successor && !active_) {
        active_ = successor;
        QueueForms();
        return;
    }
    if (successor) {
        if (leaving) {
            HWND leavingForm = leaving->Form().Handle();
            for (TControlSubClass* r : std::vector<TControlSubClass*>(active_->Records())) {
                if (leavingForm && (r->Control == leavingForm || IsChild(leavingForm, r->Control))) continue;
                auto* copy = r->CopyFor(successor);
                successor->AddRecord(copy);
                copy->Install();
                // The old record no longer runs; it must not touch the control again.
                active_->ForgetRecord(r);
                r->Dispose();
            }
        }
        active_ = successor;
        return;
    }
    pending_.clear();
    if (win::Application::Instance().Forms().empty()) return;
    for (win::Form* f : std::vector<win::Form*>(handled_))
        if (!leaving || f != &leaving->Form()) RestoreForm(*f);
    handled_.clear();
    active_ = nullptr;
}

void TXPMenuManager::RestoreForm(win::Form& form) {
    if (!active_) return;
    HWND fh = form.Handle();
    auto records = active_->Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        try {
            TControlSubClass* r = *it;
            if (fh && IsWindow(r->Control) && (r->Control == fh || IsChild(fh, r->Control))) r->Unhook();
        } catch (...) {
        }
    }
}

void TXPMenuManager::FrameMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!active_) return;
    if (msg == WM_PAINTFRAME_WINDOW) {
        PaintFlatFrame(active_, (HWND)lp, LOWORD(wp) != 0);
        return;
    }
    // The item by its place in its menu: the item itself may be gone by now.
    auto menu = (HMENU)lp;
    int index = (int)wp;
    RECT r{};
    if (!IsMenu(menu) || !GetMenuItemRect(nullptr, menu, index, &r)) return;
    POINT c{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (HWND w = WindowFromPoint(c)) PaintFlatFrame(active_, w, active_->Form().Menu().RightToLeft);
}

// ---- flat popup frame

namespace {
// The popup menu window's hook while its flat frame is drawn: no erasing
// over the frame, and the window's own shape back when it hides.
class FrameHook : public win::WindowHook {
public:
    static constexpr UINT_PTR Id = 0x5852;
    FrameHook() : WindowHook(Id) {}

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_ERASEBKGND) return 1;
        if ((msg == WM_SHOWWINDOW && !wp) || msg == WM_CLOSE || msg == WM_DESTROY) {
            HWND w = Hooked();
            SetWindowRgn(w, nullptr, FALSE);
            Dispose();
            LRESULT result = CallNext(msg, wp, lp);
            RECT r{};
            GetWindowRect(w, &r);
            HWND next = WindowFromPoint({r.right + 2, r.top + 2});
            if (!next) next = WindowFromPoint({r.right + 2, r.bottom - 2});
            if (next && Find(next, Id)) InvalidateRect(next, nullptr, FALSE);
            return result;
        }
        return CallNext(msg, wp, lp);
    }
    void OnWindowGone() override { Dispose(); }
};
}  // namespace

bool HasFlatFrame(HWND w) { return win::WindowHook::Find(w, FrameHook::Id) != nullptr; }

void PaintFlatFrame(TXPMenu* painter, HWND w, bool rightToLeft) {
    if (!painter || !w || !IsWindow(w) || painter->PaintingFrame) return;
    win::WindowDC dc(w, win::WindowDC::Whole);
    if (!dc) return;
    painter->PaintingFrame = true;
    if (painter->PaletteDirty()) painter->RefreshPalette(dc);
    const TPaintColors& c = painter->PaintColors();
    RECT wr{};
    GetWindowRect(w, &wr);
    int W = wr.right - wr.left, H = wr.bottom - wr.top;

    if (!win::WindowHook::Find(w, FrameHook::Id)) {
        auto* hook = new FrameHook;
        if (!hook->Attach(w)) hook->Dispose();
    }
    const bool nt51 = painter->IsNT51();
    if (!nt51) {
        win::Region current(CreateRectRgn(0, 0, 0, 0));
        RECT box{};
        bool has = GetWindowRgn(w, current) != ERROR && GetRgnBox(current, &box) != ERROR;
        if (!has || std::abs((box.right - box.left) - W) > 5 || std::abs((box.bottom - box.top) - H) > 5) {
            win::Region a(CreateRectRgn(0, 0, W - 2, H - 2)), b(CreateRectRgn(2, 2, W, H));
            CombineRgn(a, a, b, RGN_OR);
            SetWindowRgn(w, a.Release(), TRUE);  // the window owns the region now
        }
        W -= 2;
        H -= 2;
    }
    FrameColor(dc, {0, 0, W, H}, c.FrameOuter);
    if (rightToLeft) PolylineColor(dc, {{W - 3, 2}, {W - 2, H - 1}}, c.IconColumn);
    else FrameColor(dc, {1, 2, 3, H - 1}, c.IconColumn);
    StretchBlt(dc, 1, 1, W - 1, 1, dc, 1, 3, W - 1, 1, SRCCOPY);
    StretchBlt(dc, 1, 2, W - 1, 1, dc, 1, 3, W - 1, 1, SRCCOPY);
    if (nt51) {
        StretchBlt(dc, 1, H - 3, W - 1, 1, dc, 1, 3, W - 1, 1, SRCCOPY);
        StretchBlt(dc, 1, H - 2, W - 1, 1, dc, 1, 3, W - 1, 1, SRCCOPY);
        FrameColor(dc, {W - 3, 1, W - 1, H - 1}, c.Background);
    }
    W += 2;
    H += 2;
    if (!nt51) {
        FrameColor(dc, {2, H - 2, W, H}, c.FrameShadow);
        FrameColor(dc, {W - 2, 2, W, H}, c.FrameShadow);
    }
    painter->PaintingFrame = false;
}

}  // namespace xpmenu
