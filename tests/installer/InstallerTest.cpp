// The packages the build makes: the setup program run silently and
// interactively, its uninstaller, and the portable zip's program (unpacked by
// the CTest fixture "installer_unzip" into <build>/portable-test).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <filesystem>
#include <vector>

#include "app/CommandIds.h"
#include "app/Version.h"
#include "support/TestSupport.h"
#include "win/Files.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {
const std::wstring kStore = L"Software\\Pathnook";
const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pathnook";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kSetupCaption = L"Pathnook " PATHNOOK_VERSION_W L" Setup";
constexpr int kProcessDeadlineMs = 60000;

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    SHGetKnownFolderPath(id, 0, nullptr, &path);
    std::wstring result = path ? path : L"";
    CoTaskMemFree(path);
    return result + L"\\";
}

std::wstring BuildFolder(const std::wstring& relative) {
    std::wstring joined = win::ExeFolder() + L"..\\" + relative;
    wchar_t full[MAX_PATH];
    GetFullPathNameW(joined.c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::wstring SetupExe() { return BuildFolder(L"packages\\Pathnook-" PATHNOOK_VERSION_W L"-setup.exe"); }
std::wstring InstallDir() { return KnownFolder(FOLDERID_LocalAppData) + L"Programs\\Pathnook\\"; }
std::wstring MenuFolder() { return KnownFolder(FOLDERID_Programs) + L"Pathnook\\"; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Bytes(const std::wstring& path) {
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
    CloseHandle(h);
    return bytes;
}

std::wstring ReadString(const std::wstring& key, const std::wstring& name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

// The program's file name a shortcut starts.
std::wstring ShortcutTarget(const std::wstring& lnk) {
    IShellLinkW* link = nullptr;
    std::wstring target = L"<unreadable>";
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&link)))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void**)&file))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

// A process started from a command line; Finish() waits for its exit code.
class Command {
public:
    explicit Command(std::wstring line) {
        STARTUPINFOW si{sizeof(si)};
        started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_);
    }
    ~Command() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or 0xFFFF when the process did not end in time.
    DWORD Finish(int timeoutMs = kProcessDeadlineMs) {
        if (!started_ || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return 0xFFFF;
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// Waits until every process started by the given one has ended.
bool WaitForChildren(DWORD parent, int timeoutMs) {
    std::vector<HANDLE> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == parent)
            if (HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) children.push_back(h);
    CloseHandle(snapshot);
    bool ended = true;
    for (HANDLE h : children) {
        ended = ended && WaitForSingleObject(h, timeoutMs) == WAIT_OBJECT_0;
        CloseHandle(h);
    }
    return ended;
}

DWORD RunSilentSetup(const std::wstring& extra = L"") {
    Command setup(L"\"" + SetupExe() + L"\" /S" + extra);
    EXPECT_TRUE(setup.Started()) << SetupExe();
    return setup.Finish();
}

void RemoveTree(const std::wstring& folder) {
    std::error_code ec;
    fs::remove_all(fs::path(folder), ec);
}

// A list of four entries, one a separator and one with a name outside any
// code page, marked as seeded so that the program keeps it as it is.
void WriteList() {
    DeleteKeyTree(kStore);
    SetString(kStore + L"\\Install", L"Seeded", L"1");
    const std::pair<std::wstring, std::wstring> entries[] = {
        {L"Windows", L"C:\\windows"},
        {L"*Separator*", L"-"},
        {L"Système ✓ 系统", L"C:\\windows\\system32"},
        {L"Users", L"C:\\users"},
    };
    for (int i = 0; i < 4; ++i) {
        SetString(kStore, L"N" + std::to_wstring(i), entries[i].first);
        SetString(kStore, L"P" + std::to_wstring(i), entries[i].second);
    }
    // As the program writes them back when it closes.
    SetString(kStore, L"PicView", L"0");
    SetString(kStore, L"ExploerFolder", L"1");
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        Clean();
        WriteList();
    }
    void TearDown() override {
        Clean();
        DeleteKeyTree(kStore);
        CoUninitialize();
    }
    // Whatever an earlier install left: files, shortcuts, registration.
    static void Clean() {
        RemoveTree(InstallDir());
        RemoveTree(MenuFolder());
        DeleteKeyTree(kUninstallKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey.c_str(), L"Pathnook Quick Menu");
    }
    static std::vector<std::wstring> ProgramFiles() {
        std::vector<std::wstring> files{L"Pathnook.exe", L"Pathnook.chm", L"readme.txt", L"Uninstall.exe"};
#ifdef PATHNOOK_QUICK_CLASS
        files.push_back(L"PathnookQuick.exe");
#endif
        return files;
    }
};
}  // namespace

