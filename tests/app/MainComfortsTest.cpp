// What a Windows user expects of the list beside the menus: dropped folders,
// the usual keys, type-ahead, new rows brought into view.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>

#include "app/Global.h"
#include "app/MainFormFixture.h"
#include "support/ShellRecorder.h"
#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/PopupMenu.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";

// Answers the next message box of this thread from inside its modal loop,
// keeping its text; gives up after a deadline.
struct BoxAnswer {
    std::wstring text;
    bool answered = false;
    int button = IDOK;
    DWORD deadline = 0;
};
BoxAnswer* g_box = nullptr;

BOOL CALLBACK FindBox(HWND w, LPARAM out) {
    wchar_t cls[16] = {};
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    GetClassNameW(w, cls, 16);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::wstring(cls) == L"#32770") {
        *(HWND*)out = w;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK BoxTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumWindows(FindBox, (LPARAM)&box);
    if (!g_box || box || GetTickCount() > g_box->deadline) KillTimer(nullptr, id);
    if (!g_box || !box) return;
    g_box->text = DialogText(box);
    g_box->answered = true;
    PressButton(box, g_box->button);
    g_box = nullptr;
}

void AnswerNextBox(BoxAnswer& answer) {
    answer.deadline = GetTickCount() + 10000;
    g_box = &answer;
    SetTimer(nullptr, 0, 50, BoxTimer);
}

// A drop as a file manager makes it: DROPFILES followed by the wide paths,
// each NUL-terminated, and one more NUL.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (auto& p : paths) chars += p.size() + 1;
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* df = (DROPFILES*)GlobalLock(mem);
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    auto* out = (wchar_t*)(df + 1);
    for (auto& p : paths) {
        wcscpy(out, p.c_str());
        out += p.size() + 1;
    }
    *out = 0;
    GlobalUnlock(mem);
    return (HDROP)mem;
}

// Closes the item dialog once it shows, captioned for an edit.
bool* g_sawEdit = nullptr;
void CALLBACK CloseEditDialog(HWND, UINT, UINT_PTR id, DWORD) {
    for (win::Form* f : win::Application::Instance().Forms())
        if (f->Text() == L"Edit Item") {
            KillTimer(nullptr, id);
            *g_sawEdit = true;
            PostMessageW(f->Handle(), WM_CLOSE, 0, 0);
        }
}

class MainComfortsTest : public MainFormFixture {
protected:
    // Until the window has handled what it was sent, and the work it sent
    // off its thread (a drop's folder checks) has come back.
    void Settle() {
        WaitUntil([&] {
            win::Application::Instance().ProcessMessages();
            return form->Background().Pending() == 0;
        });
        win::Application::Instance().ProcessMessages();
        win::Application::Instance().Idle();
    }
    void Key(WORD vk) {
        SendMessageW(form->lvMain.Handle(), WM_KEYDOWN, vk, 0);
        Settle();
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(form->lvMain.Handle(), WM_CHAR, c, 1);  // repeat count 1, as typed
        Settle();
    }
    bool RowVisible(int row) {
        RECT r{LVIR_BOUNDS};
        RECT client;
        GetClientRect(form->lvMain.Handle(), &client);
        return SendMessageW(form->lvMain.Handle(), LVM_GETITEMRECT, row, (LPARAM)&r) && r.top >= 0 &&
               r.bottom <= client.bottom;
    }
};
}  // namespace

