#pragma once
// What the acquire-jobs mediator asks of the main acquire window.

class zylImageFile;

class AcquireJobsMediatorClient {
public:
    AcquireJobsMediatorClient() = default;
    AcquireJobsMediatorClient(const AcquireJobsMediatorClient&) = delete;
    AcquireJobsMediatorClient& operator=(const AcquireJobsMediatorClient&) = delete;
    virtual ~AcquireJobsMediatorClient();

    // The job is ready for its transfer to the application; it stays the scanner's.
    virtual void OnJobReady(zylImageFile* job) = 0;
};
