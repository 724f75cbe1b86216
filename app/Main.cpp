#include "app/Main.h"

#include <windowsx.h>

#include "app/CommandIds.h"
#include "app/Global.h"
#include "app/Icons.h"
#include "app/Version.h"
#include "store/StoreLock.h"
#include "store/StoreNames.h"
#include "win/Application.h"
#include "win/Error.h"
#include "win/Files.h"
#include "win/Registry.h"

namespace {
constexpr int kDesignedWidth = 475;
constexpr int kDesignedHeight = 396;
constexpr COLORREF kToolBarColor = RGB(214, 223, 246);
constexpr COLORREF kFormColor = RGB(214, 223, 247);
constexpr COLORREF kListColor = RGB(239, 239, 255);
// Records that this user's store was seeded; a subkey, so that the readers
// of the store's values never see it.
const std::wstring kInstallKey = StoreKey + L"\\Install";
}  // namespace

TfrmMain::TfrmMain() {
    CreateForm(MainWindowClass, L"Pathnook " PATHNOOK_VERSION_W, kDesignedWidth, kDesignedHeight,
               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr, false);
    FormCreate();
}

TfrmMain::~TfrmMain() {
    for (int id : storeWaits_) win::Application::Instance().RemoveWait(id);
}

void TfrmMain::FormCreate() {
    CreateActions();
    CreateMenu();
    CreateToolBar();
    lvMain.Create(Handle(), 0, 0, 100, 100, LVS_NOSORTHEADER);
    ListView_SetExtendedListViewStyle(lvMain.Handle(), LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    lvMain.SetFont(Font());
    lvMain.AddColumn(L"Alias", Scale(175));
    lvMain.AddColumn(L"Path", Scale(240));
    lvMain.OnGetText = [this](int row, int column) -> std::wstring {
        if (row < 0 || row >= (int)Entries().size()) return {};
        return column == 0 ? Entries()[row].Alias : Entries()[row].Path;
    };
    lvMain.OnDblClick = [this] { lvMainDblClick(); };
    lvMain.OnKeyDown = [this](WORD key) { return lvMainKeyDown(key); };
    lvMain.OnReturn = [this] { aOpenFolder->Execute(); };
    lvMain.OnFindPrefix = [this](const std::wstring& prefix, int start) { return lvMainFindPrefix(prefix, start); };
    SetIcon(kAppIconId);
    DragAcceptFiles(Handle(), TRUE);

    SortAscending = true;
    LayoutList();
    // Start-up goes on past a failed step, so that a bad value in the store
    // or the settings never keeps the program from opening.
    StartupStep([this] { LoadSettings(); });
    // A rewrite a crash interrupted is finished before anything reads the list.
    StartupStep([] { FinishRewrite(StoreKey); });
    StartupStep([this] { SeedFirstStart(); });
    StartupStep([this] { ReadStoreOptions(); });
    // Another writer's change (the quick menu's add, an import elsewhere, a
    // hand edit) shows at once.
    storeWatch_.Arm();
    for (HANDLE change : storeWatch_.Events())
        storeWaits_.push_back(win::Application::Instance().AddWait(change, [this] {
            storeWatch_.Arm();
            FollowStore();
        }));
    CreateLook();
}

void TfrmMain::StartupStep(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        startupErrors_.push_back(std::current_exception());
    }
}

void TfrmMain::ShowStartupErrors() {
    auto errors = std::move(startupErrors_);
    startupErrors_.clear();
    for (auto& error : errors) {
        try {
            std::rethrow_exception(error);
        } catch (...) {
            win::ShowCurrentException();
        }
    }
}

