#include "DataArg_UserInterface.h"

#include "AbstractSource.h"
#include "DataArg_Identity.h"
#include "TwainException.h"

#include <windows.h>

#include <utility>

namespace {

// A library loaded for the length of a scope.
class LoadedModule {
public:
    explicit LoadedModule(const char* name) : m_module(LoadLibraryA(name)) {}
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule() {
        if (m_module) {
            FreeLibrary(m_module);
        }
    }

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

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

TW_UINT16 DataArg_UserInterface::MsgEnableDS(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
}

TW_UINT16 DataArg_UserInterface::MsgEnableDSUIOnly(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    throw TwainException(__FILE__, __LINE__, TWCC_BADPROTOCOL);
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

bool DataArg_UserInterface::IsProgressShown() {
    return false;
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

bool DataArg_UserInterface::IsCloseRequested() {
    return m_closeRequested;
}

void DataArg_UserInterface::RequestClose() {
    m_closeRequested = true;
    m_pageDone = true;
    m_pageCounter = 0;
}

void DataArg_UserInterface::ClearCloseRequest() {
    m_closeRequested = false;
}

void DataArg_UserInterface::EndProgress() {
    // The progress window, which counts the page off, and the acquire window's end of the
    // transfer join here with the windows.
    if (m_pageCounter == 0) {
        m_pageDone = true;
    }
}

bool DataArg_UserInterface::IsPageDone() {
    return m_pageDone;
}

void DataArg_UserInterface::SetPageDone(bool done) {
    m_pageDone = done;
}

void DataArg_UserInterface::SetTotalPageToAcquire(int32_t pages) {
    m_pageCounter = pages;
}

bool DataArg_UserInterface::HasPagesDone() {
    return m_pageCounter > 0;
}

void DataArg_UserInterface::CountPage() {
    ++m_pageCounter;
}

void DataArg_UserInterface::NotifyTransferReady() {
    m_pageDone = false;
    if (AbstractSource* source = AbstractSource::Instance()) {
        source->SetTransferReadyPending(true);
    }
    try {
        if (SendToApplication(MSG_XFERREADY)) {
            if (AbstractSource* source = AbstractSource::Instance()) {
                source->SetState(6);
            }
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        m_pageDone = true;
    }
}

void DataArg_UserInterface::NotifyCloseRequest() {
    if (AbstractSource* source = AbstractSource::Instance()) {
        source->SetCloseRequestPending(true);
    }
    try {
        if (SendToApplication(MSG_CLOSEDSREQ)) {
            AbstractSource* source = AbstractSource::Instance();
            if (source && source->GetState() == 7) {
                source->SetState(6);
            }
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
}

bool DataArg_UserInterface::SendToApplication(TW_UINT16 message) {
    AbstractSource* const source = AbstractSource::Instance();
    if (!source) {
        return false;
    }
    DataArg_Identity* const identities = source->GetIdentityArg();
    // The source manager is looked up anew for every message: the application may have
    // loaded another one meanwhile.
    const LoadedModule manager("TWAIN_32.DLL");
    if (!manager.Get()) {
        return false;
    }
    // Through a plain pointer: the export's type is known only by its name.
    const auto entry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(manager.Get(), "DSM_Entry")));
    if (!entry) {
        return false;
    }
    entry(identities->GetSourceIdentity(), identities->GetApplicationIdentity(), DG_CONTROL,
          DAT_NULL, message, nullptr);
    return true;
}
