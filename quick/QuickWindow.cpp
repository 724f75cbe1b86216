#include "quick/QuickWindow.h"

#include <algorithm>

#include "quick/HotKeyDialog.h"
#include "quick/Manager.h"
#include "quick/Opener.h"
#include "quick/QuickSettings.h"
#include "win/Error.h"
#include "win/FileDialogJump.h"
#include "win/Registry.h"

namespace {
RECT WorkAreaAt(POINT at) {
    MONITORINFO mi{sizeof(mi)};
    if (GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcWork;
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return r;
}

// Size of a plain (not owner-drawn) item, as Windows lays it out.
SIZE PlainItemSize(const std::wstring& text) {
    NONCLIENTMETRICSW ncm{sizeof(ncm)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    HFONT font = CreateFontIndirectW(&ncm.lfMenuFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    size.cx += 2 * GetSystemMetrics(SM_CXMENUCHECK) + 16;
    size.cy = std::max<LONG>(size.cy + 4, GetSystemMetrics(SM_CYMENUSIZE));
    return size;
}

void RedrawOpenMenus() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (lstrcmpW(cls, L"#32768") == 0 && IsWindowVisible(w)) InvalidateRect(w, nullptr, TRUE);
            return TRUE;
        },
        0);
}
}  // namespace

TfrmQuick::TfrmQuick() {
    CreateForm(QuickWindowClass, L"Pathnook", 0, 0, WS_POPUP, nullptr, false);
    states_ = std::make_unique<FolderStates>(Handle(), WM_QUICK_FOLDERS);
    list_.Refresh();
    CheckFolders(list_.Entries());
    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
    tray_.Add(Handle(), 1, icon_, L"Pathnook", WM_QUICK_TRAY);
}

TfrmQuick::~TfrmQuick() {
    tray_.Remove();
    hotKey_.Unregister();
    DestroyHandle();
}

