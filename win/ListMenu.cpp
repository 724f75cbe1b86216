#include "win/ListMenu.h"

#include <algorithm>
#include <optional>

#include "win/Accessible.h"
#include "win/Gdi.h"
#include "win/InputTaker.h"
#include "win/MenuPlace.h"
#include "win/Notify.h"

namespace win {

namespace {
constexpr UINT kFitMessage = WM_USER + 1;  // the window takes the menu's size

// Frame and margin round the items, as a system menu has them: a line (or
// a raised edge), then the menu's colour.
constexpr int kFrame = 3;

// Where a menu of this size opens at the point: right of and below it,
// else on its other side, else against the work area's edge.
LONG Along(LONG at, LONG size, LONG low, LONG high) {
    if (at + size <= high) return at;
    if (at - size >= low) return at - size;
    return std::max(low, high - size);
}
}  // namespace

ListMenu::~ListMenu() {
    if (Handle()) DestroyWindow(Handle());
}

ListMenu* ListMenu::Of(HWND window) { return dynamic_cast<ListMenu*>(Window::FromHandle(window)); }

MenuItem* ListMenu::Track(HWND owner, POINT at, bool lightFirst) {
    if (!Handle())
        CreateOwnClass(ClassName, CS_DROPSHADOW, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"", 0,
                       0, 1, 1, owner, nullptr);
    else
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, (LONG_PTR)owner);
    // A press elsewhere that came after the last showing ended is not
    // this one's.
    MSG stale;
    while (PeekMessageW(&stale, Handle(), WM_CANCELMODE, WM_CANCELMODE, PM_REMOVE)) {
    }
    tracking_ = true;
    done_ = false;
    chosen_ = nullptr;
    idles_ = 0;
    at_ = at;
    SIZE size{};
    lit_ = lightFirst ? FirstReachable() : -1;
    rows_.clear();  // measured anew: the scale may have changed
    rows_ = LayOut(size);
    shown_ = size;
    GetCursorPos(&lastPointer_);
    Place(size);
    InvalidateRect(Handle(), nullptr, FALSE);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, Handle(), OBJID_CLIENT, CHILDID_SELF);
    if (lit_ >= 0) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, lit_ + 1);
        if (OnLit) OnLit(lit_);
    }
    {
        // Keys typed anywhere come here; a press anywhere else closes.
        InputTaker input([this] { return Handle(); }, [this] { PostMessageW(Handle(), WM_CANCELMODE, 0, 0); },
                         [this] {
                             RECT r{};
                             GetWindowRect(Handle(), &r);
                             return RECT{r.left, r.top, r.left + shown_.cx, r.top + shown_.cy};
                         });
        while (!done_) {
            MSG msg;
            if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ++idles_;
                WaitMessage();
                continue;
            }
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, Handle(), OBJID_CLIENT, CHILDID_SELF);
    ShowWindow(Handle(), SW_HIDE);
    tracking_ = false;
    lit_ = -1;
    return chosen_;
}

void ListMenu::Finish(MenuItem* chosen) {
    if (!tracking_) return;
    chosen_ = chosen;
    done_ = true;
}

void ListMenu::Cancel() { Finish(nullptr); }

void ListMenu::Choose(int position) {
    if (position < 0 || position >= (int)Root.Items.size()) return;
    MenuItem& item = *Root.Items[(size_t)position];
    if (Reachable(item) && item.IsEnabled()) Finish(&item);
}

std::vector<ListMenu::Row> ListMenu::LayOut(SIZE& size) const {
    std::vector<Row> rows;
    rows.reserve(Root.Items.size());
    int top = kFrame, width = 0;
    std::optional<WindowDC> screen;
    for (const auto& child : Root.Items) {
        MenuItem& item = *child;
        Row row;
        row.Top = top;
        row.Caption = item.Caption;
        row.Enabled = item.IsEnabled();
        row.Checked = item.Checked;
        row.Heading = item.Heading;
        row.Lit = (int)rows.size() == lit_;
        row.Bitmap = item.Bitmap;
        int w = (int)item.Measured.cx, h = (int)item.Measured.cy;
        if ((w <= 0 || h <= 0) && item.OnMeasureItem) {
            // A row that shows what it showed before keeps its size.
            const Row* was = rows.size() < rows_.size() ? &rows_[rows.size()] : nullptr;
            if (was && was->Caption == row.Caption && was->Bitmap == row.Bitmap && was->Heading == row.Heading &&
                was->Checked == row.Checked && was->Enabled == row.Enabled) {
                w = was->Width;
                h = was->Height;
            } else {
                if (!screen) screen.emplace(nullptr);
                w = h = 0;
                item.OnMeasureItem(item, *screen, w, h);
            }
        }
        row.Width = w;
        row.Height = std::max(0, h);
        width = std::max(width, std::max(w, item.MinWidth) + ExtraWidth);
        top += row.Height;
        rows.push_back(std::move(row));
    }
    size = SIZE{width + 2 * kFrame, top + kFrame};
    return rows;
}

