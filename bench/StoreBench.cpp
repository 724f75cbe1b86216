// Times the list paths with 10,000 entries against the bare registry work
// they need. Not a test: run by hand (scripts/bench.sh) and read the ratios.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "store/Programs.h"
#include "app/Global.h"
#include "app/ListFile.h"
#include "app/Main.h"
#include "store/RewriteRecord.h"
#include "support/TestSupport.h"
#include "win/Application.h"
#include "win/Registry.h"

using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace {
const std::wstring kStore = L"Software\\Pathnook";
constexpr int kCount = 10000;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

std::wstring Alias(int i) { return L"alias " + std::to_wstring(kCount - i); }  // descending
std::wstring Path(int i) { return L"C:\\Folders\\number " + std::to_wstring(i); }

void Fill() {
    DeleteKeyTree(kStore);
    SetString(kStore + L"\\Install", L"Seeded", L"1");
    win::RegKey key(kStore, true);
    for (int i = 0; i < kCount; ++i) {
        key.WriteString(AliasName(i), Alias(i));
        key.WriteString(PathName(i), Path(i));
    }
}

// The floor for a full rewrite: the same writes on one open key.
double WriteFloor(int positions) {
    auto t = Clock::now();
    win::RegKey key(kStore, true);
    for (int i = 0; i < positions; ++i) {
        key.WriteString(AliasName(i), Alias(i));
        key.WriteString(PathName(i), Path(i));
    }
    return Ms(t);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The bare writes a delete of the first row needs: every later position
// moved down by one, then the old last position removed.
double DeleteFloor() {
    auto t = Clock::now();
    win::RegKey key(kStore, true);
    for (int i = 0; i < kCount - 1; ++i) {
        key.WriteString(AliasName(i), Alias(i + 1));
        key.WriteString(PathName(i), Path(i + 1));
    }
    key.DeleteValue(AliasName(kCount - 1));
    key.DeleteValue(PathName(kCount - 1));
    return Ms(t);
}

// What the record alone costs a rewrite of `list` from position `first`:
// encoding, the one call that writes it and the one that removes it.
double RecordCost(const FolderList& list, size_t first, size_t oldCount) {
    auto t = Clock::now();
    RewriteRecord record{first, {list.begin() + (std::ptrdiff_t)first, list.end()}, list.size(), oldCount};
    WriteRecord(kStore, record);
    RemoveRecord(kStore);
    return Ms(t);
}

double ReadFloor() {
    auto t = Clock::now();
    win::RegKey key(kStore, true);
    size_t chars = 0;
    for (int i = 0; i <= kCount; ++i) chars += key.ReadString(AliasName(i)).size() + key.ReadString(PathName(i)).size();
    return chars ? Ms(t) : 0;
}

double StartToShownList(int expectedRows) {
    TempDir dir;
    PathnookProcess app(dir.Path());
    auto t = Clock::now();
    app.Start(false);
    WaitUntil([&] {
        HWND w = FindWindowW(MainWindowClass, nullptr);
        HWND list = w ? FindWindowExW(w, nullptr, L"SysListView32", nullptr) : nullptr;
        return list && IsWindowVisible(w) && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == expectedRows;
    }, 120000);
    double ms = Ms(t);
    app.WaitForWindow();
    app.Close();
    app.WaitExit(20000);
    return ms;
}
}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    auto begin = Clock::now();
    Fill();
    std::printf("filled the store with %d entries in %.1f ms\n", kCount, Ms(begin));
    double readFloor = ReadFloor();
    double writeFloor = WriteFloor(kCount - 1);
    double start = StartToShownList(kCount);
    DeleteKeyTree(kStore);
    SetString(kStore + L"\\Install", L"Seeded", L"1");
    double emptyStart = StartToShownList(0);
    std::printf("read floor (%d positions + the empty one): %.1f ms\n", kCount, readFloor);
    std::printf("write floor (%d positions): %.1f ms\n", kCount - 1, writeFloor);
    std::printf("start to shown list: %.1f ms with %d entries, %.1f ms empty; the list's share %.1f ms = %.2f x read floor\n",
                start, kCount, emptyStart, start - emptyStart, (start - emptyStart) / readFloor);

    // Each command beside its bare writes and its record, five times over;
    // the medians are compared.
    constexpr int kRuns = 5;
    std::vector<double> dels, delFloors, delRecords, sorts, sortFloors, sortRecords;
    win::Sealed<TfrmMain> form;
    form.Show();
    win::Application::Instance().ProcessMessages();
    AppOptions.AskDelete = false;  // time the work, not a question
    for (int run = 0; run < kRuns; ++run) {
        Fill();
        form.aRefreshExecute();
        FolderList afterDelete(form.Entries().begin() + 1, form.Entries().end());
        form.lvMain.Select(0);
        auto t = Clock::now();
        form.aDeleteExecute();
        dels.push_back(Ms(t));
        delRecords.push_back(RecordCost(afterDelete, 0, kCount));
        Fill();
        delFloors.push_back(DeleteFloor());

        Fill();
        form.aRefreshExecute();
        form.SortAscending = true;
        t = Clock::now();
        form.aSortExecute();
        sorts.push_back(Ms(t));
        sortRecords.push_back(RecordCost(form.Entries(), 0, kCount));
        sortFloors.push_back(WriteFloor(kCount));
    }
    double del = Median(dels), delFloor = Median(delFloors), delRecord = Median(delRecords);
    double sort = Median(sorts), sortFloor = Median(sortFloors), sortRecord = Median(sortRecords);
    std::printf("delete first row of %d: %.1f ms = %.2f x its bare writes (%.1f ms); the record alone %.1f ms = %.3f x\n",
                kCount, del, del / delFloor, delFloor, delRecord, delRecord / delFloor);
    std::printf("sort %d entries: %.1f ms = %.2f x its bare writes (%.1f ms); the record alone %.1f ms = %.3f x\n",
                kCount, sort, sort / sortFloor, sortFloor, sortRecord, sortRecord / sortFloor);
    std::printf("within the targets (delete <= 1.2 x, sort <= 2 x): %s\n",
                del <= 1.2 * delFloor && sort <= 2 * sortFloor ? "yes" : "NO");
    Fill();
    form.aRefreshExecute();
    form.SortAscending = true;
    form.aSortExecute();
    bool sorted = form.Entries().front().Alias == L"alias 1" && form.Entries().back().Alias == L"alias 9999";
    std::printf("sorted as expected: %s\n", sorted ? "yes" : "NO");
    TempDir files;
    auto t = Clock::now();
    ExportListFile(files.File(L"list.pnx"), form.Entries());
    double exportMs = Ms(t);
    DeleteKeyTree(kStore);
    FolderList imported;
    t = Clock::now();
    size_t added = ImportListFile(files.File(L"list.pnx"), kStore, imported);
    double importMs = Ms(t);
    std::printf("export %d entries to a new list file: %.1f ms; import them into an empty list: %.1f ms (%zu added) = %.2f x write floor\n",
                kCount, exportMs, importMs, added, importMs / sortFloor);
    DeleteKeyTree(kStore);
    return sorted && added == (size_t)kCount ? 0 : 1;
}
