#include "SendMediatorInitiater.h"

#include <string>

#include "ScanAttributeWrapper.h"
#include "Scanner.h"
#include "SendMediatorClient.h"

SendMediatorInitiater::~SendMediatorInitiater() = default;

void SendMediatorInitiater::ApplyMailboxDestination() {
    if (!m_client) {
        return;
    }
    if (m_client->IsMailboxSelected()) {
        m_attributes->AddMailboxDestination();
        std::string id;
        m_scanner->GetAuthID(m_client->GetMailboxName(), id);
        m_attributes->SetMailbox(id);
    } else if (m_client->IsSaveToDiskSelected()) {
        m_attributes->AddMailboxDestination();
        m_attributes->SetMailbox(std::string());
    }
}

void SendMediatorInitiater::ApplyHoldQueueDestination() {
    if (m_client && m_client->IsHoldQueueSelected()) {
        m_attributes->AddHoldQueueDestination();
    }
}

void SendMediatorInitiater::ApplyEmailDestination() {
    if (!m_client || !m_client->IsEmailSelected()) {
        return;
    }
    ApplySender();
    AddEmail();
}

void SendMediatorInitiater::ApplyFtpDestination() {
    if (m_client && m_client->IsFtpSelected()) {
        AddFtp();
    }
}

void SendMediatorInitiater::ApplyInternetFaxDestination() {
    if (m_client && m_client->IsInternetFaxSelected()) {
        AddInternetFax();
    }
}
