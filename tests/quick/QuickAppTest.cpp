// PathnookQuick.exe end to end: one instance, its menus as they show on
// screen, real keys, and what it leaves in the registry.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "QuickTestSupport.h"
#include "quick/ManagerLauncher.h"
#include "quick/QuickSettings.h"
#include "quick/QuickWindow.h"
#include "store/StoreNames.h"
#include "win/Error.h"
#include "win/ListMenu.h"

using namespace testing_support;
using namespace quicktest;

namespace {
// Notepad started and waited for until it holds the foreground; ended with
// the test.
class FrontProgram {
public:
    bool Start() {
        STARTUPINFOW si{sizeof(si)};
        std::wstring command = L"notepad.exe";
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_))
            return false;
        return WaitUntil([&] {
            window_ = GetForegroundWindow();
            DWORD pid = 0;
            GetWindowThreadProcessId(window_, &pid);
            return pid == info_.dwProcessId;
        }, 10000);
    }
    ~FrontProgram() {
        if (!info_.hProcess) return;
        TerminateProcess(info_.hProcess, 0);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    HWND Window() const { return window_; }
    DWORD ThreadId() const { return info_.dwThreadId; }

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// Two favourites whose folders exist, opened in place (not explored).
struct AlphaBeta {
    AlphaBeta() {
        CreateDirectoryW(a.c_str(), nullptr);
        CreateDirectoryW(b.c_str(), nullptr);
        WriteList({{L"Alpha", a}, {L"Beta", b}});
        SetString(StoreKey, ExploreFolderValue, L"0");
    }
    TempDir dir;
    std::wstring a = dir.File(L"alpha"), b = dir.File(L"beta");
};

// The two favourites, the shell recorded, and Notepad (brought to the front
// by QuickApp::StartOverNotepad).
struct OverNotepad {
    AlphaBeta list;
    RecordingShell shell{list.dir.File(L"record.txt")};
    FrontProgram notepad;
};

class QuickApp : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(StoreKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey, RunValue);
    }
    void TearDown() override {
        app.Kill();
        DeleteKeyTree(StoreKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey, RunValue);
    }
    // Opens the quick menu as a left click on the icon does.
    HWND OpenByClick() {
        PostMessageW(app.Window(), WM_QUICK_TRAY, 1, WM_LBUTTONUP);
        HWND menu = FindMenuWindow(app.Id());
        EXPECT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; })) << "the menu takes no keys";
        return menu;
    }
    // Menus are not readable from another process here; the program tells
    // what its open menu holds.
    std::vector<MenuItemState> ItemsOf(HWND) { return OpenMenuItems(app); }
    // Keys for an open menu go straight to its window: whether the menu's
    // program is the foreground one at that moment is the window system's
    // business (the hot key test types for real).
    void MenuKey(HWND menu, WORD vk) {
        PostMessageW(menu, WM_KEYDOWN, vk, 1);
        PostMessageW(menu, WM_KEYUP, vk, 0xC0000001);
    }
    bool WaitMenuGone() {
        return WaitUntil([&] { return FindMenuWindow(app.Id(), 0) == nullptr; });
    }
    // The program started, then another one in front of it, with a menu
    // bar of its own.
    bool StartOverNotepad(OverNotepad& scene) { return app.Start() && scene.notepad.Start(); }
    // The hot key pressed on the real keyboard, held as a hand holds it (the
    // modifiers go up once the menu is open); the menu, once it takes keys.
    HWND RealHotKey() {
        if (!XInput("keydown super+alt") || !XInput("key f")) return nullptr;
        HWND menu = FindMenuWindow(app.Id());
        XInput("keyup alt super");
        return menu && WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }) ? menu : nullptr;
    }
    // The open menu's item at a position, as the program tells it.
    std::wstring ItemText(int i) {
        ATOM atom = (ATOM)app.Ask(WM_QUICK_MENU_TEXT, i);
        wchar_t buf[256] = {};
        GlobalGetAtomNameW(atom, buf, 256);
        GlobalDeleteAtom(atom);
        return std::wstring(buf);
    }
    bool Lit(int i) { return (app.Ask(WM_QUICK_MENU_ITEM, i) & mibLit) != 0; }
    // The matches of `typed` show (their heading says it) and take keys.
    bool Showing(const std::wstring& typed) {
        return WaitUntil([&] {
            return app.Ask(WM_QUICK_MENU_READY) != 0 &&
                   ItemText(0).find(L"\u201c" + typed + L"\u201d") != std::wstring::npos;
        });
    }
    QuickProcess app;
};
}  // namespace

