// Loading and saving options.ini: window placement, column widths and the
// delete question; the two options of the quick-access component go to
// the store.
#include "store/StoreNames.h"
#include "app/Global.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "win/Dpi.h"
#include "win/IniFile.h"

namespace {
constexpr int kDefaultC0 = 180;
constexpr int kDefaultC1 = 249;
}  // namespace

void TfrmMain::LoadSettings() {
    win::IniFile ini(SettingsFilePath(SettingsUse::Read));
    if (ini.ReadInteger(L"Window", L"State", 1) == 3) {
        MaximizeOnShow = true;
    } else {
        RECT r = Bounds();
        int w = r.right - r.left, h = r.bottom - r.top;
        int defLeft = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        int defTop = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
        int left = ini.ReadInteger(L"Window", L"Left", defLeft);
        int top = ini.ReadInteger(L"Window", L"Top", defTop);
        // Sizes are kept in 96-DPI pixels, so that they fit any scale.
        int width = Scale(ini.ReadInteger(L"Window", L"Width", win::Unscale(w, Dpi())));
        int height = Scale(ini.ReadInteger(L"Window", L"Height", win::Unscale(h, Dpi())));
        if (!SizeUsable(width, height)) {
            width = w;
            height = h;
        }
        RECT wanted{left, top, left + width, top + height};
        if (!PositionUsable(wanted)) {
            left = defLeft;
            top = defTop;
        }
        SetBounds(left, top, width, height);
        // The system cuts an absurd size down and clamps the position, and
        // a huge width makes almost any rectangle touch a screen: the
        // window as it came out must still show.
        RECT got = Bounds();
        if (!PositionUsable(got)) SetBounds(defLeft, defTop, got.right - got.left, got.bottom - got.top);
        lvMain.SetColumnWidth(0, Scale(ini.ReadInteger(L"ListView", L"C0", kDefaultC0)));
        lvMain.SetColumnWidth(1, Scale(ini.ReadInteger(L"ListView", L"C1", kDefaultC1)));
    }
    AppOptions.AskDelete = ini.ReadBool(L"Options", L"AskDelete", true);
}

void TfrmMain::SaveSettings() {
    win::IniFile ini(SettingsFilePath(SettingsUse::Write));
    WINDOWPLACEMENT wp{sizeof(wp)};
    bool placed = GetWindowPlacement(Handle(), &wp) != FALSE;
    if (placed) ini.WriteInteger(L"Window", L"State", (int)wp.showCmd);
    // A minimised window reports an off-screen caption-sized rectangle:
    // keep the bounds it will be restored to.
    RECT r = Bounds();
    if (IsIconic(Handle()) && placed) r = wp.rcNormalPosition;
    ini.WriteInteger(L"Window", L"Left", r.left);
    ini.WriteInteger(L"Window", L"Top", r.top);
    ini.WriteInteger(L"Window", L"Width", win::Unscale(r.right - r.left, Dpi()));
    ini.WriteInteger(L"Window", L"Height", win::Unscale(r.bottom - r.top, Dpi()));
    ini.WriteInteger(L"ListView", L"C0", win::Unscale(lvMain.ColumnWidth(0), Dpi()));
    ini.WriteInteger(L"ListView", L"C1", win::Unscale(lvMain.ColumnWidth(1), Dpi()));
    ini.WriteBool(L"Options", L"AskDelete", AppOptions.AskDelete);
    WriteValue(StoreKey, PicViewValue, OptionText(AppOptions.EnableImage));
    WriteValue(StoreKey, ExploreFolderValue, OptionText(AppOptions.ExploreFolder));
}
