#include "MainDialog.h"

MainDialog::~MainDialog() {
    if (m_window != nullptr && IsWindow(m_window)) {
        DestroyWindow(m_window);
    }
}

bool MainDialog::Create(HINSTANCE instance, int templateId) {
    m_window = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), nullptr, DialogProc,
                                  reinterpret_cast<LPARAM>(this));
    return m_window != nullptr;
}

INT_PTR CALLBACK MainDialog::DialogProc(HWND, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        // The main window closed from outside ends the program; the application object
        // then closes whatever is still open.
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}
