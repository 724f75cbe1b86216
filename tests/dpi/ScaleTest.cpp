// Both programs' windows, their dialogs, both menus and the flat control
// gallery at 96, 120, 144 and 192 DPI. Only the main window and the item
// dialog are shown: without a window manager Wine waits two seconds for
// every shown window that goes, and the other dialogs' layout, fonts and
// pictures are made at creation all the same. Wine fixes a process's DPI when it
// starts (HKCU\Control Panel\Desktop LogPixels), so each scale runs in a
// copy of this executable started at that DPI; inside it, WM_DPICHANGED
// moves windows to another scale and back, as a move between monitors does.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/About.h"
#include "app/AddItem.h"
#include "app/Main.h"
#include "app/Options.h"
#include "flatctrls/TFlatButtonUnit.h"
#include "flatctrls/TFlatCheckBoxUnit.h"
#include "quick/AddFolderDialog.h"
#include "quick/FolderImages.h"
#include "quick/HotKeyDialog.h"
#include "quick/QuickLook.h"
#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Dpi.h"
#include "win/WindowLists.h"

namespace {

using testing_support::WaitUntil;
const std::wstring kDesktop = L"Control Panel\\Desktop";

SIZE ClientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return {r.right, r.bottom};
}

RECT BoundsAt(int x, int y, int w, int h, UINT dpi) {
    return win::ScaleRect({x, y, x + w, y + h}, win::kDesignDpi, dpi);
}

// The text's extent in a font; with a width, wrapped in it as a check box
// wraps its caption.
SIZE Extent(HFONT font, const std::wstring& text, int wrapWidth = 0) {
    win::WindowDC dc(nullptr);
    win::Selection picked(dc, font);
    RECT r{0, 0, wrapWidth, 0};
    DrawTextW(dc, text.c_str(), (int)text.size(), &r, DT_CALCRECT | (wrapWidth ? DT_WORDBREAK : DT_SINGLELINE));
    return {r.right, r.bottom};
}