TEST_F(MainComfortsTest, DroppedFoldersAreAppendedInOrderAndTheFileIsNamed) {
    TempDir dir;
    std::wstring one = dir.File(L"First Folder"), two = dir.File(L"second"), file = dir.File(L"notes.txt");
    CreateDirectoryW(one.c_str(), nullptr);
    CreateDirectoryW(two.c_str(), nullptr);
    WriteFileText(file, "x");
    BoxAnswer box;
    AnswerNextBox(box);
    SendMessageW(form->Handle(), WM_DROPFILES, (WPARAM)MakeDrop({one, file, two}), 0);
    Settle();
    ASSERT_TRUE(box.answered) << "no message about the skipped file";
    EXPECT_NE(box.text.find(file), std::wstring::npos) << box.text;
    EXPECT_EQ(box.text.find(one), std::wstring::npos);

    auto& e = form->Entries();
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[3], (FolderEntry{L"First Folder", one}));
    EXPECT_EQ(e[4], (FolderEntry{L"second", two}));
    auto stored = ReadKeyValues(kStore);
    EXPECT_EQ(stored[L"N3"], L"First Folder");
    EXPECT_EQ(stored[L"P3"], one);
    EXPECT_EQ(stored[L"N4"], L"second");
    EXPECT_EQ(stored[L"P4"], two);
    EXPECT_EQ(form->lvMain.ItemCount(), 5);
    EXPECT_EQ(form->lvMain.Selected(), 4);
}

TEST_F(MainComfortsTest, ADropOfNothingButFilesAddsNothing) {
    TempDir dir;
    std::wstring file = dir.File(L"a.txt");
    WriteFileText(file, "x");
    BoxAnswer box;
    AnswerNextBox(box);
    SendMessageW(form->Handle(), WM_DROPFILES, (WPARAM)MakeDrop({file, dir.File(L"missing")}), 0);
    Settle();
    ASSERT_TRUE(box.answered);
    EXPECT_NE(box.text.find(dir.File(L"missing")), std::wstring::npos);
    EXPECT_EQ(form->Entries().size(), 3u);
    EXPECT_EQ(ReadKeyValues(kStore).count(L"N3"), 0u);
}

TEST_F(MainComfortsTest, DeleteF2AndF5RunTheirCommands) {
    AppOptions.AskDelete = false;
    form->lvMain.Select(1);
    Settle();
    Key(VK_DELETE);
    ASSERT_EQ(form->Entries().size(), 2u);
    EXPECT_EQ(form->Entries()[1].Alias, L"e2");
    EXPECT_EQ(ReadKeyValues(kStore).count(L"N2"), 0u);

    // F5 reloads what another program stored meanwhile.
    SetString(kStore, L"N2", L"from outside");
    SetString(kStore, L"P2", L"C:\\outside");
    Key(VK_F5);
    ASSERT_EQ(form->Entries().size(), 3u);
    EXPECT_EQ(form->Entries()[2].Alias, L"from outside");

    // F2 opens the item dialog on the selected entry; the box answers it.
    form->lvMain.Select(0);
    Settle();
    bool sawEdit = false;
    std::wstring alias;
    g_sawEdit = &sawEdit;
    UINT_PTR watch = SetTimer(nullptr, 0, 50, CloseEditDialog);
    Key(VK_F2);
    KillTimer(nullptr, watch);
    EXPECT_TRUE(sawEdit) << "F2 opened no edit dialog";
    EXPECT_EQ(form->Entries()[0].Alias, L"e0");  // closed, nothing changed
}

TEST_F(MainComfortsTest, KeysDoNothingWithoutASelectionOrWithAModifier) {
    AppOptions.AskDelete = false;
    form->lvMain.Select(-1);
    Settle();
    Key(VK_DELETE);
    EXPECT_EQ(form->Entries().size(), 3u);
    form->lvMain.Select(0);
    Settle();
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE held = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Key(VK_DELETE);
    keys[VK_CONTROL] = held;
    SetKeyboardState(keys);
    EXPECT_EQ(form->Entries().size(), 3u);
    Key(VK_DELETE);  // proves the key reaches the command once Ctrl is up
    EXPECT_EQ(form->Entries().size(), 2u);
}

