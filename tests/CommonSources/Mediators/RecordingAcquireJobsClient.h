#pragma once
// An acquire window for mediator tests: keeps every job handed to it, with the job's start
// page and pages left at the moment it came.

#include <cstdint>
#include <vector>

#include "AcquireJobsMediatorClient.h"

class RecordingAcquireJobsClient : public AcquireJobsMediatorClient {
public:
    struct ReadyJob {
        zylImageFile* job;
        std::int16_t startPage;
        std::int16_t pagesLeft;
    };

    ~RecordingAcquireJobsClient() override;

    void OnJobReady(zylImageFile* job) override;

    std::vector<ReadyJob> ready;
};
