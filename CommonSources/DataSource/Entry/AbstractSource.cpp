#include "AbstractSource.h"

#include "AudioResponder.h"
#include "ControlResponder.h"
#include "CustomCapabilities.h"
#include "DataArg_FileSystem.h"
#include "DataArg_Identity.h"
#include "DataArg_UserInterface.h"
#include "ImageResponder.h"
#include "QuorvelWrapper.h"
#include "QuorvelWrapperException.h"
#include "ServerDownException.h"
#include "TwainException.h"
#include "XGPreferences.h"

#include <windows.h>

#include <new>
#include <stdexcept>

namespace {

AbstractSource* g_currentSource = nullptr;
DataArg_Status* g_statusHandler = nullptr;
DataArg_UserInterface* g_userInterfaceHandler = nullptr;
DataArg_FileSystem* g_fileSystemHandler = nullptr;

// One row per pixel type: current = default = the one allowed = the one supported value.
template <typename Row> Row SingleValueRow(unsigned short value) {
    Row row;
    row.current = value;
    row.defaultValue = value;
    row.allowed.Append(value);
    row.supported.Append(value);
    return row;
}

UInt16Array MakeArray(std::initializer_list<unsigned short> values) {
    UInt16Array array;
    for (unsigned short value : values) {
        array.Append(value);
    }
    return array;
}

} // namespace

AbstractSource::AbstractSource(bool fullSource)
    : m_fullSource(fullSource), m_state(std::make_unique<SourceState>()) {
    try {
        Build();
    } catch (...) {
        // No destructor runs for a source that failed half-built: the process-wide
        // pointers must not keep pointing into it.
        ClearProcessHandlers();
        throw;
    }
}

void AbstractSource::ClearProcessHandlers() {
    if (g_statusHandler == &m_state->status) {
        g_statusHandler = nullptr;
    }
    if (g_userInterfaceHandler == m_userInterface.get()) {
        g_userInterfaceHandler = nullptr;
    }
    if (g_fileSystemHandler == m_fileSystem.get()) {
        g_fileSystemHandler = nullptr;
    }
}

void AbstractSource::Build() {
    g_statusHandler = &m_state->status;
    g_currentSource = nullptr;

    CreatePreferences();

    if (m_fullSource) {
        m_state->scanPreferences.SetStore(m_state->preferences.get());
        GetQuorvelWrapper();
        m_fileSystem = std::make_unique<DataArg_FileSystem>(*this);
        g_fileSystemHandler = m_fileSystem.get();
        m_userInterface = std::make_unique<DataArg_UserInterface>();
        g_userInterfaceHandler = m_userInterface.get();
    }

    SourceState& state = *m_state;
    SetTransferMechanismDefaults();
    SetPixelFlavorDefaults();

    SetBitDepthDefaults();
    state.supportedCaps =
        MakeArray({CAP_XFERCOUNT, CAP_SUPPORTEDCAPS, CAP_UICONTROLLABLE, ICAP_COMPRESSION,
                   ICAP_PLANARCHUNKY, ICAP_PHYSICALHEIGHT, ICAP_PHYSICALWIDTH, ICAP_PIXELFLAVOR,
                   ICAP_BITDEPTH, ICAP_BITORDER, ICAP_PIXELTYPE, ICAP_UNITS, ICAP_XFERMECH,
                   ICAP_XRESOLUTION, ICAP_YRESOLUTION, ICAP_IMAGEFILEFORMAT, ICAP_XNATIVERESOLUTION,
                   ICAP_YNATIVERESOLUTION, CAP_DUPLEX, CAP_DUPLEXENABLED,
                   // Served as well, where the server has what they need.
                   CAP_DEVICEONLINE, CAP_FEEDERENABLED, CAP_FEEDERLOADED, CAP_AUTOFEED,
                   ICAP_ORIENTATION, ICAP_UNDEFINEDIMAGESIZE, ICAP_AUTOMATICBORDERDETECTION,
                   zyl_CAP_SourceIpAddr_id, zyl_CAP_ShowAcquireGUI});

    // The identity handler names the remembered values of the application.
    state.imageFileFormat.SetStore(GetPreferences());
    state.imageFileFormat.SetAppCapId(GetIdentityArg());
    for (TW_UINT16 format : {TWFF_BMP, TWFF_TIFF, TWFF_TIFFMULTI}) {
        state.imageFileFormat.AddValue(format);
    }

    static const unsigned short kCompressions[] = {TWCP_GROUP4, TWCP_NONE, TWCP_NONE,   TWCP_NONE,
                                                   TWCP_JPEG,   TWCP_NONE, TWCP_GROUP4, TWCP_NONE,
                                                   TWCP_JPEG,   TWCP_NONE};
    for (unsigned short compression : kCompressions) {
        state.compressions.Append(SingleValueRow<compressionStruct>(compression));
    }

    state.units.SetStore(GetPreferences());
    state.units.SetAppCapId(GetIdentityArg());
    for (TW_UINT16 unit :
         {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PICAS, TWUN_POINTS, TWUN_TWIPS, TWUN_PIXELS}) {
        state.units.AddValue(unit);
    }

    state.transferFileName =
        state.imageFileFormat.GetCurrent() == TWFF_BMP ? "image.bmp" : "image.pic";
}

