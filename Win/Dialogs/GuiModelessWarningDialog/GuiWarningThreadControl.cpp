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

GuiWarningThreadControl::GuiWarningThreadControl(const std::string& text) : m_text(text) {}

GuiWarningThreadControl::~GuiWarningThreadControl() {
    StopThread();
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
