#include "WaitCursorWrapper.h"

WaitCursorWrapper::WaitCursorWrapper(LPCSTR cursorId)
    : m_previous(SetCursor(LoadCursorA(nullptr, cursorId))) {}

WaitCursorWrapper::~WaitCursorWrapper() {
    SetCursor(m_previous);
}
