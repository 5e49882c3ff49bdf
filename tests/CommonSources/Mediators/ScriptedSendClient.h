#pragma once
// A Send window for mediator tests: the destinations and settings come from answers a test
// fills; nothing is chosen until it does.

#include <string>

#include "EmailMsg.h"
#include "FTPDestinationInfo.h"
#include "SendMediatorClient.h"

struct SendAnswers {
    bool holdQueue = false;
    bool mailbox = false;
    bool saveToDisk = false;
    bool email = false;
    bool ftp = false;
    bool internetFax = false;
    std::string fileName;
    std::string pages;
    std::string mailboxName;
    std::string emailFileFormat;
    EmailMsg emailMessage;
    bool sendAsUrl = false;
    FTPDestinationInfo ftpDestination;
    std::string ftpFileFormat;
    EmailMsg internetFaxMessage;
};

class ScriptedSendClient : public SendMediatorClient {
public:
    SendAnswers answers;

    ScriptedSendClient() = default;
    explicit ScriptedSendClient(const SendAnswers& given) : answers(given) {}
    ~ScriptedSendClient() override;

    bool IsHoldQueueSelected() override { return answers.holdQueue; }
    bool IsMailboxSelected() override { return answers.mailbox; }
    bool IsSaveToDiskSelected() override { return answers.saveToDisk; }
    bool IsEmailSelected() override { return answers.email; }
    bool IsFtpSelected() override { return answers.ftp; }
    bool IsInternetFaxSelected() override { return answers.internetFax; }
    std::string GetFileName() override { return answers.fileName; }
    std::string GetPages() override { return answers.pages; }
    std::string GetMailboxName() override { return answers.mailboxName; }
    std::string GetEmailFileFormat() override { return answers.emailFileFormat; }
    EmailMsg GetEmailMessage() override { return answers.emailMessage; }
    bool IsSendAsUrl() override { return answers.sendAsUrl; }
    FTPDestinationInfo GetFtpDestination() override { return answers.ftpDestination; }
    std::string GetFtpFileFormat() override { return answers.ftpFileFormat; }
    EmailMsg GetInternetFaxMessage() override { return answers.internetFaxMessage; }
    // As the Send window decides it: any of the six boxes.
    bool IsAnyDestinationSelected() override {
        return answers.holdQueue || answers.mailbox || answers.saveToDisk || answers.email ||
               answers.ftp || answers.internetFax;
    }
};
