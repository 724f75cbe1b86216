#pragma once
#include <windows.h>

#include <string>

namespace win {

// A standard open or save file dialog of any process, found from one of
// its windows. Recognised strictly, by its name box, its folder view and
// its list of file types together: changing any other dialog by mistake
// could alter a program's settings without anyone noticing, and a folder
// picker (the new-style dialog in pick-folders mode, which shows no file
// types) takes a folder typed into its name box as the user's final choice.
struct FileDialogParts {
    HWND Dialog = nullptr;
    HWND NameBox = nullptr;  // cmb13 (ComboBoxEx32/ComboBox) or edt1 (Edit)
    HWND NameEdit = nullptr; // the edit inside it that takes the typing
    HWND Ok = nullptr;
    explicit operator bool() const { return Dialog != nullptr; }
};
FileDialogParts FindFileDialog(HWND anyWindowOfIt);

// The window that has the keyboard focus (or, failing that, the active or
// foreground window) on the foreground thread, wherever it lives.
HWND FocusedWindowAnywhere();

enum class JumpResult {
    Moved,       // the dialog took the folder (it may still refuse to show it)
    NotAFolder,  // the path is no existing folder: the dialog was not touched
    NoAnswer,    // the dialog did not answer in time
    Closed,      // the dialog went away meanwhile
};

// Sends a file dialog to an existing folder: the folder's path with a
// trailing backslash goes into the name box and OK is pressed, which moves
// the dialog and never saves or opens a file. Whatever happens after the
// name box was changed (the dialog answers late, shows a box of its own,
// refuses), what was typed there is put back with its selection, and the
// focus left in it. Waits on the other program and on the file system:
// call it on a worker. `timeoutMs` bounds each wait for an answer; an OK
// still unanswered then gets up to `lateMs` more, after which the typed
// text is put back once again.
JumpResult SendFileDialogTo(const FileDialogParts& dialog, const std::wstring& folder, UINT timeoutMs = 5000,
                            UINT lateMs = 30000);

}  // namespace win
