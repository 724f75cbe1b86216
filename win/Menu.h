#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/Action.h"

namespace win {

class ImageList;

// The record a screen reader finds at the start of an owner-drawn item's
// data (Windows' MSAAMENUINFO): the signature, then the item's text with
// its '&' markers and any tab-separated short-cut.
struct MenuAccessRecord {
    DWORD Signature = 0;
    DWORD Length = 0;  // characters, without the terminating null
    wchar_t* Text = nullptr;
};

// One menu item. Bound to an action it takes the action's enabled state and
// runs it; otherwise OnClick runs. A caption of "-" makes a separator line.
// The item data of every built item is the item itself, so that its access
// record (its first and only base) sits where a screen reader looks.
class MenuItem : private MenuAccessRecord {
public:
    MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::wstring Caption;
    ShortCut Key = 0;  // the item's own short-cut; else the action's
    Action* Bound = nullptr;
    std::function<void()> OnClick;
    int ImageIndex = -1;
    int Tag = 0;
    bool Enabled = true;
    bool Checked = false;
    bool RadioItem = false;
    bool Default = false;
    bool NewColumn = false;  // in a popup menu: starts a further column
    // In a popup menu: drawn as an item, passed over by the keyboard as
    // a separator is (a heading over the items).
    bool Heading = false;
    int MinWidth = 0;  // an owner-drawn item is measured at least this wide
    // An owner-drawn item's size when its builder measured it beforehand:
    // the menu takes it instead of measuring again.
    SIZE Measured{0, 0};
    HBITMAP Bitmap = nullptr;
    std::vector<std::unique_ptr<MenuItem>> Items;
    // Per-item owner-draw handlers; in a menu with OwnerDrawn set, an item
    // with a draw handler is owner-drawn and Windows draws the others.
    std::function<void(MenuItem&, HDC, int& width, int& height)> OnMeasureItem;
    std::function<void(MenuItem&, HDC, const RECT&, bool selected)> OnDrawItem;

    MenuItem& Add(std::wstring caption, Action* action = nullptr, ShortCut key = 0);
    MenuItem& AddSeparator() { return Add(L"-"); }
    MenuItem& Handler(std::function<void()> onClick) {
        OnClick = std::move(onClick);
        return *this;
    }

    bool IsSeparator() const { return Caption == L"-"; }
    bool IsEnabled() const { return Bound ? Bound->Enabled() : Enabled; }
    ShortCut EffectiveShortCut() const { return Key ? Key : (Bound ? Bound->Key : 0); }
    int EffectiveImage() const { return ImageIndex >= 0 ? ImageIndex : (Bound ? Bound->ImageIndex : -1); }
    // The text Windows shows: caption, then a tab and the short-cut.
    std::wstring DisplayText() const;
    void Click();

    // Fills the access record with the text the item shows; done when the
    // item is built into a Windows menu. The record is what the item's data
    // points at (ULONG_PTR)this.
    void PublishAccessText(const std::wstring& text);
    const MenuAccessRecord& AccessRecord() const { return *this; }
    ULONG_PTR ItemData() { return (ULONG_PTR)this; }

    UINT Command = 0;       // WM_COMMAND id, assigned when the menu is built
    HMENU Owner = nullptr;  // the menu that holds this item
    HMENU SubMenu = nullptr;
    MenuItem* Parent = nullptr;

private:
    std::wstring accessText_;
};

// A window's menu bar built from a tree of MenuItems.
class MainMenu {
public:
    MenuItem Root;
    ImageList* Images = nullptr;
    int Tag = 0;

    // Owner-draw hooks: when set before Build, every item is owner-drawn and
    // measured and painted through them.
    std::function<void(MenuItem&, MEASUREITEMSTRUCT&)> OnMeasureItem;
    std::function<void(MenuItem&, const DRAWITEMSTRUCT&)> OnDrawItem;
    bool OwnerDraw() const { return (bool)OnDrawItem; }
    bool OwnerDrawn = false;  // items with their own draw handler are owner-drawn
    bool RightToLeft = false;

    ~MainMenu();
    HMENU Build();  // (re)creates the Windows menu from Root
    HMENU Handle() const { return handle_; }

    MenuItem* FindCommand(UINT command);
    MenuItem* FindShortCut(ShortCut key);
    // Whether a Windows menu is the bar or one of its drop-downs.
    bool Owns(HMENU menu);
    // Pushes an item's state (enabled, checked, text) into the Windows menu.
    void Sync(MenuItem& item);
    void SyncAction(const Action& action);
    void ForEach(const std::function<void(MenuItem&)>& fn);
    // Has every owner-drawn item measured again (Windows keeps the first
    // answer), for a new font or DPI.
    void Remeasure();

    bool HandleMeasure(MEASUREITEMSTRUCT& mis);
    bool HandleDraw(const DRAWITEMSTRUCT& dis);

private:
    void BuildInto(HMENU menu, MenuItem& parent, bool bar);
    HMENU handle_ = nullptr;
    UINT nextCommand_ = 0xE000;
};

}  // namespace win
