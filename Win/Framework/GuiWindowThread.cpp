#include "GuiWindowThread.h"

#include "Exception.h"
#include "GuiWindowsDialog.h"
#include "MessageWaits.h"

GuiWindowThread::GuiWindowThread()
    : CommonCpp::Runnable(nullptr, 0, true),
      m_readyEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    if (m_readyEvent == nullptr) {
        throw CommonCpp::Exception(__FILE__, __LINE__);
    }
}

GuiWindowThread::~GuiWindowThread() {
    CloseHandle(m_readyEvent);
}

void GuiWindowThread::StopThread() {
    RequestStop();
    if (GetHandle() != nullptr) {
        Resume();
        GuiWindowsDialog::WaitWithMessages(GetHandle());
        CloseThreadHandle();
    }
}

void GuiWindowThread::RequestStop() {
    CommonCpp::Runnable::RequestStop();
    if (GetId() != 0) {
        PostThreadMessageA(GetId(), WM_NULL, 0, 0);
    }
}

bool GuiWindowThread::StartAndWait() {
    AddRef();
    Resume();
    return MessageWaits::WaitForReadyOrEnd(m_readyEvent, GetHandle());
}
