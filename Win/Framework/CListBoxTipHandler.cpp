#include "CListBoxTipHandler.h"

#include "ZylToolTip.h"

#include "WindowDC.h"

#include <vector>

void CListBoxTipHandler::OnMouseMove(int x, int y) {
    CCtrlTipHandler::OnMouseMove(x, y);
    RECT textRect = {};
    std::string text;
    const int index = MeasureItemText(x, y, &textRect, &text);
    RECT client = {};
    GetClientRect(GetControl(), &client);
    POINT topLeft = {textRect.left, textRect.top};
    ClientToScreen(GetControl(), &topLeft);
    ShowEntry(index, &text, textRect, client.right - client.left, topLeft, SWP_NOACTIVATE);
}

void CListBoxTipHandler::OnMouseLeave() {
    CCtrlTipHandler::OnMouseLeave();
    m_lastIndex = -1;
}

int CListBoxTipHandler::MeasureItemText(int x, int y, RECT* textRect, std::string* text) const {
    const HWND list = GetControl();
    const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(hit) != 0) {
        return -1;
    }
    const int index = LOWORD(hit);
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) {
        return -1;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(buffer.data()));
    *text = buffer.data();
    RECT itemRect = {};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&itemRect));
    *textRect = itemRect;
    WindowDC dc(list);
    dc.Select(reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    DrawTextA(dc.Get(), text->c_str(), -1, textRect, DT_CALCRECT);
    return index;
}
