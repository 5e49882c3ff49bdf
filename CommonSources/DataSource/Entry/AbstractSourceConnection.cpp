// AbstractSource: the known servers, opening and closing, and the connection to a server.

#include "AbstractSource.h"

#include "DataArg_UserInterface.h"
#include "QuorvelWrapperException.h"
#include "ResourceLoader.h"
#include "XGPreferences.h"

namespace {

constexpr int kEstablishingServicesText = 20009;

std::string WaitText(const std::string& displayName) {
    // Only the "%s" is filled: the display name is text the user typed.
    std::string text = ResourceLoader::Instance()->LoadString(kEstablishingServicesText);
    const std::string::size_type at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, displayName);
    }
    return text;
}

} // namespace

void AbstractSource::LoadServerList() {
    if (CommonCpp::XGPreferencesIntf* store = GetPreferences()) {
        m_state->serverList.Load(*store);
    }
}

void AbstractSource::SaveServerList() {
    if (CommonCpp::XGPreferencesIntf* store = GetPreferences()) {
        m_state->serverList.Save(*store);
    }
}

ServerList& AbstractSource::GetServerList() {
    return m_state->serverList;
}

void AbstractSource::SetServerList(const ServerList& list) {
    m_state->serverList = list;
}

int AbstractSource::FindServer(const std::string& nickname) {
    return m_state->serverList.FindByNickname(nickname);
}

int AbstractSource::AddServer(ServerInfo* server) {
    return m_state->serverList.Add(server);
}

ServerInfo* AbstractSource::GetServerAt(int index) {
    return m_state->serverList.GetAt(index);
}

void AbstractSource::SelectServer(int index) {
    m_state->serverList.SetSelectedIndex(index);
}

ServerInfo* AbstractSource::GetSelectedServer() {
    return m_state->serverList.GetSelected();
}

bool AbstractSource::IsOpen() {
    return m_state->open;
}

bool AbstractSource::Open() {
    if (m_state->open) {
        return false;
    }
    LoadServerList();
    Connect(false);
    if (!IsConnected()) {
        DataArg_UserInterface* ui = GetUserInterfaceHandler();
        // A cancelled chooser keeps the source loaded, so the user's next try finds it.
        if (ui != nullptr && ui->RunChooserDialogModal() == 2) {
            m_state->keepLoaded = true;
        }
    }
    m_state->open = IsConnected();
    return m_state->open;
}

bool AbstractSource::Close() {
    if (!m_state->open) {
        return false;
    }
    SaveServerList();
    m_state->open = false;
    Disconnect();
    return true;
}

bool AbstractSource::Connect(bool force) {
    if (!force && IsConnected()) {
        return true;
    }
    ServerList& servers = m_state->serverList;
    if (!force && servers.GetSelectedIndex() == -1) {
        // Nothing chosen yet: a server on this machine is taken silently.
        auto local = std::make_unique<ServerInfo>(false, "localhost", "127.0.0.1", "", false);
        if (InitializeScanner(local.get())) {
            servers.Add(local.release());
        }
        return IsConnected();
    }
    ServerInfo* selected = servers.GetSelected();
    if (!force && selected != nullptr && selected->ipAddress == m_state->lastServerAddress) {
        return false;
    }
    InitializeScanner(selected);
    return IsConnected();
}

bool AbstractSource::InitializeScanner(ServerInfo* server) {
    if (server == nullptr) {
        return IsConnected();
    }
    // Copied: the chooser may replace the list the server belongs to.
    const ServerInfo target(*server);
    m_state->lastServerAddress = target.ipAddress;
    const std::string displayName = target.showNickname ? target.nickname : target.ipAddress;
    DataArg_UserInterface* ui = GetUserInterfaceHandler();
    if (ui != nullptr) {
        ui->ShowWarning(WaitText(displayName));
    }
    try {
        DeleteScanner();
        try {
            MakeConnectedScanner(target.ipAddress, displayName);
        } catch (QuorvelWrapperException& failure) {
            // The silent probe of this machine reports nothing.
            if (target.reportErrors && ui != nullptr) {
                ui->ReportServerError(failure.GetResultCode());
            }
            CommonCpp::NoteException(&failure, __FILE__, __LINE__);
        }
    } catch (...) {
        if (ui != nullptr) {
            ui->CloseWarning();
        }
        throw;
    }
    if (ui != nullptr) {
        ui->CloseWarning();
    }
    if (IsScannerConnected()) {
        LoadFromConnectedScanner();
    }
    return IsConnected();
}

