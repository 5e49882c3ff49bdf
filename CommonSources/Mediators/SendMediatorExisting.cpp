#include "SendMediatorExisting.h"

#include "ScanAttributeWrapper.h"
#include "SendMediatorClient.h"

SendMediatorExisting::~SendMediatorExisting() = default;

void SendMediatorExisting::ApplyMailboxDestination() {}

void SendMediatorExisting::ApplyHoldQueueDestination() {
    if (!m_client || !m_client->IsHoldQueueSelected()) {
        return;
    }
    const int n = m_attributes->AddHoldQueueDestination();
    m_attributes->SetDestinationPage(n, m_client->GetPages());
}

void SendMediatorExisting::ApplyEmailDestination() {
    if (!m_client || !m_client->IsEmailSelected()) {
        return;
    }
    ApplySender();
    const int n = AddEmail();
    m_attributes->SetDestinationPage(n, m_client->GetPages());
}

void SendMediatorExisting::ApplyFtpDestination() {
    if (!m_client || !m_client->IsFtpSelected()) {
        return;
    }
    const int n = AddFtp();
    m_attributes->SetDestinationPage(n, m_client->GetPages());
}

void SendMediatorExisting::ApplyInternetFaxDestination() {
    if (!m_client || !m_client->IsInternetFaxSelected()) {
        return;
    }
    const int n = AddInternetFax();
    m_attributes->SetDestinationPage(n, m_client->GetPages());
}