void TfrmMain::CreateActions() {
    using namespace win;
    auto& a = Actions();
    aAddFolder = &a.Add(cmdAddFolder, L"&Add to List", L"Add a pathnook", 10, kCtrl | 'A',
                        [this] { aAddFolderExecute(); });
    aEdit = &a.Add(cmdEdit, L"&Edit Item", L"Edit the selected pathnook", 12, 0,
                   [this] { aEditExecute(); }, [this] { return aEditUpdate(); });
    aDelete = &a.Add(cmdDelete, L"&Delete Item", L"Delete the select folder item", 11, 0,
                     [this] { aDeleteExecute(); }, [this] { return aEditUpdate(); });
    aItemUp = &a.Add(cmdItemUp, L"&Up Item", L"", 16, kCtrl | 'U', [this] { aItemUpExecute(); },
                     [this] { return aItemUpUpdate(); });
    aItemDown = &a.Add(cmdItemDown, L"&Down Item", L"", 18, kCtrl | 'D',
                       [this] { aItemDownExecute(); }, [this] { return aItemDownUpdate(); });
    aSort = &a.Add(cmdSort, L"&Sort by Alias", L"Sort by Alias(Ascending)", -1, 0,
                   [this] { aSortExecute(); }, [this] { return aSortUpdate(); });
    aRefresh = &a.Add(cmdRefresh, L"&Refresh", L"Refresh the folder list", 14, 0,
                      [this] { aRefreshExecute(); });
    aExit = &a.Add(cmdExit, L"&Exit", L"Exit the Pathnook", 17, 0, [this] { aExitExecute(); });
    // Menu-only commands, kept as actions for their fixed command numbers.
    aImport = &a.Add(cmdImport, L"&Import...", L"", -1, 0, [this] { miImportClick(); });
    aExport = &a.Add(cmdExport, L"E&xport...", L"", -1, 0, [this] { miExportClick(); });
    // Not in the main menu, whose items stay as they are: Ctrl+Z and the
    // list's context menu reach it.
    aUndo = &a.Add(cmdUndo, L"&Undo", L"Undo the last change to the list", -1, kCtrl | 'Z',
                   [this] { aUndoExecute(); }, [this] { return aUndoUpdate(); });
    aOpenFolder = &a.Add(cmdOpenFolder, L"&Open Folder", L"Open the selected folder", -1, 0,
                         [this] { aOpenFolderExecute(); }, [this] { return aOpenFolderUpdate(); });
    aOptions = &a.Add(cmdOptions, L"&Options...", L"", -1, kCtrl | 'O', [this] { aOptionsExecute(); });
}

void TfrmMain::CreateMenu() {
    using namespace win;
    auto& root = Menu().Root;
    Menu().Images = &ImageList1;
    auto& file = root.Add(L"&File");
    file.Add(L"&Add to List...", aAddFolder);
    file.AddSeparator();
    file.Add(L"&Edit Item...", aEdit);
    file.Add(L"&Delete Item", aDelete);
    file.AddSeparator();
    file.Add(L"&Options...", aOptions);
    file.AddSeparator();
    file.Add(L"&Import...", aImport);
    file.Add(L"E&xport...", aExport);
    file.AddSeparator();
    file.Add(L"&Exit", aExit);
    auto& view = root.Add(L"&View");
    view.Add(L"&Sort by Alias", aSort, kCtrl | 'S');
    view.AddSeparator();
    view.Add(L"&Up Item", aItemUp);
    view.Add(L"&Down Item", aItemDown);
    view.AddSeparator();
    view.Add(L"&Refresh", aRefresh);
    auto& help = root.Add(L"&Help");
    help.Add(L"&Help").Handler([this] { miHelpClick(); });
    help.AddSeparator();
    help.Add(L"&HomePage").Handler([this] { miHomePageClick(); });
    help.AddSeparator();
    help.Add(L"&About...").Handler([this] { miAboutClick(); });
    AttachMenu();
}

