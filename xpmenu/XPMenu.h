#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "win/Messages.h"
#include "win/Bitmap.h"
#include "win/Form.h"
#include "win/Gdi.h"
#include "win/Menu.h"
#include "xpmenu/XPColors.h"

namespace win {
class ToolBar;
}

namespace xpmenu {

// Control kinds the painter may take over; bit n of XPControls.
enum TXPControl {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcListBox, xcEdit, xcMaskEdit,
    xcMemo, xcRichEdit, xcMiscEdit, xcCheckBox, xcRadioButton, xcButton, xcBitBtn,
    xcSpeedButton, xcUpDown, xcPanel, xcGroupBox, xcTreeView, xcListView, xcProgressBar, xcHotKey
};
using TXPControls = uint32_t;
constexpr TXPControls AllXPControls = 8388607;  // all 23

// Parent kinds whose children may be taken over; bit n of XPContainers.
enum TXPContainer {
    xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar, xccPanel, xccScrollBox,
    xccGroupBox, xccTabSheet, xccPageScroller
};
using TXPContainers = uint32_t;
constexpr TXPContainers AllXPContainers = 1023;  // all 10

constexpr uint32_t Bit(int n) { return 1u << n; }

// Private messages posted to the manager's window to draw a popup frame:
// ITEM carries the item's position (wParam) in its menu (lParam, an HMENU),
// WINDOW the popup window (lParam) and right-to-left (wParam).
constexpr UINT WM_PAINTFRAME_ITEM = 0xBCB3;
constexpr UINT WM_PAINTFRAME_WINDOW = 0xBCB4;
static_assert(win::ComponentMessages.Holds(WM_PAINTFRAME_ITEM) && win::ComponentMessages.Holds(WM_PAINTFRAME_WINDOW));

// Tags a host gives its forms, menus, items and controls for the painter.
// A form, menu, item or control (or the parent of one) tagged so is left
// alone.
constexpr int kTagNotPainted = 999;
// A push button or combo box tagged so takes its parent's colour for its
// face instead of the button face.
constexpr int kTagParentFace = 1000;

// The colours actually painted with, derived from the settings.
struct TPaintColors {
    COLORREF Background, IconColumn, SelectFill, SelectBorder, SelectText, CheckFill,
        CheckFillSelected, CheckMark, Bar, Disabled, Separator, FrameOuter, FrameShadow;
    int HotLighten = 40, FaceLighten = 16;  // push button fills, in percent
};

// Who a glyph or a text is painted for: some rules differ for tool buttons.
enum class TOwnerKind { MenuItem, ToolButton, Control };

class TControlSubClass;

// Paints a form's menus, tool bars and selected controls in an office style.
class TXPMenu {
public:
    explicit TXPMenu(win::Form& owner);
    ~TXPMenu();
    TXPMenu(const TXPMenu&) = delete;
    TXPMenu& operator=(const TXPMenu&) = delete;

    win::Form& Form() const { return form_; }

    // Settings.
    int DimLevel = 30;
    int GrayLevel = 10;
    bool DrawMenuBar = false;
    int IconWidth = 24;
    bool DrawSelect = true;
    bool UseDimColor = false;
    bool Gradient = false;
    bool FlatMenu = false;

    // The font's height is in 96-DPI pixels; the handle is made for the
    // form's DPI, and made again when that changes. So are IconWidth and
    // every gap the painter keeps.
    void SetFont(const LOGFONTW& font, TColor color);
    const LOGFONTW& FontSpec() const { return font_; }
    TColor FontColor() const { return fontColor_; }
    HFONT FontHandle() const;
    // A 96-DPI length at the form's DPI.
    int Px(int value) const;
    // The form's DPI; read once for the life of a DpiPin.
    UINT Dpi() const;
    // Holds the form's DPI for a whole item's measuring or painting: reading
    // it asks the window system each time, and an item asks it many times.
    class DpiPin {
    public:
        explicit DpiPin(const TXPMenu& painter)
            : painter_(painter), outer_(std::exchange(painter.pinnedDpi_, painter.Dpi())) {}
        ~DpiPin() { painter_.pinnedDpi_ = outer_; }
        DpiPin(const DpiPin&) = delete;
        DpiPin& operator=(const DpiPin&) = delete;

    private:
        const TXPMenu& painter_;
        UINT outer_;
    };

    TColor Color() const { return color_; }
    void SetColor(TColor c) { SetPaletteColor(color_, c); }
    TColor IconBackColor() const { return iconBack_; }
    void SetIconBackColor(TColor c) { SetPaletteColor(iconBack_, c); }
    TColor MenuBarColor() const { return menuBar_; }
    void SetMenuBarColor(TColor c);
    TColor SelectColor() const { return select_; }
    void SetSelectColor(TColor c) { SetPaletteColor(select_, c); }
    TColor SelectBorderColor() const { return selectBorder_; }
    void SetSelectBorderColor(TColor c) { SetPaletteColor(selectBorder_, c); }
    TColor SelectFontColor() const { return selectFont_; }
    void SetSelectFontColor(TColor c) { SetPaletteColor(selectFont_, c); }
    TColor DisabledColor() const { return disabled_; }
    void SetDisabledColor(TColor c) { SetPaletteColor(disabled_, c); }
    TColor SeparatorColor() const { return separator_; }
    void SetSeparatorColor(TColor c) { SetPaletteColor(separator_, c); }
    TColor CheckedColor() const { return checked_; }
    void SetCheckedColor(TColor c) { SetPaletteColor(checked_, c); }
    bool UseSystemColors() const { return useSystemColors_; }
    void SetUseSystemColors(bool v);
    bool OverrideOwnerDraw() const { return overrideOwnerDraw_; }
    void SetOverrideOwnerDraw(bool v);
    TXPControls XPControls() const { return xpControls_; }
    void SetXPControls(TXPControls v);
    TXPContainers XPContainers() const { return xpContainers_; }
    void SetXPContainers(TXPContainers v);
    bool Active() const { return active_; }
    void SetActive(bool v);
    bool DisableSubclassing() const { return disableSubclassing_; }
    void SetDisableSubclassing(bool v);

