#pragma once
// Shows a system cursor (IDC_WAIT, say) while it lives and puts the cursor that was current
// before back when it goes.

#include <windows.h>

class WaitCursorWrapper {
public:
    explicit WaitCursorWrapper(LPCSTR cursorId);
    WaitCursorWrapper(const WaitCursorWrapper&) = delete;
    WaitCursorWrapper& operator=(const WaitCursorWrapper&) = delete;
    virtual ~WaitCursorWrapper();

private:
    HCURSOR m_previous;
};
