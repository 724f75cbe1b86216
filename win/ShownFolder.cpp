#include "win/ShownFolder.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "win/FileDialogJump.h"
#include "win/Files.h"
#include "win/RemoteBuffer.h"
#include "win/WindowLists.h"

namespace win {

namespace {
bool Ask(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT timeoutMs, LRESULT& result) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, timeoutMs, &r)) return false;
    result = (LRESULT)r;
    return true;
}

std::wstring TextOf(HWND w, UINT timeoutMs) {
    LRESULT length = 0;
    if (!Ask(w, WM_GETTEXTLENGTH, 0, 0, timeoutMs, length) || length <= 0) return {};
    std::vector<wchar_t> text(length + 2, L'\0');
    LRESULT got = 0;
    if (!Ask(w, WM_GETTEXT, text.size(), (LPARAM)text.data(), timeoutMs, got)) return {};
    return text.data();
}

// An existing folder, spelt as the file system spells it; else empty.
std::wstring Existing(const std::wstring& path) {
    if (path.empty()) return {};
    // A drive with no disk in it must not bring up the system's error box.
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    std::wstring found;
    if (DirectoryExists(path)) {
        found = ExactCasePath(path);
        if (found.empty()) found = path;  // a share's path is kept as given
    }
    SetErrorMode(old);
    return found;
}

// Explorer-style dialogs answer CDM_GETFOLDERPATH; the answer goes into
// memory of the dialog's own process.
std::wstring AskedFolder(HWND dialog, UINT timeoutMs) {
    constexpr size_t kChars = 32768;
    RemoteBuffer buffer(dialog, kChars * sizeof(wchar_t));
    if (!buffer) return {};
    LRESULT needed = 0;
    if (!Ask(dialog, CDM_GETFOLDERPATH, kChars, (LPARAM)buffer.At(0), timeoutMs, needed)) return {};
    if (needed <= 1 || needed > (LRESULT)kChars) return {};
    return buffer.Text(0, needed);
}

// The oldest dialogs list folders in lst2 and write the current one,
// lower-cased, into stc1 (it is their working folder).
std::wstring OldDialogFolder(HWND dialog, UINT timeoutMs) {
    HWND dirs = GetDlgItem(dialog, lst2), label = GetDlgItem(dialog, stc1);
    if (!dirs || !label || ClassOf(dirs) != L"ListBox" || ClassOf(label) != L"Static" || !IsWindowVisible(dirs))
        return {};
    return TextOf(label, timeoutMs);
}

template <class T>
struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

struct ComScope {
    bool owned;
    ComScope() : owned(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (owned) CoUninitialize();
    }
};

// Windows lists its folder windows in ShellWindows, each with its view.
std::wstring FolderFromShellWindows(HWND window) {
    Com<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&windows)))) return {};
    long count = 0;
    if (FAILED(windows->get_Count(&count))) return {};
    for (long i = 0; i < count; ++i) {
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = i;
        Com<IDispatch> item;
        if (windows->Item(index, &item) != S_OK || !item) continue;
        Com<IWebBrowserApp> app;
        SHANDLE_PTR handle = 0;
        if (FAILED(item->QueryInterface(IID_PPV_ARGS(&app))) || FAILED(app->get_HWND(&handle))) continue;
        if ((HWND)handle != window) continue;
        Com<IServiceProvider> services;
        Com<IShellBrowser> browser;
        Com<IShellView> view;
        Com<IFolderView> folderView;
        Com<IPersistFolder2> folder;
        PIDLIST_ABSOLUTE idList = nullptr;
        if (FAILED(app->QueryInterface(IID_PPV_ARGS(&services))) ||
            FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
            FAILED(browser->QueryActiveShellView(&view)) || FAILED(view->QueryInterface(IID_PPV_ARGS(&folderView))) ||
            FAILED(folderView->GetFolder(IID_PPV_ARGS(&folder))) || FAILED(folder->GetCurFolder(&idList)))
            return {};
        wchar_t path[MAX_PATH] = {};
        bool got = SHGetPathFromIDListW(idList, path);
        CoTaskMemFree(idList);
        return got ? path : L"";
    }
    return {};
}

// Whether the shell knows a folder window showing this folder: 1 or 0, or
// -1 when there is no one to ask (only a running desktop answers).
int ShellShowsFolder(const std::wstring& path) {
    Com<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&windows)))) return -1;
    PIDLIST_ABSOLUTE idList = nullptr;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &idList, 0, nullptr))) return 0;
    UINT size = ILGetSize(idList);
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, size);
    void* data = nullptr;
    if (bytes && SUCCEEDED(SafeArrayAccessData(bytes, &data))) {
        memcpy(data, idList, size);
        SafeArrayUnaccessData(bytes);
    }
    CoTaskMemFree(idList);
    if (!bytes) return -1;
    VARIANT location, root;
    VariantInit(&location);
    VariantInit(&root);
    location.vt = VT_ARRAY | VT_UI1;
    location.parray = bytes;
    long found = 0;
    Com<IDispatch> unused;
    HRESULT hr = windows->FindWindowSW(&location, &root, SWC_EXPLORER, &found, SWFO_NEEDDISPATCH, &unused);
    VariantClear(&location);
    return hr == S_OK && found != 0;
}

std::wstring DisplayName(const std::wstring& path) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME)) return {};
    return info.szDisplayName;
}

struct ShellAnswer {
    std::wstring Folder;  // the window's folder as the shell tells it
    int Shows = -1;       // whether the shell knows a window for the candidate
};

