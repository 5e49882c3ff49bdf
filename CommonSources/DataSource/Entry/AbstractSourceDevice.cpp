// AbstractSource: orientation and duplex values.

#include "AbstractSource.h"

#include "TwainException.h"

namespace {

bool Contains(const CapSupport::ValueList& list, TW_UINT16 value) {
    for (std::uint32_t i = 0; i < list.GetCount(); ++i) {
        if (list.GetAt(i) == value) {
            return true;
        }
    }
    return false;
}

} // namespace

// ICAP_ORIENTATION: orientationsSupported are the server's, orientationsAvailable what the
// application allows of them.

void AbstractSource::SetOrientationEnumeration(const ValueList& values) {
    ValueList allowed;
    for (std::uint32_t i = 0; i < values.GetCount(); ++i) {
        if (Contains(m_state->orientationsSupported, values.GetAt(i))) {
            allowed.Append(values.GetAt(i));
        }
    }
    if (allowed.GetCount() == 0) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
    }
    m_state->orientationsAvailable = allowed;
}

CapSupport::ValueList AbstractSource::GetOrientationAvailable() const {
    return m_state->orientationsSupported;
}

void AbstractSource::SetOrientationCurrent(TW_UINT16 value) {
    if (!Contains(m_state->orientationsSupported, value)) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
    }
    m_state->orientationCurrent = value;
}

TW_UINT16 AbstractSource::GetOrientationCurrent() const {
    return m_state->orientationCurrent;
}

// CAP_DUPLEX, CAP_DUPLEXENABLED

TW_UINT16 AbstractSource::GetDuplex() const {
    return m_state->duplex;
}

TW_UINT16 AbstractSource::GetDuplexEnabled() const {
    return m_state->duplexEnabled;
}

void AbstractSource::SetDuplexEnabled(TW_UINT16 value) {
    m_state->duplexEnabled = value;
}
