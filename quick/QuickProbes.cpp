#include "quick/QuickProbes.h"

#include "quick/QuickWindow.h"
#include "win/Registry.h"

bool QuickProbes::Answer(UINT msg, WPARAM wp, LRESULT& result) const {
    const win::PopupMenu* menu = quick_.OpenMenu();
    const win::ListMenu& found = quick_.Found();
    switch (msg) {
    case WM_QUICK_REGISTRY_CALLS: result = (LRESULT)win::RegistryCallCount(); return true;
    case WM_QUICK_READS: result = quick_.List().Reads(); return true;
    case WM_QUICK_CHECKS: result = quick_.States().Rounds(); return true;
    case WM_QUICK_OPENS: result = quick_.OpensDone(); return true;
    case WM_QUICK_MENU_ITEM: result = DescribeItem((int)wp, false); return true;
    case WM_QUICK_MENU_TEXT: result = DescribeItem((int)wp, true); return true;
    case WM_QUICK_MENU_READY: result = found.IsTracking() ? found.Ready() : menu && menu->Ready(); return true;
    case WM_QUICK_FOUND_PAINTS: result = (LRESULT)found.Paints(); return true;
    case WM_QUICK_MENU_IDLES:
        result = found.IsTracking() ? (LRESULT)found.Idles() : menu ? (LRESULT)menu->Idles() : 0;
        return true;
    case WM_QUICK_HOTKEY: {
        const win::HotKey& key = quick_.Key();
        result = key.Registered() ? MAKELONG(key.Current().Key, key.Current().Modifiers) : 0;
        return true;
    }
    }
    return false;
}

LRESULT QuickProbes::DescribeItem(int position, bool text) const {
    const win::ListMenu& found = quick_.Found();
    if (found.IsTracking()) {
        if (position < 0 || position >= (int)found.Root.Items.size()) return -1;
        const win::MenuItem& item = *found.Root.Items[(size_t)position];
        if (text) return GlobalAddAtomW(item.IsSeparator() ? L"(none)" : item.DisplayText().c_str());
        LRESULT bits = 0;
        if (item.IsSeparator() || item.Heading) bits |= mibSeparator;
        if (!item.IsEnabled()) bits |= mibGrayed;
        if (item.Checked) bits |= mibChecked;
        if (item.OnDrawItem) bits |= mibOwnerDrawn;
        if (item.Bitmap) bits |= mibIcon;
        if (position == found.Lit()) bits |= mibLit;
        return bits;
    }
    const win::PopupMenu* menu = quick_.OpenMenu();
    if (!menu || !menu->Handle()) return -1;
    wchar_t buffer[256] = {};
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    mii.dwTypeData = buffer;
    mii.cch = 255;
    if (!GetMenuItemInfoW(menu->Handle(), position, TRUE, &mii)) return -1;
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