TEST_F(QuickApp, ASecondStartLeavesAtOnce) {
    ASSERT_TRUE(app.Start());
    QuickProcess second;
    ASSERT_TRUE(second.Start(false));
    DWORD code = 99;
    EXPECT_TRUE(second.WaitExit(10000, &code)) << "the second instance is still running";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(app.Running());
    // The first one still answers.
    EXPECT_NE(app.Ask(WM_QUICK_HOTKEY), 0);
}

TEST_F(QuickApp, TheMenuShowsTheListAndAChosenFolderOpensThroughTheShell) {
    TempDir dir;
    std::wstring a = dir.File(L"alpha"), b = dir.File(L"beta");
    CreateDirectoryW(a.c_str(), nullptr);
    CreateDirectoryW(b.c_str(), nullptr);
    WriteList({{L"Alpha", a}, {L"*Separator*", L"-"}, {L"Gone", dir.File(L"gone")}, {L"Beta", b}});
    SetString(StoreKey, ExploreFolderValue, L"0");
    RecordingShell shell(dir.File(L"record.txt"));
    ASSERT_TRUE(app.Start());
    // Folder checks run on their own; the first round ends soon after the start.
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_CHECKS) >= 1; }));

    HWND menu = OpenByClick();
    ASSERT_NE(menu, nullptr) << "no menu shown";
    auto items = ItemsOf(menu);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_FALSE(items[0].Grayed);
    EXPECT_TRUE(items[1].Separator);
    EXPECT_TRUE(items[2].Grayed) << "a missing folder is greyed";
    EXPECT_FALSE(items[3].Grayed);
    // Down skips the separator; Enter opens "Beta".
    MenuKey(menu, VK_DOWN);
    MenuKey(menu, VK_DOWN);
    MenuKey(menu, VK_DOWN);
    MenuKey(menu, VK_RETURN);
    std::wstring verb, got;
    ASSERT_TRUE(shell.Wait(verb, got)) << "nothing was opened";
    EXPECT_EQ(verb, L"open");
    EXPECT_TRUE(SamePath(got, b)) << got;
    EXPECT_TRUE(WaitMenuGone());

    // The manager changes the list and the option: the very next menu shows it.
    SetString(StoreKey, ExploreFolderValue, L"1");
    SetString(StoreKey, L"N4", L"Zeta");
    SetString(StoreKey, L"P4", a);
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_READS) >= 2; }));
    menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(ItemsOf(menu).size(), 5u);
    // A letter shows the matches, the first lit; Enter opens it.
    PostMessageW(menu, WM_CHAR, 'z', 1);
    ASSERT_TRUE(WaitUntil([&] {
        return app.Ask(WM_QUICK_MENU_READY) != 0 && (app.Ask(WM_QUICK_MENU_ITEM, 2) & mibLit) != 0 &&
               ItemsOf(FindMenuWindow(app.Id(), 0)).size() == 3;  // the typed text, a line, Zeta
    })) << "z showed no matches";
    menu = FindMenuWindow(app.Id());
    MenuKey(menu, VK_RETURN);
    EXPECT_TRUE(WaitMenuGone());
    ASSERT_TRUE(shell.Wait(verb, got));
    EXPECT_EQ(verb, L"explore");
    EXPECT_TRUE(SamePath(got, a)) << got;

    // Escape closes the menu and opens nothing; no change, no registry call.
    menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    MenuKey(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitMenuGone());
    LRESULT calls = app.Ask(WM_QUICK_REGISTRY_CALLS);
    menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    MenuKey(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitMenuGone());
    EXPECT_EQ(app.Ask(WM_QUICK_REGISTRY_CALLS), calls);
    EXPECT_FALSE(shell.Wait(verb, got, 500)) << got;
}

