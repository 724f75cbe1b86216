#pragma once
#include <windows.h>

#include <string>

namespace win {

// A standard open or save file dialog of any process, found from one of
// its windows. Recognised strictly, by its name box and its folder view
// together: changing any other dialog by mistake could alter a program's
// settings without anyone noticing.
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

// Sends a file dialog to a folder: the folder's path with a trailing
// backslash goes into the name box and OK is pressed, which moves the
// dialog and never saves or opens a file. What was typed in the name box
// is put back afterwards and the focus left in it. Returns false when the
// dialog did not answer in time.
bool SendFileDialogTo(const FileDialogParts& dialog, const std::wstring& folder, UINT timeoutMs = 5000);

}  // namespace win
