// AbstractSource: the operations that need the scan session's own type.

#include "AbstractSource.h"

#include "DataArg_UserInterface.h"
#include "ScanCommandIntf.h"
#include "ScanServerCapabilities.h"
#include "Scanner.h"
#include "TW_Fix32.h"
#include "zylImageFile.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> ColorModes(const ScanServerCapabilities& capabilities) {
    std::vector<std::string> modes;
    for (int32_t i = 0; i < capabilities.GetColorModeCount(); ++i) {
        modes.push_back(capabilities.GetColorModeValueAt(i));
    }
    return modes;
}

std::vector<std::string> Orientations(const ScanServerCapabilities& capabilities) {
    std::vector<std::string> orientations;
    if (capabilities.IsOrientationEnabled()) {
        for (int32_t i = 0; i < capabilities.GetOrientationCount(); ++i) {
            orientations.push_back(capabilities.GetOrientationValueAt(i));
        }
    }
    return orientations;
}

} // namespace

void AbstractSource::DeleteScanner() {
    m_state->scanner.reset();
}

bool AbstractSource::IsScannerConnected() {
    return m_state->scanner && m_state->scanner->IsConnected();
}

Scanner* AbstractSource::GetScanner() {
    if (!m_state->scanner) {
        m_state->scanner =
            std::make_unique<Scanner>(GetQuorvelWrapper(), GetUserInterfaceHandler());
    }
    return m_state->scanner.get();
}

void AbstractSource::MakeConnectedScanner(const std::string& address,
                                          const std::string& displayName) {
    m_state->scanner = std::make_unique<Scanner>(GetQuorvelWrapper(), GetUserInterfaceHandler(),
                                                 address, displayName);
}

void AbstractSource::LoadFromConnectedScanner() {
    Scanner& scanner = *m_state->scanner;
    scanner.StartNotifications();
    const ScanServerCapabilities& capabilities = *scanner.GetServerCapabilities();
    DataArg_Resolution& resolution = m_state->resolution;
    resolution.LoadFromServer(capabilities);
    LoadPixelTypes(ColorModes(capabilities), capabilities.GetColorModeCurrentIndex());
    LoadPhysicalSizes(resolution.GetMax(DataArg_Resolution::kAxisX),
                      resolution.GetMax(DataArg_Resolution::kAxisY));
    LoadOrientations(Orientations(capabilities), capabilities.GetOrientationCurrentIndex());
    m_state->feederAvailable = capabilities.SupportsAdf() ? 1 : 0;
    // CAP_DUPLEX reports the document feeder.
    m_state->duplex = m_state->feederAvailable;
    m_state->duplexEnabled = 0;
    m_state->feederEnabled = 0;
    m_state->undefinedImageSize = 0;
    m_state->automaticBorderDetection = 0;
}

TW_UINT16 AbstractSource::GetScannerPagesLeft() {
    // A count is only read: making a scanner here would clear the server-down flag.
    if (!m_state->scanner) {
        return 0;
    }
    ScanCommandIntf* const command = m_state->scanner->GetScanCommand();
    if (command == nullptr) {
        return 0;
    }
    const TW_INT16 left = command->GetPagesLeft();
    return left > 0 ? static_cast<TW_UINT16>(left) : 0;
}

zylImageFile* AbstractSource::GetCurrentPageImage() {
    // Making a session here would clear the server-down flag.
    if (!m_state->scanner) {
        return nullptr;
    }
    ScanCommandIntf* const command = m_state->scanner->GetScanCommand();
    return command != nullptr ? command->GetImageFile() : nullptr;
}

bool AbstractSource::GetPageResolution(int axis, double& dpi) {
    zylImageFile* const page = GetCurrentPageImage();
    if (page == nullptr) {
        return false;
    }
    dpi = CommonTwain::Fix32ToDouble(axis == DataArg_Resolution::kAxisY ? page->GetYResolution()
                                                                        : page->GetXResolution());
    return true;
}

bool AbstractSource::IsDeviceOnline() {
    // The session stays until a triplet meets the lost server; the device is gone before that.
    Scanner* const scanner = m_state->scanner.get();
    return scanner != nullptr && scanner->IsConnected() && !scanner->IsServerDown();
}

ScanServerCapabilities& AbstractSource::GetServerCapabilities() {
    return *GetScanner()->GetServerCapabilities();
}
