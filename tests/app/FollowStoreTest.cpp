// The window and the store never part: another writer's change shows at
// once, and a store the user may only read shows its list and takes no
// change that would pretend to be saved.
#include <gtest/gtest.h>
#include <windows.h>

#include <sddl.h>

#include "app/BoxWatcher.h"
#include "app/Global.h"
#include "app/MainFormFixture.h"
#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Error.h"

using namespace testing_support;

namespace {
bool Settled(const std::function<bool()>& done) {
    return WaitUntil([&] {
        win::Application::Instance().ProcessMessages();
        return done();
    });
}

// Gives the store key a DACL in SDDL ("D:(A;;KR;;;WD)": everyone may read).
bool SetStoreAccess(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) return false;
    HKEY h;
    bool ok = RegOpenKeyExW(HKEY_CURRENT_USER, kFixtureStore.c_str(), 0, WRITE_DAC | KEY_READ, &h) == ERROR_SUCCESS;
    if (ok) {
        ok = RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
        RegCloseKey(h);
    }
    LocalFree(sd);
    return ok;
}

class FollowStoreTest : public MainFormFixture {};
}  // namespace

TEST_F(FollowStoreTest, AnotherWritersChangeShowsAtOnceWithTheSelectionOnItsEntry) {
    form->lvMain.Select(1);  // e1
    // Another program swaps the first two entries and appends one.
    SetString(kFixtureStore, L"N0", L"e1");
    SetString(kFixtureStore, L"P0", L"C:\\e1");
    SetString(kFixtureStore, L"N1", L"e0");
    SetString(kFixtureStore, L"P1", L"C:\\e0");
    SetString(kFixtureStore, L"N3", L"outside");
    SetString(kFixtureStore, L"P3", L"C:\\outside");
    ASSERT_TRUE(Settled([&] { return form->Entries().size() == 4 && form->Entries()[0].Alias == L"e1"; }))
        << "the window did not follow the store";
    EXPECT_EQ(form->Entries()[1].Alias, L"e0");
    EXPECT_EQ(form->lvMain.ItemCount(), 4);
    EXPECT_EQ(form->lvMain.Selected(), 0);  // still e1

    // Its own change is not read back as another's: the selection stays where the command put it.
    form->lvMain.Select(3);
    form->aItemUpExecute();
    win::Application::Instance().ProcessMessages();
    EXPECT_EQ(form->lvMain.Selected(), 2);
    EXPECT_EQ(form->Entries()[2].Alias, L"outside");
}

TEST_F(FollowStoreTest, AStoreThatMayOnlyBeReadShowsItsListAndSaysAChangeCannotBeSaved) {
    ASSERT_TRUE(SetStoreAccess(L"D:(A;;KR;;;WD)"));
    struct Restore {
        ~Restore() { SetStoreAccess(L"D:(A;;KA;;;WD)"); }
    } restore;
    OpenForm();
    ASSERT_EQ(form->Entries().size(), 3u) << "a store that may only be read shows as empty";
    auto before = ReadKeyValues(kFixtureStore);
    form->lvMain.Select(0);
    AppOptions.AskDelete = false;
    BoxWatcher boxes;
    form->aDeleteExecute();
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_NE(boxes.Texts[0].find(L"cannot be saved"), std::wstring::npos) << win::Narrow(boxes.Texts[0]);
    EXPECT_EQ(form->Entries().size(), 3u);
    EXPECT_EQ(form->lvMain.ItemCount(), 3);
    EXPECT_EQ(ReadKeyValues(kFixtureStore), before);
}