TEST_F(MainComfortsTest, TypingTheStartOfAnAliasSelectsIt) {
    form.reset();
    SeedStore(0);
    const wchar_t* aliases[] = {L"Alpha", L"beta", L"*Separator*", L"Bravo", L"gamma"};
    for (int i = 0; i < 5; ++i) {
        SetString(kStore, L"N" + std::to_wstring(i), aliases[i]);
        SetString(kStore, L"P" + std::to_wstring(i), i == 2 ? L"-" : L"C:\\x");
    }
    OpenForm();
    Settle();
    SetFocus(form->lvMain.Handle());
    ASSERT_EQ(form->lvMain.Selected(), -1);
    Type(L"bR");  // "b" finds beta, "br" goes on to Bravo
    EXPECT_EQ(form->lvMain.Selected(), 3);
    // The search the list view asks for: any letter case, wrapping round
    // from the row it names, separators left out.
    EXPECT_EQ(form->lvMainFindPrefix(L"G", 0), 4);
    EXPECT_EQ(form->lvMainFindPrefix(L"a", 1), 0);
    EXPECT_EQ(form->lvMainFindPrefix(L"B", 2), 3);
    EXPECT_EQ(form->lvMainFindPrefix(L"*", 0), -1);
    EXPECT_EQ(form->lvMainFindPrefix(L"zzz", 0), -1);
}

TEST_F(MainComfortsTest, ANewRowIsBroughtIntoViewWithoutMovingTheSelection) {
    form.reset();
    SeedStore(200);
    OpenForm();
    Settle();
    form->lvMain.Select(0);
    Settle();
    ASSERT_FALSE(RowVisible(199));
    TempDir dir;
    std::wstring folder = dir.File(L"dropped");
    CreateDirectoryW(folder.c_str(), nullptr);
    SendMessageW(form->Handle(), WM_DROPFILES, (WPARAM)MakeDrop({folder}), 0);
    Settle();
    ASSERT_EQ(form->Entries().size(), 201u);
    EXPECT_EQ(form->lvMain.Selected(), 200);
    EXPECT_TRUE(RowVisible(200));
}

namespace {
struct SeenMenu {
    std::vector<std::wstring> items;
    std::vector<bool> enabled;
    std::vector<std::wstring> heard;  // what a screen reader reads of each item
    bool seen = false;
    bool choose = false;  // Enter on the first item, else dismissed
};
SeenMenu* g_menu = nullptr;

BOOL CALLBACK FindMenuWindow(HWND w, LPARAM out) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::wstring(cls) == L"#32768") {
        *(HWND*)out = w;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ReadMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
    win::PopupMenu* open = win::PopupMenu::Tracking();
    HWND shown = nullptr;
    EnumWindows(FindMenuWindow, (LPARAM)&shown);
    if (!g_menu || !open || !shown || !open->Ready()) return;
    KillTimer(nullptr, id);
    for (auto& item : open->Root.Items) {
        g_menu->items.push_back(item->Caption);
        if (item->IsSeparator()) continue;
        UINT state = GetMenuState(open->Handle(), item->Command, MF_BYCOMMAND);
        g_menu->enabled.push_back(!(state & (MF_GRAYED | MF_DISABLED)));
        MENUITEMINFOW mii{sizeof(mii)};
        mii.fMask = MIIM_DATA | MIIM_FTYPE;
        GetMenuItemInfoW(open->Handle(), item->Command, FALSE, &mii);
        const auto* info = reinterpret_cast<const MSAAMENUINFO*>(mii.dwItemData);
        g_menu->heard.push_back((mii.fType & MFT_OWNERDRAW) && info && info->dwMSAASignature == MSAA_MENU_SIG
                                    ? std::wstring(info->pszWText, info->cchWText)
                                    : L"(nothing)");
    }
    g_menu->seen = true;
    if (g_menu->choose)
        PostMessageW(shown, WM_KEYDOWN, VK_RETURN, 0);
    else
        EndMenu();
    g_menu = nullptr;
}

