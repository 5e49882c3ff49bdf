#include "DataArg_UserInterface.h"

#include "AbstractSource.h"
#include "TwainException.h"

#include <utility>

namespace {

DataArg_UserInterface::ChooserRunner& ChooserRunnerSlot() {
    static DataArg_UserInterface::ChooserRunner runner;
    return runner;
}

} // namespace

DataArg_UserInterface::DataArg_UserInterface() = default;

DataArg_UserInterface::~DataArg_UserInterface() {
    try {
        CloseAllDialogs();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
}

bool DataArg_UserInterface::IsDat(TW_UINT16 dat) const {
    return dat == DAT_USERINTERFACE;
}

TW_UINT16 DataArg_UserInterface::MsgDisableDS(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    if (AbstractSource* source = AbstractSource::Instance()) {
        source->SetState(4);
    }
    CloseAllDialogs();
    return TWRC_SUCCESS;
}

void DataArg_UserInterface::CloseAllDialogs() {
    EndProgress();
    CloseWarning();
    CloseChooserDialog();
    CloseAcquireJobsDialog();
    CloseLoginDialog();
    CloseGuilessAcquire();
}

void DataArg_UserInterface::EndProgressIfShown() {
    if (IsProgressShown()) {
        EndProgress();
    }
}

int DataArg_UserInterface::RunChooserDialogModal() {
    if (const ChooserRunner& runner = ChooserRunnerSlot()) {
        return runner();
    }
    // No chooser window yet: the user is taken to have cancelled.
    return 2;
}

void DataArg_UserInterface::SetChooserRunner(ChooserRunner runner) {
    ChooserRunnerSlot() = std::move(runner);
}