// Every caption inside a window shows whole: labels, standard and flat
// buttons, flat check boxes (wrapped as they draw).
void ExpectCaptionsWhole(HWND top, UINT dpi) {
    for (HWND w : win::ChildWindows(top)) {
        if (!(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) continue;  // the dialog itself may be hidden
        const std::wstring cls = win::ClassOf(w);
        wchar_t buf[256] = {};
        GetWindowTextW(w, buf, 256);
        const std::wstring text = buf;
        if (text.empty() || cls == L"Edit" || cls == WC_LISTVIEWW) continue;
        const HFONT font = (HFONT)SendMessageW(w, WM_GETFONT, 0, 0);
        const SIZE client = ClientSize(w);
        auto* wrapper = win::Window::FromHandle(w);
        if (auto* box = dynamic_cast<flat::TFlatCheckBox*>(wrapper)) {
            RECT c = box->CaptionRect();
            SIZE need = Extent(font, text, c.right - c.left);
            EXPECT_LE(need.cx, c.right - c.left) << "check box \"" << testing::PrintToString(text);
            EXPECT_LE(need.cy, c.bottom - c.top) << "check box " << testing::PrintToString(text) << " at " << dpi;
            continue;
        }
        SIZE need = Extent(font, text);
        int room = client.cx;
        if (dynamic_cast<flat::TFlatButton*>(wrapper)) room -= 2 * win::Scale(2, dpi);
        else if (cls == L"Button" && (GetWindowLongW(w, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX)
            room -= win::SystemMetricForDpi(SM_CXMENUCHECK, dpi);
        else if (cls == L"Button" && (GetWindowLongW(w, GWL_STYLE) & 0xF) == BS_GROUPBOX) continue;
        EXPECT_LE(need.cx, room) << cls << " " << testing::PrintToString(text) << " at " << dpi;
        EXPECT_LE(need.cy, client.cy) << cls << " " << testing::PrintToString(text) << " at " << dpi;
    }
}

testing::AssertionResult SameRect(const RECT& a, const RECT& b) {
    if (EqualRect(&a, &b)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "{" << a.left << "," << a.top << "," << a.right << "," << a.bottom
                                       << "} is not {" << b.left << "," << b.top << "," << b.right << ","
                                       << b.bottom << "}";
}

int FontHeight(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

SIZE BitmapSize(HBITMAP b) {
    BITMAP bm{};
    GetObjectW(b, sizeof(bm), &bm);
    return {bm.bmWidth, bm.bmHeight};
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    int w = BitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask).cx;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return w;
}

int ImageListWidth(HIMAGELIST list) {
    int w = 0, h = 0;
    ImageList_GetIconSize(list, &w, &h);
    return w;
}

// Sends WM_DPICHANGED as Windows does after a move to a monitor of `dpi`:
// the window's client scaled about its top-left corner.
void MoveToDpi(win::Form& form, UINT dpi) {
    RECT w{};
    GetWindowRect(form.Handle(), &w);
    RECT c{0, 0, MulDiv(ClientSize(form.Handle()).cx, (int)dpi, (int)form.Dpi()),
           MulDiv(ClientSize(form.Handle()).cy, (int)dpi, (int)form.Dpi())};
    DWORD style = GetWindowLongW(form.Handle(), GWL_STYLE), ex = GetWindowLongW(form.Handle(), GWL_EXSTYLE);
    win::AdjustWindowRectForDpi(c, style, GetMenu(form.Handle()) != nullptr, ex, dpi);
    RECT suggested{w.left, w.top, w.left + c.right - c.left, w.top + c.bottom - c.top};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&suggested);
    win::Application::Instance().ProcessMessages();
}

// The main window: places, fonts, images, the menu bar and its drop-downs.
void CheckMainWindow(TfrmMain& form, UINT dpi) {
    auto S = [dpi](int v) { return win::Scale(v, dpi); };
    EXPECT_EQ(form.Dpi(), dpi);
    EXPECT_EQ(FontHeight(form.Font()), -MulDiv(8, (int)dpi, 72));
    EXPECT_EQ(form.ImageList1.Width(), S(16));
    EXPECT_EQ(form.ImageList2.Width(), S(32));
    HIMAGELIST bar = (HIMAGELIST)SendMessageW(form.ToolBar1.Handle(), TB_GETIMAGELIST, 0, 0);
    EXPECT_EQ(ImageListWidth(bar), S(32));
    EXPECT_GE(form.ToolBar1.ButtonSize().cx, S(44));
    RECT list = form.lvMain.Bounds();
    EXPECT_EQ(list.left, S(10));
    EXPECT_EQ(list.top, form.ToolBar1.Height());
    EXPECT_NEAR(form.ToolBar1.Height(), S(41), 1);

    // The menu: each title whole on the bar, each drop-down item wide
    // enough for the icon column, its text and its short-cut.
    xpmenu::TXPMenu& painter = *form.XPMenu1;
    HFONT menuFont = painter.FontHandle();
    EXPECT_EQ(FontHeight(menuFont), S(-12));
    win::WindowDC dc(nullptr);
    HMENU bar0 = GetMenu(form.Handle());
    DrawMenuBar(form.Handle());
    auto strip = [](std::wstring s) {
        s.erase(std::remove(s.begin(), s.end(), L'&'), s.end());
        return s;
    };
    int i = 0;
    for (auto& title : form.Menu().Root.Items) {
        RECT r{};
        ASSERT_TRUE(GetMenuItemRect(form.Handle(), bar0, i++, &r));
        EXPECT_GE(r.right - r.left, Extent(menuFont, strip(title->Caption)).cx + S(6)) << i << " at " << dpi;
        for (auto& item : title->Items) {
            if (item->IsSeparator()) continue;
            int w = 0, h = 0;
            painter.MeasureMenuItem(*item, dc, w, h);
            win::ShortCut sc = item->EffectiveShortCut();
            int text = Extent(menuFont, L" " + strip(item->Caption)).cx +
                       (sc ? Extent(menuFont, win::ShortCutText(sc)).cx : 0);
            // Windows adds a check mark's width to what the painter asks for.
            EXPECT_GE(w + win::SystemMetricForDpi(SM_CXMENUCHECK, dpi), S(painter.IconWidth) + S(3) + text)
                << testing::PrintToString(item->Caption) << " at " << dpi;
            EXPECT_GE(h, std::max<int>(S(16) + S(6), Extent(menuFont, L"W").cy)) << "at " << dpi;
        }
    }
}

// The icon a program's resources hold nearest to `size`: drawn at that very
// size, or the system would stretch another.
int IconDrawnFor(const std::wstring& exe, int size) {
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return 0;
    int width = 0;
    if (HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON)) {
        auto* dir = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
        int id = LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR);
        if (HRSRC one = FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON)) {
            auto* bits = static_cast<BYTE*>(LockResource(LoadResource(module, one)));
            HICON icon = CreateIconFromResourceEx(bits, SizeofResource(module, one), TRUE, 0x00030000, 0, 0, 0);
            width = IconWidth(icon);
            DestroyIcon(icon);
        }
    }
    FreeLibrary(module);
    return width;
}

