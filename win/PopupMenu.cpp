#include "win/PopupMenu.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "win/ControlSupport.h"
#include "win/Error.h"
#include "win/Gdi.h"
#include "win/InputTaker.h"
#include "win/WindowLists.h"

namespace win {

namespace {
thread_local PopupMenu* tracking = nullptr;

wchar_t Upper(wchar_t c) { return (wchar_t)(UINT_PTR)CharUpperW((LPWSTR)(UINT_PTR)c); }
}  // namespace

std::wstring MenuCaptionText(const std::wstring& caption) {
    std::wstring out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == L'&') continue;
        out.push_back(caption[i]);
    }
    return out;
}

std::wstring EscapeMenuText(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'&') out.push_back(L'&');
        out.push_back(c);
    }
    return out;
}

PopupMenu::~PopupMenu() {
    if (tracking == this) tracking = nullptr;
    if (handle_ && IsMenu(handle_)) DestroyMenu(handle_);
}

PopupMenu* PopupMenu::Tracking() { return tracking; }

HMENU PopupMenu::Build() {
    HMENU old = handle_;
    handle_ = CreatePopupMenu();
    nextCommand_ = 1;
    BuildInto(handle_, Root);
    if (old) DestroyMenu(old);
    return handle_;
}

namespace {
UINT StateOf(const MenuItem& item) {
    return (item.IsEnabled() ? MFS_ENABLED : MFS_GRAYED) | (item.Checked ? MFS_CHECKED : 0) |
           (item.Default ? MFS_DEFAULT : 0);
}
}  // namespace

UINT PopupMenu::TypeOf(const MenuItem& item) const {
    UINT type = item.IsSeparator() || item.Heading ? MFT_SEPARATOR : MFT_STRING;
    if (OwnerDrawn && item.OnDrawItem) type |= MFT_OWNERDRAW;
    if (item.RadioItem) type |= MFT_RADIOCHECK;
    if (item.NewColumn) type |= MFT_MENUBARBREAK;
    return type;
}

void PopupMenu::BuildInto(HMENU menu, MenuItem& parent) {
    for (auto& child : parent.Items) {
        MenuItem& item = *child;
        item.Owner = menu;
        item.Command = nextCommand_++;
        std::wstring text = item.DisplayText();
        item.PublishAccessText(item.IsSeparator() ? std::wstring() : text);
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
        mii.wID = item.Command;
        mii.dwItemData = item.ItemData();
        mii.fType = TypeOf(item);
        mii.dwTypeData = text.data();
        mii.fState = StateOf(item);
        if (!item.Items.empty()) {
            item.SubMenu = CreatePopupMenu();
            BuildInto(item.SubMenu, item);
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = item.SubMenu;
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
    }
}

namespace {
// The visible menu windows of this thread (a menu and its open sub-menus):
// the open menu's loop takes the keys posted to any of them.
std::vector<HWND> OpenMenuWindows() {
    std::vector<HWND> open;
    for (HWND w : ThreadWindows())
        if (ClassOf(w) == L"#32768" && IsWindowVisible(w)) open.push_back(w);
    return open;
}

// An Alt (or F10) that went down before the menu opened, a hot key's own,
// may still wait in this thread's queue when it is the foreground one: the
// menu's loop would take it as the key that closes the menu, and close at
// once. Such key-downs are dropped; other keys keep their order.
void SetAsideEarlyAlt() {
    std::vector<MSG> keys;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) keys.push_back(msg);
    for (const MSG& key : keys) {
        const bool closes = (key.message == WM_KEYDOWN || key.message == WM_SYSKEYDOWN) &&
                            (key.wParam == VK_MENU || key.wParam == VK_F10);
        if (!closes) PostMessageW(key.hwnd, key.message, key.wParam, key.lParam);
    }
}
}  // namespace

MenuItem* PopupMenu::Track(HWND owner, POINT at, UINT flags) {
    if (!handle_) Build();
    PopupMenu* outer = tracking;
    tracking = this;
    tracking_ = true;
    selectPending_ = SelectFirst;
    ready_ = false;
    idles_ = 0;
    SetForegroundWindow(owner);
    std::optional<InputTaker> keys;
    if (KeepKeyboard)
        keys.emplace([] {
            std::vector<HWND> open = OpenMenuWindows();
            return open.empty() ? HWND{} : open.front();
        });
    SetAsideEarlyAlt();
    UINT command = (UINT)TrackPopupMenu(handle_, flags | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr);
    keys.reset();
    selectPending_ = false;
    // Lets the menu close properly when the owner is not in the foreground.
    PostMessageW(owner, WM_NULL, 0, 0);
    tracking_ = false;
    tracking = outer;
    return command ? FindCommand(command) : nullptr;
}

