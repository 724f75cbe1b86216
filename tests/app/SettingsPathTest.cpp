#include <gtest/gtest.h>

#include "app/Settings.h"
#include "support/TestSupport.h"
#include "win/Files.h"

using namespace testing_support;

TEST(SettingsFilePath, BesideTheProgramWhileItsFolderCanBeWritten) {
    TempDir program, appData;
    for (auto use : {SettingsUse::Read, SettingsUse::Write})
        EXPECT_EQ(SettingsFilePath(use, program.Path(), appData.Path()), program.File(L"options.ini"));
}

TEST(SettingsFilePath, InApplicationDataWhenTheProgramFolderCannotBeWritten) {
    TempDir appData;
    std::wstring locked = appData.File(L"no-such-folder\\");  // nothing can be created there
    std::wstring roaming = appData.Path() + L"\\Pathnook\\options.ini";
    EXPECT_EQ(SettingsFilePath(SettingsUse::Read, locked, appData.Path()), roaming);
    EXPECT_EQ(SettingsFilePath(SettingsUse::Write, locked, appData.Path()), roaming);
    EXPECT_TRUE(win::DirectoryExists(appData.Path() + L"\\Pathnook"));  // ready for the write
}

TEST(WindowBounds, TooSmallOrOffEveryScreenIsUnusable) {
    EXPECT_TRUE(SizeUsable(475, 396));
    EXPECT_FALSE(SizeUsable(GetSystemMetrics(SM_CXMIN) - 1, 396));
    EXPECT_FALSE(SizeUsable(475, 0));
    EXPECT_TRUE(PositionUsable(RECT{0, 0, 475, 396}));
    EXPECT_TRUE(PositionUsable(RECT{-400, -300, 75, 96}));  // partly visible
    EXPECT_FALSE(PositionUsable(RECT{-32000, -32000, -31840, -31970}));  // a minimised window's rectangle
    int w = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    EXPECT_FALSE(PositionUsable(RECT{w + 10, 0, w + 485, 396}));
}
