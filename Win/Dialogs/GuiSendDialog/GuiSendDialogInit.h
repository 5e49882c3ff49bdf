#pragma once
// The Send window for a scan still to be initiated: the file name is free, a mailbox and a
// save to disk exclude each other (the scan goes to one mailbox for either), Internet fax
// follows the initiate pane's choice, and the formats follow the scan's colour mode.

#include "GuiSendDialog.h"

class GuiSendDialogInit : public GuiSendDialog {
public:
    // internetFax: the initiate pane's "Internet Fax" box.
    GuiSendDialogInit(GuiWindowsDialog* owner, ScanAttributeWrapper* attributes, Scanner* scanner,
                      ScanPreferences* preferences, SendMediator* mediator, bool internetFax);
    ~GuiSendDialogInit() override;

    void SetupMailbox() override;
    void SetupFaxDestination() override;
    void OnInternetFaxCheck() override;
    void StoreSelections() override;
    void UpdateSendButton() override;
    void SelectDefaultFormats(PopupButton& picker, const std::string& preferred,
                              bool allowRaw) override;

private:
    bool m_internetFax;
};