class ListMenuTest : public MainComfortsTest {
protected:
    void SetUp() override {
        MainComfortsTest::SetUp();
        SetString(kStore, L"N3", L"*Separator*");
        SetString(kStore, L"P3", L"-");
        form->aRefreshExecute();
        Settle();
    }
    // Shift+F10 in the list: Windows sends the list WM_CONTEXTMENU at (-1, -1).
    SeenMenu OpenMenu(bool choose = false) {
        SeenMenu seen;
        seen.choose = choose;
        g_menu = &seen;
        UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadMenuTimer);
        SendMessageW(form->lvMain.Handle(), WM_CONTEXTMENU, (WPARAM)form->lvMain.Handle(), MAKELPARAM(-1, -1));
        KillTimer(nullptr, timer);
        g_menu = nullptr;
        Settle();
        return seen;
    }
};

const std::vector<std::wstring> kMenuItems{L"&Open Folder", L"-", L"&Edit Item...", L"&Delete Item", L"-",
                                           L"&Up Item", L"&Down Item", L"-", L"&Undo"};
}  // namespace

TEST_F(ListMenuTest, ItsItemsFollowTheRulesOfTheirActions) {
    form->lvMain.Select(0);
    Settle();
    SeenMenu m = OpenMenu();
    ASSERT_TRUE(m.seen) << "no context menu";
    EXPECT_EQ(m.items, kMenuItems);
    // Painted by the look, each item tells a screen reader its caption and key.
    ASSERT_EQ(m.heard.size(), 6u);
    std::vector<std::wstring> captions;
    for (const auto& c : kMenuItems)
        if (c != L"-") captions.push_back(c);
    for (size_t i = 0; i < captions.size(); ++i)
        EXPECT_EQ(m.heard[i].substr(0, m.heard[i].find(L'\t')), captions[i]) << i;
    // Open Folder, Edit, Delete, Up, Down, Undo
    EXPECT_EQ(m.enabled, (std::vector<bool>{true, true, true, false, true, false}));

    form->lvMain.Select(3);  // the separator, the last row
    Settle();
    form->aItemUpExecute();  // something to undo
    m = OpenMenu();
    ASSERT_TRUE(m.seen);
    ASSERT_EQ(form->lvMain.Selected(), 2);  // the separator, moved up
    EXPECT_EQ(m.enabled, (std::vector<bool>{false, true, true, true, true, true}));

    form->lvMain.Select(-1);
    Settle();
    m = OpenMenu();
    ASSERT_TRUE(m.seen);
    EXPECT_EQ(m.enabled, (std::vector<bool>{false, false, false, false, false, true}));
}

TEST_F(ListMenuTest, EnterAndOpenFolderOpenThroughTheShellAsTheOptionSays) {
    TempDir dir;
    std::wstring folder = dir.File(L"Open me");
    CreateDirectoryW(folder.c_str(), nullptr);
    SetString(kStore, L"P1", folder);
    form->aRefreshExecute();
    RecordingShell shell(dir.File(L"record.txt"));
    std::wstring verb, opened;

    AppOptions.ExploreFolder = false;
    form->lvMain.Select(1);
    Settle();
    SendMessageW(form->lvMain.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    ASSERT_TRUE(shell.Wait(verb, opened)) << "Enter opened nothing";
    EXPECT_EQ(verb, L"open");
    EXPECT_EQ(opened.substr(0, folder.size()), folder);

    AppOptions.ExploreFolder = true;
    SeenMenu m = OpenMenu(true);
    ASSERT_TRUE(m.seen);
    ASSERT_TRUE(shell.Wait(verb, opened)) << "Open Folder opened nothing";
    EXPECT_EQ(verb, L"explore");
    EXPECT_EQ(opened.substr(0, folder.size()), folder);
}

TEST_F(ListMenuTest, AFolderThatCannotBeOpenedIsToldInOneMessage) {
    TempDir dir;
    std::wstring gone = dir.File(L"gone away");
    SetString(kStore, L"P0", gone);
    form->aRefreshExecute();
    form->lvMain.Select(0);
    Settle();
    BoxAnswer box;
    AnswerNextBox(box);
    form->aOpenFolder->Execute();
    Settle();
    ASSERT_TRUE(box.answered) << "no message";
    EXPECT_NE(box.text.find(L"Cannot open the folder \"" + gone + L"\"."), std::wstring::npos) << box.text;
}
