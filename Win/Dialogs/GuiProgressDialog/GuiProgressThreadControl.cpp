#include "GuiProgressThreadControl.h"

#include "Exception.h"
#include "GuiProgressDialog.h"
#include "GuiWindowsDialog.h"
#include "MessageWaits.h"

GuiProgressThreadControl::GuiProgressThreadControl(GuiWindowsDialog* owner)
    : CommonCpp::Runnable(nullptr, 0, true),
      m_readyEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)), m_owner(owner) {
    if (m_readyEvent == nullptr) {
        throw CommonCpp::Exception(__FILE__, __LINE__);
    }
}

GuiProgressThreadControl::~GuiProgressThreadControl() {
    RequestStop();
    if (GetHandle() != nullptr) {
        // A thread never resumed runs now only to see the stop.
        Resume();
        GuiWindowsDialog::WaitWithMessages(GetHandle());
        CloseThreadHandle();
    }
    CloseHandle(m_readyEvent);
}

void GuiProgressThreadControl::RequestStop() {
    CommonCpp::Runnable::RequestStop();
    // Wakes the loop at once rather than at the next timer tick.
    if (GetId() != 0) {
        PostThreadMessageA(GetId(), WM_NULL, 0, 0);
    }
}

void GuiProgressThreadControl::StopAndWait() {
    CommonCpp::Runnable::StopAndWait();
}

bool GuiProgressThreadControl::StartAndWait() {
    AddRef();
    Resume();
    return MessageWaits::WaitForReadyOrEnd(m_readyEvent, GetHandle());
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
