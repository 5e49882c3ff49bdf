#include "ListCtrl.h"

#include <cstring>
#include <vector>

namespace {

// The list view takes texts through a non-const pointer.
std::vector<char> TextBuffer(const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return buffer;
}

constexpr int kItemTextCapacity = 1024;

} // namespace

ListCtrl::~ListCtrl() = default;

int ListCtrl::GetItemCount() const {
    return static_cast<int>(SendMessageA(m_window, LVM_GETITEMCOUNT, 0, 0));
}

void ListCtrl::SetItemCount(int count) {
    SendMessageA(m_window, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
}

int ListCtrl::GetSelectedItem() const {
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        LVITEMA item = {};
        item.mask = LVIF_STATE;
        item.iItem = row;
        item.stateMask = LVIS_SELECTED;
        SendMessageA(m_window, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (item.state == LVIS_SELECTED) {
            return row;
        }
    }
    return -1;
}

void ListCtrl::SelectItem(int row, bool keepOthers) {
    if (row == -1) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = 0;
        SendMessageA(m_window, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&item));
        return;
    }
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.iItem = row;
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    SendMessageA(m_window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (keepOthers) {
        return;
    }
    const int count = GetItemCount();
    for (int other = 0; other < count; ++other) {
        if (other == row) {
            continue;
        }
        LVITEMA clear = {};
        clear.mask = LVIF_STATE;
        clear.iItem = other;
        clear.state = 0;
        clear.stateMask = LVIS_SELECTED;
        SendMessageA(m_window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&clear));
    }
}

LPARAM ListCtrl::GetItem(int row) const {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(m_window, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

LRESULT ListCtrl::SetItem(int row, LPARAM value) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = value;
    return SendMessageA(m_window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int ListCtrl::InsertItem(int row, const std::string& text) {
    std::vector<char> buffer = TextBuffer(text);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = buffer.data();
    return static_cast<int>(
        SendMessageA(m_window, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

std::string ListCtrl::GetItemText(int row, int column) const {
    std::vector<char> buffer(kItemTextCapacity, '\0');
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = kItemTextCapacity;
    SendMessageA(m_window, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // The control may answer with its own buffer.
    const char* const text = item.pszText != nullptr ? item.pszText : buffer.data();
    return std::string(text, strnlen(text, kItemTextCapacity - 1));
}

LRESULT ListCtrl::SetItemText(int row, int column, const std::string& text) {
    std::vector<char> buffer = TextBuffer(text);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = buffer.data();
    return SendMessageA(m_window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListCtrl::SetRedraw(bool redraw) {
    SendMessageA(m_window, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
}

LRESULT ListCtrl::DeleteAllItems() {
    SetLastError(0);
    return SendMessageA(m_window, LVM_DELETEALLITEMS, 0, 0);
}

int ListCtrl::FindItem(const std::string& text, int start) const {
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = text.c_str();
    return static_cast<int>(SendMessageA(m_window, LVM_FINDITEMA, static_cast<WPARAM>(start),
                                         reinterpret_cast<LPARAM>(&find)));
}

HWND ListCtrl::SetHandle(HWND window) {
    GuiControl::SetHandle(window);
    return window;
}

DWORD ListCtrl::SetExtendedStyle(DWORD style) {
    return static_cast<DWORD>(
        SendMessageA(m_window, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}

int ListCtrl::GetNextIndex(int row, bool backwards) const {
    const int count = GetItemCount();
    if (count <= 0 || row == -1) {
        return -1;
    }
    if (backwards) {
        return row == 0 ? count - 1 : row - 1;
    }
    return row == count - 1 ? 0 : (row + 1) % count;
}

int ListCtrl::InsertColumn(int column, const std::string& title, int width, int format) {
    std::vector<char> buffer = TextBuffer(title);
    LVCOLUMNA info = {};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    info.fmt = format;
    info.cx = width;
    info.pszText = buffer.data();
    return static_cast<int>(SendMessageA(m_window, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                                         reinterpret_cast<LPARAM>(&info)));
}

int ListCtrl::HitTest(LVHITTESTINFO* info) const {
    return static_cast<int>(SendMessageA(m_window, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}

int ListCtrl::GetTopIndex() const {
    return static_cast<int>(SendMessageA(m_window, LVM_GETTOPINDEX, 0, 0));
}

int ListCtrl::GetCountPerPage() const {
    return static_cast<int>(SendMessageA(m_window, LVM_GETCOUNTPERPAGE, 0, 0));
}

LRESULT ListCtrl::EnsureVisible(int row, bool partialOk) {
    return SendMessageA(m_window, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), partialOk ? 1 : 0);
}