TEST_F(QuickApp, TheHotKeyOpensTheMenuFromRealKeys) {
    TempDir dir;
    std::wstring a = dir.File(L"alpha");
    CreateDirectoryW(a.c_str(), nullptr);
    WriteList({{L"Alpha", a}});
    RecordingShell shell(dir.File(L"record.txt"));
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.Ask(WM_QUICK_HOTKEY), MAKELONG('F', MOD_WIN | MOD_ALT));
    SendKeys({VK_LWIN, VK_MENU}, {'F'});
    HWND menu = FindMenuWindow(app.Id());
    ASSERT_NE(menu, nullptr) << "Win+Alt+F opened no menu";
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }));
    // Called from the keyboard, the first item is lit and Enter takes it.
    ASSERT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 0) & mibLit) != 0; }));
    TapKey(VK_RETURN);
    std::wstring verb, got;
    ASSERT_TRUE(shell.Wait(verb, got));
    EXPECT_TRUE(SamePath(got, a));
}

TEST_F(QuickApp, StartWithWindowsAddsAndRemovesItsValue) {
    ASSERT_TRUE(app.Start());
    auto value = [] {
        wchar_t buf[1024] = {};
        DWORD size = sizeof(buf);
        return RegGetValueW(HKEY_CURRENT_USER, RunKey, RunValue, RRF_RT_REG_SZ, nullptr, buf, &size) == ERROR_SUCCESS
                   ? std::wstring(buf)
                   : std::wstring(L"<none>");
    };
    app.Command(cmStartWithWindows);
    ASSERT_TRUE(WaitUntil([&] { return value() != L"<none>"; }));
    std::wstring v = value();
    EXPECT_EQ(v.front(), L'"');
    EXPECT_TRUE(SamePath(v.substr(1, v.size() - 2), BuiltExe(L"PathnookQuick.exe"))) << v;

    // Its own menu shows the check.
    PostMessageW(app.Window(), WM_QUICK_TRAY, 1, WM_RBUTTONUP);
    HWND menu = FindMenuWindow(app.Id());
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }));
    auto items = ItemsOf(menu);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].Text, L"&Edit the List...");
    EXPECT_EQ(items[1].Text, L"&Start with Windows");
    EXPECT_TRUE(items[1].Checked);
    EXPECT_EQ(items[4].Text, L"E&xit");
    MenuKey(menu, VK_DOWN);
    MenuKey(menu, VK_DOWN);
    MenuKey(menu, VK_RETURN);  // "Start with Windows" again: off
    EXPECT_TRUE(WaitUntil([&] { return value() == L"<none>"; }));
    EXPECT_TRUE(app.Running());
}