// The shell's folder windows, asked on a thread of their own: where no
// desktop runs, the shell's window list takes seconds to be refused, and
// the menu must not wait for that. One question at a time; an answer that
// comes late is dropped.
ShellAnswer AskShell(HWND window, const std::wstring& candidate, UINT timeoutMs) {
    struct Question {
        HWND window;
        std::wstring candidate;
        ShellAnswer answer;
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ~Question() {
            if (done) CloseHandle(done);
        }
    };
    static std::atomic<bool> asking{false};
    if (asking.exchange(true)) return {};
    auto question = std::make_shared<Question>();
    question->window = window;
    question->candidate = candidate;
    if (!question->done) {
        asking = false;
        return {};
    }
    std::thread([question] {
        {
            ComScope com;
            question->answer.Folder = FolderFromShellWindows(question->window);
            if (question->answer.Folder.empty() && !question->candidate.empty())
                question->answer.Shows = ShellShowsFolder(question->candidate);
        }
        SetEvent(question->done);
        asking = false;
    }).detach();
    if (WaitForSingleObject(question->done, timeoutMs) != WAIT_OBJECT_0) return {};
    return question->answer;
}

// Wine's folder window keeps the way to its folder in its path box, one
// item per level with growing indent ("Desktop", "My Computer", " (C:)",
// "users"), display names only. The path is rebuilt from the drive down,
// each level checked against the shell's own name for it.
std::wstring FolderFromPathBox(HWND window, UINT timeoutMs) {
    HWND box = nullptr;
    for (HWND w : ChildWindows(window))
        if (ClassOf(w) == L"ComboBoxEx32") {
            box = w;
            break;
        }
    LRESULT count = 0;
    if (!box || !Ask(box, CB_GETCOUNT, 0, 0, timeoutMs, count) || count <= 0) return {};
    constexpr size_t kChars = MAX_PATH;
    RemoteBuffer buffer(box, sizeof(COMBOBOXEXITEMW) + kChars * sizeof(wchar_t));
    if (!buffer) return {};
    std::vector<std::wstring> chain;
    int lastIndent = -1;
    for (LRESULT i = 0; i < count; ++i) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_INDENT;
        item.iItem = i;
        item.pszText = (wchar_t*)buffer.At(sizeof(item));
        item.cchTextMax = (int)kChars;
        LRESULT ok = 0;
        if (!buffer.Write(0, &item, sizeof(item)) || !Ask(box, CBEM_GETITEMW, 0, (LPARAM)buffer.At(0), timeoutMs, ok) ||
            !ok || !buffer.Read(0, &item, sizeof(item)))
            return {};
        // The way down ends where the indent stops growing; what follows
        // are the desktop's other entries.
        if (item.iIndent != lastIndent + 1) break;
        lastIndent = item.iIndent;
        chain.push_back(buffer.Text(sizeof(item), kChars));
    }
    // From the drive on: "Label (C:)" or " (C:)".
    size_t drive = chain.size();
    for (size_t i = 0; i < chain.size(); ++i) {
        const std::wstring& t = chain[i];
        if (t.size() >= 4 && t.compare(t.size() - 4, 1, L"(") == 0 && t.compare(t.size() - 2, 2, L":)") == 0 &&
            iswalpha(t[t.size() - 3])) {
            drive = i;
            break;
        }
    }
    if (drive == chain.size()) return {};
    const std::wstring& d = chain[drive];
    std::wstring path{d[d.size() - 3], L':', L'\\'};
    if (DisplayName(path) != d) return {};
    for (size_t i = drive + 1; i < chain.size(); ++i) {
        if (chain[i].empty() || chain[i].find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) return {};
        if (path.back() != L'\\') path += L'\\';
        path += chain[i];
        if (DisplayName(path) != chain[i]) return {};
    }
    return path;
}
}  // namespace

std::wstring ExactCasePath(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\' || !iswalpha(path[0])) return {};
    if (path.find_first_of(L"*?") != std::wstring::npos) return {};
    std::wstring exact{(wchar_t)towupper(path[0]), L':', L'\\'};
    size_t at = 3;
    while (at < path.size()) {
        size_t end = path.find(L'\\', at);
        if (end == std::wstring::npos) end = path.size();
        std::wstring part = path.substr(at, end - at);
        at = end + 1;
        if (part.empty()) continue;
        if (part == L"." || part == L"..") return {};
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((exact + part).c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return {};
        FindClose(h);
        exact += found.cFileName;
        exact += L'\\';
    }
    if (exact.size() > 3) exact.pop_back();
    return exact;
}

std::wstring FolderShownIn(HWND any, UINT timeoutMs) {
    HWND root = any ? GetAncestor(any, GA_ROOT) : nullptr;
    if (!root) return {};
    if (FileDialogParts dialog = FindFileDialog(root)) {
        std::wstring folder = AskedFolder(dialog.Dialog, timeoutMs);
        if (folder.empty()) folder = OldDialogFolder(dialog.Dialog, timeoutMs);
        return Existing(folder);
    }
    std::wstring cls = ClassOf(root);
    if (cls != L"CabinetWClass" && cls != L"ExplorerWClass") return {};
    std::wstring candidate = FolderFromPathBox(root, timeoutMs);
    ShellAnswer shell = AskShell(root, candidate, std::min<UINT>(timeoutMs, 400));
    if (!shell.Folder.empty()) return Existing(shell.Folder);
    // A desktop that can be asked must know a window for the folder too:
    // the path box alone says names, not folders.
    if (shell.Shows == 0) return {};
    return Existing(candidate);
}

}  // namespace win
