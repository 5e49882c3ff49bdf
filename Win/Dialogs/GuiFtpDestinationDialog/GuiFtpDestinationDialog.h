#pragma once
// The FTP destination window (dialog 200): server, path, port, time-out, login and an optional
// proxy. Validate has the server check the fields and shows its answer; OK fills the record
// from the fields and ends with 1, Cancel ends with 2. Validate and OK stay disabled while a
// required field is empty; a port above 65535 or of 0 is corrected as it is typed. A modeless
// child of the Send window, which takes the record back on OK.

#include "FTPDestinationInfo.h"
#include "FtpDestMediator.h"
#include "GuiWindowsDialog.h"

#include <memory>
#include <string>

class EditCtrl;

class GuiFtpDestinationDialog : public GuiWindowsDialog, public FtpDestMediator {
public:
    static constexpr const char* kDefaultPort = "21";
    static constexpr const char* kAnonymousUser = "anonymous";

    // The record is copied; the scanner is borrowed for the server check.
    GuiFtpDestinationDialog(GuiWindowsDialog* owner, const FTPDestinationInfo& destination,
                            Scanner* scanner);
    ~GuiFtpDestinationDialog() override;

    void Close() override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    // This window has no banner.
    void PaintBanner(HDC dc) override;

    virtual void FillServerFields();
    virtual void FillLoginFields();
    virtual void FillProxyFields();
    virtual void OnAnonymousLogin();
    virtual void OnProxyEnable();
    virtual void OnValidate();
    virtual void SaveFieldsAndClose();

    using FtpDestMediator::GetDestinationInfo;
    // The record as OK left it (as given before OK).
    FTPDestinationInfo GetDestinationInfo() const;

    std::string GetServer() override;
    std::string GetPort() override;
    std::string GetPassword() override;
    std::string GetUserName() override;
    std::string GetRemoteDir() override;
    std::string GetProxyServer() override;
    std::string GetProxyPort() override;
    std::string GetProxyUserName() override;
    std::string GetProxyPassword() override;
    std::string GetTimeout() override;
    bool IsAnonymousLogin() override;
    bool IsProxyEnabled() override;

    // True when Validate and OK may be pressed.
    bool UpdateValidateButton();
    void OnUseDefaultPort();
    void OnUseDefaultProxyPort();
    void OnPortChanged();
    void OnProxyPortChanged();

protected:
    // Shows the message of the server's answer; through the user-interface handler.
    virtual void ReportValidation(int resultCode);

private:
    struct Fields;

    void UpdateButtons();
    // A value above 65535 becomes "65535" and "0" becomes "1".
    void CheckPortNumber(EditCtrl& field);
    void UseDefault(int checkId, EditCtrl& field);
    void DetachFields();

    std::unique_ptr<Fields> m_fields;
};
