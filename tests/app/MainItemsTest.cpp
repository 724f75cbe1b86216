// The main window's add, edit and options commands run in this process,
// with their dialogs answered from inside the modal loop.
#include <gtest/gtest.h>

#include <functional>

#include "app/AddItem.h"
#include "app/AnswerDialog.h"
#include "app/CommandIds.h"
#include "app/Global.h"
#include "app/Main.h"
#include "app/Options.h"
#include "app/MainFormFixture.h"
#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Files.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";


class MainItemsTest : public MainFormFixture {
protected:
};
}  // namespace

TEST_F(MainItemsTest, OptionsSitInTheFileMenuAndEveryDialogCommandIsEnabled) {
    std::vector<std::wstring> file;
    for (auto& item : form->Menu().Root.Items[0]->Items) file.push_back(item->DisplayText());
    EXPECT_EQ(file, (std::vector<std::wstring>{L"&Add to List...\tCtrl+A", L"-", L"&Edit Item...", L"&Delete Item",
                                               L"-", L"&Options...\tCtrl+O", L"-", L"&Import...", L"E&xport...",
                                               L"-", L"&Exit"}));
    EXPECT_EQ(form->Actions().Find(cmdOptions), form->aOptions);
    form->lvMain.Select(0);
    win::Application::Instance().ProcessMessages();
    win::Application::Instance().Idle();
    EXPECT_TRUE(form->aAddFolder->Enabled());
    EXPECT_TRUE(form->aEdit->Enabled());
    EXPECT_TRUE(form->aOptions->Enabled());
}

TEST_F(MainItemsTest, AddAppendsEditReplacesAndCancelKeepsEverything) {
    form->lvMain.Select(1);
    AnswerDialog<TfrmProperty>([](TfrmProperty& d) {
        EXPECT_EQ(d.Text(), L"Add Item");
        EXPECT_EQ(d.feName.Text(), L"");
        d.feName.SetText(L"win");
        d.fePath.SetText(L"C:\\windows");
        d.fbOkClick();
    });
    EXPECT_TRUE(form->aAddFolder->Execute());
    ASSERT_EQ(form->Entries().size(), 4u);
    EXPECT_EQ(form->Entries()[3], (FolderEntry{L"win", L"C:\\windows"}));
    EXPECT_EQ(form->lvMain.ItemCount(), 4);
    EXPECT_EQ(form->lvMain.Selected(), 1);
    auto values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"N3"], L"win");
    EXPECT_EQ(values[L"P3"], L"C:\\windows");

    // Edit row 1: the dialog opens with its texts and the edit caption.
    AnswerDialog<TfrmProperty>([](TfrmProperty& d) {
        EXPECT_EQ(d.Text(), L"Edit Item");
        EXPECT_EQ(d.feName.Text(), L"e1");
        EXPECT_EQ(d.fePath.Text(), L"C:\\e1");
        d.cAddSeparator.SetChecked(true);
        d.fbOkClick();
    });
    form->lvMainDblClick();
    EXPECT_EQ(form->Entries()[1], FolderEntry::Separator());
    values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"N1"], L"*Separator*");
    EXPECT_EQ(values[L"P1"], L"-");
    EXPECT_EQ(form->lvMain.Selected(), 1);

    // Cancel, after changing the fields, leaves list and store alone.
    AnswerDialog<TfrmProperty>([](TfrmProperty& d) {
        d.feName.SetText(L"changed");
        d.ModalResult = win::mrCancel;
    });
    form->aEdit->Execute();
    AnswerDialog<TfrmProperty>([](TfrmProperty& d) {
        d.feName.SetText(L"x");
        d.fePath.SetText(L"C:\\");
        PostMessageW(d.Handle(), WM_CLOSE, 0, 0);
    });
    form->aAddFolder->Execute();
    EXPECT_EQ(form->Entries().size(), 4u);
    EXPECT_EQ(form->Entries()[1], FolderEntry::Separator());
    EXPECT_EQ(ReadKeyValues(kStore), values);
}

TEST_F(MainItemsTest, OptionsOkSavesWithTheNewFlags) {
    // The save writes options.ini beside this executable: leave no new one behind.
    const std::wstring ini = win::ExeFolder() + L"options.ini";
    const bool hadIni = win::FileExists(ini);
    TAppOptions before = AppOptions;
    AppOptions = {false, false, false};
    AnswerDialog<TfrmOptions>([](TfrmOptions& d) {
        EXPECT_FALSE(d.cbEnableImage.Checked());
        d.cbEnableImage.SetChecked(true);
        d.bOKClick();
    });
    form->aOptions->Execute();
    EXPECT_TRUE(AppOptions.EnableImage);
    auto values = ReadKeyValues(kStore);
    EXPECT_EQ(values[L"PicView"], L"1");
    EXPECT_EQ(values[L"ExploerFolder"], L"0");
    EXPECT_TRUE(win::FileExists(ini));
    AppOptions = before;
    if (!hadIni) DeleteFileW(ini.c_str());
}
