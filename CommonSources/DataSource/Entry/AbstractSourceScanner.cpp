// AbstractSource: the operations that need the scan session's own type. Until the session
// type is part of the build the source has no scan session and never counts as connected.

#include "AbstractSource.h"

void AbstractSource::DeleteScanner() {
    m_state->scanner = nullptr;
}

bool AbstractSource::IsScannerConnected() {
    return false;
}

Scanner* AbstractSource::MakeUnconnectedScanner() {
    return nullptr;
}

void AbstractSource::MakeConnectedScanner(const std::string&, const std::string&) {}

void AbstractSource::LoadFromConnectedScanner() {
    m_state->feederAvailable = 0;
    m_state->duplex = 0;
    m_state->feederEnabled = 0;
    m_state->undefinedImageSize = 0;
    m_state->automaticBorderDetection = 0;
}

TW_UINT16 AbstractSource::GetScannerPagesLeft() {
    return 0;
}
