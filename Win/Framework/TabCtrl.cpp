#include "TabCtrl.h"

#include <commctrl.h>

#include <vector>

TabCtrl::~TabCtrl() {
    if (m_window != nullptr && IsWindow(m_window)) {
        SendMessageA(m_window, TCM_DELETEALLITEMS, 0, 0);
    }
}

int TabCtrl::AddTab(const std::string& caption) {
    std::vector<char> text(caption.begin(), caption.end());
    text.push_back('\0');
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    const LRESULT count = SendMessageA(m_window, TCM_GETITEMCOUNT, 0, 0);
    return static_cast<int>(SendMessageA(m_window, TCM_INSERTITEMA, static_cast<WPARAM>(count),
                                         reinterpret_cast<LPARAM>(&item)));
}
