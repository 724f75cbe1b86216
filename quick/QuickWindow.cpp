#include "quick/QuickWindow.h"

#include <algorithm>

#include "quick/AddFolderDialog.h"
#include "quick/HotKeyDialog.h"
#include "quick/ManagerLauncher.h"
#include "quick/Opener.h"
#include "quick/QuickSettings.h"
#include "win/FileDialogJump.h"
#include "win/Registry.h"
#include "win/ShownFolder.h"
#include "win/WindowLists.h"

namespace {
constexpr UINT_PTR kKeepForegroundTimer = 1;

RECT WorkAreaAt(POINT at) {
    MONITORINFO mi{sizeof(mi)};
    if (GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &mi)) return mi.rcWork;
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return r;
}

// A menu keeps the keyboard only while its owner is the foreground window.
void TakeForeground(HWND w) {
    // Activation can arrive late (the window system answers on its own
    // time); keys typed meanwhile would go elsewhere. Bounded wait.
    const DWORD start = GetTickCount();
    SetForegroundWindow(w);
    while (GetForegroundWindow() != w && GetTickCount() - start < 500) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam);
                return;
            }
            DispatchMessageW(&msg);
        }
        SetForegroundWindow(w);
    }
}

void RedrawOpenMenus() {
    for (HWND w : win::ThreadWindows()) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (lstrcmpW(cls, L"#32768") == 0 && IsWindowVisible(w)) InvalidateRect(w, nullptr, TRUE);
    }
}
}  // namespace

TfrmQuick::TfrmQuick() {
    CreateForm(QuickWindowClass, L"Pathnook", 0, 0, WS_POPUP, nullptr, false);
    states_ = std::make_unique<FolderStates>(Handle(), WM_QUICK_FOLDERS);
    look_ = std::make_unique<QuickLook>(*this);
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
    states_->Check(std::move(folders), list_.PicView());
    look_->Keep(entries);
}

void TfrmQuick::BuildMenu(win::PopupMenu& menu, const FolderList& entries, POINT at) {
    QuickMenuSource source;
    source.Entries = &entries;
    source.Missing = [this](const std::wstring& f) { return states_->Of(f) == FolderStates::Missing; };
    if (list_.PicView())
        source.Icon = [this](const std::wstring& f) { return look_->FolderBitmap(f, states_->IconOf(f)); };
    // Every column is as wide as the widest item; all items are as high.
    SIZE item = look_->LargestItem(entries, list_.PicView() ? look_->FolderBitmap(L"", nullptr) : nullptr);
    // Windows adds the check-mark and sub-menu margins to owner-drawn widths.
    item.cx += GetSystemMetrics(SM_CXMENUCHECK) + 8;
    BuildQuickMenu(menu.Root, source, FitLayout(WorkAreaAt(at), item.cy, item.cx));
    look_->Attach(menu);
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
        look_->Attach(menu);
        menu.Build();
    }
    const win::MenuItem* addFolder = AddOwnItems(menu, target);
    // Folders may have come or gone since the last look: checked once the
    // menu is up (not to slow its showing); the answers grey its items as
    // they arrive.
    checkPending_ = true;
    openMenu_ = &menu;
    openEntries_ = &entries;
    // Called from the keyboard, the menu starts with its first item lit.
    menu.SelectFirst = selectFirst;
    win::MenuItem* chosen = Track(menu, at);
    openMenu_ = nullptr;
    openEntries_ = nullptr;
    if (checkPending_) CheckFolders(entries);
    checkPending_ = false;
    if (chosen && chosen == addFolder) {
        AddShownFolder(target);
        return;
    }
    const FolderEntry* entry = chosen ? EntryOf(*chosen, entries) : nullptr;
    if (!entry) {
        if (target && IsWindow(target)) SetForegroundWindow(GetAncestor(target, GA_ROOT));
        return;
    }
    OpenListFolder(entry->Path, target, list_.ExploreFolder(), Handle());
}