void ListMenu::Place(SIZE size) {
    const RECT area = WorkAreaAt(at_);
    const int x = Along(at_.x, size.cx, area.left, area.right), y = Along(at_.y, size.cy, area.top, area.bottom);
    RECT now{};
    GetWindowRect(Handle(), &now);
    if (IsWindowVisible(Handle()) && now.left == x && now.top == y && now.right - now.left == size.cx &&
        now.bottom - now.top == size.cy)
        return;
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE);
}

void ListMenu::Refresh() {
    if (!tracking_ || !Handle()) return;
    SIZE size{};
    std::vector<Row> rows = LayOut(size);
    // A shorter text only narrows a search: the width stays.
    const SIZE before = shown_;
    size.cx = std::max(size.cx, before.cx);
    shown_ = size;
    if (lit_ >= (int)rows.size() || (lit_ >= 0 && !Reachable(*Root.Items[(size_t)lit_]))) lit_ = -1;
    // What changed, in one region: the rows that show something else, and
    // the frame's lower edge when it moves.
    Region changed(CreateRectRgn(0, 0, 0, 0));
    auto add = [&](const RECT& r) {
        Region part(CreateRectRgnIndirect(&r));
        CombineRgn(changed, changed, part, RGN_OR);
    };
    for (size_t i = 0; i < rows.size(); ++i)
        if (i >= rows_.size() || !(rows[i] == rows_[i]))
            add({kFrame, rows[i].Top, size.cx - kFrame, rows[i].Top + rows[i].Height});
    if (before.cy != size.cy) add({0, std::min(before.cy, size.cy) - kFrame, size.cx, std::max(before.cy, size.cy)});
    if (size.cx > before.cx) add({0, 0, size.cx, std::max(before.cy, size.cy)});
    rows_ = std::move(rows);
    RECT box{};
    if (GetRgnBox(changed, &box) == NULLREGION) return;
    InvalidateRgn(Handle(), changed, FALSE);
    // The rows are drawn at once; the window's size follows them in the
    // next turn of the loop (what is left under them shows the menu's
    // colour until then): the change is seen without waiting for it.
    UpdateWindow(Handle());
    if (size.cx != before.cx || size.cy != before.cy) PostMessageW(Handle(), kFitMessage, 0, 0);
}

int ListMenu::FirstReachable() const {
    for (size_t i = 0; i < Root.Items.size(); ++i)
        if (Reachable(*Root.Items[i])) return (int)i;
    return -1;
}

void ListMenu::InvalidateRow(int position) {
    if (position < 0 || position >= (int)rows_.size() || !Handle()) return;
    RECT r{kFrame, rows_[(size_t)position].Top, shown_.cx - kFrame,
           rows_[(size_t)position].Top + rows_[(size_t)position].Height};
    InvalidateRect(Handle(), &r, FALSE);
}

void ListMenu::Light(int position) {
    if (position >= (int)Root.Items.size() || (position >= 0 && !Reachable(*Root.Items[(size_t)position])))
        position = -1;
    if (position == lit_) return;
    InvalidateRow(lit_);
    if (lit_ >= 0 && lit_ < (int)rows_.size()) rows_[(size_t)lit_].Lit = false;
    lit_ = position;
    InvalidateRow(lit_);
    if (lit_ >= 0 && lit_ < (int)rows_.size()) rows_[(size_t)lit_].Lit = true;
    if (lit_ >= 0 && tracking_) NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, lit_ + 1);
    if (OnLit) OnLit(lit_);
}

void ListMenu::Step(int direction) {
    const int n = (int)Root.Items.size();
    if (n == 0) return;
    int i = lit_ >= 0 ? lit_ : (direction > 0 ? -1 : n);
    for (int k = 0; k < n; ++k) {
        i = ((i + direction) % n + n) % n;
        if (Reachable(*Root.Items[(size_t)i])) {
            Light(i);
            return;
        }
    }
}

void ListMenu::Key(UINT vk) {
    switch (vk) {
    case VK_DOWN: Step(1); break;
    case VK_UP: Step(-1); break;
    case VK_HOME: Light(FirstReachable()); break;
    case VK_END:
        for (int i = (int)Root.Items.size() - 1; i >= 0; --i)
            if (Reachable(*Root.Items[(size_t)i])) {
                Light(i);
                break;
            }
        break;
    case VK_RETURN: Choose(lit_); break;
    case VK_ESCAPE: Cancel(); break;
    }
}

