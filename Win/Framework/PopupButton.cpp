#include "PopupButton.h"

#include "WindowDC.h"

#include <algorithm>
#include <vector>

PopupButton::~PopupButton() {
    if (m_window != nullptr && IsWindow(m_window)) {
        ResetContent();
    }
    m_window = nullptr;
    m_listTip.Detach();
    m_comboTip.Detach();
}

void PopupButton::Attach(HWND comboBox) {
    m_window = comboBox;
    m_comboTip.Attach(comboBox);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(comboBox, &info) && info.hwndList != nullptr) {
        m_listTip.Attach(info.hwndList);
    }
}

void PopupButton::Clear() {
    if (m_window != nullptr) {
        ResetContent();
    }
    m_window = nullptr;
}

void PopupButton::ResetContent() {
    SendMessageA(m_window, CB_RESETCONTENT, 0, 0);
}

int PopupButton::SelectFallback(int fallback) {
    const int count = GetCount();
    // Only an existing entry can be the fall-back.
    SetCurSel(fallback >= 0 && fallback < count ? fallback : 0);
    return GetCurSel();
}

int PopupButton::SelectText(const std::string& text, int fallback) {
    SelectString(text, -1);
    const int selected = GetCurSel();
    if (selected >= 0 && selected < GetCount()) {
        return selected;
    }
    return SelectFallback(fallback);
}

int PopupButton::SelectTextOrFirst(const std::string& text, const std::string& secondText,
                                   int fallback) {
    SelectString(text, -1);
    int selected = GetCurSel();
    if (selected >= 0 && selected < GetCount()) {
        return selected;
    }
    SelectString(secondText, -1);
    selected = GetCurSel();
    if (selected >= 0 && selected < GetCount()) {
        return selected;
    }
    return SelectFallback(fallback);
}

int PopupButton::GetCurSel() const {
    return static_cast<int>(SendMessageA(m_window, CB_GETCURSEL, 0, 0));
}

LRESULT PopupButton::SetCurSel(int index) {
    return SendMessageA(m_window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string PopupButton::GetSelectedText() const {
    const int selected = GetCurSel();
    return selected < 0 ? std::string() : GetItemText(selected);
}

int PopupButton::SelectString(const std::string& text, int start) {
    return static_cast<int>(SendMessageA(m_window, CB_SELECTSTRING, static_cast<WPARAM>(start),
                                         reinterpret_cast<LPARAM>(text.c_str())));
}

int PopupButton::GetCount() const {
    return static_cast<int>(SendMessageA(m_window, CB_GETCOUNT, 0, 0));
}

int PopupButton::AddString(const std::string& text) {
    return static_cast<int>(
        SendMessageA(m_window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int PopupButton::DeleteString(int index) {
    return static_cast<int>(SendMessageA(m_window, CB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

std::string PopupButton::GetItemText(int index) const {
    index = std::max(index, 0);
    const LRESULT length = SendMessageA(m_window, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::vector<char> buffer(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    SendMessageA(m_window, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

int PopupButton::SetItemText(int index, const std::string& text) {
    SendMessageA(m_window, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    return static_cast<int>(SendMessageA(m_window, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(text.c_str())));
}

LPARAM PopupButton::GetItemData(int index) const {
    return SendMessageA(m_window, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

LRESULT PopupButton::SetItemData(int index, LPARAM value) {
    return SendMessageA(m_window, CB_SETITEMDATA, static_cast<WPARAM>(index), value);
}

bool PopupButton::FitDropDownHeight(int visibleLines) {
    int lineHeight = 0;
    {
        WindowDC dc(m_window);
        dc.Select(reinterpret_cast<HGDIOBJ>(SendMessageA(m_window, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics = {};
        if (!GetTextMetricsA(dc.Get(), &metrics)) {
            return false;
        }
        lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    }
    const int extra = lineHeight * std::max(visibleLines, 2);
    // The lines go below the closed box, not below the list an earlier fill sized: the
    // height must not grow with every refill.
    RECT closed = {};
    GetWindowRect(m_window, &closed);
    POINT corners[2] = {{closed.left, closed.top}, {closed.right, closed.bottom}};
    const HWND parent = GetParent(m_window);
    ScreenToClient(parent, &corners[0]);
    ScreenToClient(parent, &corners[1]);
    return MoveWindow(m_window, corners[0].x, corners[0].y, corners[1].x - corners[0].x,
                      corners[1].y - corners[0].y + extra, TRUE) != 0;
}