TEST_F(InstallerTest, SilentInstallPlacesFilesShortcutsAndRegistrationAndTheProgramShowsTheList) {
    ASSERT_FALSE(Exists(InstallDir()));
    ASSERT_EQ(RunSilentSetup(), 0u);

    for (const auto& name : ProgramFiles()) EXPECT_TRUE(Exists(InstallDir() + name)) << name;
    // The very program the build made, not some other copy.
    EXPECT_EQ(Bytes(InstallDir() + L"Pathnook.exe"), Bytes(BuiltExe(L"Pathnook.exe")));
    EXPECT_NE(Bytes(InstallDir() + L"readme.txt").find("Pathnook " PATHNOOK_VERSION), std::string::npos);

    EXPECT_EQ(ShortcutTarget(MenuFolder() + L"Pathnook.lnk"), InstallDir() + L"Pathnook.exe");
    EXPECT_EQ(ShortcutTarget(MenuFolder() + L"Pathnook Help.lnk"), InstallDir() + L"Pathnook.chm");
#ifdef PATHNOOK_QUICK_CLASS
    EXPECT_EQ(ShortcutTarget(MenuFolder() + L"Pathnook Quick Menu.lnk"), InstallDir() + L"PathnookQuick.exe");
    EXPECT_EQ(ReadString(kRunKey, L"Pathnook Quick Menu"), L"\"" + InstallDir() + L"PathnookQuick.exe\"");
#else
    EXPECT_EQ(ReadString(kRunKey, L"Pathnook Quick Menu"), L"<missing>");
#endif

    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayName"), L"Pathnook");
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayVersion"), PATHNOOK_VERSION_W);
    EXPECT_EQ(ReadString(kUninstallKey, L"UninstallString"), L"\"" + InstallDir() + L"Uninstall.exe\"");
    EXPECT_EQ(ReadString(kUninstallKey, L"InstallLocation") + L"\\", InstallDir());

    // Started as the shortcut starts it: the list is there, and the settings
    // file is written beside the exe, so the folder is the user's to write.
    PathnookProcess app(InstallDir(), false);
    ASSERT_TRUE(app.Start());
    wchar_t caption[64] = {};
    GetWindowTextW(app.Window(), caption, 64);
    EXPECT_STREQ(caption, L"Pathnook " PATHNOOK_VERSION_W);
    EXPECT_TRUE(WaitUntil([&] { return app.RowCount() == 4; }, 10000)) << app.RowCount();
    app.Close();
    DWORD code = 99;
    ASSERT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(Exists(InstallDir() + L"options.ini"));
    EXPECT_EQ(ReadKeyValues(kStore)[L"Setting"], InstallDir() + L"Pathnook.exe");
}

TEST_F(InstallerTest, SilentUpgradeClosesTheRunningProgramAsItsCloseBoxWouldAndReplacesTheFiles) {
    ASSERT_EQ(RunSilentSetup(), 0u);
    PathnookProcess app(InstallDir(), false);
    ASSERT_TRUE(app.Start());
    ASSERT_FALSE(Exists(InstallDir() + L"options.ini"));
    // Marks that the upgrade must undo.
    WriteFileText(InstallDir() + L"readme.txt", "old");
    SetString(kUninstallKey, L"DisplayVersion", L"0.0.1");

    ASSERT_EQ(RunSilentSetup(), 0u);
    // Closed, not killed: its normal exit code, and the settings it saves on
    // closing are there.
    DWORD code = 99;
    ASSERT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(Exists(InstallDir() + L"options.ini"));
    EXPECT_NE(Bytes(InstallDir() + L"readme.txt").find("Pathnook " PATHNOOK_VERSION), std::string::npos);
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayVersion"), PATHNOOK_VERSION_W);
    EXPECT_EQ(Bytes(InstallDir() + L"Pathnook.exe"), Bytes(BuiltExe(L"Pathnook.exe")));
    EXPECT_EQ(ReadKeyValues(kStore)[L"N2"], L"Système ✓ 系统");
}