AbstractSource::~AbstractSource() {
    try {
        if (m_state->open) {
            SaveServerList();
            m_state->open = false;
            Disconnect();
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    }
    // The windows go first: closing, they still write the preferences store and read the
    // identities.
    g_userInterfaceHandler = nullptr;
    m_userInterface.reset();
    g_statusHandler = nullptr;
    m_state->controlResponder.reset();
    m_state->imageResponder.reset();
    m_state->audioResponder.reset();
    m_state->preferences.reset();

    g_fileSystemHandler = nullptr;
    m_fileSystem.reset();
    m_identity.reset();

    DeleteScanner();
    m_state->quorvelWrapper.reset();
}

AbstractSource* AbstractSource::Instance() {
    return g_currentSource;
}

AbstractSource& AbstractSource::Required(const char* file, int line) {
    if (g_currentSource == nullptr) {
        throw TwainException(file, line, TWCC_SEQERROR);
    }
    return *g_currentSource;
}

void AbstractSource::SetInstance(AbstractSource* source) {
    g_currentSource = source;
    TransferSourceIntf::SetCurrent(source);
}

DataArg_Status* AbstractSource::GetStatusHandler() {
    return g_statusHandler;
}

DataArg_UserInterface* AbstractSource::GetUserInterfaceHandler() {
    return g_userInterfaceHandler;
}

DataArg_FileSystem* AbstractSource::GetFileSystemHandler() {
    return g_fileSystemHandler;
}

DataArg_Identity* AbstractSource::GetIdentityArg() {
    if (!m_identity) {
        m_identity = std::make_unique<DataArg_Identity>();
    }
    return m_identity.get();
}

bool AbstractSource::GetConnectWarning() {
    if (m_state->connectWarning == -1) {
        m_state->connectWarning =
            m_state->preferences ? m_state->preferences->GetInt("connectwarning", 1) : 1;
    }
    return m_state->connectWarning != 0;
}

void AbstractSource::LoadApplicationPreferences() {
    CommonCpp::XGPreferencesIntf* store = GetPreferences();
    if (store == nullptr) {
        return;
    }
    DataArg_Identity* identity = GetIdentityArg();
    bool found = false;
    const int mechanism = store->GetInt(identity->GetKey(ICAP_XFERMECH), found, -1);
    if (found && mechanism >= TWSX_NATIVE && mechanism <= TWSX_MEMORY) {
        m_state->transferMechanismCurrent = static_cast<TW_UINT16>(mechanism);
    }
    found = false;
    const int flavor = store->GetInt(identity->GetKey(ICAP_PIXELFLAVOR), found, -1);
    if (found && (flavor == TWPF_CHOCOLATE || flavor == TWPF_VANILLA)) {
        m_state->pixelFlavorCurrent = static_cast<TW_UINT16>(flavor);
    }
    m_state->imageFileFormat.Load();
    m_state->units.Load();
}

TW_UINT16 AbstractSource::DSEntry(pTW_IDENTITY pOrigin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                  TW_MEMREF pData) {
    Sleep(1);
    TW_UINT16 result = TWRC_FAILURE;
    // Every exception of a triplet ends here, the one place that answers it.
    const auto fail = [&](std::exception& e, int line, TW_UINT16 conditionCode) {
        CommonCpp::NoteException(&e, __FILE__, line);
        if (DataArg_UserInterface* ui = GetUserInterfaceHandler()) {
            try {
                ui->EndProgressIfShown();
            } catch (std::exception& inner) {
                CommonCpp::NoteException(&inner, __FILE__, __LINE__);
            }
        }
        m_state->status.SetConditionCode(conditionCode);
    };
    try {
        std::unique_ptr<AbstractResponder>* responder = nullptr;
        AbstractResponder* (AbstractSource::*factory)() = nullptr;
        switch (dg) {
        case DG_CONTROL:
            responder = &m_state->controlResponder;
            factory = &AbstractSource::GetControlResponder;
            break;
        case DG_IMAGE:
            responder = &m_state->imageResponder;
            factory = &AbstractSource::GetImageResponder;
            break;
        case DG_AUDIO:
            responder = &m_state->audioResponder;
            factory = &AbstractSource::GetAudioResponder;
            break;
        default:
            throw TwainException(__FILE__, __LINE__, TWCC_OPERATIONERROR);
        }
        if (!*responder) {
            responder->reset((this->*factory)());
        }
        result = (*responder)->Respond(pOrigin, dat, msg, pData);
    } catch (ServerDownException& e) {
        fail(e, __LINE__, TWCC_CHECKDEVICEONLINE);
        try {
            Disconnect();
        } catch (std::exception& inner) {
            CommonCpp::NoteException(&inner, __FILE__, __LINE__);
        }
        result = TWRC_FAILURE;
    } catch (TwainException& e) {
        fail(e, __LINE__, e.GetConditionCode());
        result = e.GetReturnCode();
    } catch (CommonCpp::Exception& e) {
        fail(e, __LINE__, TWCC_BUMMER);
        result = TWRC_FAILURE;
    } catch (std::bad_alloc& e) {
        fail(e, __LINE__, TWCC_LOWMEMORY);
        result = TWRC_FAILURE;
    } catch (std::exception& e) {
        fail(e, __LINE__, TWCC_BUMMER);
        result = TWRC_FAILURE;
    } catch (...) {
        // Nothing may unwind into the source manager, which is C.
        std::runtime_error unknown("unknown exception");
        fail(unknown, __LINE__, TWCC_BUMMER);
        result = TWRC_FAILURE;
    }
    if (result == TWRC_SUCCESS || result == TWRC_DSEVENT || result == TWRC_NOTDSEVENT ||
        result == TWRC_XFERDONE) {
        m_state->status.Reset();
        m_state->keepLoaded = false;
    }
    return result;
}

AbstractResponder* AbstractSource::GetControlResponder() {
    return new ControlResponder(*this);
}

AbstractResponder* AbstractSource::GetAudioResponder() {
    return new AudioResponder();
}

AbstractResponder* AbstractSource::GetImageResponder() {
    return new ImageResponder(this, GetUserInterfaceHandler());
}

bool AbstractSource::CanUnload() {
    return !m_state->open && !m_state->keepLoaded;
}

void AbstractSource::SetCloseRequestPending(bool pending) {
    m_state->closeRequestPending = pending;
}

bool AbstractSource::IsCloseRequestPending() {
    return m_state->closeRequestPending;
}

bool AbstractSource::IsTransferReadyPending() {
    return m_state->transferReadyPending;
}

void AbstractSource::SetTransferReadyPending(bool pending) {
    m_state->transferReadyPending = pending;
}

TW_UINT16 AbstractSource::GetState() {
    return m_state->twainState;
}

void AbstractSource::SetState(TW_UINT16 state) {
    m_state->twainState = state;
}

bool AbstractSource::IsPageCountUnknown() {
    return m_state->pageCountUnknown;
}

TW_UINT32 AbstractSource::GetMaxBufferSize() {
    return m_state->maxBufferSize;
}

TW_UINT32 AbstractSource::GetMinBufferSize() {
    return m_state->minBufferSize;
}

TW_UINT32 AbstractSource::GetPreferredBufferSize() {
    return m_state->preferredBufferSize;
}

ScanPreferences& AbstractSource::GetScanPreferences() {
    return m_state->scanPreferences;
}

CommonCpp::XGPreferencesIntf* AbstractSource::GetPreferences() {
    return m_state->preferences.get();
}

void AbstractSource::CreatePreferences() {
    auto store = std::make_unique<CommonCpp::XGPreferences>(
        "Halcyra", "Nimbrel", "5", CommonCpp::XGPreferences::ScopeCurrentUser);
    // The scan preferences must not keep reading the store that is about to go.
    if (m_state->preferences && m_fullSource) {
        m_state->scanPreferences.SetStore(store.get());
    }
    // Neither may the remembered capability values.
    if (m_state->preferences) {
        m_state->imageFileFormat.SetStore(store.get());
        m_state->units.SetStore(store.get());
    }
    m_state->preferences = std::move(store);
}

QuorvelWrapperIntf* AbstractSource::GetQuorvelWrapper() {
    if (!m_state->quorvelWrapper) {
        try {
            m_state->quorvelWrapper.reset(QuorvelWrapper::Create());
        } catch (QuorvelWrapperException& e) {
            // Without a wrapper every server operation fails in the scan session.
            CommonCpp::NoteException(&e, __FILE__, __LINE__);
        }
    }
    return m_state->quorvelWrapper.get();
}

bool AbstractSource::GetImageLayout(double& left, double& top, double& right, double& bottom) {
    auto* responder = dynamic_cast<ImageResponder*>(m_state->imageResponder.get());
    return responder != nullptr && responder->GetLayoutFrame(left, top, right, bottom);
}
