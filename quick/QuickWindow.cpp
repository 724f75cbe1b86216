#include "quick/QuickWindow.h"

#include "win/Dpi.h"

#include <algorithm>
#include <optional>

#include "quick/AddFolderDialog.h"
#include "quick/HotKeyDialog.h"
#include "quick/ManagerLauncher.h"
#include "quick/Opener.h"
#include "quick/QuickSettings.h"
#include "win/FileDialogJump.h"
#include "win/MenuPlace.h"
#include "win/Registry.h"
#include "win/ShownFolder.h"

namespace {
constexpr UINT_PTR kKeepForegroundTimer = 1;

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

}  // namespace

TfrmQuick::TfrmQuick() {
    CreateForm(QuickWindowClass, L"Pathnook", 0, 0, WS_POPUP, nullptr, false);
    states_ = std::make_unique<FolderStates>(Handle(), WM_QUICK_FOLDERS);
    look_ = std::make_unique<QuickLook>(*this);
    images_ = std::make_unique<FolderImages>(look_->IconBackground());
    list_.Refresh();
    CheckFolders(list_.Entries());
    // The tray shows small icons: the one drawn for this DPI's small size.
    const int small = win::SystemMetricForDpi(SM_CXSMICON, Dpi());
    icon_ = (HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, small, small, LR_SHARED);
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
    images_->Keep(entries);
}

void TfrmQuick::SetMenuDpi(UINT dpi) {
    win::SetWindowDpi(Handle(), dpi);
    menuDpi_ = dpi;
}

UINT TfrmQuick::MenuDpi() const { return menuDpi_ ? menuDpi_ : win::DpiOf(Handle()); }

const std::vector<int>& TfrmQuick::EntryWidths(const FolderList& entries, HBITMAP image, int& height) {
    // Measured once for each read of the list: every open and every search
    // uses them.
    const UINT dpi = MenuDpi();
    if (widthsReads_ != list_.Reads() || widthsImage_ != (image != nullptr) || widths_.size() != entries.size() ||
        widthsDpi_ != dpi) {
        widthsHeight_ = 1;
        widths_ = look_->ItemWidths(entries, image, widthsHeight_);
        widthsReads_ = list_.Reads();
        widthsImage_ = image != nullptr;
        widthsDpi_ = dpi;
    }
    height = widthsHeight_;
    return widths_;
}

QuickMenuSource TfrmQuick::SourceFor(const FolderList& entries) {
    QuickMenuSource source;
    source.Entries = &entries;
    source.Missing = [this](const std::wstring& f) { return states_->Of(f) == FolderStates::Missing; };
    if (list_.PicView())
        source.Icon = [this](const std::wstring& f) { return images_->Bitmap(f, states_->IconOf(f)); };
    // Measured with the list's read: the menu need not measure its items again.
    if (widthsReads_ == list_.Reads() && widths_.size() == entries.size() && widthsImage_ == list_.PicView() &&
        widthsDpi_ == MenuDpi())
        source.Size = [this, margins = QuickLook::MenuMargins()](size_t i) {
            return SIZE{std::max(1, widths_[i] - margins), widthsHeight_};
        };
    return source;
}

void TfrmQuick::BuildMenu(win::PopupMenu& menu, const FolderList& entries, POINT at) {
    HBITMAP image = list_.PicView() ? images_->Bitmap(L"", nullptr) : nullptr;
    int height = 1;
    const std::vector<int>& widths = EntryWidths(entries, image, height);
    // Each column is as wide as its widest item; all items are as high.
    BuildQuickMenu(menu.Root, SourceFor(entries), FitLayout(win::WorkAreaAt(at), height, widths));
    look_->Attach(menu);
    menu.Build();
}

void TfrmQuick::BuildFound(win::MenuItem& root, const FolderList& entries, POINT at, const std::wstring& typed) {
    HBITMAP image = list_.PicView() ? images_->Bitmap(L"", nullptr) : nullptr;
    int height = 1;
    const std::vector<int>& widths = EntryWidths(entries, image, height);
    if (indexedReads_ != list_.Reads()) {
        finder_.Index(entries);
        indexedReads_ = list_.Reads();
    }
    // The matches in one column that fits the screen, the typed text over them.
    const RECT area = at.x == menuAt_.x && at.y == menuAt_.y ? menuArea_ : win::WorkAreaAt(at);
    size_t rows = (size_t)std::max(1, (int)(area.bottom - area.top - 8) / std::max(1, height) - 2);
    std::vector<size_t> all = finder_.Find(typed, entries.size());
    std::vector<size_t> found(all.begin(), all.begin() + (std::ptrdiff_t)std::min(rows, all.size()));
    BuildFoundMenu(root, SourceFor(entries), found, all.size() > rows, typed);
    // As wide as any match, shown or not: a longer text only narrows them.
    const int margins = QuickLook::MenuMargins();
    for (size_t i : all) root.Items[0]->MinWidth = std::max(root.Items[0]->MinWidth, widths[i] - margins);
    look_->Attach(root);
}

