// The menu built from a list: items, separators, greyed missing folders,
// icons, long lists, and the first-letter keys.
#include <gtest/gtest.h>

#include "QuickTestSupport.h"
#include "quick/FolderImages.h"
#include "quick/FolderStates.h"
#include "quick/QuickLook.h"
#include "quick/QuickMenu.h"
#include "win/Form.h"
#include "win/PopupMenu.h"

using namespace testing_support;
using namespace quicktest;

namespace {
FolderList Sample() {
    return {{L"Home", L"C:\\home"},
            FolderEntry::Separator(),
            {L"Gone", L"C:\\gone"},
            {L"Docs & Notes", L"C:\\docs"},
            {L"*Separator*", L"C:\\not-a-separator"}};
}

std::vector<std::wstring> Captions(const win::MenuItem& parent) {
    std::vector<std::wstring> out;
    for (auto& i : parent.Items) out.push_back(i->Caption);
    return out;
}
}  // namespace

TEST(QuickMenu, OneItemPerEntryInStoreOrderWithSeparatorsAndMissingFoldersGreyed) {
    FolderList entries = Sample();
    win::PopupMenu menu;
    QuickMenuSource source;
    source.Entries = &entries;
    source.Missing = [](const std::wstring& f) { return f == L"C:\\gone"; };
    BuildQuickMenu(menu.Root, source, {});
    ASSERT_EQ(Captions(menu.Root), (std::vector<std::wstring>{L"Home", L"-", L"Gone", L"Docs && Notes", L"*Separator*"}));
    EXPECT_TRUE(menu.Root.Items[1]->IsSeparator());
    EXPECT_TRUE(menu.Root.Items[0]->Enabled);
    EXPECT_FALSE(menu.Root.Items[2]->Enabled);
    EXPECT_TRUE(menu.Root.Items[3]->Enabled);
    for (auto& i : menu.Root.Items) EXPECT_EQ(i->Bitmap, nullptr);  // no icon source, no icons
    // Each item leads back to its entry; the separator to none.
    EXPECT_EQ(EntryOf(*menu.Root.Items[3], entries), &entries[3]);
    EXPECT_EQ(EntryOf(*menu.Root.Items[1], entries), nullptr);
    EXPECT_EQ(EntryOf(*menu.Root.Items[4], entries)->Path, L"C:\\not-a-separator");

    // The Windows menu shows the same, '&' as itself.
    HMENU h = menu.Build();
    auto items = MenuItems(h);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].Text, L"Home");
    EXPECT_TRUE(items[1].Separator);
    EXPECT_TRUE(items[2].Grayed);
    EXPECT_FALSE(items[3].Grayed);
    EXPECT_EQ(win::MenuCaptionText(items[3].Text), L"Docs & Notes");
}

TEST(QuickMenu, IconsComeOnlyFromAnIconSource) {
    FolderList entries = Sample();
    HBITMAP mark = CreateBitmap(16, 16, 1, 32, nullptr);
    QuickMenuSource source;
    source.Entries = &entries;
    std::vector<std::wstring> asked;
    source.Icon = [&](const std::wstring& f) {
        asked.push_back(f);
        return mark;
    };
    win::PopupMenu menu;
    BuildQuickMenu(menu.Root, source, {});
    EXPECT_EQ(menu.Root.Items[0]->Bitmap, mark);
    EXPECT_EQ(menu.Root.Items[1]->Bitmap, nullptr);  // a separator has none
    EXPECT_EQ(asked.size(), 4u);
    DeleteObject(mark);
}

