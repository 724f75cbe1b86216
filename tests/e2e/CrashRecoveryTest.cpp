// The real Pathnook.exe killed in the middle of sorting a large list: the
// next start finishes the sort from the record it left, and shows every
// entry once, in order.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <set>

#include "app/CommandIds.h"
#include "store/RewriteRecord.h"
#include "store/Store.h"
#include "support/TestSupport.h"
#include "win/Registry.h"

using namespace testing_support;

namespace {
const std::wstring kStore = L"Software\\Pathnook";
constexpr int kCount = 10000;

std::wstring Alias(int n) {
    wchar_t text[32];
    swprintf(text, 32, L"entry %05d", n);
    return text;
}

bool RecordLeft() {
    HKEY h;
    std::wstring key = kStore + L"\\" + RewriteRecordKey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

std::wstring ReadValue(const std::wstring& name) {
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kStore.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return {};
    return text;
}

// A row's text in another process's list view, through memory of its own.
std::wstring RowText(HWND list, DWORD pid, int row) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return L"<no access>";
    const size_t chars = 128;
    BYTE* remote = (BYTE*)VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + chars * sizeof(wchar_t),
                                         MEM_COMMIT, PAGE_READWRITE);
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = (int)chars;
    item.pszText = (wchar_t*)(remote + sizeof(LVITEMW));
    WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, row, (LPARAM)remote);
    wchar_t text[chars] = {};
    ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof text, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return text;
}

class CrashRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kStore); }
    void TearDown() override { DeleteKeyTree(kStore); }
};

// Stores the list in descending order, so that sorting rewrites every
// position, then kills Pathnook.exe as soon as the sort's first position
// holds its sorted entry: the record is left, the last position still old.
void KillInTheMiddleOfASort(const std::wstring& folder) {
    SetString(kStore + L"\\Install", L"Seeded", L"1");
    {
        win::RegKey key(kStore, true);
        for (int i = 0; i < kCount; ++i) {
            key.WriteString(AliasName(i), Alias(kCount - 1 - i));
            key.WriteString(PathName(i), L"C:\\folders\\" + Alias(kCount - 1 - i));
        }
    }
    PathnookProcess app(folder);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(WaitUntil([&] { return app.RowCount() == kCount; }, 30000));
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, app.Id());
    ASSERT_TRUE(process);
    app.Command(cmdSort);
    DWORD start = GetTickCount();
    while (ReadValue(L"N0") != Alias(0) && GetTickCount() - start < 60000) {
    }
    TerminateProcess(process, 1);
    CloseHandle(process);
    ASSERT_TRUE(app.WaitExit(10000));
    ASSERT_EQ(ReadValue(L"N0"), Alias(0)) << "the sort never started";
    ASSERT_TRUE(RecordLeft());
    EXPECT_EQ(ReadValue(AliasName(kCount - 1)), Alias(0));
}

// Every position holds its sorted entry, each alias once.
void ExpectSortedWhole() {
    FolderList stored;
    LoadList(kStore, stored);
    ASSERT_EQ(stored.size(), (size_t)kCount);
    std::set<std::wstring> seen;
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(stored[i].Alias, Alias(i)) << "position " << i;
        EXPECT_EQ(stored[i].Path, L"C:\\folders\\" + Alias(i));
        seen.insert(stored[i].Alias);
    }
    EXPECT_EQ(seen.size(), (size_t)kCount);
}
}  // namespace

TEST_F(CrashRecoveryTest, AKillDuringALargeSortLosesNothing) {
    TempDir dir;
    KillInTheMiddleOfASort(dir.Path());
    if (HasFatalFailure()) return;

    PathnookProcess again(dir.Path());
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(WaitUntil([&] { return again.RowCount() == kCount; }, 30000));
    EXPECT_FALSE(RecordLeft());
    ExpectSortedWhole();
    for (int row : {0, 1, kCount / 2, kCount - 1})
        EXPECT_EQ(RowText(again.List(), again.Id(), row), Alias(row)) << "row " << row;
}

// The usual day: the quick menu runs from log-on, the manager only now and
// then. The quick menu finishes what the killed manager left.
TEST_F(CrashRecoveryTest, TheQuickMenuAloneFinishesWhatAKilledManagerLeft) {
    TempDir dir;
    KillInTheMiddleOfASort(dir.Path());
    if (HasFatalFailure()) return;
    // The raw values are broken: the last position and the first hold the same alias.
    ASSERT_EQ(ReadValue(AliasName(kCount - 1)), ReadValue(L"N0"));

    std::wstring exe = BuiltExe(L"PathnookQuick.exe");
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION quick{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &quick));
    EXPECT_TRUE(WaitUntil([] { return !RecordLeft(); }, 30000)) << "the quick menu left the record";
    ExpectSortedWhole();
    TerminateProcess(quick.hProcess, 0);
    WaitForSingleObject(quick.hProcess, 10000);
    CloseHandle(quick.hProcess);
    CloseHandle(quick.hThread);
}