TEST_F(QuickApp, AKeyHeldByAnotherProgramIsRefusedAndTheOldOneKept) {
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'K'));
    auto setKey = [&](UINT mods, UINT vk) {
        app.Command(cmHotKey);
        HWND dialog = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (dialog = FindWindowW(L"TfrmHotKey", L"Hot Key")) && IsWindowVisible(dialog); }));
        if (!dialog) return;
        SendDlgItemMessageW(dialog, 200, HKM_SETHOTKEY,
                            MAKEWORD(vk, ((mods & MOD_ALT) ? HOTKEYF_ALT : 0) | ((mods & MOD_CONTROL) ? HOTKEYF_CONTROL : 0)),
                            0);
        SendDlgItemMessageW(dialog, 201, BM_SETCHECK, (mods & MOD_WIN) ? BST_CHECKED : BST_UNCHECKED, 0);
        PressButton(dialog, IDOK);
    };
    setKey(MOD_CONTROL | MOD_ALT, 'K');
    HWND box = FindDialogOf(app.Id(), L"Pathnook");
    ASSERT_NE(box, nullptr) << "the refusal was not told";
    EXPECT_NE(DialogText(box).find(L"Ctrl+Alt+K is already used by another program"), std::wstring::npos)
        << DialogText(box);
    EXPECT_NE(DialogText(box).find(L"keeps Win+Alt+F"), std::wstring::npos) << DialogText(box);
    PressButton(box, IDOK);
    EXPECT_EQ(app.Ask(WM_QUICK_HOTKEY), MAKELONG('F', MOD_WIN | MOD_ALT));
    EXPECT_TRUE(ReadKeyValues(QuickMenuKey).empty()) << "a refused key was stored";
    UnregisterHotKey(nullptr, 7);

    // A free key is taken, stored apart from the list, and works.
    setKey(MOD_CONTROL | MOD_ALT, 'J');
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_HOTKEY) == MAKELONG('J', MOD_CONTROL | MOD_ALT); }));
    EXPECT_EQ(ReadKeyValues(QuickMenuKey).size(), 2u);
    EXPECT_EQ(ReadKeyValues(StoreKey).count(L"N0"), 0u);
    // The old key is free again: another program can have it.
    EXPECT_TRUE(RegisterHotKey(nullptr, 8, MOD_WIN | MOD_ALT, 'F'));
    UnregisterHotKey(nullptr, 8);
    SendKeys({VK_CONTROL, VK_MENU}, {'J'});
    HWND menu = FindMenuWindow(app.Id());
    ASSERT_NE(menu, nullptr) << "the new key opened no menu";
    EXPECT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }));
    MenuKey(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitMenuGone());

    // The next start reads the stored key.
    app.Kill();
    EXPECT_EQ(LoadHotKey(), (win::HotKeySpec{MOD_CONTROL | MOD_ALT, 'J'}));
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app.Ask(WM_QUICK_HOTKEY), MAKELONG('J', MOD_CONTROL | MOD_ALT));
}

TEST(QuickSettings, ABadStoredKeyFallsBackToTheDefault) {
    DeleteKeyTree(StoreKey);
    EXPECT_EQ(LoadHotKey(), DefaultHotKey());
    SetDword(QuickMenuKey, L"Modifiers", 0);  // no modifier: a bare key
    SetDword(QuickMenuKey, L"Key", 'F');
    EXPECT_EQ(LoadHotKey(), DefaultHotKey());
    SetString(QuickMenuKey, L"Modifiers", L"3");
    EXPECT_EQ(LoadHotKey(), DefaultHotKey());
    SaveHotKey({MOD_SHIFT | MOD_CONTROL, VK_F9});
    EXPECT_EQ(LoadHotKey(), (win::HotKeySpec{MOD_SHIFT | MOD_CONTROL, VK_F9}));
    EXPECT_EQ(win::HotKeyText(LoadHotKey()), L"Ctrl+Shift+F9");
    EXPECT_EQ(win::HotKeyText(DefaultHotKey()), L"Win+Alt+F");
    DeleteKeyTree(StoreKey);
}

TEST_F(QuickApp, ThePainterDrawsTheMenuWithFolderIconsOnlyWithPicView) {
    TempDir dir;
    std::wstring a = dir.File(L"alpha");
    CreateDirectoryW(a.c_str(), nullptr);
    WriteList({{L"Alpha", a}, {L"*Separator*", L"-"}, {L"Windows", L"C:\\windows"}});
    SetString(StoreKey, PicViewValue, L"1");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_CHECKS) >= 1; }));
    HWND menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    auto items = ItemsOf(menu);
    ASSERT_EQ(items.size(), 3u);
    for (auto& i : items) EXPECT_TRUE(i.OwnerDrawn);
    EXPECT_TRUE(items[0].Icon);
    EXPECT_FALSE(items[1].Icon);
    EXPECT_TRUE(items[2].Icon);
    MenuKey(menu, VK_ESCAPE);
    ASSERT_TRUE(WaitMenuGone());

    SetString(StoreKey, PicViewValue, L"0");
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_READS) >= 2; }));
    menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    items = ItemsOf(menu);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_TRUE(items[0].OwnerDrawn);
    EXPECT_FALSE(items[0].Icon);
    EXPECT_FALSE(items[2].Icon);
    MenuKey(menu, VK_ESCAPE);
}

