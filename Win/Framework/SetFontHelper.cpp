#include "SetFontHelper.h"

SetFontHelper::SetFontHelper(HWND dialog) {
    if (dialog == nullptr) {
        return;
    }
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA logFont = {};
    if (dialogFont == nullptr || GetObjectA(dialogFont, sizeof(logFont), &logFont) == 0) {
        return;
    }
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    m_font.Reset(CreateFontIndirectA(&logFont));
    if (!m_font) {
        return;
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
    }
}

SetFontHelper::~SetFontHelper() = default;