TEST_F(InstallerTest, InteractiveSetupAsksBeforeClosingTheProgramAndCancelChangesNothing) {
    ASSERT_EQ(RunSilentSetup(), 0u);
    PathnookProcess app(InstallDir(), false);
    ASSERT_TRUE(app.Start());
    WriteFileText(InstallDir() + L"readme.txt", "old");

    Command setup(L"\"" + SetupExe() + L"\"");
    ASSERT_TRUE(setup.Started());
    HWND question = FindDialogOf(setup.Id(), kSetupCaption, 20000);
    ASSERT_NE(question, nullptr);
    EXPECT_NE(DialogText(question).find(L"Pathnook is running"), std::wstring::npos) << DialogText(question);
    PressButton(question, IDCANCEL);
    EXPECT_EQ(setup.Finish(), 1u);

    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(IsWindow(app.Window()));
    EXPECT_EQ(Bytes(InstallDir() + L"readme.txt"), "old");
}

TEST_F(InstallerTest, SilentSetupLeavesAProgramWithADialogOpenAloneAndFails) {
    ASSERT_EQ(RunSilentSetup(), 0u);
    PathnookProcess app(InstallDir(), false);
    ASSERT_TRUE(app.Start());
    app.Command(cmdOptions);
    HWND options = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (options = FindWindowW(L"TfrmOptions", nullptr)) != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(app.Window()); }));
    WriteFileText(InstallDir() + L"readme.txt", "old");

    EXPECT_EQ(RunSilentSetup(), 2u);
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(IsWindowVisible(options));
    EXPECT_EQ(Bytes(InstallDir() + L"readme.txt"), "old");
}

TEST_F(InstallerTest, SilentUninstallRemovesTheProgramAndKeepsTheListExactly) {
    ASSERT_EQ(RunSilentSetup(), 0u);
    // Running, so that the uninstaller has to close it first.
    PathnookProcess app(InstallDir(), false);
    ASSERT_TRUE(app.Start());
    auto before = ReadKeyValues(kStore);
    ASSERT_EQ(before[L"N2"], L"Système ✓ 系统");
    ASSERT_EQ(before[L"Setting"], InstallDir() + L"Pathnook.exe");

    std::wstring uninstall = ReadString(kUninstallKey, L"QuietUninstallString");
    ASSERT_EQ(uninstall, L"\"" + InstallDir() + L"Uninstall.exe\" /S");
    Command run(uninstall);
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.Finish(), 0u);
    // The uninstaller goes on from a copy of itself in %TEMP%: wait for that.
    EXPECT_TRUE(WaitForChildren(run.Id(), kProcessDeadlineMs));
    DWORD code = 99;
    ASSERT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);

    for (const auto& name : ProgramFiles()) EXPECT_FALSE(Exists(InstallDir() + name)) << name;
    EXPECT_FALSE(Exists(MenuFolder()));
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayName"), L"<missing>");
    EXPECT_EQ(ReadString(kRunKey, L"Pathnook Quick Menu"), L"<missing>");
    // A silent uninstall keeps the window settings, and so the folder.
    EXPECT_TRUE(Exists(InstallDir() + L"options.ini"));

    EXPECT_EQ(ReadKeyValues(kStore), before);
}

TEST_F(InstallerTest, PortableZipsProgramRunsFromItsOwnFolder) {
    std::wstring folder = BuildFolder(L"portable-test\\Pathnook-" PATHNOOK_VERSION_W L"\\");
    ASSERT_TRUE(Exists(folder + L"Pathnook.exe")) << folder << " (unpacked by the installer_unzip test)";
    EXPECT_TRUE(Exists(folder + L"Pathnook.chm"));
    EXPECT_TRUE(Exists(folder + L"readme.txt"));
    EXPECT_FALSE(Exists(folder + L"Uninstall.exe"));
    EXPECT_EQ(Bytes(folder + L"Pathnook.exe"), Bytes(BuiltExe(L"Pathnook.exe")));
    DeleteFileW((folder + L"options.ini").c_str());

    PathnookProcess app(folder, false);
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(WaitUntil([&] { return app.RowCount() == 4; }, 10000)) << app.RowCount();
    app.Close();
    DWORD code = 99;
    ASSERT_TRUE(app.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(Exists(folder + L"options.ini"));
    EXPECT_FALSE(Exists(InstallDir()));
}