void TfrmMain::CreateToolBar() {
    DrawImages();
    ToolBar1.Create(Handle(), 41, 10, 44, 38);
    ToolBar1.SetImages(&ImageList2);
    ToolBar1.AddButton(*aAddFolder, L"Add", L"Add a pathnook to list", 3);
    ToolBar1.AddButton(*aEdit, L" Edit  ", L"Edit the selected pathnook in the list", 5);
    ToolBar1.AddButton(*aDelete, L"Delete", L"Remove the select folder item from list", 4);
    ToolBar1.AddSeparator(8);
    ToolBar1.AddSeparator(6);
    ToolBar1.AddButton(*aItemUp, L"  Up  ", L"Move the selected folder item up the list", 9);
    ToolBar1.AddButton(*aItemDown, L"Down", L"Move the selected folder item down the list", 1);
    ToolBar1.AddSeparator(8);
    ToolBar1.AddSeparator(8);
    ToolBar1.AddButton(*aRefresh, L"Refresh", L"", 7);
    ToolBar1.AddSeparator(8);
    ToolBar1.AddSeparator(8);
    ToolBar1.AddButton(*aExit, L"Exit", L"", 0);
    Actions().AddChangeListener([this](win::Action& a) { ToolBar1.SyncAction(a); });
}

// The pictures are drawn for the window's DPI, never stretched.
void TfrmMain::DrawImages() {
    ImageList1.Reset(Scale(16), Scale(16));
    ImageList2.Reset(Scale(32), Scale(32));
    FillImageList(ImageList1, SmallImageSlots());
    FillImageList(ImageList2, LargeImageSlots());
}

void TfrmMain::DpiChanged(UINT from, UINT to) {
    DrawImages();
    ToolBar1.SetImages(&ImageList2);
    // Columns keep the share of the width the user gave them.
    for (int c = 0; c < 2; ++c) lvMain.SetColumnWidth(c, MulDiv(lvMain.ColumnWidth(c), (int)to, (int)from));
    SetIcon(kAppIconId);
    LayoutList();
}

// A first start for this user seeds the store with two entries.
void TfrmMain::SeedFirstStart() {
    win::RegKey install(kInstallKey, true);
    if (!install.IsOpen() || install.ValueExists(L"Seeded")) return;
    // Only positions that hold nothing are seeded: a list left by an earlier
    // installation must not lose an entry, not even one beyond a gap or one
    // of a type this program cannot read.
    bool empty = true;
    {
        win::RegKey store(StoreKey, false);
        for (size_t i = 0; i < 2 && store.IsOpen(); ++i)
            empty = empty && !store.ValueExists(AliasName(i)) && !store.ValueExists(PathName(i));
    }
    if (empty) {
        StoreWriter lock(StoreKey);
        WriteValue(StoreKey, L"N0", L"Windows Directory");
        WriteValue(StoreKey, L"P0", win::WindowsDirectory());
        WriteValue(StoreKey, L"N1", L"C:\\");
        WriteValue(StoreKey, L"P1", L"C:\\");
    }
    install.WriteString(L"Seeded", L"1");
}

void TfrmMain::ReadStoreOptions() {
    // A value of the wrong type leaves its own option as it was and raises
    // once the others are read; a "Setting" that cannot be read is not
    // overwritten, since starting repairs nothing in the store.
    std::exception_ptr failed;
    auto read = [&](const win::RegKey& key, const wchar_t* name, bool& readable) {
        try {
            return key.ReadString(name);
        } catch (...) {
            if (!failed) failed = std::current_exception();
            readable = false;
            return std::wstring();
        }
    };
    std::wstring setting;
    bool settingRead = true;
    {
        win::RegKey key(StoreKey, true);
        if (key.IsOpen()) {
            setting = read(key, SettingValue, settingRead);
            bool ok = true;
            std::wstring picView = read(key, PicViewValue, ok);
            if (ok) AppOptions.EnableImage = OptionOn(picView);
            ok = true;
            std::wstring explore = read(key, ExploreFolderValue, ok);
            if (ok) AppOptions.ExploreFolder = OptionOn(explore);
        }
    }
    std::wstring exe = win::ExePath();
    if (settingRead && (setting.empty() || setting != exe)) WriteValue(StoreKey, SettingValue, exe);
    if (failed) std::rethrow_exception(failed);
}

