// An append that closes a gap in the store: the entries stored beyond it
// join the list and the list view at once, for add and import alike, so
// that no later append lands on one of them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>

#include "app/AddItem.h"
#include "app/AnswerDialog.h"
#include "app/ListFile.h"
#include "app/Main.h"
#include "app/MainFormFixture.h"
#include "support/TestSupport.h"
#include "win/Application.h"

using namespace testing_support;

namespace {
// Positions 0 and 1, a gap at 2, two entries beyond it, a second gap at 5
// and one more entry beyond that.
class AppendGapTest : public MainFormFixture {
protected:
    void FillStore() override {
        SeedStore(2);
        for (int i : {3, 4, 6}) {
            SetString(kFixtureStore, AliasName(i), L"stored" + std::to_wstring(i));
            SetString(kFixtureStore, PathName(i), L"C:\\stored" + std::to_wstring(i));
        }
    }
    void Add(const std::wstring& alias) {
        AnswerDialog<TfrmProperty>([this, alias](TfrmProperty& d) {
            d.feName.SetText(alias);
            d.fePath.SetText(folder.Path());
            d.fbOkClick();
        });
        form->aAddFolderExecute();
    }
    // Every stored alias and how often the store holds it.
    static std::map<std::wstring, int> StoredAliases() {
        std::map<std::wstring, int> count;
        for (auto& [name, value] : ReadKeyValues(kFixtureStore))
            if (name[0] == L'N') ++count[value];
        return count;
    }
    // The list as the store's reader sees it, and as the list view shows it.
    void ExpectListShowsTheStore() {
        FolderList stored;
        LoadList(kFixtureStore, stored);
        EXPECT_EQ(form->Entries(), stored);
        HWND lv = form->lvMain.Handle();
        ASSERT_EQ(ListView_GetItemCount(lv), (int)stored.size());
        for (int i = 0; i < (int)stored.size(); ++i) {
            wchar_t text[256] = {};
            ListView_GetItemText(lv, i, 0, text, 256);
            EXPECT_EQ(text, stored[i].Alias) << "row " << i;
        }
    }
    TempDir folder;
};
}  // namespace

TEST_F(AppendGapTest, TwoAddsKeepEveryStoredEntry) {
    ASSERT_EQ(form->Entries().size(), 2u);
    Add(L"first");
    // The gap at 2 is closed: 3 and 4 are part of the list now; 6 lies
    // beyond the next gap and stays hidden.
    ASSERT_EQ(form->Entries().size(), 5u);
    EXPECT_EQ(form->Entries()[2].Alias, L"first");
    EXPECT_EQ(form->Entries()[4].Alias, L"stored4");
    ExpectListShowsTheStore();

    Add(L"second");
    EXPECT_EQ(form->Entries()[5].Alias, L"second");
    EXPECT_EQ(form->Entries().back().Alias, L"stored6");  // the second gap closed too
    ExpectListShowsTheStore();
    auto aliases = StoredAliases();
    for (const wchar_t* alias : {L"e0", L"e1", L"first", L"stored3", L"stored4", L"second", L"stored6"})
        EXPECT_EQ(aliases[alias], 1) << alias;
    EXPECT_EQ(aliases.size(), 7u);
}

TEST_F(AppendGapTest, AnImportOfTwoNewEntriesKeepsEveryStoredEntry) {
    TempDir dir;
    std::wstring file = dir.File(L"list.pnx");
    // "stored4" is in the file too: once joined, it is held and not added twice.
    ExportListFile(file, {{L"first", L"C:\\first"}, {L"stored4", L"C:\\stored4"}, {L"second", L"C:\\second"}});
    size_t before = form->Entries().size();
    form->ShowOutcome(form->List().Import(file, -1));
    EXPECT_EQ(form->Entries().size(), before + 2 + 3);  // two imported, three joined
    ExpectListShowsTheStore();
    auto aliases = StoredAliases();
    for (const wchar_t* alias : {L"e0", L"e1", L"first", L"stored3", L"stored4", L"second", L"stored6"})
        EXPECT_EQ(aliases[alias], 1) << alias;
    EXPECT_EQ(aliases.size(), 7u);
}
