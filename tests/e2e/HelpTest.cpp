// The Help menu's shell calls, checked through the shell itself: the test
// registers this test executable as the prefix's handler for .chm files,
// http links and mailto links. The shell then starts it with the target;
// in that mode it only writes down what it was given (the target and the
// show command from its start-up information) and exits.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr const wchar_t* kRecordSwitch = L"--record-shell-open";

// Runs before GoogleTest: in recording mode this process is the handler.
const bool kRecorder = [] {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv && argc >= 4 && std::wstring(argv[1]) == kRecordSwitch) {
        STARTUPINFOW si{sizeof(si)};
        GetStartupInfoW(&si);
        int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
        std::wstring line = std::wstring(argv[3]) + L"\n" + std::to_wstring(show) + L"\n";
        HANDLE f = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WORD bom = 0xFEFF;
        WriteFile(f, &bom, 2, &written, nullptr);
        WriteFile(f, line.data(), (DWORD)(line.size() * sizeof(wchar_t)), &written, nullptr);
        CloseHandle(f);
        ExitProcess(0);
    }
    return false;
}();

std::wstring ReadDefault(HKEY root, const std::wstring& key, bool* exists) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf);
    *exists = RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) == ERROR_SUCCESS;
    return buf;
}

void WriteDefault(HKEY root, const std::wstring& key, const std::wstring& value) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
    RegSetValueExW(h, nullptr, 0, REG_SZ, (const BYTE*)value.c_str(), (DWORD)((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

// Sets the default value of a key under HKEY_CLASSES_ROOT for the test's
// length, and puts the old one back.
class ClassOverride {
public:
    ClassOverride(std::wstring key, const std::wstring& value) : key_(std::move(key)) {
        old_ = ReadDefault(HKEY_CLASSES_ROOT, key_, &existed_);
        WriteDefault(HKEY_CLASSES_ROOT, key_, value);
    }
    ~ClassOverride() {
        if (existed_) WriteDefault(HKEY_CLASSES_ROOT, key_, old_);
        else RegDeleteTreeW(HKEY_CLASSES_ROOT, key_.c_str());
    }

private:
    std::wstring key_, old_;
    bool existed_ = false;
};

// This executable as the shell's handler for .chm files and for http and
// mailto links, recording into `record`.
struct RecordingHandlers {
    explicit RecordingHandlers(const std::wstring& record)
        : command(L"\"" + BuiltExe(L"e2e_tests.exe") + L"\" " + kRecordSwitch + L" \"" + record + L"\" \"%1\""),
          chmType(L".chm", L"PathnookTest.chm"),
          chmOpen(L"PathnookTest.chm\\shell\\open\\command", command),
          http(L"http\\shell\\open\\command", command),
          mailto(L"mailto\\shell\\open\\command", command) {}
    std::wstring command;
    ClassOverride chmType, chmOpen, http, mailto;
};

struct Recorded {
    std::wstring target;
    int show = -2;
};

// Waits for the handler's record and removes it for the next command.
bool WaitRecord(const std::wstring& path, Recorded& out, int timeoutMs = 10000) {
    if (!WaitUntil([&] { return ReadFileText(path).find(L'\n') != ReadFileText(path).rfind(L'\n'); }, timeoutMs))
        return false;
    std::wstring text = ReadFileText(path);
    size_t nl = text.find(L'\n');
    out.target = text.substr(0, nl);
    out.show = _wtoi(text.c_str() + nl + 1);
    DeleteFileW(path.c_str());
    return true;
}

// The program's drop-down menu window, while one is open.
HWND OpenMenuOf(DWORD pid) { return WindowOfProcess(pid, L"#32768"); }

// Opens the Help menu from the keyboard, as Alt+H does, then sends keys
// once it is open; the menu's loop takes them in order. Returns once the
// menu has closed and the program has handled the command it chose.
void HelpMenuKeys(PathnookProcess& app, std::initializer_list<WPARAM> keys) {
    HWND main = app.Window();
    SetForegroundWindow(main);
    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, 'h');
    ASSERT_TRUE(WaitUntil([&] { return OpenMenuOf(app.Id()) != nullptr; })) << "the Help menu did not open";
    for (WPARAM k : keys) {
        PostMessageW(main, WM_KEYDOWN, k, 0);
        PostMessageW(main, WM_KEYUP, k, 0xC0000000);
    }
    ASSERT_TRUE(WaitUntil([&] { return OpenMenuOf(app.Id()) == nullptr; })) << "the menu stayed open";
    ASSERT_TRUE(app.Sync());
}

// Processes started by `pid` that are still running.
int ChildrenOf(DWORD pid) {
    int n = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W e{sizeof(e)};
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
        if (e.th32ParentProcessID == pid) ++n;
    CloseHandle(snap);
    return n;
}

HWND FindAboutBox(DWORD pid, int timeoutMs = 5000) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            HWND w = FindWindowW(L"TfrmAbout", L"About Pathnook");
            DWORD p = 0;
            if (w) GetWindowThreadProcessId(w, &p);
            found = (w && p == pid && IsWindowVisible(w)) ? w : nullptr;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof(buf), &got, nullptr) && got) bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

