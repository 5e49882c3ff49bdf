#pragma once
// Destinations of a job still to be scanned: no page selection; a mailbox on the server, or
// the empty mailbox that a save to the user's disk fetches from.

#include "SendMediator.h"

class SendMediatorInitiater : public SendMediator {
public:
    using SendMediator::SendMediator;
    ~SendMediatorInitiater() override;

    void ApplyMailboxDestination() override;
    void ApplyHoldQueueDestination() override;
    void ApplyEmailDestination() override;
    void ApplyFtpDestination() override;
    void ApplyInternetFaxDestination() override;
};
