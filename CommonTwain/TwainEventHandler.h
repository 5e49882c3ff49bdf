#pragma once
// What an application hears from an enabled source through TwainWrapper::ProcessEvent.

namespace CommonTwain {

class TwainEventHandler {
public:
    virtual void OnTransferReady() = 0;
    virtual void OnCloseRequest() = 0;
    virtual void OnCloseOk() = 0;

protected:
    // Never deleted through the interface.
    ~TwainEventHandler() = default;
};

} // namespace CommonTwain