TEST(QuickMenu, ALongListFillsColumnsThenGoesOnInMore) {
    FolderList entries;
    for (int i = 0; i < 25; ++i) entries.push_back({L"F" + std::to_wstring(i), L"C:\\f" + std::to_wstring(i)});
    QuickMenuSource source;
    source.Entries = &entries;
    win::PopupMenu menu;
    BuildQuickMenu(menu.Root, source, {4, 2});  // 8 places a level
    auto& top = menu.Root.Items;
    ASSERT_EQ(top.size(), 8u);
    EXPECT_FALSE(top[3]->NewColumn);
    EXPECT_TRUE(top[4]->NewColumn);
    EXPECT_EQ(top[6]->Caption, L"F6");
    EXPECT_EQ(top[7]->Caption, MoreCaption);
    EXPECT_EQ(EntryOf(*top[7], entries), nullptr);
    // Every entry is reachable, in order, exactly once.
    std::vector<std::wstring> seen;
    const win::MenuItem* level = &menu.Root;
    while (level) {
        const win::MenuItem* next = nullptr;
        for (auto& i : level->Items) {
            if (i->Caption == MoreCaption) next = i.get();
            else seen.push_back(i->Caption);
        }
        level = next;
    }
    ASSERT_EQ(seen.size(), entries.size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], entries[i].Alias);
    // A list that fits exactly needs no "More".
    entries.resize(8);
    BuildQuickMenu(menu.Root, source, {4, 2});
    EXPECT_EQ(menu.Root.Items.size(), 8u);
    EXPECT_EQ(menu.Root.Items.back()->Caption, L"F7");

    MenuLayout fit = FitLayout({0, 0, 1280, 1000}, 24, 150);
    EXPECT_EQ(fit.Rows, 41);
    EXPECT_EQ(fit.Columns, 8);  // as many as the screen holds
    EXPECT_EQ(FitLayout({0, 0, 400, 1000}, 24, 150).Columns, 2);
}

TEST(QuickMenu, ALongAliasIsCutInItsMiddleAndLeavesTheColumnsNarrow) {
    std::wstring longAlias = L"Projects of the year " + std::wstring(150, L'x') + L" final copies";
    EXPECT_EQ(ShortenMiddle(L"short"), L"short");
    std::wstring cut = ShortenMiddle(longAlias);
    EXPECT_EQ(cut.size(), ItemTextCap);
    EXPECT_EQ(cut.substr(0, 21), L"Projects of the year ");
    EXPECT_EQ(cut.substr(cut.size() - 12), L"final copies");
    EXPECT_NE(cut.find(L'\u2026'), std::wstring::npos);
    // A pair of surrogates is never split.
    std::wstring halves = ShortenMiddle(L"\U0001F4C1\U0001F4C1\U0001F4C1\U0001F4C1\U0001F4C1", 5);
    for (size_t i = 0; i < halves.size(); ++i) {
        if (halves[i] >= 0xD800 && halves[i] <= 0xDBFF) {
            EXPECT_TRUE(i + 1 < halves.size() && halves[i + 1] >= 0xDC00);
        }
    }

    // 300 entries with one very long alias: every column stays as narrow as
    // the cap allows, and all of them fit on a 1280 x 1024 screen before "More".
    FolderList entries;
    for (int i = 0; i < 299; ++i) entries.push_back({L"Folder " + std::to_wstring(i), L"C:\\f"});
    entries.push_back({longAlias, L"C:\\long"});
    win::Sealed<win::Form> host;
    host.CreateForm(L"QuickMenuTestHost", L"", 10, 10, WS_POPUP, nullptr, false);
    QuickLook look(host);
    int height = 0;
    std::vector<int> widths = look.ItemWidths(entries, nullptr, height);
    FolderList shortOnly(entries.begin(), entries.end() - 1);
    shortOnly.push_back({ShortenMiddle(longAlias), L"C:\\long"});
    EXPECT_EQ(widths.back(), look.ItemWidths(shortOnly, nullptr, height).back());  // measured as shown
    EXPECT_GT(widths.back(), 2 * widths.front());
    MenuLayout layout = FitLayout({0, 0, 1280, 1024}, height, widths);
    EXPECT_GE(layout.Rows * layout.ColumnsFrom(0), 300) << layout.Rows << " rows of " << height;
    QuickMenuSource source;
    source.Entries = &entries;
    win::PopupMenu menu;
    BuildQuickMenu(menu.Root, source, layout);
    for (auto& i : menu.Root.Items) EXPECT_NE(i->Caption, MoreCaption);
}

