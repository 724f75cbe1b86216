#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Menu.h"
#include "win/Window.h"

namespace win {

// A one-column shortcut menu in a window of the program's own, kept from
// one showing to the next: for a menu that changes with each key typed in
// it (the matches of a search), which a system menu could only show by
// being made and measured again. Its items are MenuItems drawn by their own
// draw handlers, as in an owner-drawn PopupMenu, in the frame a system menu
// has, so that both look alike. It takes the keyboard and the mouse as a
// menu does: arrows, Home and End light items, Enter chooses, Escape or a
// press outside closes; typed characters go to OnChar. A screen reader sees
// a menu with its items.
class ListMenu : public Window {
public:
    static constexpr const wchar_t* ClassName = L"ListMenu";

    MenuItem Root;
    // Added to each item's width: what a system menu adds to an owner-drawn
    // item (its check-mark margins), so that items are as wide here.
    int ExtraWidth = 0;
    // A character typed in the menu, Backspace included.
    std::function<void(wchar_t)> OnChar;
    // The lit item changed (its position, or -1).
    std::function<void(int position)> OnLit;

    ListMenu() = default;
    ~ListMenu() override;

    // Shows the menu with its top left corner at a screen point (moved to
    // stay on the work area), with its first item lit when asked, and runs
    // until an item is chosen (returned) or the menu is closed (null).
    MenuItem* Track(HWND owner, POINT at, bool lightFirst);
    // Ends Track without a choice.
    void Cancel();
    // After Root changed while shown: the window fits the items (it grows
    // but does not narrow while open) and rows that now show something
    // else are drawn again; the others are not.
    void Refresh();
    // Lights an item the keyboard can reach (a separator or heading is
    // not lit); -1: none.
    void Light(int position);
    // The first item the keyboard reaches, or -1.
    int FirstReachable() const;
    int Lit() const { return lit_; }
    bool IsTracking() const { return tracking_; }
    // Shown, with everything asked of it done: it takes keys.
    bool Ready() const { return tracking_ && idles_ > 0; }
    // Times its loop ran dry: everything asked before, painting included,
    // was done by then.
    unsigned Idles() const { return idles_; }
    // Times it was drawn, over all its showings.
    unsigned Paints() const { return paints_; }
    // An item's place on the screen; empty when it has none.
    RECT ItemRect(int position) const;
    // The item at a screen point, or -1.
    int ItemAt(POINT screen) const;
    // Chooses an item as Enter does (a screen reader's default action).
    void Choose(int position);
    static ListMenu* Of(HWND window);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // What a row showed when it was last laid out: a row is drawn again
    // only when this changes.
    struct Row {
        int Top = 0, Height = 0;
        int Width = 0;  // as measured, without MinWidth and ExtraWidth
        std::wstring Caption;
        bool Enabled = true, Checked = false, Heading = false, Lit = false;
        HBITMAP Bitmap = nullptr;
        bool operator==(const Row& o) const {
            return Top == o.Top && Height == o.Height && Caption == o.Caption && Enabled == o.Enabled &&
                   Checked == o.Checked && Heading == o.Heading && Lit == o.Lit && Bitmap == o.Bitmap;
        }
    };
    static bool Reachable(const MenuItem& item) { return !item.IsSeparator() && !item.Heading; }
    std::vector<Row> LayOut(SIZE& size) const;
    void Place(SIZE size);
    void Paint(HDC dc);
    void Key(UINT vk);
    void Step(int direction);
    void InvalidateRow(int position);
    void Finish(MenuItem* chosen);

    std::vector<Row> rows_;
    SIZE shown_{};  // the menu as drawn; its window takes this size
    int lit_ = -1;
    POINT at_{};
    POINT lastPointer_{};
    bool tracking_ = false;
    bool done_ = false;
    MenuItem* chosen_ = nullptr;
    unsigned idles_ = 0;
    unsigned paints_ = 0;
};

}  // namespace win