TEST_F(QuickApp, AListLongerThanTheScreenGoesOnInMore) {
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (int i = 0; i < 1000; ++i) entries.push_back({L"Folder " + std::to_wstring(i), L"C:\\f" + std::to_wstring(i)});
    WriteList(entries);
    SetString(StoreKey, PicViewValue, L"0");
    ASSERT_TRUE(app.Start());
    HWND menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    auto items = ItemsOf(menu);
    ASSERT_GT(items.size(), 20u);
    ASSERT_LT(items.size(), 1000u);
    EXPECT_EQ(items.back().Text, L"More");
    EXPECT_TRUE(items.back().SubMenu);
    EXPECT_EQ(items.front().Text, L"Folder 0");
    // The menu fits the screen: its window lies inside the work area.
    RECT r{}, work{};
    GetWindowRect(menu, &r);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(r.bottom - r.top, work.bottom - work.top);
    EXPECT_LE(r.right - r.left, work.right - work.left);
    MenuKey(menu, VK_ESCAPE);
}

TEST_F(QuickApp, EditTheListStartsTheManagerFromSettingOrBringsTheRunningOneForward) {
    TempDir dir;
    std::wstring manager = dir.File(L"Pathnook.exe");
    ASSERT_TRUE(CopyFileW(BuiltExe(L"Pathnook.exe").c_str(), manager.c_str(), FALSE));
    SetString(StoreKey, SettingValue, manager);
    ASSERT_TRUE(app.Start());
    auto managers = [] {
        std::vector<HWND> found;
        HWND w = nullptr;
        while ((w = FindWindowExW(nullptr, w, MainWindowClass, nullptr))) found.push_back(w);
        return found;
    };
    ASSERT_TRUE(managers().empty());
    app.Command(cmEditList);
    ASSERT_TRUE(WaitUntil([&] { return managers().size() == 1 && IsWindowVisible(managers()[0]); }, 15000))
        << "the manager did not start";
    HWND window = managers()[0];
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    ASSERT_NE(process, nullptr);
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameW(process, 0, image, &size);
    EXPECT_TRUE(SamePath(image, manager)) << win::Narrow(image);

    // Again while it runs: no second manager, the first one comes forward.
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }));
    app.Command(cmEditList);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(window); })) << "the running manager was not brought forward";
    EXPECT_EQ(managers().size(), 1u);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
}

// Exit from the icon's menu ends the process, and a new start runs. The
// click comes as the notification area gives it: sent from another thread.
TEST_F(QuickApp, ExitFromTheIconsMenuEndsTheProgramAndANewStartRuns) {
    ASSERT_TRUE(app.Start());
    SendNotifyMessageW(app.Window(), WM_QUICK_TRAY, 1, WM_RBUTTONUP);
    HWND menu = FindMenuWindow(app.Id());
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }));
    MenuKey(menu, VK_END);  // "E&xit"
    MenuKey(menu, VK_RETURN);
    DWORD code = 99;
    ASSERT_TRUE(app.WaitExit(10000, &code)) << "the process outlived Exit";
    EXPECT_EQ(code, 0u);

    QuickProcess again;
    ASSERT_TRUE(again.Start()) << "a start after Exit did not run";
    EXPECT_NE(again.Ask(WM_QUICK_HOTKEY), 0);
    again.Kill();
}

