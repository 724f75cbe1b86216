#pragma once
#include <windows.h>

#include "win/WindowHook.h"
#include "xpmenu/XPMenu.h"

namespace xpmenu {

// The window property in which SetControlColor keeps a window's colour.
constexpr wchar_t kControlColorProp[] = L"XPMenu.Color";

// One hooked control: its painter, the state the control painters need and
// what to put back when the hook goes. It is the control's subclass hook;
// the control's previous procedure is the next one in its chain.
class TControlSubClass : public win::WindowHook {
public:
    static constexpr UINT_PTR Id = 0x5850;  // "XP"
    TControlSubClass(HWND control, TXPMenu* painter) : WindowHook(Id), Control(control), Painter(painter) {}

    HWND Control;
    TXPMenu* Painter;
    bool Saved3D = false;      // WS_EX_CLIENTEDGE
    bool SavedSingle = false;  // a single-line border style
    bool SavedBorderBit = false;  // WS_BORDER itself
    bool SavesStyle = false;   // whether the above are to be restored
    bool Recreating = false, Hot = false, Pressed = false, SpaceDown = false,
         SpacePaintDone = false, Focused = false;
    UINT LastMessage = 0;

    // The record hooked on a window, or null.
    static TControlSubClass* Of(HWND control);
    // Installs this record as the control's hook (replacing any record).
    void Install();
    // A record with the same state for another painter, not yet installed.
    TControlSubClass* CopyFor(TXPMenu* painter) const;
    // Puts the control back as it was and frees the record (at once, or
    // when the message now running on the control returns).
    void Unhook();

    void PaintControl();

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnWindowGone() override { Unhook(); }

private:
    void RestoreStyle();
};

// Control kinds as the painters see them.
bool IsPushButton(HWND w);
bool IsGroupBox(HWND w);
bool IsPanel(HWND w);
bool IsListView(HWND w);
bool IsComboBox(HWND w);
bool IsToolBar(HWND w);

}  // namespace xpmenu
