#pragma once
// Gives every control of a dialog a Shift-JIS copy of the dialog's font, for the Japanese
// interface; the font lives as long as the helper.

#include "GdiObject.h"

#include <windows.h>

class SetFontHelper {
public:
    explicit SetFontHelper(HWND dialog);
    SetFontHelper(const SetFontHelper&) = delete;
    SetFontHelper& operator=(const SetFontHelper&) = delete;
    virtual ~SetFontHelper();

    HFONT GetFont() const { return m_font.Get(); }

private:
    GdiObject<HFONT> m_font;
};
