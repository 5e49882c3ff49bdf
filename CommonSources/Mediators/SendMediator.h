#pragma once
// Turns the destinations chosen in the Send window into numbered destinations of the job's
// attributes ("N_DEST", "DEST:n", "DEST_FORMAT:n", "DEST_PAGE:n" and each kind's settings),
// and answers the window's questions about what the server offers. How each destination is
// written depends on whether the job is stored already (SendMediatorExisting) or still to be
// scanned (SendMediatorInitiater). Every pointer is borrowed.

#include <cstdint>
#include <string>

class ScanAttributeWrapper;
class ScanPreferences;
class Scanner;
class SendMediatorClient;

class SendMediator {
public:
    SendMediator(ScanAttributeWrapper* attributes, Scanner* scanner, ScanPreferences* preferences);
    SendMediator(const SendMediator&) = delete;
    SendMediator& operator=(const SendMediator&) = delete;
    virtual ~SendMediator();

    virtual void SetClient(SendMediatorClient* client);
    virtual void ApplyFileName();
    // The FTP server, its login and proxy; nothing unless FTP is chosen.
    virtual void ApplyFtpSettings();
    // Every chosen destination, numbered on from the attributes' "N_DEST"; nothing at all when
    // none is chosen.
    virtual void Send();
    virtual void ApplyMailboxDestination() = 0;
    virtual void ApplyHoldQueueDestination() = 0;
    virtual void ApplyEmailDestination() = 0;
    virtual void ApplyFtpDestination() = 0;
    virtual void ApplyInternetFaxDestination() = 0;

    virtual bool IsEmailSupported();
    virtual bool IsMailAllowUrls();
    virtual bool IsFtpSupported();
    virtual bool IsHoldQueueSupported();
    virtual bool IsInternetFaxSupported();
    virtual bool IsMailboxNameSupported();
    // Empty when the scanner has no current image file.
    virtual std::string GetCurrentImageName();
    virtual int32_t GetFileFormatCount();
    // The index of the server's current file format.
    virtual int32_t GetFileFormatAt();
    virtual std::string GetFileFormatName(int32_t index);
    virtual ScanPreferences* GetPreferences();
    virtual ScanAttributeWrapper* GetJobAttributes();
    virtual Scanner* GetScanner();
    // The user's own address goes as sender only where the server asks for it.
    virtual bool GetMailFromMode();
    virtual int32_t GetDefaultFileFormat();
    // The current image's default format; empty without a current image file.
    virtual std::string GetCurrentImageInfo();

protected:
    // "MAIL_FROM" and "MAIL_FROM_D" from the user's directory entry, when the server wants a
    // sender and the entry has one.
    void ApplySender();
    // "EMAIL" with its format, message, encoding and URL choice; returns the number.
    int AddEmail();
    // "FTP" with its format and the FTP settings; returns the number.
    int AddFtp();
    // "EMFAX" as TIFF with its encoding and message; returns the number.
    int AddInternetFax();

    ScanAttributeWrapper* m_attributes;
    ScanPreferences* m_preferences;
    Scanner* m_scanner;
    SendMediatorClient* m_client = nullptr;
};
