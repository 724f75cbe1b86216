#include "support/FileDialogThread.h"

#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <shobjidl.h>

#include "support/TestSupport.h"

namespace testing_support {

HWND FindOwnWindow(const wchar_t* cls, const std::wstring& title, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, cls, title.c_str()))) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == GetCurrentProcessId() && IsWindowVisible(w)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::wstring DialogFolder(HWND dialog) {
    wchar_t buf[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, (LPARAM)buf);
    return buf;
}

std::wstring WindowTextOf(HWND w) {
    wchar_t buf[1024] = {};
    SendMessageW(w, WM_GETTEXT, 1024, (LPARAM)buf);
    return buf;
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{sizeof(info)};
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

FileDialogThread::FileDialogThread(DialogKind kind, const std::wstring& title, const std::wstring& startFolder,
                                   OkBehaviour ok)
    : kind_(kind), ok_(ok), title_(title), start_(startFolder), release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this] {
        OleInitialize(nullptr);
        threadId_ = GetCurrentThreadId();
        switch (kind_) {
        case DialogKind::Open: ShowClassic(false); break;
        case DialogKind::Save: ShowClassic(true); break;
        case DialogKind::ItemOpen: ShowItem(false); break;
        case DialogKind::ItemFolders: ShowItem(true); break;
        }
        done_ = true;
        OleUninitialize();
    });
}

FileDialogThread::~FileDialogThread() {
    Release();
    if (!done_) {
        if (HWND d = FindOwnWindow(L"#32770", title_, 0)) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    }
    thread_.join();
    CloseHandle(release_);
}

HWND FileDialogThread::Dialog() { return FindOwnWindow(L"#32770", title_); }

void FileDialogThread::ShowClassic(bool save) {
    OPENFILENAMEW ofn{sizeof(ofn)};
    ofn.lpstrFile = file_;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrFilter = L"All files\0*.*\0";
    ofn.lpstrTitle = title_.c_str();
    ofn.lpstrInitialDir = start_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (ok_ != OkBehaviour::Normal) {
        ofn.Flags |= OFN_ENABLEHOOK;
        ofn.lpfnHook = Hook;
        ofn.lCustData = (LPARAM)this;
    }
    result_ = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
}

void FileDialogThread::ShowItem(bool folders) {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) return;
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | (folders ? FOS_PICKFOLDERS : 0));
    dialog->SetTitle(title_.c_str());
    if (!folders) {
        COMDLG_FILTERSPEC all{L"All files", L"*.*"};
        dialog->SetFileTypes(1, &all);
    }
    IShellItem* start = nullptr;
    if (SUCCEEDED(SHCreateItemFromParsingName(start_.c_str(), nullptr, IID_PPV_ARGS(&start)))) {
        dialog->SetFolder(start);
        start->Release();
    }
    if (SUCCEEDED(dialog->Show(nullptr))) {
        IShellItem* item = nullptr;
        if (SUCCEEDED(dialog->GetResult(&item))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                lstrcpynW(file_, path, MAX_PATH);
                CoTaskMemFree(path);
            }
            item->Release();
        }
        result_ = true;
    }
    dialog->Release();
}

UINT_PTR CALLBACK FileDialogThread::Hook(HWND hook, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<FileDialogThread*>(reinterpret_cast<OPENFILENAMEW*>(lp)->lCustData);
        SetWindowLongPtrW(hook, GWLP_USERDATA, (LONG_PTR)self);
        SetWindowSubclass(GetParent(hook), Subclass, 1, (DWORD_PTR)self);
        return 0;
    }
    auto* self = reinterpret_cast<FileDialogThread*>(GetWindowLongPtrW(hook, GWLP_USERDATA));
    if (msg != WM_NOTIFY || !self || !self->armed_) return 0;
    if (reinterpret_cast<NMHDR*>(lp)->code != CDN_FOLDERCHANGE) return 0;
    if (self->ok_ == OkBehaviour::OwnBox) {
        self->moving_ = true;
        MessageBoxW(GetParent(hook), L"The folder is being looked at.", L"Other program", MB_OK);
        self->moving_ = false;
    } else if (self->ok_ == OkBehaviour::Slow) {
        self->moving_ = true;
        WaitForSingleObject(self->release_, 1500);
        self->moving_ = false;
    }
    return 0;
}

LRESULT CALLBACK FileDialogThread::Subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<FileDialogThread*>(data);
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, Subclass, id);
    if (msg == WM_COMMAND && LOWORD(wp) == IDOK && self->armed_) {
        if (self->ok_ == OkBehaviour::Refuse) return 0;
        if (self->ok_ == OkBehaviour::Close) {
            PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
            return 0;
        }
    }
    return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace testing_support
