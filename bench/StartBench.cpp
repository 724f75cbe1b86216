// The whole start as a user sees it, closing, import and memory, each beside
// a floor measured in the same run. Not a test: scripts/bench.sh runs it.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "store/Programs.h"
#include "app/ListFile.h"
#include "store/Store.h"
#include "support/TestSupport.h"
#include "win/Registry.h"

using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace {
const std::wstring kStore = L"Software\\Pathnook";
const wchar_t* kMainClass = MainWindowClass;
constexpr int kCount = 10000;
constexpr int kRuns = 3;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::wstring Alias(int i) { return L"alias " + std::to_wstring(kCount - i); }
std::wstring Path(int i) { return L"C:\\Folders\\number " + std::to_wstring(i); }

void Fill(int count) {
    DeleteKeyTree(kStore);
    SetString(kStore + L"\\Install", L"Seeded", L"1");
    win::RegKey key(kStore, true);
    for (int i = 0; i < count; ++i) {
        key.WriteString(AliasName(i), Alias(i));
        key.WriteString(PathName(i), Path(i));
    }
}

// The least any reader by name can do: one query per value into a buffer
// that is already there, plus the empty position that ends the list.
double ReadFloor(int count) {
    auto t = Clock::now();
    HKEY key;
    RegOpenKeyExW(HKEY_CURRENT_USER, kStore.c_str(), 0, KEY_READ, &key);
    wchar_t buffer[512];
    size_t chars = 0;
    for (int i = 0; i <= count; ++i)
        for (const std::wstring& name : {AliasName(i), PathName(i)}) {
            DWORD size = sizeof buffer, type = 0;
            if (RegQueryValueExW(key, name.c_str(), nullptr, &type, (BYTE*)buffer, &size) == ERROR_SUCCESS)
                chars += size;
        }
    RegCloseKey(key);
    return chars || count == 0 ? Ms(t) : 0;
}

double WriteFloor(int first, int count) {
    auto t = Clock::now();
    win::RegKey key(kStore, true);
    for (int i = first; i < first + count; ++i) {
        key.WriteString(AliasName(i), L"import " + std::to_wstring(i));
        key.WriteString(PathName(i), L"D:\\Imported\\" + std::to_wstring(i));
    }
    return Ms(t);
}

struct Process {
    PROCESS_INFORMATION info{};
    ~Process() {
        if (info.hProcess) {
            TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

bool Launch(const std::wstring& exe, Process& p) {
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{sizeof(si)};
    return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &p.info) != 0;
}

// Polls tightly: the waits themselves are what is measured.
HWND WaitForWindow(const wchar_t* cls, int rows) {
    auto t = Clock::now();
    while (Ms(t) < 120000) {
        HWND w = FindWindowW(cls, nullptr);
        if (w && IsWindowVisible(w)) {
            HWND list = FindWindowExW(w, nullptr, L"SysListView32", nullptr);
            if (rows < 0 || (list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == rows)) {
                DWORD_PTR r;  // and it answers: the start has come to rest
                SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &r);
                return w;
            }
        }
        Sleep(1);
    }
    return nullptr;
}

double CloseAndWait(Process& p, HWND w) {
    auto t = Clock::now();
    PostMessageW(w, WM_CLOSE, 0, 0);
    WaitForSingleObject(p.info.hProcess, 60000);
    return Ms(t);
}

struct StartResult {
    double start = 0, close = 0;
    SIZE_T workingSet = 0;
};

StartResult StartPathnook(const std::wstring& exe, int rows) {
    StartResult r;
    Process p;
    auto t = Clock::now();
    if (!Launch(exe, p)) return r;
    HWND w = WaitForWindow(kMainClass, rows);
    r.start = w ? Ms(t) : -1;
    PROCESS_MEMORY_COUNTERS pmc{sizeof(pmc)};
    if (GetProcessMemoryInfo(p.info.hProcess, &pmc, sizeof pmc)) r.workingSet = pmc.WorkingSetSize;
    if (w) r.close = CloseAndWait(p, w);
    return r;
}

StartResult StartBare(const std::wstring& exe) {
    StartResult r;
    Process p;
    auto t = Clock::now();
    if (!Launch(exe, p)) return r;
    HWND w = WaitForWindow(L"Pathnook bare window", -1);
    r.start = w ? Ms(t) : -1;
    if (w) r.close = CloseAndWait(p, w);
    return r;
}
}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    TempDir dir;
    std::wstring exe = dir.File(L"Pathnook.exe");
    CopyFileW(BuiltExe(L"Pathnook.exe").c_str(), exe.c_str(), FALSE);
    std::wstring bare = BuiltExe(L"bare_window.exe");

    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (GetFileAttributesExW(exe.c_str(), GetFileExInfoStandard, &fa))
        std::printf("Pathnook.exe: %lu bytes (%.2f MiB)\n", fa.nFileSizeLow, fa.nFileSizeLow / 1048576.0);

    std::vector<double> bareStarts, bareCloses, reads, starts, closes, emptyStarts, emptyCloses;
    SIZE_T wsFull = 0, wsEmpty = 0;
    for (int run = 0; run < kRuns; ++run) {
        Fill(kCount);
        StartPathnook(exe, kCount);  // writes "Setting" once, so later starts write nothing
        StartResult b = StartBare(bare);
        bareStarts.push_back(b.start);
        bareCloses.push_back(b.close);
        reads.push_back(ReadFloor(kCount));
        StartResult full = StartPathnook(exe, kCount);
        starts.push_back(full.start);
        closes.push_back(full.close);
        wsFull = std::max(wsFull, full.workingSet);
        Fill(0);
        StartPathnook(exe, 0);
        StartResult empty = StartPathnook(exe, 0);
        emptyStarts.push_back(empty.start);
        emptyCloses.push_back(empty.close);
        wsEmpty = std::max(wsEmpty, empty.workingSet);
    }
    double floor = Median(bareStarts) + Median(reads);
    std::printf("medians of %d runs, %d entries\n", kRuns, kCount);
    std::printf("  bare window start          %8.1f ms\n", Median(bareStarts));
    std::printf("  bare reads of the values   %8.1f ms\n", Median(reads));
    std::printf("  floor (the two together)   %8.1f ms\n", floor);
    std::printf("  start to all rows shown    %8.1f ms = %.2f x floor\n", Median(starts), Median(starts) / floor);
    std::printf("  start, empty list          %8.1f ms = %.2f x bare window start\n", Median(emptyStarts),
                Median(emptyStarts) / Median(bareStarts));
    std::printf("  close, %d entries       %8.1f ms = %.2f x close of an empty list (%.1f ms)\n", kCount,
                Median(closes), Median(closes) / Median(emptyCloses), Median(emptyCloses));
    std::printf("  close, bare window         %8.1f ms\n", Median(bareCloses));
    std::printf("  working set                %8.1f MiB with %d entries, %.1f MiB empty\n",
                wsFull / 1048576.0, kCount, wsEmpty / 1048576.0);

    // Import of a 10,000-entry list file into 10,000 other entries, beside
    // the file read and the registry writes it cannot do without.
    Fill(kCount);
    FolderList others;
    for (int i = 0; i < kCount; ++i)
        others.push_back({L"import " + std::to_wstring(kCount + i), L"D:\\Imported\\" + std::to_wstring(kCount + i)});
    std::wstring file = dir.File(L"others.pnx");
    ExportListFile(file, others);
    auto t = Clock::now();
    std::string bytes;
    {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        char chunk[65536];
        DWORD got = 0;
        while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
        CloseHandle(h);
    }
    double fileFloor = Ms(t);
    double writeFloor = WriteFloor(kCount, kCount);
    Fill(kCount);
    FolderList list;
    LoadList(kStore, list);
    t = Clock::now();
    size_t added = ImportListFile(file, kStore, list);
    double import = Ms(t);
    double importFloor = fileFloor + writeFloor;
    std::printf("  import %d into %d others  %8.1f ms = %.2f x floor (%.1f ms read + %.1f ms writes); %zu added\n",
                kCount, kCount, import, import / importFloor, fileFloor, writeFloor, added);
    DeleteKeyTree(kStore);
    return added == (size_t)kCount ? 0 : 1;
}
