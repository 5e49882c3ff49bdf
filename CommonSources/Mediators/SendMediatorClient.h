#pragma once
// What a send mediator asks of the Send window: the destinations chosen and their settings.

#include <string>

#include "EmailMsg.h"
#include "FTPDestinationInfo.h"

class SendMediatorClient {
public:
    SendMediatorClient() = default;
    SendMediatorClient(const SendMediatorClient&) = delete;
    SendMediatorClient& operator=(const SendMediatorClient&) = delete;
    virtual ~SendMediatorClient();

    virtual bool IsHoldQueueSelected() = 0;
    virtual bool IsMailboxSelected() = 0;
    virtual bool IsSaveToDiskSelected() = 0;
    virtual bool IsEmailSelected() = 0;
    virtual bool IsFtpSelected() = 0;
    virtual bool IsInternetFaxSelected() = 0;
    // The job's file name; empty keeps the name the job has.
    virtual std::string GetFileName() = 0;
    // The page selection as the server reads it.
    virtual std::string GetPages() = 0;
    virtual std::string GetMailboxName() = 0;
    // Server file-format keywords.
    virtual std::string GetEmailFileFormat() = 0;
    virtual EmailMsg GetEmailMessage() = 0;
    virtual bool IsSendAsUrl() = 0;
    virtual FTPDestinationInfo GetFtpDestination() = 0;
    virtual std::string GetFtpFileFormat() = 0;
    virtual EmailMsg GetInternetFaxMessage() = 0;
    virtual bool IsAnyDestinationSelected() = 0;
};
