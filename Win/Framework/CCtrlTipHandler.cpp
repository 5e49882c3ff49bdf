#include "CCtrlTipHandler.h"

#include "ZylToolTip.h"

CCtrlTipHandler::~CCtrlTipHandler() {
    Detach();
}

void CCtrlTipHandler::Attach(HWND control) {
    Detach();
    m_control = control;
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_previousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CCtrlTipHandler::SubclassProc)));
    ZylToolTip& tip = ZylToolTip::Instance();
    if (!tip.Exists()) {
        tip.Create(control);
    }
}

void CCtrlTipHandler::Detach() {
    if (m_control == nullptr) {
        return;
    }
    if (IsWindow(m_control)) {
        SetWindowLongPtrA(m_control, GWLP_USERDATA, 0);
        if (m_previousProc != nullptr) {
            SetWindowLongPtrA(m_control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
        }
    }
    m_previousProc = nullptr;
    m_control = nullptr;
}

void CCtrlTipHandler::OnMouseMove(int, int) {
    if (!m_tracking) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_control, 0};
        TrackMouseEvent(&track);
        m_tracking = true;
    }
}

void CCtrlTipHandler::OnMouseLeave() {
    ZylToolTip::Instance().Hide();
    m_tracking = false;
}

void CCtrlTipHandler::ShowEntry(int index, const std::string* text, const RECT& textRect,
                                int roomWidth, POINT screenTopLeft, UINT positionFlags) {
    if (index != -1 && index == m_lastIndex) {
        return;
    }
    ZylToolTip& tip = ZylToolTip::Instance();
    tip.Hide();
    const int width = textRect.right - textRect.left;
    const int height = textRect.bottom - textRect.top;
    if (index != -1 && text != nullptr && width >= roomWidth) {
        SetWindowTextA(tip.GetWindow(), text->c_str());
        SetWindowPos(tip.GetWindow(), HWND_TOPMOST, screenTopLeft.x, screenTopLeft.y, width + 6,
                     height, positionFlags);
        tip.Show(100);
    }
    m_lastIndex = index;
}

LRESULT CALLBACK CCtrlTipHandler::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* const handler =
        reinterpret_cast<CCtrlTipHandler*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (handler == nullptr) {
        return 0;
    }
    const WNDPROC previous = handler->m_previousProc;
    if (message == WM_MOUSEMOVE) {
        handler->OnMouseMove(static_cast<short>(LOWORD(lParam)),
                             static_cast<short>(HIWORD(lParam)));
    } else if (message == WM_MOUSELEAVE) {
        handler->OnMouseLeave();
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