void TfrmMain::FormShow() {
    if (MaximizeOnShow) ShowWindow(Handle(), SW_MAXIMIZE);
    StartupStep([this] { ReloadEntries(); });  // a bad value ends the list there
}

void TfrmMain::ReloadEntries() {
    // The list shows what was read even when a bad value stops the reading.
    struct ShowAfter {
        TfrmMain* form;
        ~ShowAfter() { form->ShowEntries(-1); }
    } show{this};
    list_.Load();
}

void TfrmMain::FollowStore() {
    int selected = lvMain.Selected();
    if (list_.Follow(selected)) ShowEntries(selected);
}

void TfrmMain::ShowOutcome(const Outcome& outcome) {
    ShowEntries(outcome.Select);
    if (outcome.Reveal >= 0 && outcome.Reveal < (int)Entries().size()) lvMain.EnsureVisible(outcome.Reveal);
    if (!outcome.Message.empty())
        MessageBoxW(Handle(), outcome.Message.c_str(), L"Pathnook", MB_OK | MB_ICONWARNING);
}

void TfrmMain::FirstShow() {
    if (!IsZoomed(Handle())) CenterOnScreen();
    if (!startupErrors_.empty()) PostMessageW(Handle(), WM_STARTUPERRORS, 0, 0);
}

void TfrmMain::FormClose() { SaveSettings(); }

void TfrmMain::LayoutList() {
    if (!lvMain.Handle()) return;
    RECT client = ClientRect();
    int indent = ToolBar1.Indent();
    int top = ToolBar1.Height();
    RECT now = lvMain.Bounds();
    int w = client.right - 2 * indent, h = client.bottom - top - indent;
    if (now.left != indent || now.top != top || now.right - now.left != w || now.bottom - now.top != h)
        lvMain.SetBounds(indent, top, w, h);
}

void TfrmMain::Paint() {
    // A high-contrast scheme replaces the window's own tints.
    const bool hc = win::HighContrast();
    {
        win::PaintDC dc(Handle());
        ToolBar1.SetColor(hc ? GetSysColor(COLOR_BTNFACE) : kToolBarColor);
        RECT client = ClientRect();
        FillRect(dc, &client, win::SolidBrush(hc ? GetSysColor(COLOR_BTNFACE) : kFormColor));
    }
    lvMain.SetBkColor(hc ? GetSysColor(COLOR_WINDOW) : kListColor);
    LayoutList();
}

bool TfrmMain::ListVisible() const {
    return (GetWindowLongW(lvMain.Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TfrmMain::ShowEntries(int selected) {
    lvMain.SetItemCount((int)Entries().size());
    lvMain.Select(selected);
    lvMain.Invalidate();
}

LRESULT TfrmMain::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT menuResult = 0;
    if (listMenu_ && listMenu_->HandleMessage(msg, wp, lp, menuResult)) return menuResult;
    switch (msg) {
    case WM_CONTEXTMENU:
        if ((HWND)wp == lvMain.Handle()) {
            ShowListMenu({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        }
        break;
    case WM_ACTIVATEINSTANCE:
        ShowWindow(Handle(), SW_SHOW);
        if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
        SetForegroundWindow(Handle());
        return 0;
    case WM_STARTUPERRORS: ShowStartupErrors(); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT fills everything
    case WM_PAINT: Paint(); return 0;
    case WM_SIZE:
        if (ToolBar1.Handle()) {
            RECT r = ToolBar1.Bounds();
            ToolBar1.SetBounds(0, 0, LOWORD(lp), r.bottom - r.top);
        }
        LayoutList();
        break;
    case WM_SETFOCUS: SetFocus(lvMain.Handle()); return 0;
    case WM_DROPFILES: FormDropFiles((HDROP)wp); return 0;
    }
    return Form::WndProc(msg, wp, lp);
}