// The real keyboard, as X gives it under Wine: the hot key over another
// program opens the menu, arrows and Enter choose in it, and the Alt of
// the hot key opens no menu bar of the program below.
TEST_F(QuickApp, RealKeysReachTheMenuOverAnotherProgram) {
    OverNotepad scene;
    ASSERT_TRUE(StartOverNotepad(scene));
    auto& [list, shell, notepad] = scene;
    const std::wstring& b = list.b;
    HWND front = notepad.Window();

    auto inMenu = [&] {
        GUITHREADINFO info{sizeof(info)};
        GetGUIThreadInfo(notepad.ThreadId(), &info);
        return (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
    };
    // The check below sees a menu bar opened by a lone Alt. The X focus
    // may follow the window a moment after it came to the front.
    bool opened = false;
    for (int i = 0; i < 5 && !opened; ++i) {
        ASSERT_TRUE(XInput("key alt"));
        opened = WaitUntil(inMenu, 1000);
    }
    ASSERT_TRUE(opened) << "a lone Alt opened no menu bar: the check below would see nothing";
    ASSERT_TRUE(XInput("key Escape"));
    ASSERT_TRUE(WaitUntil([&] { return !inMenu(); }));

    ASSERT_NE(RealHotKey(), nullptr) << "the real hot key opened no menu";
    ASSERT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 0) & mibLit) != 0; }));
    ASSERT_TRUE(XInput("key Down"));
    EXPECT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 1) & mibLit) != 0; }))
        << "a real Down did not reach the menu";
    // The window system may give the program below the foreground back
    // while the menu is open (its focus event arriving late): keys still
    // go to the menu.
    ASSERT_TRUE(WaitUntil([&] {
        SetForegroundWindow(front);
        return GetForegroundWindow() == front;
    }));
    ASSERT_NE(FindMenuWindow(app.Id()), nullptr) << "the menu closed when it lost the foreground";
    ASSERT_TRUE(XInput("key Down"));
    EXPECT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 0) & mibLit) != 0; }))
        << "a real Down typed over the program below did not reach the menu";
    ASSERT_TRUE(XInput("key Up"));
    EXPECT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 1) & mibLit) != 0; }));
    ASSERT_TRUE(XInput("key Return"));
    std::wstring verb, got;
    ASSERT_TRUE(shell.Wait(verb, got)) << "a real Enter chose nothing";
    EXPECT_TRUE(SamePath(got, b));
    EXPECT_FALSE(inMenu()) << "the hot key's Alt opened the menu of the program below";
}

// Letters, Backspace, arrows and Enter typed on the real keyboard reach the
// list of matches over another program, as they reach the menu.
TEST_F(QuickApp, RealKeysTypeInTheMatchesAndChooseAmongThem) {
    OverNotepad scene;
    ASSERT_TRUE(StartOverNotepad(scene));
    auto& [list, shell, notepad] = scene;
    ASSERT_NE(RealHotKey(), nullptr) << "the real hot key opened no menu";
    ASSERT_TRUE(XInput("type b"));
    ASSERT_TRUE(Showing(L"b")) << "a real letter found nothing: " << win::Narrow(ItemText(0));
    ASSERT_NE(WindowOfProcess(app.Id(), win::ListMenu::ClassName), nullptr);
    // Backspace to nothing typed: the whole menu again.
    ASSERT_TRUE(XInput("key BackSpace"));
    ASSERT_TRUE(WaitUntil([&] { return WindowOfProcess(app.Id(), L"#32768") && ItemText(0) == L"Alpha"; }))
        << "Backspace did not show the whole list: " << win::Narrow(ItemText(0));
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }));
    // Both aliases hold an "a": the first lit, Down lights the second.
    ASSERT_TRUE(XInput("type a"));
    ASSERT_TRUE(Showing(L"a"));
    EXPECT_EQ(ItemText(2), L"Alpha");
    EXPECT_EQ(ItemText(3), L"Beta");
    ASSERT_TRUE(WaitUntil([&] { return Lit(2); }));
    ASSERT_TRUE(XInput("key Down"));
    ASSERT_TRUE(WaitUntil([&] { return Lit(3); })) << "a real Down did not reach the matches";
    ASSERT_TRUE(XInput("key Return"));
    std::wstring verb, got;
    ASSERT_TRUE(shell.Wait(verb, got)) << "a real Enter chose nothing";
    EXPECT_TRUE(SamePath(got, list.b));
    EXPECT_TRUE(WaitMenuGone());
}

