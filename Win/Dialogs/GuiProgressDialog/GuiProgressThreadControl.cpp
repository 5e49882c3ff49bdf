#include "GuiProgressThreadControl.h"

#include "Exception.h"
#include "GuiProgressDialog.h"
#include "GuiWindowsDialog.h"
#include "MessageWaits.h"

GuiProgressThreadControl::GuiProgressThreadControl() = default;

GuiProgressThreadControl::~GuiProgressThreadControl() {
    StopThread();
}

void GuiProgressThreadControl::StopAndWait() {
    CommonCpp::Runnable::StopAndWait();
}

void GuiProgressThreadControl::Run(void*) {
    if (IsStopRequested()) {
        return;
    }
    auto* const dialog = new GuiProgressDialog(this);
    m_dialog = dialog;
    try {
        dialog->Create();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        m_dialog = nullptr;
        dialog->Close();
        return;
    }
    MSG message;
    while (m_dialog != nullptr) {
        if (IsStopRequested()) {
            m_dialog->Close();
            m_dialog = nullptr;
            break;
        }
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        // A WM_QUIT (got 0) does not end the window: only the stop request does.
        if (got != 0) {
            const HWND window = m_dialog->GetHwnd();
            if (window == nullptr || !IsDialogMessageA(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
}

void GuiProgressThreadControl::SetPos(int32_t position) {
    if (m_dialog != nullptr) {
        m_dialog->SetPos(position);
    }
}

void GuiProgressThreadControl::SetRange(int32_t low, int32_t high) {
    if (m_dialog != nullptr) {
        m_dialog->SetRange(low, high);
    }
}
