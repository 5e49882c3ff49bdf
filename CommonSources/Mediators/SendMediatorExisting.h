#pragma once
// Destinations of a job stored on the server: each carries the page selection; the job is not
// filed in a mailbox again.

#include "SendMediator.h"

class SendMediatorExisting : public SendMediator {
public:
    using SendMediator::SendMediator;
    ~SendMediatorExisting() override;

    void ApplyMailboxDestination() override;
    void ApplyHoldQueueDestination() override;
    void ApplyEmailDestination() override;
    void ApplyFtpDestination() override;
    void ApplyInternetFaxDestination() override;
};