TEST(QuickMenu, FirstLetterPicksTheOnlyMatchOrSelectsTheNext) {
    win::PopupMenu menu;
    menu.Root.Add(L"Alpha");
    menu.Root.AddSeparator();
    menu.Root.Add(L"beta");
    menu.Root.Add(L"Bravo");
    menu.Root.Add(L"&& more");
    menu.Root.Add(L"Charlie").Enabled = false;
    HMENU h = menu.Build();
    EXPECT_EQ(menu.MenuChar(L'a', h), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(menu.MenuChar(L'B', h), MAKELRESULT(2, MNC_SELECT));
    HiliteMenuItem(nullptr, h, 2, MF_BYPOSITION | MF_HILITE);
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_STATE;
    GetMenuItemInfoW(h, 2, TRUE, &mii);
    if (mii.fState & MFS_HILITE) {
        EXPECT_EQ(menu.MenuChar(L'b', h), MAKELRESULT(3, MNC_SELECT));
    }
    EXPECT_EQ(menu.MenuChar(L'&', h), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(HIWORD(menu.MenuChar(L'c', h)), MNC_IGNORE);  // greyed
    EXPECT_EQ(HIWORD(menu.MenuChar(L'z', h)), MNC_IGNORE);
}

TEST(FolderStates, FindsMissingFoldersOffTheInterfaceThread) {
    TempDir dir;
    std::wstring there = dir.File(L"there");
    CreateDirectoryW(there.c_str(), nullptr);
    std::wstring file = dir.File(L"a-file");
    WriteFileText(file, "x");
    HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    FolderStates states(sink, WM_APP + 5);
    EXPECT_EQ(states.Of(there), FolderStates::Unknown);
    states.Check({there, dir.File(L"gone"), file});
    ASSERT_TRUE(WaitUntil([&] { return states.Rounds() == 1; }));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, sink, WM_APP + 5, WM_APP + 5, PM_REMOVE));
    EXPECT_EQ(states.Of(there), FolderStates::Present);
    EXPECT_EQ(states.Of(dir.File(L"gone")), FolderStates::Missing);
    EXPECT_EQ(states.Of(file), FolderStates::Missing);  // a file is no folder
    RemoveDirectoryW(there.c_str());
    states.Check({there});
    ASSERT_TRUE(WaitUntil([&] { return states.Rounds() == 2; }));
    EXPECT_EQ(states.Of(there), FolderStates::Missing);
    DestroyWindow(sink);

    EXPECT_TRUE(FolderStates::MayBeRemote(L"\\\\server\\share\\x"));
    EXPECT_TRUE(FolderStates::MayBeRemote(L"relative\\x"));
    EXPECT_FALSE(FolderStates::MayBeRemote(L"C:\\windows"));
}

TEST(FolderImages, EachIconIsMadeOnceAndFoldersWithoutOneShareThePlainImage) {
    FolderImages images(RGB(240, 240, 240));
    HBITMAP plain = images.Bitmap(L"C:\\one", nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(images.Bitmap(L"C:\\two", nullptr), plain);
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION), other = LoadIconW(nullptr, IDI_WARNING);
    HBITMAP own = images.Bitmap(L"C:\\one", icon);
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, plain);
    EXPECT_EQ(images.Bitmap(L"C:\\one", icon), own);  // kept, not made again
    EXPECT_NE(images.Bitmap(L"C:\\one", other), nullptr);  // a new icon, a new image
    images.Keep({{L"one", L"C:\\one"}});
    EXPECT_EQ(images.Bitmap(L"C:\\two", nullptr), plain);
}
