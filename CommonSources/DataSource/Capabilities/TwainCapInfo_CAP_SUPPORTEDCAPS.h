#pragma once
// CAP_SUPPORTEDCAPS: the capabilities the source serves now: of those the source may name, each
// whose handler answers some message on this server.

#include "TwainCapInfo.h"

#include <functional>

class TwainCapInfo_CAP_SUPPORTEDCAPS : public TwainCapInfo {
public:
    TwainCapInfo_CAP_SUPPORTEDCAPS();
    ~TwainCapInfo_CAP_SUPPORTEDCAPS() override;

    TW_UINT16 Get(TW_CAPABILITY& capability) override;
    TW_UINT16 GetCurrent(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }
    TW_UINT16 GetDefault(TW_CAPABILITY& capability) override { return GetCurrentAsGet(capability); }

    // What MSG_QUERYSUPPORT answers for a capability id; without it every id the source may
    // name is listed.
    void SetOperationsOf(std::function<TW_INT32(TW_UINT16)> operationsOf);
    TW_INT32 GetSupportedOperations() const override;

private:
    std::function<TW_INT32(TW_UINT16)> m_operationsOf;
};