// A click on another program's window closes the menu, chooses nothing and
// leaves the next hot key working.
TEST_F(QuickApp, AClickOutsideTheMenuClosesIt) {
    OverNotepad scene;
    ASSERT_TRUE(StartOverNotepad(scene)) << "notepad never came to the front";
    auto& [list, shell, notepad] = scene;
    const std::wstring& b = list.b;
    RECT program{};
    GetWindowRect(notepad.Window(), &program);
    // The menu twice, then the list of a search's matches.
    for (int round = 0; round < 3; ++round) {
        SendKeys({VK_LWIN, VK_MENU}, {'F'});
        HWND menu = FindMenuWindow(app.Id());
        ASSERT_NE(menu, nullptr) << "round " << round;
        ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; })) << "round " << round;
        if (round == 2) {
            PostMessageW(menu, WM_CHAR, L'a', 1);
            ASSERT_TRUE(Showing(L"a"));
            menu = FindMenuWindow(app.Id());
        }
        // A point of notepad's window that the menu does not cover.
        RECT shown{};
        GetWindowRect(menu, &shown);
        POINT at{-1, -1};
        for (POINT p : {POINT{program.right - 20, program.bottom - 20}, POINT{program.left + 20, program.bottom - 20},
                        POINT{program.right - 20, program.top + 40}, POINT{program.left + 20, program.top + 40}})
            if (!PtInRect(&shown, p) && at.x < 0) at = p;
        ASSERT_GE(at.x, 0) << "the menu covers notepad";
        ASSERT_TRUE(XInput("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1"));
        EXPECT_TRUE(WaitMenuGone()) << "round " << round << ": a click outside left the menu open";
    }
    // The first folder opened is the one chosen now: the clicks chose none.
    SendKeys({VK_LWIN, VK_MENU}, {'F'});
    HWND menu = FindMenuWindow(app.Id());
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 0) & mibLit) != 0; }));
    MenuKey(menu, VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 1) & mibLit) != 0; }));
    MenuKey(menu, VK_RETURN);
    std::wstring verb, got;
    ASSERT_TRUE(shell.Wait(verb, got));
    EXPECT_TRUE(SamePath(got, b)) << "a click outside opened " << win::Narrow(got);
}

// Typing in the open menu finds favourites by any part of alias or path,
// in the menu's own look; arrows and Enter choose among the matches,
// Backspace widens. The first letter shows the matches in a list of their
// own; each further letter changes them in that list. (Case and accents
// are set aside as FolderFinder's tests show.)
TEST_F(QuickApp, TypingInTheMenuFindsAndEnterOpensTheMatch) {
    TempDir dir;
    std::wstring alpha = dir.File(L"alpha"), beta = dir.File(L"beta"), bet = dir.File(L"alphabet"),
                 cafe = dir.File(L"Caf\u00e9");
    for (auto& f : {alpha, beta, bet, cafe}) CreateDirectoryW(f.c_str(), nullptr);
    WriteList({{L"Alpha", alpha}, {L"Beta", beta}, {L"*Separator*", L"-"}, {L"Letters", bet}, {L"Caf\u00e9", cafe}});
    SetString(StoreKey, ExploreFolderValue, L"0");
    RecordingShell shell(dir.File(L"record.txt"));
    ASSERT_TRUE(app.Start());
    // Letters as the menu's loop takes them from the keyboard.
    auto type = [&](const std::wstring& before, const std::wstring& letters) {
        std::wstring sofar = before;
        for (wchar_t c : letters) {
            ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }));
            PostMessageW(FindMenuWindow(app.Id()), WM_CHAR, c, 1);
            sofar += c;
            ASSERT_TRUE(Showing(sofar)) << "the menu does not show " << win::Narrow(sofar) << ": " << win::Narrow(ItemText(0));
        }
    };
    SendKeys({VK_LWIN, VK_MENU}, {'F'});
    ASSERT_NE(FindMenuWindow(app.Id()), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; }));

    // "alp": Alpha by its alias, Letters by its path ("...\alphabet").
    type(L"", L"a");
    HWND found = FindMenuWindow(app.Id());
    RECT wide{};
    GetWindowRect(found, &wide);
    type(L"a", L"lp");
    EXPECT_EQ(FindMenuWindow(app.Id(), 0), found) << "a further letter showed the menu again";
    EXPECT_NE(app.Ask(WM_QUICK_MENU_ITEM, 0) & mibSeparator, 0) << "the heading is passed over by the keyboard";
    EXPECT_NE(app.Ask(WM_QUICK_MENU_ITEM, 0) & mibOwnerDrawn, 0);  // in the menu's look
    EXPECT_EQ(ItemText(2), L"Alpha");
    EXPECT_EQ(ItemText(3), L"Letters");
    EXPECT_EQ(app.Ask(WM_QUICK_MENU_ITEM, 4), -1) << "an item beyond the matches";
    RECT narrow{};
    GetWindowRect(found, &narrow);
    EXPECT_LT(narrow.bottom - narrow.top, wide.bottom - wide.top) << "the menu kept the height of more matches";
    ASSERT_TRUE(WaitUntil([&] { return Lit(2); })) << "the first match is not lit";

    // Nothing holds "alpx"; Backspace widens again.
    type(L"alp", L"x");
    EXPECT_NE(ItemText(0).find(L"No favourite"), std::wstring::npos);
    MenuKey(FindMenuWindow(app.Id()), VK_BACK);
    ASSERT_TRUE(Showing(L"alp"));
    ASSERT_TRUE(WaitUntil([&] { return ItemText(2) == L"Alpha" && Lit(2); }));
    MenuKey(FindMenuWindow(app.Id()), VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return Lit(3); }));
    MenuKey(FindMenuWindow(app.Id()), VK_RETURN);
    std::wstring verb, got;
    ASSERT_TRUE(shell.Wait(verb, got));
    EXPECT_TRUE(SamePath(got, bet));

    EXPECT_TRUE(WaitMenuGone());
    // The hot key again, twice after a search ended with Escape: the program
    // holds the foreground then, so the hot key's own Alt waits in its queue
    // when the menu opens; the menu stays open and takes keys.
    for (int round = 0; round < 3; ++round) {
        SendKeys({VK_LWIN, VK_MENU}, {'F'});
        ASSERT_NE(FindMenuWindow(app.Id()), nullptr) << "round " << round;
        ASSERT_TRUE(WaitUntil([&] { return app.Ask(WM_QUICK_MENU_READY) != 0; })) << "round " << round;
        type(L"", L"al");
        MenuKey(FindMenuWindow(app.Id()), VK_ESCAPE);
        ASSERT_TRUE(WaitMenuGone());
    }
}

