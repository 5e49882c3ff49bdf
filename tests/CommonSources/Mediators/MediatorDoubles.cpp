// Out-of-line parts of the client doubles.

#include "RecordingAcquireJobsClient.h"
#include "ScriptedFtpDestination.h"
#include "ScriptedInitiateClient.h"
#include "ScriptedSendClient.h"
#include "zylImageFile.h"

ScriptedInitiateClient::~ScriptedInitiateClient() = default;
ScriptedSendClient::~ScriptedSendClient() = default;
ScriptedFtpDestination::~ScriptedFtpDestination() = default;
RecordingAcquireJobsClient::~RecordingAcquireJobsClient() = default;

void RecordingAcquireJobsClient::OnJobReady(zylImageFile* job) {
    ready.push_back({job, job ? job->GetStartPage() : std::int16_t(0),
                     job ? job->GetNumPagesLeftToXfer() : std::int16_t(0)});
}