HWND ChildWithText(HWND parent, const std::wstring& text) {
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t buf[256] = {};
        GetWindowTextW(w, buf, 256);
        if (text == buf) return w;
    }
    return nullptr;
}

}  // namespace

TEST(HelpMenu, HelpOpensTheChmBesideTheExeAndHomePageTheWebAddress) {
    TempDir dir;
    ASSERT_TRUE(CopyFileW(BuiltExe(L"Pathnook.chm").c_str(), dir.File(L"Pathnook.chm").c_str(), FALSE))
        << "Pathnook.chm is built beside Pathnook.exe";
    // A compiled help file, not some placeholder: it starts with the CHM
    // signature and holds the pages.
    std::string chm = ReadBytes(dir.File(L"Pathnook.chm"));
    EXPECT_EQ(chm.substr(0, 4), "ITSF");
    EXPECT_GT(chm.size(), 4000u);
    std::wstring record = dir.File(L"shell-open.txt");
    RecordingHandlers handlers(record);
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());

    HelpMenuKeys(app, {VK_RETURN});  // the first item, "&Help"
    Recorded r;
    ASSERT_TRUE(WaitRecord(record, r)) << "the shell started no handler for the help file";
    EXPECT_EQ(CompareStringOrdinal(r.target.c_str(), -1, dir.File(L"Pathnook.chm").c_str(), -1, TRUE), CSTR_EQUAL)
        << r.target;
    EXPECT_EQ(r.show, SW_SHOW);

    HelpMenuKeys(app, {VK_DOWN, VK_RETURN});  // "&HomePage"
    ASSERT_TRUE(WaitRecord(record, r)) << "the shell started no handler for the home page";
    EXPECT_EQ(r.target, L"http://www.example.com/pathnook/");
    EXPECT_EQ(r.show, SW_SHOW);
    EXPECT_TRUE(app.Running());
}

TEST(HelpMenu, AMissingHelpFileIsNotReported) {
    TempDir dir;
    std::wstring record = dir.File(L"shell-open.txt");
    RecordingHandlers handlers(record);
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());
    HelpMenuKeys(app, {VK_RETURN});
    // The command has run: the shell started no handler (one would still be
    // starting now, and writes its record only then) and no box came up.
    EXPECT_EQ(ChildrenOf(app.Id()), 0);
    EXPECT_EQ(GetFileAttributesW(record.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FindDialogOf(app.Id(), L"", 0), nullptr);
    EXPECT_TRUE(app.Running());
    Recorded r;
    // The program goes on: the next command works as usual.
    HelpMenuKeys(app, {VK_DOWN, VK_RETURN});
    ASSERT_TRUE(WaitRecord(record, r));
    EXPECT_EQ(r.target, L"http://www.example.com/pathnook/");
}

TEST(HelpMenu, AboutBoxLinksGoToTheShellAndOkClosesIt) {
    TempDir dir;
    std::wstring record = dir.File(L"shell-open.txt");
    RecordingHandlers handlers(record);
    PathnookProcess app(dir.Path());
    ASSERT_TRUE(app.Start());

    HelpMenuKeys(app, {'A'});  // "&About..."
    HWND about = FindAboutBox(app.Id());
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(app.Window()));  // shown modally

    // A click on a label reaches its parent as STN_CLICKED.
    HWND mail = ChildWithText(about, L"support@example.com");
    ASSERT_NE(mail, nullptr);
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(mail), STN_CLICKED), (LPARAM)mail);
    Recorded r;
    ASSERT_TRUE(WaitRecord(record, r));
    EXPECT_EQ(r.target, L"mailto:support@example.com");
    EXPECT_EQ(r.show, SW_SHOW);

    HWND web = ChildWithText(about, L"http://www.example.com/pathnook/");
    ASSERT_NE(web, nullptr);
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(web), STN_CLICKED), (LPARAM)web);
    ASSERT_TRUE(WaitRecord(record, r));
    EXPECT_EQ(r.target, L"http://www.example.com/pathnook/");

    HWND ok = ChildWithText(about, L"OK");
    ASSERT_NE(ok, nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(about) || !IsWindow(about); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.Window()) != FALSE; }));
    EXPECT_TRUE(app.Running());
}