void TfrmQuick::ShowQuickMenu(POINT at, HWND target, bool selectFirst) {
    if (MenuOpen()) return;
    typed_.clear();
    menuAt_ = at;
    menuArea_ = win::WorkAreaAt(at);
    // The menu is measured and drawn for the monitor it opens on.
    SetMenuDpi(win::DpiAt(at));
    std::optional<FolderEntry> picked;
    bool addChosen = false;
    // A letter typed in the menu closes it and shows the matches in a list
    // of their own, which follows each further key in place; a Backspace
    // that leaves nothing typed shows the whole menu again.
    for (bool retyped = true, first = true; retyped; first = false) {
        list_.Refresh();  // costs nothing unless the key changed
        const FolderList entries = list_.Entries();
        win::PopupMenu menu;
        const win::MenuItem* addFolder = nullptr;
        // Folders may have come or gone since the last look: checked once the
        // menu is up (not to slow its showing); the answers grey its items as
        // they arrive.
        checkPending_ = first;
        openEntries_ = &entries;
        retyped_ = false;
        const win::MenuItem* item = nullptr;
        if (typed_.empty()) {
            BuildMenu(menu, entries, at);
            if (entries.empty()) {
                menu.Root.Add(L"(The list is empty)").Enabled = false;
                look_->Attach(menu);
                menu.Build();
            }
            addFolder = AddOwnItems(menu, target);
            // Called from the keyboard, the menu starts with its first item lit.
            menu.SelectFirst = selectFirst;
            openMenu_ = &menu;
            findable_ = true;
            item = Track(menu, at);
            findable_ = false;
            openMenu_ = nullptr;
        } else {
            item = TrackFound(entries, at);
        }
        retyped = retyped_;
        openEntries_ = nullptr;
        if (checkPending_) CheckFolders(entries);
        checkPending_ = false;
        // The item belongs to this round's menu: what it stands for is taken now.
        if (const FolderEntry* e = item && !retyped ? EntryOf(*item, entries) : nullptr) picked = *e;
        addChosen = item && !retyped && item == addFolder;
    }
    if (addChosen) {
        AddShownFolder(target);
        return;
    }
    const FolderEntry* entry = picked ? &*picked : nullptr;
    if (!entry) {
        if (target && IsWindow(target)) SetForegroundWindow(GetAncestor(target, GA_ROOT));
        return;
    }
    // On a worker: the menu's window keeps answering while a slow folder
    // or a busy file dialog takes its time; the outcome comes back here.
    OpenListFolder(opens_, entry->Path, target, list_.ExploreFolder(), Handle(), [this](OpenedBy) { ++opensDone_; });
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
    if (!openEntries_) return;
    bool changed = false;
    auto update = [&](win::MenuItem& item) {
        const FolderEntry* e = EntryOf(item, *openEntries_);
        if (!e) return;
        bool enabled = states_->Of(e->Path) != FolderStates::Missing;
        if (item.Bitmap) {
            HBITMAP bitmap = images_->Bitmap(e->Path, states_->IconOf(e->Path));
            changed |= bitmap != item.Bitmap;
            item.Bitmap = bitmap;
        }
        if (enabled == item.Enabled) return;
        item.Enabled = enabled;
        if (openMenu_) openMenu_->Sync(item);
        changed = true;
    };
    if (found_.IsTracking()) {
        for (auto& item : found_.Root.Items) update(*item);
        if (changed) found_.Refresh();  // draws the rows that changed
    } else if (openMenu_) {
        openMenu_->ForEach(update);
        if (changed) openMenu_->RedrawOpen();
    }
}

void TfrmQuick::ShowOwnMenu(POINT at) {
    if (MenuOpen()) return;
    SetMenuDpi(win::DpiAt(at));
    win::PopupMenu menu;
    FillOwnMenu(menu.Root, StartsWithWindows());
    look_->Attach(menu);
    menu.Build();
    openMenu_ = &menu;
    win::MenuItem* chosen = Track(menu, at);
    openMenu_ = nullptr;
    if (chosen && chosen->Tag) Command((UINT)chosen->Tag);
}

void TfrmQuick::FillOwnMenu(win::MenuItem& root, bool startsWithWindows) {
    root.Add(L"&Edit the List...").Tag = cmEditList;
    root.Add(L"&Start with Windows").Tag = cmStartWithWindows;
    root.Items.back()->Checked = startsWithWindows;
    root.Add(L"&Hot Key...").Tag = cmHotKey;
    root.AddSeparator();
    root.Add(L"E&xit").Tag = cmExit;
}

