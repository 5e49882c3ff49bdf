#pragma once
// DAT_USERINTERFACE and the one owner of the data source's windows. For now it holds no
// window: the server chooser answers Cancel, and the window operations keep the empty bodies
// of UserInterfaceBase.

#include "UserInterfaceBase.h"

#include <functional>

class DataArg_UserInterface : public UserInterfaceBase {
public:
    DataArg_UserInterface();
    ~DataArg_UserInterface() override;

    bool IsDat(TW_UINT16 dat) const override;
    // Accepted in any state: closes every window and returns to state 4.
    TW_UINT16 MsgDisableDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;

    virtual void CloseAllDialogs();
    virtual void EndProgressIfShown();

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
    bool m_loginCancelled = false;
};
