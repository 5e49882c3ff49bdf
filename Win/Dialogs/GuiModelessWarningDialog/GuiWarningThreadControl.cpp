#include "GuiWarningThreadControl.h"

#include "Exception.h"
#include "GuiModelessWarningDialog.h"
#include "MessageWaits.h"

namespace {

// One pass of the window thread's loop; a WM_QUIT does not end the window.
void TakeOneMessage(GuiModelessWarningDialog& dialog) {
    MSG message;
    if (GetMessageA(&message, nullptr, 0, 0) > 0) {
        const HWND window = dialog.GetHwnd();
        if (window == nullptr || !IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

} // namespace

GuiWarningThreadControl::GuiWarningThreadControl(GuiWindowsDialog* owner, const std::string& text)
    : CommonCpp::Runnable(nullptr, 0, true),
      m_readyEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)), m_text(text), m_owner(owner) {
    if (m_readyEvent == nullptr) {
        throw CommonCpp::Exception(__FILE__, __LINE__);
    }
}

GuiWarningThreadControl::~GuiWarningThreadControl() {
    RequestStop();
    if (GetHandle() != nullptr) {
        // A thread never resumed runs now only to see the stop.
        Resume();
        GuiWindowsDialog::WaitWithMessages(GetHandle());
        CloseThreadHandle();
    }
    CloseHandle(m_readyEvent);
}

void GuiWarningThreadControl::Resume() {
    CommonCpp::XGThread::Resume();
}

void GuiWarningThreadControl::RequestStop() {
    CommonCpp::Runnable::RequestStop();
    // Wakes the loop at once rather than at the next timer tick.
    if (GetId() != 0) {
        PostThreadMessageA(GetId(), WM_NULL, 0, 0);
    }
}

bool GuiWarningThreadControl::StartAndWait() {
    AddRef();
    Resume();
    return MessageWaits::WaitForReadyOrEnd(m_readyEvent, GetHandle());
}

void GuiWarningThreadControl::Run(void*) {
    if (IsStopRequested()) {
        return;
    }
    auto* const dialog = new GuiModelessWarningDialog(this);
    try {
        dialog->Create();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        dialog->Close();
        return;
    }
    do {
        CommonCpp::XGThread::Yield(true);
        TakeOneMessage(*dialog);
    } while (dialog->GetHwnd() != nullptr && !IsStopRequested());
    // Not under the stop guard: destroying may send messages to the opener's thread, which
    // may be asking for the stop at that moment and must not wait on the guard meanwhile.
    if (dialog->GetHwnd() != nullptr) {
        DestroyWindow(dialog->GetHwnd());
    }
    while (dialog->GetHwnd() != nullptr) {
        TakeOneMessage(*dialog);
    }
    dialog->Close();
}
