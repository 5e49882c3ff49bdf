#include "CComboBoxTipHandler.h"

#include "WindowDC.h"

#include <vector>

void CComboBoxTipHandler::OnMouseMove(int x, int y) {
    CCtrlTipHandler::OnMouseMove(x, y);
    const HWND box = GetControl();
    RECT textRect = {};
    std::string text;
    const int index = MeasureText(x, y, &textRect, &text);
    RECT client = {};
    GetClientRect(box, &client);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    int buttonWidth = 0;
    if (GetComboBoxInfo(box, &info)) {
        buttonWidth = info.rcButton.right - info.rcButton.left;
    }
    const int textWidth = textRect.right - textRect.left;
    POINT below = {(client.left + client.right) / 2 - textWidth / 2, client.bottom};
    ClientToScreen(box, &below);
    ShowEntry(index, &text, textRect, client.right - client.left - buttonWidth, below,
              SWP_NOZORDER | SWP_NOACTIVATE);
}

void CComboBoxTipHandler::OnMouseLeave() {
    CCtrlTipHandler::OnMouseLeave();
    m_lastIndex = -1;
}

int CComboBoxTipHandler::MeasureText(int x, int y, RECT* textRect, std::string* text) const {
    const HWND box = GetControl();
    if (SendMessageA(box, CB_GETCOUNT, 0, 0) < 1) {
        return -1;
    }
    RECT client = {};
    GetClientRect(box, &client);
    const POINT point = {x, y};
    if (!PtInRect(&client, point)) {
        return -1;
    }
    const LRESULT selected = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (selected < 0) {
        return -1;
    }
    const int index = static_cast<int>(selected);
    const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(buffer.data()));
    *text = buffer.data();
    const int itemHeight = static_cast<int>(SendMessageA(box, CB_GETITEMHEIGHT, 0, 0));
    *textRect = RECT{0, 0, 1, itemHeight};
    WindowDC dc(box);
    dc.Select(reinterpret_cast<HGDIOBJ>(SendMessageA(box, WM_GETFONT, 0, 0)));
    DrawTextA(dc.Get(), text->c_str(), -1, textRect, DT_CALCRECT);
    return index;
}