const win::MenuItem* TfrmQuick::AddOwnItems(win::PopupMenu& menu, HWND target) {
    // Asked before the menu shows, with a short wait: a program that does
    // not answer costs the item, not the menu.
    shownFolder_ = target ? win::FolderShownIn(target, 500) : std::wstring();
    if (shownFolder_.empty()) return nullptr;
    menu.Root.AddSeparator();
    win::MenuItem& item = menu.Root.Add(AddFolderCaption);
    look_->Attach(menu);
    menu.Build();
    return &item;
}

void TfrmQuick::AddShownFolder(HWND target) {
    win::Sealed<TfrmAddFolder> dialog(Handle(), shownFolder_);
    if (dialog.ShowModal() == win::mrOk && AppendToStore(Handle(), list_.Key(), dialog.Entry()))
        list_.Refresh();
    if (target && IsWindow(target)) SetForegroundWindow(GetAncestor(target, GA_ROOT));
}

void TfrmQuick::FoldersChecked() {
    if (!openMenu_ || !openEntries_) return;
    bool changed = false;
    openMenu_->ForEach([&](win::MenuItem& item) {
        const FolderEntry* e = EntryOf(item, *openEntries_);
        if (!e) return;
        bool enabled = states_->Of(e->Path) != FolderStates::Missing;
        if (item.Bitmap) {
            HBITMAP bitmap = look_->FolderBitmap(e->Path, states_->IconOf(e->Path));
            changed |= bitmap != item.Bitmap;
            item.Bitmap = bitmap;
        }
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
    look_->Attach(menu);
    menu.Build();
    openMenu_ = &menu;
    win::MenuItem* chosen = Track(menu, at);
    openMenu_ = nullptr;
    if (chosen && chosen->Tag) Command((UINT)chosen->Tag);
}

win::MenuItem* TfrmQuick::Track(win::PopupMenu& menu, POINT at) {
    // Real keys (under Wine, X key events) go to the window that holds the
    // keyboard on screen, which a hidden owner never does: while its menu
    // is open, the owner shows as one point under the menu's corner.
    SetWindowPos(Handle(), HWND_TOPMOST, at.x, at.y, 1, 1, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    TakeForeground(Handle());
    // A started program can take the foreground away from an open menu,
    // leaving it to nobody; the menu takes it back then.
    SetTimer(Handle(), kKeepForegroundTimer, 100, nullptr);
    win::MenuItem* chosen = menu.Track(Handle(), at);
    KillTimer(Handle(), kKeepForegroundTimer);
    ShowWindow(Handle(), SW_HIDE);
    return chosen;
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
    win::Sealed<TfrmHotKey> dialog(Handle());
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
    if (mii.fState & MFS_HILITE) bits |= mibLit;
    return bits;
}

LRESULT TfrmQuick::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == WM_ENTERIDLE && checkPending_ && openEntries_) {
        checkPending_ = false;
        CheckFolders(*openEntries_);
    }
    if (openMenu_ && openMenu_->HandleMessage(msg, wp, lp, result)) return result;
    if (tray_.HandleMessage(msg)) return 0;
    switch (msg) {
    case WM_HOTKEY:
        if ((int)wp == kHotKeyId) {
            // Alt or Win let go alone would open the menu bar (or Start
            // menu) of the program below.
            win::MaskHeldModifiers();
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
    case WM_TIMER:
        if (wp == kKeepForegroundTimer) {
            if (openMenu_ && !GetForegroundWindow()) SetForegroundWindow(Handle());
            return 0;
        }
        break;
    case WM_QUICK_REGISTRY_CALLS: return (LRESULT)win::RegistryCallCount();
    case WM_QUICK_READS: return list_.Reads();
    case WM_QUICK_CHECKS: return states_->Rounds();
    case WM_QUICK_MENU_ITEM: return DescribeItem((int)wp, false);
    case WM_QUICK_MENU_TEXT: return DescribeItem((int)wp, true);
    case WM_QUICK_MENU_READY: return openMenu_ && openMenu_->Ready();
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
    return Form::WndProc(msg, wp, lp);
}