    // Registers with the manager once the owner has configured the painter.
    void Loaded();

    // Colour set.
    void RefreshPalette(HDC dc);
    void RefreshPalette(int bitsPerPixel);
    const TPaintColors& PaintColors() const { return colors_; }
    // Also when the system's colours or the high-contrast scheme changed.
    bool PaletteDirty() const;
    // The palette in use follows a high-contrast scheme.
    bool HighContrastPalette() const { return highContrast_; }
    COLORREF ContrastTextColor(TColor c) const;

    // Menu items.
    SIZE ImageSizeOf(const win::MenuItem& item, bool bar) const;
    void MeasureMenuItem(win::MenuItem& item, HDC dc, int& width, int& height);
    void PaintMenuItem(win::MenuItem& item, HDC dc, const RECT& rect, bool selected);
    void PaintOpenBarItem(HDC dc, bool isMenuItem, bool rightToLeft, TColor barColor, const RECT& r);
    void PaintGradientBackground(HDC dc, const RECT& r, bool rightToLeft);
    void PaintCheckMark(HDC dc, const win::MenuItem& item, bool selected, const RECT& g,
                        bool hasImage, bool enabled);
    void PaintItemGlyph(HDC dc, TOwnerKind owner, bool rightToLeft, bool isBar, bool checked,
                        bool enabled, bool down, bool hot, const RECT& box, win::Bitmap& glyph);
    struct TextOptions {
        TOwnerKind Owner = TOwnerKind::MenuItem;
        HFONT Font = nullptr;  // null: the painter's font
        COLORREF FontColor = CLR_INVALID;
        UINT Format = 0;
        bool RightToLeft = false, IsBar = false, IsDefault = false, Enabled = true, Selected = false;
        std::wstring ShortCut;
    };
    void PaintItemText(HDC dc, const std::wstring& text, RECT r, const TextOptions& o);
    static bool IsMouseOverBarItem(HWND form, const RECT& r);

    // Attachment.
    void ApplyToOwned(win::Form& form, bool enable, bool update);
    void ApplyToMenu(win::MainMenu& menu, bool enable);
    void ApplyToWindow(HWND control, bool enable, bool update);
    void AttachItemTree(win::MenuItem& item, bool enable);
    void AttachItem(win::MenuItem& item, bool enable);
    // Whether a control qualifies by its kind and its parent's kind.
    bool QualifiesByKind(HWND control) const;
    bool QualifiesByParent(HWND control) const;

    // Tool bars and control bands.
    LRESULT CustomDrawToolBar(HWND toolBar, NMTBCUSTOMDRAW& cd);
    struct ToolButtonState {
        bool Selected = false, Disabled = false, Checked = false, Hot = false, Indeterminate = false;
    };
    void PaintToolButton(HWND toolBar, int index, HDC dc, const RECT& box,
                         const ToolButtonState& state, bool& defaultDraw);
    void PaintBand(HDC dc, const RECT& rect, TColor controlColor);

    // Records of the controls this painter has hooked.
    const std::vector<TControlSubClass*>& Records() const { return records_; }
    void AddRecord(TControlSubClass* r) { records_.push_back(r); }
    void ForgetRecord(TControlSubClass* r);

    bool PaintingFrame = false;  // PaintFlatFrame is at work
    bool IsNT51() const { return nt51_; }

private:
    void SetPaletteColor(TColor& field, TColor value);
    void RedrawMenuBar();
    void DropUnqualifiedRecords();
    void ChangeKinds(const std::function<void()>& assign, bool changed);
    void HookFormHover(bool on);
    // Takes this painter's handlers off every form's menu and tool bars.
    void DetachEverywhere();
    friend class HoverHook;
    class HoverHook* hoverHook_ = nullptr;
    int hoverItem_ = -1;

    win::Form& form_;
    LOGFONTW font_{};
    TColor fontColor_ = clMenuText;
    mutable win::FontHandle fontHandle_;
    mutable UINT fontDpi_ = 0;
    mutable UINT pinnedDpi_ = 0;  // while a DpiPin holds it
    TColor color_ = clBtnFace, iconBack_ = clBtnFace, menuBar_ = clBtnFace, select_ = clHighlight,
           selectBorder_ = clHighlight, selectFont_ = clMenuText, disabled_ = clInactiveCaption,
           separator_ = clBtnFace, checked_ = clHighlight;
    bool useSystemColors_ = true;
    bool overrideOwnerDraw_ = false;
    TXPControls xpControls_ = AllXPControls;
    TXPContainers xpContainers_ = AllXPContainers;
    bool active_ = false;
    bool disableSubclassing_ = false;

    TPaintColors colors_{};
    bool highColor_ = true;
    bool paletteDirty_ = true;
    unsigned stamp_ = 0;
    bool highContrast_ = false;
    bool nt_ = true, nt51_ = false;
    std::vector<TControlSubClass*> records_;
    int formListener_ = 0;
    win::Bitmap itemSurface_;  // every menu item is drawn on it, then copied out
};

// Colour of a window's surface as painted: a tool bar's colour, a colour
// given with SetControlColor, else the button face.
COLORREF ControlColor(HWND window);
void SetControlColor(HWND window, COLORREF color);

// The Tag of a window's wrapper, 0 for windows this layer did not create.
int WindowTag(HWND window);
std::wstring ClassNameOf(HWND window);

}  // namespace xpmenu
