#include "SendMediator.h"

#include "EmailMsg.h"
#include "FTPDestinationInfo.h"
#include "ScanAttributeWrapper.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "SendMediatorClient.h"
#include "zylImageFile.h"

SendMediator::SendMediator(ScanAttributeWrapper* attributes, Scanner* scanner,
                           ScanPreferences* preferences)
    : m_attributes(attributes), m_preferences(preferences), m_scanner(scanner) {}

SendMediator::~SendMediator() = default;

void SendMediator::SetClient(SendMediatorClient* client) {
    m_client = client;
}

void SendMediator::ApplyFileName() {
    if (!m_client) {
        return;
    }
    const std::string name = m_client->GetFileName();
    if (!name.empty()) {
        m_attributes->SetFileName(name);
    }
}

void SendMediator::ApplyFtpSettings() {
    if (!m_client || !m_client->IsFtpSelected()) {
        return;
    }
    const FTPDestinationInfo ftp = m_client->GetFtpDestination();
    m_attributes->SetFtpServer(ftp.GetServer());
    if (!ftp.GetPath().empty()) {
        m_attributes->SetFtpRemoteDir(ftp.GetPath());
    }
    if (!ftp.GetPort().empty()) {
        m_attributes->SetFtpPort(ftp.GetPort());
    }
    if (!ftp.GetTimeout().empty()) {
        m_attributes->SetFtpTimeout(ftp.GetTimeout());
    }
    if (!ftp.IsAnonymousLogin() && !ftp.GetUserName().empty()) {
        m_attributes->SetFtpUser(ftp.GetUserName());
        m_attributes->SetFtpPassword(ftp.GetPassword());
    }
    // A proxy without an address is no proxy, whatever else its fields hold.
    if (ftp.IsProxyEnabled() && !ftp.GetProxyAddress().empty()) {
        m_attributes->SetProxyFtpServer(ftp.GetProxyAddress());
        if (!ftp.GetProxyPort().empty()) {
            m_attributes->SetProxyFtpPort(ftp.GetProxyPort());
        }
        if (!ftp.GetProxyUserName().empty()) {
            m_attributes->SetProxyFtpUser(ftp.GetProxyUserName());
            m_attributes->SetProxyFtpPassword(ftp.GetProxyPassword());
        }
    }
}

void SendMediator::Send() {
    if (!m_client || !m_client->IsAnyDestinationSelected()) {
        return;
    }
    // The attributes stay; only a list exported from them earlier goes.
    m_attributes->FreeServerList();
    ApplyFileName();
    ApplyHoldQueueDestination();
    ApplyMailboxDestination();
    ApplyEmailDestination();
    ApplyFtpDestination();
    ApplyInternetFaxDestination();
}

bool SendMediator::IsEmailSupported() {
    return m_scanner->GetServerCapabilities()->CanScanToEmail();
}

bool SendMediator::IsMailAllowUrls() {
    return m_scanner->GetServerCapabilities()->IsMailAllowUrls();
}

bool SendMediator::IsFtpSupported() {
    return m_scanner->GetServerCapabilities()->CanScanToFtp();
}

bool SendMediator::IsHoldQueueSupported() {
    return m_scanner->GetServerCapabilities()->CanScanToHoldQueue();
}

bool SendMediator::IsInternetFaxSupported() {
    return m_scanner->GetServerCapabilities()->CanScanToEmFax();
}

bool SendMediator::IsMailboxNameSupported() {
    return m_scanner->GetServerCapabilities()->IsStringMailboxNamesEnabled();
}

std::string SendMediator::GetCurrentImageName() {
    const zylImageFile* const image = m_scanner->GetCurrentImageFile();
    return image ? image->GetName() : std::string();
}

int32_t SendMediator::GetFileFormatCount() {
    return m_scanner->GetServerCapabilities()->GetFileFormatCount();
}

int32_t SendMediator::GetFileFormatAt() {
    return m_scanner->GetServerCapabilities()->GetFileFormatCurrentIndex();
}

std::string SendMediator::GetFileFormatName(int32_t index) {
    return m_scanner->GetServerCapabilities()->GetFileFormatValueAt(index);
}

ScanPreferences* SendMediator::GetPreferences() {
    return m_preferences;
}

ScanAttributeWrapper* SendMediator::GetJobAttributes() {
    return m_attributes;
}

Scanner* SendMediator::GetScanner() {
    return m_scanner;
}

bool SendMediator::GetMailFromMode() {
    const ScanServerCapabilities* const capabilities = m_scanner->GetServerCapabilities();
    return capabilities->IsMailFromSupported() && capabilities->IsMailFromEnabled() &&
           capabilities->IsCorpMailFromEnabled();
}

int32_t SendMediator::GetDefaultFileFormat() {
    return m_scanner->GetServerCapabilities()->GetDefaultFormatCurrentIndex();
}

std::string SendMediator::GetCurrentImageInfo() {
    const zylImageFile* const image = m_scanner->GetCurrentImageFile();
    return image ? image->GetDefaultFormat() : std::string();
}

void SendMediator::ApplySender() {
    if (!GetMailFromMode()) {
        return;
    }
    std::string displayName;
    std::string mailAddress;
    if (m_scanner->GetUserMailInfo(displayName, mailAddress)) {
        m_attributes->SetMailFrom(mailAddress);
        m_attributes->SetMailFromDisplayName(displayName);
    }
}

int SendMediator::AddEmail() {
    const int n = m_attributes->AddEmailDestination();
    m_attributes->SetDestinationFormat(n, m_client->GetEmailFileFormat());
    m_attributes->SetEmailMessage(m_client->GetEmailMessage());
    m_attributes->SetMailForceUrl(m_client->IsSendAsUrl());
    m_attributes->SetMailEncoding();
    return n;
}

int SendMediator::AddFtp() {
    const int n = m_attributes->AddFtpDestination();
    m_attributes->SetDestinationFormat(n, m_client->GetFtpFileFormat());
    ApplyFtpSettings();
    return n;
}

int SendMediator::AddInternetFax() {
    const int n = m_attributes->AddEmFaxDestination();
    // The server faxes only TIFF, whatever the other destinations get.
    m_attributes->SetDestinationFormat(n, "TIFF");
    m_attributes->SetEmFaxEncoding();
    m_attributes->SetEmFaxMessage(m_client->GetInternetFaxMessage());
    return n;
}
