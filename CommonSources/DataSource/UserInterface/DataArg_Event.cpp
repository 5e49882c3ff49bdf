#include "DataArg_Event.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "TwainException.h"

#include <windows.h>

DataArg_Event::~DataArg_Event() = default;

bool DataArg_Event::IsDat(TW_UINT16 dat) const {
    return dat == DAT_EVENT;
}

TW_UINT16 DataArg_Event::MsgProcessEvent(pTW_IDENTITY, TW_MEMREF pData) {
    auto* const event = static_cast<TW_EVENT*>(pData);
    if (event == nullptr || event->pEvent == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    TW_UINT16 result = TWRC_NOTDSEVENT;
    DataArg_UserInterface* const ui = AbstractSource::GetUserInterfaceHandler();
    if (ui != nullptr && ui->IsDialogMessage(static_cast<MSG*>(event->pEvent))) {
        result = TWRC_DSEVENT;
    }
    event->TWMessage = MSG_NULL;
    // The notices no source manager took, whether the user interface shows or not; one a call,
    // so that none hides another.
    if (AbstractSource* const source = AbstractSource::Instance()) {
        if (source->IsTransferReadyPending()) {
            source->SetTransferReadyPending(false);
            event->TWMessage = MSG_XFERREADY;
            result = TWRC_DSEVENT;
        } else if (source->IsCloseRequestPending()) {
            source->SetCloseRequestPending(false);
            event->TWMessage = MSG_CLOSEDSREQ;
            result = TWRC_DSEVENT;
        }
        if (ui != nullptr && source->IsCloseRequestPending()) {
            ui->WakeApplication();
        }
    }
    Sleep(1);
    return result;
}
