#include "win/ListView.h"

namespace win {

void ListView::Create(HWND parent, int x, int y, int w, int h, DWORD extraStyle) {
    CreateStandard(WC_LISTVIEWW, L"",
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                       LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | extraStyle,
                   WS_EX_CLIENTEDGE, x, y, w, h, parent, 0);
}

void ListView::AddColumn(const std::wstring& caption, int width) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<wchar_t*>(caption.c_str());
    col.cx = width;
    int count = Header_GetItemCount(ListView_GetHeader(Handle()));
    ListView_InsertColumn(Handle(), count, &col);
}

int ListView::ColumnWidth(int column) const { return ListView_GetColumnWidth(Handle(), column); }
void ListView::SetColumnWidth(int column, int width) { ListView_SetColumnWidth(Handle(), column, width); }

void ListView::SetItemCount(int count) {
    int selected = Selected();
    ListView_SetItemCountEx(Handle(), count, LVSICF_NOSCROLL);
    if (selected >= count) Select(-1);
    Invalidate();
}

int ListView::ItemCount() const { return ListView_GetItemCount(Handle()); }

int ListView::Selected() const { return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); }

void ListView::Select(int row) {
    ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED);
    if (row >= 0) {
        ListView_SetItemState(Handle(), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(Handle(), row, FALSE);
    }
}

void ListView::EnsureVisible(int row) {
    if (row >= 0 && row < ItemCount()) ListView_EnsureVisible(Handle(), row, FALSE);
}

void ListView::RedrawRows(int first, int last) { ListView_RedrawItems(Handle(), first, last); }

void ListView::SetBkColor(COLORREF color) {
    if (BkColor() == color) return;
    ListView_SetBkColor(Handle(), color);
    ListView_SetTextBkColor(Handle(), color);
    Invalidate(true);
}

LRESULT ListView::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = Window::WndProc(msg, wp, lp);
    // A new size can move the top row and the header's free end: the list
    // scrolls only part of itself, and what it leaves would stay stale.
    if (msg == WM_WINDOWPOSCHANGED && !(((WINDOWPOS*)lp)->flags & SWP_NOSIZE))
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return result;
}

COLORREF ListView::BkColor() const { return ListView_GetBkColor(Handle()); }

bool ListView::OnParentNotify(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    switch (hdr->code) {
    case LVN_GETDISPINFOW: {
        auto& di = *reinterpret_cast<NMLVDISPINFOW*>(lp);
        if ((di.item.mask & LVIF_TEXT) && OnGetText && di.item.pszText && di.item.cchTextMax > 0) {
            buffer_ = OnGetText(di.item.iItem, di.item.iSubItem);
            lstrcpynW(di.item.pszText, buffer_.c_str(), di.item.cchTextMax);
        }
        result = 0;
        return true;
    }
    case LVN_KEYDOWN:
        if (OnKeyDown) OnKeyDown(reinterpret_cast<NMLVKEYDOWN*>(lp)->wVKey);
        result = 0;
        return true;
    case LVN_ODFINDITEMW: {
        // Owner data lists search through their owner: the list view asks
        // with the letters typed so far.
        auto& find = *reinterpret_cast<NMLVFINDITEMW*>(lp);
        result = -1;
        if (OnFindPrefix && (find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz)
            result = OnFindPrefix(find.lvfi.psz, find.iStart);
        return true;
    }
    case NM_RETURN:
        if (OnReturn) OnReturn();
        result = 0;
        return true;
    case NM_DBLCLK:
        if (OnDblClick) OnDblClick();
        result = 0;
        return true;
    }
    return false;
}

}  // namespace win
