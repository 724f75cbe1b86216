#pragma once
#include <windows.h>

#include <string>

namespace win {

// The common open and save dialogs. The filter is written as
// "Text|pattern|Text|pattern"; there is no default extension, the save
// dialog asks no overwrite question and the open dialog takes any name, so
// that the caller decides what to do with what was typed.
class FileDialog {
public:
    enum Kind { Open, Save };
    explicit FileDialog(Kind kind) : kind_(kind) {}

    std::wstring Title;
    std::wstring Filter;
    std::wstring FileName;  // in: the suggested name; out: the chosen full path

    // Shows the dialog modally; false when cancelled.
    bool Execute(HWND owner);

private:
    Kind kind_;
};

// "Text|*.x|All|*.*" -> "Text\0*.x\0All\0*.*\0\0" (the returned string holds
// the embedded NULs and ends with the final pair).
std::wstring FilterToWindows(const std::wstring& filter);

}  // namespace win