// A name cut short in the menu shows whole as the lit item's tip.
TEST_F(QuickApp, ALongNameIsCutInTheMenuAndShownWholeAsItsTip) {
    std::wstring longName = L"Photographs of the summer " + std::wstring(60, L'x') + L" and the autumn";
    WriteList({{L"Short", L"C:\\windows"}, {longName, L"C:\\windows"}});
    ASSERT_TRUE(app.Start());
    HWND menu = OpenByClick();
    ASSERT_NE(menu, nullptr);
    auto items = ItemsOf(menu);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].Text, ShortenMiddle(longName));
    EXPECT_NE(items[1].Text, longName);
    auto tipText = [&] {
        HWND tip = WindowOfProcess(app.Id(), TOOLTIPS_CLASSW);  // shown ones only
        if (!tip) return std::wstring();
        wchar_t text[512] = {};
        SendMessageTimeoutW(tip, WM_GETTEXT, 512, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, nullptr);
        return std::wstring(text);
    };
    MenuKey(menu, VK_DOWN);  // the short one: no tip
    ASSERT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 0) & mibLit) != 0; }));
    EXPECT_EQ(tipText(), L"");
    MenuKey(menu, VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return (app.Ask(WM_QUICK_MENU_ITEM, 1) & mibLit) != 0; }));
    EXPECT_TRUE(WaitUntil([&] { return tipText() == longName; })) << win::Narrow(tipText());
    // Found by typing, it is the lit match, and its tip shows again.
    MenuKey(menu, VK_HOME);
    ASSERT_TRUE(WaitUntil([&] { return tipText().empty(); }));
    PostMessageW(menu, WM_CHAR, L'p', 1);
    ASSERT_TRUE(Showing(L"p"));
    EXPECT_EQ(ItemText(2), ShortenMiddle(longName));
    EXPECT_TRUE(WaitUntil([&] { return tipText() == longName; })) << win::Narrow(tipText());
    menu = FindMenuWindow(app.Id());
    MenuKey(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitMenuGone());
    EXPECT_TRUE(WaitUntil([&] { return tipText().empty(); })) << "the tip outlived the menu";
}
