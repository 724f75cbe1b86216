#include "win/Menu.h"

#include <oleacc.h>

#include <cstddef>

#include "win/Gdi.h"

namespace win {

MenuItem& MenuItem::Add(std::wstring caption, Action* action, ShortCut key) {
    auto item = std::make_unique<MenuItem>();
    item->Caption = std::move(caption);
    item->Bound = action;
    item->Key = key;
    item->Parent = this;
    Items.push_back(std::move(item));
    return *Items.back();
}

std::wstring MenuItem::DisplayText() const {
    std::wstring text = Caption;
    if (ShortCut sc = EffectiveShortCut()) text += L"\t" + ShortCutText(sc);
    return text;
}

static_assert(sizeof(MenuAccessRecord) == sizeof(MSAAMENUINFO) &&
              offsetof(MSAAMENUINFO, pszWText) == offsetof(MenuAccessRecord, Text));

void MenuItem::PublishAccessText(const std::wstring& text) {
    accessText_ = text;
    Signature = MSAA_MENU_SIG;
    Length = (DWORD)accessText_.size();
    Text = accessText_.data();
}

void MenuItem::Click() {
    if (Bound)
        Bound->Execute();
    else if (Enabled && OnClick)
        OnClick();
}

MainMenu::~MainMenu() {
    if (handle_ && IsMenu(handle_)) DestroyMenu(handle_);
}

HMENU MainMenu::Build() {
    HMENU old = handle_;
    handle_ = CreateMenu();
    nextCommand_ = 0xE000;
    BuildInto(handle_, Root, true);
    if (old) DestroyMenu(old);
    return handle_;
}

void MainMenu::BuildInto(HMENU menu, MenuItem& parent, bool bar) {
    for (auto& child : parent.Items) {
        MenuItem& item = *child;
        item.Owner = menu;
        item.Command = nextCommand_++;
        std::wstring text = bar ? item.Caption : item.DisplayText();
        item.PublishAccessText(item.IsSeparator() ? std::wstring() : text);
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
        mii.wID = item.Command;
        mii.dwItemData = item.ItemData();
        mii.fType = item.IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
        if (OwnerDraw() || (OwnerDrawn && item.OnDrawItem)) mii.fType |= MFT_OWNERDRAW;
        if (item.RadioItem) mii.fType |= MFT_RADIOCHECK;
        mii.dwTypeData = text.data();
        mii.fState = (item.IsEnabled() ? MFS_ENABLED : MFS_GRAYED) |
                     (item.Checked ? MFS_CHECKED : 0) | (item.Default ? MFS_DEFAULT : 0);
        if (!item.Items.empty()) {
            item.SubMenu = CreatePopupMenu();
            BuildInto(item.SubMenu, item, false);
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = item.SubMenu;
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
    }
}

void MainMenu::ForEach(const std::function<void(MenuItem&)>& fn) {
    std::function<void(MenuItem&)> walk = [&](MenuItem& parent) {
        for (auto& child : parent.Items) {
            fn(*child);
            walk(*child);
        }
    };
    walk(Root);
}

void MainMenu::Remeasure() {
    ForEach([](MenuItem& item) {
        if (!item.Owner) return;
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_FTYPE;
        if (!GetMenuItemInfoW(item.Owner, item.Command, FALSE, &mii) || !(mii.fType & MFT_OWNERDRAW)) return;
        // Setting the type anew drops the kept size.
        SetMenuItemInfoW(item.Owner, item.Command, FALSE, &mii);
    });
}

MenuItem* MainMenu::FindCommand(UINT command) {
    MenuItem* found = nullptr;
    ForEach([&](MenuItem& item) {
        if (!found && item.Command == command) found = &item;
    });
    return found;
}

MenuItem* MainMenu::FindShortCut(ShortCut key) {
    MenuItem* found = nullptr;
    ForEach([&](MenuItem& item) {
        if (!found && key && item.EffectiveShortCut() == key) found = &item;
    });
    return found;
}

bool MainMenu::Owns(HMENU menu) {
    if (!menu) return false;
    if (menu == handle_) return true;
    bool found = false;
    ForEach([&](MenuItem& item) { found = found || item.SubMenu == menu; });
    return found;
}

void MainMenu::Sync(MenuItem& item) {
    if (!item.Owner) return;
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_STATE;
    mii.fState = (item.IsEnabled() ? MFS_ENABLED : MFS_GRAYED) |
                 (item.Checked ? MFS_CHECKED : 0) | (item.Default ? MFS_DEFAULT : 0);
    SetMenuItemInfoW(item.Owner, item.Command, FALSE, &mii);
}

void MainMenu::SyncAction(const Action& action) {
    ForEach([&](MenuItem& item) {
        if (item.Bound == &action) Sync(item);
    });
}

bool MainMenu::HandleMeasure(MEASUREITEMSTRUCT& mis) {
    if (mis.CtlType != ODT_MENU) return false;
    auto* item = reinterpret_cast<MenuItem*>(mis.itemData);
    if (item && OwnerDrawn && item->OnMeasureItem) {
        WindowDC dc(nullptr);
        int w = (int)mis.itemWidth, h = (int)mis.itemHeight;
        item->OnMeasureItem(*item, dc, w, h);
        mis.itemWidth = w < 0 ? 0 : w;
        mis.itemHeight = h < 0 ? 0 : h;
        return true;
    }
    if (!OnMeasureItem || !item) return false;
    OnMeasureItem(*item, mis);
    return true;
}

bool MainMenu::HandleDraw(const DRAWITEMSTRUCT& dis) {
    if (dis.CtlType != ODT_MENU) return false;
    auto* item = reinterpret_cast<MenuItem*>(dis.itemData);
    if (item && OwnerDrawn && item->OnDrawItem) {
        int saved = SaveDC(dis.hDC);
        item->OnDrawItem(*item, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
        RestoreDC(dis.hDC, saved);
        return true;
    }
    if (!OnDrawItem || !item) return false;
    OnDrawItem(*item, dis);
    return true;
}

}  // namespace win
