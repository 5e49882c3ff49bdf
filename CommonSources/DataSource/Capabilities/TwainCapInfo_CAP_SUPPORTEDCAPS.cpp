#include "TwainCapInfo_CAP_SUPPORTEDCAPS.h"

#include "TW_ARRAY_UINT16.h"

#include <utility>

TwainCapInfo_CAP_SUPPORTEDCAPS::TwainCapInfo_CAP_SUPPORTEDCAPS()
    : TwainCapInfo(FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_CAP_SUPPORTEDCAPS::~TwainCapInfo_CAP_SUPPORTEDCAPS() = default;

TW_INT32 TwainCapInfo_CAP_SUPPORTEDCAPS::GetSupportedOperations() const {
    return TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
}

void TwainCapInfo_CAP_SUPPORTEDCAPS::SetOperationsOf(
    std::function<TW_INT32(TW_UINT16)> operationsOf) {
    m_operationsOf = std::move(operationsOf);
}

TW_UINT16 TwainCapInfo_CAP_SUPPORTEDCAPS::Get(TW_CAPABILITY& capability) {
    const CapSupport::ValueList candidates = Source().GetSupportedCaps();
    CapSupport::ValueList served;
    for (std::uint32_t i = 0; i < candidates.GetCount(); ++i) {
        const TW_UINT16 id = candidates.GetAt(i);
        if (!m_operationsOf || m_operationsOf(id) != 0) {
            served.Append(id);
        }
    }
    return Answer(capability, CommonTwain::TW_ARRAY_UINT16(served));
}