RECT ListMenu::ItemRect(int position) const {
    RECT r{};
    if (!Handle() || position < 0 || position >= (int)rows_.size()) return r;
    r = {kFrame, rows_[(size_t)position].Top, shown_.cx - kFrame,
         rows_[(size_t)position].Top + rows_[(size_t)position].Height};
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int ListMenu::ItemAt(POINT screen) const {
    if (!Handle()) return -1;
    ScreenToClient(Handle(), &screen);
    if (screen.x < kFrame || screen.x >= shown_.cx - kFrame) return -1;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (screen.y >= rows_[i].Top && screen.y < rows_[i].Top + rows_[i].Height) return (int)i;
    return -1;
}

void ListMenu::Paint(HDC dc) {
    RECT window{};
    GetClientRect(Handle(), &window);
    const RECT menu{0, 0, shown_.cx, shown_.cy};
    HBRUSH colour = GetSysColorBrush(COLOR_MENU);
    // Beyond the menu's part (about to be cut off): its colour.
    const RECT beyond[] = {{menu.right, 0, window.right, window.bottom}, {0, menu.bottom, menu.right, window.bottom}};
    for (const RECT& b : beyond)
        if (b.right > b.left && b.bottom > b.top) FillRect(dc, &b, colour);
    BOOL flat = FALSE;
    SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
    RECT edge = menu;
    if (flat) FrameRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
    else DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    // The margin between the edge and the rows, and any room under them.
    const int edgeWidth = flat ? 1 : 2;
    const int rowsBottom = rows_.empty() ? kFrame : rows_.back().Top + rows_.back().Height;
    const RECT strips[] = {
        {edgeWidth, edgeWidth, menu.right - edgeWidth, kFrame},
        {edgeWidth, rowsBottom, menu.right - edgeWidth, menu.bottom - edgeWidth},
        {edgeWidth, kFrame, kFrame, rowsBottom},
        {menu.right - kFrame, kFrame, menu.right - edgeWidth, rowsBottom},
    };
    for (const RECT& s : strips)
        if (s.right > s.left && s.bottom > s.top) FillRect(dc, &s, colour);
    for (size_t i = 0; i < rows_.size() && i < Root.Items.size(); ++i) {
        MenuItem& item = *Root.Items[i];
        const RECT r{kFrame, rows_[i].Top, menu.right - kFrame, rows_[i].Top + rows_[i].Height};
        if (r.bottom <= r.top || !item.OnDrawItem || !RectVisible(dc, &r)) continue;
        const int saved = SaveDC(dc);
        item.OnDrawItem(item, dc, r, (int)i == lit_);
        RestoreDC(dc, saved);
    }
    ++paints_;
}

LRESULT ListMenu::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_KEYDOWN: Key((UINT)wp); return 0;
    case WM_SYSKEYDOWN:
        if (wp == VK_MENU || wp == VK_F10) {
            Cancel();
            return 0;
        }
        break;
    case WM_CHAR:
        if (OnChar && (wp == L'\b' || (wp >= L' ' && wp != 0x7F))) OnChar((wchar_t)wp);
        return 0;
    case WM_MOUSEMOVE: {
        POINT p{(short)LOWORD(lp), (short)HIWORD(lp)};
        ClientToScreen(Handle(), &p);
        // A window shown under a resting pointer is told of it: only a
        // real move lights what is under the pointer.
        if (p.x == lastPointer_.x && p.y == lastPointer_.y) return 0;
        lastPointer_ = p;
        const int i = ItemAt(p);
        if (i >= 0 && Reachable(*Root.Items[(size_t)i])) Light(i);
        return 0;
    }
    case WM_LBUTTONUP: {
        POINT p{(short)LOWORD(lp), (short)HIWORD(lp)};
        ClientToScreen(Handle(), &p);
        Choose(ItemAt(p));
        return 0;
    }
    case WM_CANCELMODE: Cancel(); return 0;
    case kFitMessage: {
        RECT before{};
        GetClientRect(Handle(), &before);
        Place(shown_);
        // Rows the window was too small for are drawn now that it is not.
        if (shown_.cy > before.bottom || shown_.cx > before.right) {
            RECT grown{0, std::max(0L, before.bottom - kFrame), shown_.cx, shown_.cy};
            if (shown_.cx > before.right) grown.top = 0;
            InvalidateRect(Handle(), &grown, FALSE);
        }
        return 0;
    }
    case CM_ACCESSIBLEDEFAULT: Choose((int)wp - 1); return 0;
    case WM_GETOBJECT: {
        LRESULT result = 0;
        if (AnswerListMenuObject(Handle(), wp, lp, result)) return result;
        break;
    }
    }
    return Window::WndProc(msg, wp, lp);
}

}  // namespace win
