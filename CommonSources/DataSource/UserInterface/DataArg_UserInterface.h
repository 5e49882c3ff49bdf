#pragma once
// DAT_USERINTERFACE and the one owner of the data source's windows. For now it holds no
// window: the server chooser answers Cancel, and the window operations keep the empty bodies
// of UserInterfaceBase. The acquisition's own state (close request, page done, pages to hand
// over) and the messages to the application already work without windows.

#include "UserInterfaceBase.h"

#include <cstdint>
#include <functional>

class DataArg_UserInterface : public UserInterfaceBase {
public:
    DataArg_UserInterface();
    ~DataArg_UserInterface() override;

    bool IsDat(TW_UINT16 dat) const override;
    // Accepted in any state: closes every window and returns to state 4.
    TW_UINT16 MsgDisableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    // Enabling needs the acquire window or the window-less acquire path, which this build does
    // not have yet: both refuse (TWCC_BADPROTOCOL) rather than report an enable that never comes.
    TW_UINT16 MsgEnableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgEnableDSUIOnly(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

    virtual void CloseAllDialogs();
    virtual void EndProgressIfShown();
    // Whether the progress window is up. No progress window exists yet, so none is ever shown
    // and a failed triplet leaves the acquisition's page state alone.
    bool IsProgressShown() override;

    // The close request: set when the acquisition is to end (the window closed, the user
    // stopped); page reads stop at it and the next finished page asks the application to close.
    bool IsCloseRequested() override;
    void RequestClose() override;
    void ClearCloseRequest() override;
    // Ends one page. The progress window joins here once it exists; for now the page is done
    // once no page is left to hand over.
    void EndProgress() override;
    // MSG_XFERREADY (state 6) and MSG_CLOSEDSREQ (state 6 from 7) through the source manager,
    // each marked pending at the source first, so that DAT_EVENT reports it too.
    void NotifyTransferReady() override;
    void NotifyCloseRequest() override;
    bool IsPageDone() override;
    void SetPageDone(bool done) override;

    // The pages still to be handed over in this acquisition.
    void SetTotalPageToAcquire(int32_t pages) override;
    virtual bool HasPagesDone();
    virtual void CountPage();

    // The server chooser, run modally while a source opens: 1 when the user chose a server
    // whose log-in went through and the source is connected, else 2. Until the chooser window
    // exists it answers 2, as a cancelled chooser does.
    int RunChooserDialogModal();
    // While set, runs in place of the chooser window and gives its answer, so that a test
    // never meets a modal window; an empty runner brings the window back.
    using ChooserRunner = std::function<int()>;
    static void SetChooserRunner(ChooserRunner runner);
    // Set when the last log-in prompt did not end with OK.
    bool GetUiStateFlag() const { return m_loginCancelled; }

private:
    // Sends one DAT_NULL message to the application; false when the source manager is missing.
    bool SendToApplication(TW_UINT16 message);

    bool m_loginCancelled = false;
    bool m_closeRequested = false;
    bool m_pageDone = true;
    int32_t m_pageCounter = 0;
};