bool AbstractSource::IsConnected() {
    GetScanner();
    return IsScannerConnected();
}

void AbstractSource::Disconnect() {
    if (IsConnected()) {
        DeleteScanner();
    }
}

TW_UINT16 AbstractSource::GetPendingTransferCount() {
    const TW_UINT16 state = GetState();
    return state == 6 || state == 7 ? GetScannerPagesLeft() : 0;
}

void AbstractSource::LoadPixelTypes(const std::vector<std::string>& colorModes, int currentIndex) {
    UInt16Array types;
    TW_UINT16 current = TWPT_BW;
    for (std::size_t i = 0; i < colorModes.size(); ++i) {
        const std::string& mode = colorModes[i];
        TW_UINT16 type;
        if (mode == "COLOR") {
            type = TWPT_RGB;
        } else if (mode == "GRAYSCALE" || mode == "GREYSCALE") {
            type = TWPT_GRAY;
        } else if (mode == "BLACK_WHITE") {
            type = TWPT_BW;
        } else {
            continue;
        }
        types.Append(type);
        // The server's index counts its own entries, skipped ones included.
        if (static_cast<int>(i) == currentIndex && type != TWPT_BW) {
            current = type;
        }
    }
    m_state->pixelTypesAvailable = types;
    m_state->pixelTypesSupported = types;
    m_state->pixelTypeCurrent = current;
    m_state->pixelTypeDefault = current;
}

void AbstractSource::LoadPhysicalSizes(double maxXResolution, double maxYResolution) {
    // One value per ICAP_UNITS value: inches, centimetres, picas, points, twips, pixels.
    static const double kUnitsPerInch[] = {1.0, 2.54, 6.0, 72.0, 1440.0};
    constexpr double kWidthInches = 17.0;
    constexpr double kHeightInches = 11.0;
    // Replaced, not appended to: a reconnect must not leave the first server's values in
    // front of the new ones.
    CommonTwain::SimpleValArray<double> widths;
    CommonTwain::SimpleValArray<double> heights;
    for (double factor : kUnitsPerInch) {
        heights.Append(kHeightInches * factor);
        widths.Append(kWidthInches * factor);
    }
    heights.Append(kHeightInches * maxYResolution);
    widths.Append(kWidthInches * maxXResolution);
    m_state->physicalWidths = widths;
    m_state->physicalHeights = heights;
}

void AbstractSource::LoadOrientations(const std::vector<std::string>& orientations,
                                      int currentIndex) {
    // Replaced, not appended to, for the same reason as the physical sizes; a server that
    // offers no orientation passes none and leaves no other server's values behind.
    UInt16Array values;
    // The server's own choice where it names one it offers, else its first. Its index counts
    // its own entries, skipped ones included.
    std::uint32_t current = 0;
    for (std::size_t i = 0; i < orientations.size(); ++i) {
        TW_UINT16 value;
        if (orientations[i] == "PORTRAIT") {
            value = TWOR_PORTRAIT;
        } else if (orientations[i] == "LANDSCAPE") {
            value = TWOR_LANDSCAPE;
        } else {
            continue;
        }
        if (static_cast<int>(i) == currentIndex) {
            current = values.GetCount();
        }
        values.Append(value);
    }
    m_state->orientationsSupported = values;
    m_state->orientationsAvailable = values;
    m_state->orientationCurrent = values.GetCount() > 0 ? values.GetAt(current) : TWOR_PORTRAIT;
}