void TfrmQuick::ShowTipFor(HMENU menu, UINT id, UINT flags) {
    // A name cut short in the menu shows whole beside its item.
    const win::MenuItem* item = nullptr;
    int position = -1;
    if (menu && !(flags & MF_POPUP) && flags != 0xFFFF) {
        for (int i = 0, n = GetMenuItemCount(menu); i < n && position < 0; ++i)
            if (GetMenuItemID(menu, i) == id) position = i;
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_DATA;
        if (position >= 0 && GetMenuItemInfoW(menu, position, TRUE, &mii) && mii.dwItemData)
            item = reinterpret_cast<const win::MenuItem*>(mii.dwItemData);
    }
    RECT r{};
    if (!item || !GetMenuItemRect(Handle(), menu, position, &r)) item = nullptr;
    ShowTipFor(item, r);
}

void TfrmQuick::ShowTipFor(const win::MenuItem* item, const RECT& shown) {
    const FolderEntry* entry = item && openEntries_ ? EntryOf(*item, *openEntries_) : nullptr;
    if (!entry || ShortenMiddle(entry->Alias) == entry->Alias) {
        tip_.Hide();
        return;
    }
    tip_.Show(Handle(), entry->Alias, {shown.left, shown.bottom + 2});
}

LRESULT TfrmQuick::TypedInMenu(wchar_t ch) {
    if (ch == L'\b') {
        if (typed_.empty()) return MAKELRESULT(0, MNC_IGNORE);
        typed_.pop_back();
        if (!typed_.empty() && typed_.back() >= 0xD800 && typed_.back() <= 0xDBFF) typed_.pop_back();
    } else if (ch >= L' ' && ch != 0x7F) {
        typed_ += ch;
    } else {
        return MAKELRESULT(0, MNC_IGNORE);
    }
    if (!found_.IsTracking()) {
        retyped_ = true;
        return MAKELRESULT(0, MNC_CLOSE);  // the matches show in a list of their own
    }
    if (typed_.empty()) {
        retyped_ = true;
        found_.Cancel();  // the whole menu again
    } else {
        ShowMatches();
    }
    return 0;
}

void TfrmQuick::ShowMatches() {
    // The kept list takes the new matches: only rows that changed are drawn
    // again, at once, all at the DPI read here.
    xpmenu::TXPMenu::DpiPin pin(look_->Painter());
    BuildFound(found_.Root, *openEntries_, menuAt_, typed_);
    const int first = found_.FirstReachable();
    const bool same = found_.Lit() == first;
    found_.Light(first);
    found_.Refresh();
    // The lit row may stand for another entry now: its tip follows.
    if (same) ShowFoundTip(first);
}

void TfrmQuick::ShowFoundTip(int position) {
    ShowTipFor(position >= 0 ? found_.Root.Items[(size_t)position].get() : nullptr, found_.ItemRect(position));
}

win::MenuItem* TfrmQuick::TrackFound(const FolderList& entries, POINT at) {
    BuildFound(found_.Root, entries, at, typed_);
    found_.ExtraWidth = QuickLook::MenuMargins();
    found_.OnChar = [this](wchar_t ch) { TypedInMenu(ch); };
    found_.OnLit = [this](int i) { ShowFoundTip(i); };
    return Track([&] { return found_.Track(Handle(), at, true); });
}

win::MenuItem* TfrmQuick::Track(win::PopupMenu& menu, POINT at) {
    menu.KeepKeyboard = true;
    return Track([&] { return menu.Track(Handle(), at); });
}

win::MenuItem* TfrmQuick::Track(const std::function<win::MenuItem*()>& show) {
    TakeForeground(Handle());
    // A started program can take the foreground away from an open menu,
    // leaving it to nobody; the menu takes it back then.
    SetTimer(Handle(), kKeepForegroundTimer, 100, nullptr);
    win::MenuItem* chosen = show();
    KillTimer(Handle(), kKeepForegroundTimer);
    tip_.Hide();
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

LRESULT TfrmQuick::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == WM_ENTERIDLE && checkPending_ && openEntries_) {
        checkPending_ = false;
        CheckFolders(*openEntries_);
    }
    if (msg == WM_MENUCHAR && findable_ && openMenu_) return TypedInMenu((wchar_t)LOWORD(wp));
    if (openMenu_ && openMenu_->HandleMessage(msg, wp, lp, result)) return result;
    if (tray_.HandleMessage(msg)) return 0;
    if (probes_.Answer(msg, wp, result)) return result;
    switch (msg) {
    case WM_HOTKEY:
        if ((int)wp == kHotKeyId) {
            // Alt or Win let go alone would open the menu bar (or Start
            // menu) of the program below.
            win::MaskHeldModifiers();
            HWND target = win::FocusedWindowAnywhere();
            POINT pointer{};
            GetCursorPos(&pointer);
            ShowQuickMenu(win::KeyboardMenuPoint(target, pointer), target, true);
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
    case WM_MENUSELECT: ShowTipFor((HMENU)lp, LOWORD(wp), HIWORD(wp)); break;
    case WM_TIMER:
        if (wp == kKeepForegroundTimer) {
            if (MenuOpen() && !GetForegroundWindow()) SetForegroundWindow(Handle());
            return 0;
        }
        break;
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