void TfrmQuick::RegisterStoredHotKey() {
    win::HotKeySpec key = LoadHotKey();
    if (hotKey_.Register(Handle(), kHotKeyId, key)) return;
    std::wstring text = L"The key " + win::HotKeyText(key) +
                        L" is already used by another program, so it cannot open the quick menu.\n\n"
                        L"Choose another key with \"Hot Key...\" in the menu of the Pathnook icon.";
    MessageBoxW(nullptr, text.c_str(), L"Pathnook", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

bool TfrmQuick::ChangeHotKey(const win::HotKeySpec& key) {
    if (hotKey_.Registered() && key == hotKey_.Current()) return true;
    if (!key.Empty() && hotKey_.Register(Handle(), kHotKeyId, key)) {
        SaveHotKey(key);
        return true;
    }
    std::wstring text = key.Empty() ? L"No key was given." : L"The key " + win::HotKeyText(key) +
                                                               L" is already used by another program.";
    text += hotKey_.Registered() ? L"\n\nThe quick menu keeps " + win::HotKeyText(hotKey_.Current()) + L"."
                                 : L"\n\nThe quick menu has no key now.";
    MessageBoxW(Handle(), text.c_str(), L"Pathnook", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    return false;
}

void TfrmQuick::CheckFolders(const FolderList& entries) {
    std::vector<std::wstring> folders;
    folders.reserve(entries.size());
    for (const FolderEntry& e : entries)
        if (!e.IsSeparator()) folders.push_back(e.Path);
    states_->Check(std::move(folders));
}

void TfrmQuick::BuildMenu(win::PopupMenu& menu, const FolderList& entries, POINT at) {
    QuickMenuSource source;
    source.Entries = &entries;
    source.Missing = [this](const std::wstring& f) { return states_->Of(f) == FolderStates::Missing; };
    // The widest alias sets the width of every column.
    SIZE item{0, 0};
    for (const FolderEntry& e : entries) {
        if (e.IsSeparator()) continue;
        SIZE s = PlainItemSize(e.Alias);
        item.cx = std::max(item.cx, s.cx);
        item.cy = std::max(item.cy, s.cy);
    }
    BuildQuickMenu(menu.Root, source, FitLayout(WorkAreaAt(at), std::max<LONG>(item.cy, 1), std::max<LONG>(item.cx, 1)));
    menu.Build();
}

void TfrmQuick::ShowQuickMenu(POINT at, HWND target, bool selectFirst) {
    if (openMenu_) return;
    list_.Refresh();  // costs nothing unless the key changed
    const FolderList entries = list_.Entries();
    win::PopupMenu menu;
    BuildMenu(menu, entries, at);
    if (entries.empty()) {
        menu.Root.Add(L"(The list is empty)").Enabled = false;
        menu.Build();
    }
    // Folders may have come or gone since the last look; the answers grey
    // the open menu's items as they arrive.
    CheckFolders(entries);
    openMenu_ = &menu;
    openEntries_ = &entries;
    // Called from the keyboard, the menu starts with its first item lit.
    menu.SelectFirst = selectFirst;
    win::MenuItem* chosen = menu.Track(Handle(), at);
    openMenu_ = nullptr;
    openEntries_ = nullptr;
    const FolderEntry* entry = chosen ? EntryOf(*chosen, entries) : nullptr;
    if (!entry) {
        if (target && IsWindow(target)) SetForegroundWindow(GetAncestor(target, GA_ROOT));
        return;
    }
    OpenListFolder(entry->Path, target, list_.ExploreFolder(), Handle());
}

void TfrmQuick::FoldersChecked() {
    if (!openMenu_ || !openEntries_) return;
    bool changed = false;
    openMenu_->ForEach([&](win::MenuItem& item) {
        const FolderEntry* e = EntryOf(item, *openEntries_);
        if (!e) return;
        bool enabled = states_->Of(e->Path) != FolderStates::Missing;
        if (enabled == item.Enabled) return;
        item.Enabled = enabled;
        openMenu_->Sync(item);
        changed = true;
    });
    if (changed) RedrawOpenMenus();
}

void TfrmQuick::ShowOwnMenu(POINT at) {
    if (openMenu_) return;
    win::PopupMenu menu;
    menu.Root.Add(L"&Edit the List...").Tag = cmEditList;
    menu.Root.Add(L"&Start with Windows").Tag = cmStartWithWindows;
    menu.Root.Items.back()->Checked = StartsWithWindows();
    menu.Root.Add(L"&Hot Key...").Tag = cmHotKey;
    menu.Root.AddSeparator();
    menu.Root.Add(L"E&xit").Tag = cmExit;
    menu.Build();
    openMenu_ = &menu;
    win::MenuItem* chosen = menu.Track(Handle(), at);
    openMenu_ = nullptr;
    if (chosen && chosen->Tag) Command((UINT)chosen->Tag);
}

void TfrmQuick::Command(UINT id) {
    switch (id) {
    case cmEditList: {
        std::wstring error;
        if (!ShowManager(error)) MessageBoxW(Handle(), error.c_str(), L"Pathnook", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        break;
    }
    case cmStartWithWindows:
        if (!SetStartWithWindows(!StartsWithWindows(), OwnExePath()))
            MessageBoxW(Handle(), L"The start with Windows could not be changed.", L"Pathnook",
                        MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        break;
    case cmHotKey: EditHotKey(); break;
    case cmExit: DestroyWindow(Handle()); break;
    }
}

void TfrmQuick::EditHotKey() {
    TfrmHotKey dialog(Handle());
    dialog.Key = hotKey_.Registered() ? hotKey_.Current() : LoadHotKey();
    if (dialog.ShowModal() == win::mrOk) ChangeHotKey(dialog.Key);
}

LRESULT TfrmQuick::DescribeItem(int position, bool text) const {
    if (!openMenu_ || !openMenu_->Handle()) return -1;
    wchar_t buffer[256] = {};
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    mii.dwTypeData = buffer;
    mii.cch = 255;
    if (!GetMenuItemInfoW(openMenu_->Handle(), position, TRUE, &mii)) return -1;
    if (text) return GlobalAddAtomW(buffer[0] ? buffer : L"(none)");
    auto* item = reinterpret_cast<win::MenuItem*>(mii.dwItemData);
    LRESULT bits = 0;
    if (mii.fType & MFT_SEPARATOR) bits |= mibSeparator;
    if (mii.fState & MFS_GRAYED) bits |= mibGrayed;
    if (mii.fState & MFS_CHECKED) bits |= mibChecked;
    if (mii.fType & MFT_OWNERDRAW) bits |= mibOwnerDrawn;
    if (mii.hSubMenu) bits |= mibSubMenu;
    if (item && item->Bitmap) bits |= mibIcon;
    return bits;
}

LRESULT TfrmQuick::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (openMenu_ && openMenu_->HandleMessage(msg, wp, lp, result)) return result;
    if (tray_.HandleMessage(msg)) return 0;
    try {
        switch (msg) {
        case WM_HOTKEY:
            if ((int)wp == kHotKeyId) {
                HWND target = win::FocusedWindowAnywhere();
                POINT at{};
                GetCursorPos(&at);
                ShowQuickMenu(at, target, true);
            }
            return 0;
        case WM_QUICK_TRAY:
            if (lp == WM_LBUTTONUP || lp == WM_RBUTTONUP || lp == WM_CONTEXTMENU) {
                POINT at{};
                GetCursorPos(&at);
                if (lp == WM_LBUTTONUP) ShowQuickMenu(at, nullptr);
                else ShowOwnMenu(at);
            }
            return 0;
        case WM_QUICK_FOLDERS: FoldersChecked(); return 0;
        case WM_QUICK_REGISTRY_CALLS: return (LRESULT)win::RegistryCallCount();
        case WM_QUICK_READS: return list_.Reads();
        case WM_QUICK_CHECKS: return states_->Rounds();
        case WM_QUICK_MENU_ITEM: return DescribeItem((int)wp, false);
        case WM_QUICK_MENU_TEXT: return DescribeItem((int)wp, true);
        case WM_QUICK_HOTKEY:
            return hotKey_.Registered() ? MAKELONG(hotKey_.Current().Key, hotKey_.Current().Modifiers) : 0;
        case WM_COMMAND:
            if (lp == 0 && HIWORD(wp) == 0) {
                Command(LOWORD(wp));
                return 0;
            }
            break;
        case WM_CLOSE: DestroyWindow(Handle()); return 0;
        case WM_DESTROY: tray_.Remove(); break;
        }
    } catch (...) {
        win::ShowCurrentException();
        return 0;
    }
    return Form::WndProc(msg, wp, lp);
}