std::wstring BinFolder() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe);
    dir.resize(dir.find_last_of(L'\\') + 1);
    return dir;
}

UINT OtherDpi(UINT dpi) { return dpi == 96 ? 144 : 96; }

void RunAt(UINT dpi) {
    auto S = [dpi](int v) { return win::Scale(v, dpi); };
    testing_support::DeleteKeyTree(L"Software\\Pathnook");
    testing_support::SetString(L"Software\\Pathnook\\Install", L"Seeded", L"1");
    testing_support::SetString(L"Software\\Pathnook", L"N0", L"Windows Directory");
    testing_support::SetString(L"Software\\Pathnook", L"P0", L"C:\\windows");
    auto& app = win::Application::Instance();

    win::Sealed<TfrmMain> main;
    main.Show();
    app.ProcessMessages();
    CheckMainWindow(main, dpi);
    ExpectCaptionsWhole(main.Handle(), dpi);

    // The item dialog: its places at this DPI, whole captions, and a round
    // trip through another DPI that leaves every control where it was.
    {
        win::Sealed<TfrmProperty> item(main.Handle(), L"Windows", L"C:\\windows");
        item.Show();
        app.ProcessMessages();
        EXPECT_EQ(ClientSize(item.Handle()).cx, S(305));
        EXPECT_EQ(ClientSize(item.Handle()).cy, S(192));
        EXPECT_TRUE(SameRect(item.fbOk.Bounds(), BoundsAt(153, 154, 65, 25, dpi)));
        RECT browse = item.fsbBrowse.Bounds();
        EXPECT_TRUE(SameRect(browse, BoundsAt(257, 61, 22, 22, dpi)));
        EXPECT_EQ(FontHeight(item.fsbBrowse.Font()), S(-20));
        ExpectCaptionsWhole(item.Handle(), dpi);
        RECT ok = item.fbOk.Bounds(), name = item.feName.Bounds();

        const UINT other = OtherDpi(dpi);
        MoveToDpi(item, other);
        EXPECT_EQ(item.Dpi(), other);
        EXPECT_EQ(ClientSize(item.Handle()).cx, win::Scale(305, other));
        EXPECT_TRUE(SameRect(item.fbOk.Bounds(), BoundsAt(153, 154, 65, 25, other)));
        EXPECT_EQ(FontHeight(item.Font()), -MulDiv(8, (int)other, 72));
        EXPECT_EQ(FontHeight(item.fsbBrowse.Font()), win::Scale(-20, other));
        ExpectCaptionsWhole(item.Handle(), other);
        MoveToDpi(item, dpi);
        EXPECT_TRUE(SameRect(item.fbOk.Bounds(), ok));
        EXPECT_TRUE(SameRect(item.feName.Bounds(), name));
    }
    {
        win::Sealed<TfrmOptions> options(main.Handle(), nullptr);
        EXPECT_GE(ClientSize(options.Handle()).cx, S(340));
        EXPECT_EQ(ClientSize(options.Handle()).cy, S(188));
        ExpectCaptionsWhole(options.Handle(), dpi);
        MoveToDpi(options, OtherDpi(dpi));
        ExpectCaptionsWhole(options.Handle(), OtherDpi(dpi));
    }
    {
        win::Sealed<TfrmAbout> about(main.Handle());
        EXPECT_EQ(about.imgBanner.Image().Width(), S(360));
        EXPECT_EQ(about.imgBanner.Image().Height(), S(50));
        EXPECT_EQ(about.imgIcon.Image().Width(), S(32));
        EXPECT_TRUE(SameRect(about.suitempbOK.Bounds(), BoundsAt(268, 208, 75, 25, dpi)));
        ExpectCaptionsWhole(about.Handle(), dpi);
        MoveToDpi(about, OtherDpi(dpi));
        EXPECT_EQ(about.imgBanner.Image().Width(), win::Scale(360, OtherDpi(dpi)));
        ExpectCaptionsWhole(about.Handle(), OtherDpi(dpi));
    }

    // The main window moved to another DPI: images drawn anew at that size.
    MoveToDpi(main, OtherDpi(dpi));
    CheckMainWindow(main, OtherDpi(dpi));
    MoveToDpi(main, dpi);
    CheckMainWindow(main, dpi);

    // The quick menu's dialogs, its items and their images.
    {
        win::Sealed<TfrmHotKey> hotKey(nullptr);
        EXPECT_EQ(ClientSize(hotKey.Handle()).cx, S(300));
        RECT ok{};
        GetWindowRect(GetDlgItem(hotKey.Handle(), IDOK), &ok);
        MapWindowPoints(HWND_DESKTOP, hotKey.Handle(), reinterpret_cast<POINT*>(&ok), 2);
        EXPECT_TRUE(SameRect(ok, BoundsAt(132, 86, 75, 24, dpi)));
        ExpectCaptionsWhole(hotKey.Handle(), dpi);
        win::Sealed<TfrmAddFolder> add(nullptr, L"C:\\windows");
        EXPECT_TRUE(SameRect(add.fbOk.Bounds(), BoundsAt(153, 118, 65, 25, dpi)));
        ExpectCaptionsWhole(add.Handle(), dpi);
    }
    {
        win::Sealed<win::Form> host;
        host.CreateForm(L"DpiTestQuickHost", L"", 10, 10, WS_POPUP, nullptr, false);
        QuickLook look(host);
        FolderImages images(look.IconBackground());
        HBITMAP image = images.Bitmap(L"C:\\windows", nullptr);
        EXPECT_EQ(BitmapSize(image).cx, S(16) + 2);  // the icon and a pixel around it
        FolderList entries{{L"Windows Directory", L"C:\\windows"}, {L"Έγγραφα και φάκελοι", L"C:\\users"}};
        int height = 0;
        std::vector<int> widths = look.ItemWidths(entries, image, height);
        HFONT font = look.Painter().FontHandle();
        for (size_t k = 0; k < entries.size(); ++k)
            EXPECT_GE(widths[k], S(24) + S(3) + Extent(font, L" " + entries[k].Alias).cx) << k << " at " << dpi;
        EXPECT_GE(height, S(16) + S(6));
    }

    // Both programs' icons for the title bar (small) and the task bar.
    const std::wstring dir = BinFolder();
    for (const wchar_t* exe : {L"Pathnook.exe", L"PathnookQuick.exe"})
        for (int index : {SM_CXSMICON, SM_CXICON}) {
            const int size = win::SystemMetricForDpi(index, dpi);
            EXPECT_EQ(IconDrawnFor(dir + exe, size), size) << testing::PrintToString(exe);
        }

    // The gallery of flat controls, as its own program draws it.
    const std::wstring shot = dir + L"gallery-" + std::to_wstring(dpi) + L".bmp";
    std::wstring cmd = L"\"" + dir + L"flatctrls_gallery.exe\" \"" + shot + L"\"";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    win::BitmapHandle picture((HBITMAP)LoadImageW(nullptr, shot.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_EQ(BitmapSize(picture).cx, S(640));
    EXPECT_EQ(BitmapSize(picture).cy, S(400));
    DeleteFileW(shot.c_str());
    testing_support::DeleteKeyTree(L"Software\\Pathnook");
}

class WindowsAtScale : public ::testing::TestWithParam<UINT> {};

TEST_P(WindowsAtScale, FollowTheDpi) {
    const UINT dpi = GetParam();
    if (win::SystemDpi() == dpi) return RunAt(dpi);

    // This process runs at another DPI: a copy of it runs this one test at `dpi`.
    DWORD before = 0, size = sizeof(before);
    const bool had = RegGetValueW(HKEY_CURRENT_USER, kDesktop.c_str(), L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                                  &before, &size) == ERROR_SUCCESS;
    testing_support::SetDword(kDesktop, L"LogPixels", dpi);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::wstring cmd = L"\"" + std::wstring(exe) + L"\" --gtest_color=no --gtest_filter=" +
                       std::wstring(name.begin(), name.end());
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    DWORD code = 1;
    if (started) {
        WaitForSingleObject(pi.hProcess, 300000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    // The prefix's DPI as it was, for the tests after this one.
    if (had) {
        testing_support::SetDword(kDesktop, L"LogPixels", before);
    } else {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktop.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"LogPixels");
            RegCloseKey(key);
        }
    }
    ASSERT_TRUE(started);
    EXPECT_EQ(code, 0u) << "the run at " << dpi << " DPI failed (its output is above)";
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowsAtScale, ::testing::Values(96u, 120u, 144u, 192u));

}  // namespace