void PopupMenu::ForEach(const std::function<void(MenuItem&)>& fn) {
    std::function<void(MenuItem&)> walk = [&](MenuItem& parent) {
        for (auto& child : parent.Items) {
            fn(*child);
            walk(*child);
        }
    };
    walk(Root);
}

void PopupMenu::RedrawOpen() {
    for (HWND w : OpenMenuWindows()) InvalidateRect(w, nullptr, TRUE);
}

MenuItem* PopupMenu::FindCommand(UINT command) {
    MenuItem* found = nullptr;
    ForEach([&](MenuItem& item) {
        if (!found && item.Command == command) found = &item;
    });
    return found;
}

void PopupMenu::Sync(MenuItem& item) {
    if (!item.Owner) return;
    std::wstring text = item.DisplayText();
    item.PublishAccessText(item.IsSeparator() ? std::wstring() : text);
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
    mii.fType = TypeOf(item);
    mii.fState = StateOf(item);
    mii.dwTypeData = text.data();
    SetMenuItemInfoW(item.Owner, item.Command, FALSE, &mii);
}

LRESULT PopupMenu::MenuChar(wchar_t ch, HMENU menu) const { return MenuCharAnswer(ch, menu); }

LRESULT MenuCharAnswer(wchar_t ch, HMENU menu) {
    const wchar_t key = Upper(ch);
    const int count = GetMenuItemCount(menu);
    int current = -1;
    // Items whose '&' marker is the key come first; without any, items
    // whose text starts with it.
    std::vector<int> marked, initial;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_STATE | MIIM_DATA | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, i, TRUE, &mii)) continue;
        if (mii.fState & MFS_HILITE) current = i;
        auto* item = reinterpret_cast<MenuItem*>(mii.dwItemData);
        if (!item || item->IsSeparator() || (mii.fState & MFS_GRAYED)) continue;
        if (IsAccel(ch, item->Caption)) marked.push_back(i);
        std::wstring text = MenuCaptionText(item->Caption);
        size_t first = text.find_first_not_of(L" \t");
        if (first != std::wstring::npos && Upper(text[first]) == key) initial.push_back(i);
    }
    const std::vector<int>& matches = marked.empty() ? initial : marked;
    if (matches.empty()) return MAKELRESULT(0, MNC_IGNORE);
    if (matches.size() == 1) return MAKELRESULT(matches[0], MNC_EXECUTE);
    for (int i : matches)
        if (i > current) return MAKELRESULT(i, MNC_SELECT);
    return MAKELRESULT(matches[0], MNC_SELECT);
}

bool PopupMenu::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_MEASUREITEM: {
        auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        auto* item = reinterpret_cast<MenuItem*>(mis.itemData);
        if (mis.CtlType != ODT_MENU || !item || !OwnerDrawn || !item->OnMeasureItem) return false;
        int w = (int)mis.itemWidth, h = (int)mis.itemHeight;
        if (item->Measured.cx > 0 && item->Measured.cy > 0) {
            w = (int)item->Measured.cx;
            h = (int)item->Measured.cy;
        } else {
            WindowDC screen(nullptr);
            item->OnMeasureItem(*item, screen, w, h);
        }
        if (w < item->MinWidth) w = item->MinWidth;
        mis.itemWidth = w < 0 ? 0 : w;
        mis.itemHeight = h < 0 ? 0 : h;
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto& dis = *reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        auto* item = reinterpret_cast<MenuItem*>(dis.itemData);
        if (dis.CtlType != ODT_MENU || !item || !OwnerDrawn || !item->OnDrawItem) return false;
        result = TRUE;
        // Items outside the window (a menu cut short under its last match)
        // or outside what is being repainted cost nothing.
        if (!RectVisible(dis.hDC, &dis.rcItem)) return true;
        int saved = SaveDC(dis.hDC);
        item->OnDrawItem(*item, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
        RestoreDC(dis.hDC, saved);
        return true;
    }
    case WM_ENTERIDLE:
        if (!tracking_ || wp != MSGF_MENU) return false;
        ++idles_;
        if (selectPending_) {
            selectPending_ = false;
            PostMessageW((HWND)lp, WM_KEYDOWN, VK_DOWN, 0);
        } else {
            ready_ = true;
        }
        result = 0;
        return true;
    case WM_MENUCHAR:
        if (!tracking_) return false;
        result = MenuChar((wchar_t)LOWORD(wp), (HMENU)lp);
        return true;
    case WM_MENUSELECT:
        // The first item lit: the loop has taken the key posted for it, and
        // takes keys from now on, whether or not it runs dry again.
        if (tracking_ && !selectPending_ && SelectFirst && HIWORD(wp) != 0xFFFF) ready_ = true;
        return false;
    }
    return false;
}

}  // namespace win
