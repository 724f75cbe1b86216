#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "win/NotifyTarget.h"
#include "win/Window.h"

namespace win {

// A report-style list view that holds no texts itself: it asks OnGetText
// for the text of a row and column (LVS_OWNERDATA), so that a large list
// costs nothing to fill or reorder.
class ListView : public Window, public NotifyTarget {
public:
    void Create(HWND parent, int x, int y, int w, int h, DWORD extraStyle = 0);
    void AddColumn(const std::wstring& caption, int width);
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    void SetItemCount(int count);  // keeps the selection where still valid
    int ItemCount() const;
    int Selected() const;  // -1 when no row is selected
    void Select(int row);  // -1 clears the selection
    void RedrawRows(int first, int last);
    void EnsureVisible(int row);  // scrolls the row into view
    void SetBkColor(COLORREF color);
    COLORREF BkColor() const;

    std::function<std::wstring(int row, int column)> OnGetText;
    std::function<void()> OnDblClick;
    std::function<void()> OnReturn;
    // A key pressed in the list; true when it was a command of the owner's.
    std::function<bool(WORD key)> OnKeyDown;
    // Type-ahead: the row whose caption starts with `prefix` (any letter
    // case), searching from `start` and wrapping round; -1 for none.
    std::function<int(const std::wstring& prefix, int start)> OnFindPrefix;

    bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::wstring buffer_;
};

}  // namespace win
