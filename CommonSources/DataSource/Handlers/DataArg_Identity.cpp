#include "DataArg_Identity.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "MainEntry.h"
#include "ResourceLoader.h"
#include "STR_value32.h"
#include "TwainException.h"

#include <cstdio>
#include <cstring>

namespace {

void CopyText(TW_STR32& target, const char* text) {
    CommonTwain::STR_value32(text).CopyTo(target, sizeof(TW_STR32));
}

} // namespace

DataArg_Identity::DataArg_Identity() {
    std::memset(&m_sourceIdentity, 0, sizeof(m_sourceIdentity));
    std::memset(&m_template, 0, sizeof(m_template));
    std::memset(&m_applicationIdentity, 0, sizeof(m_applicationIdentity));

    m_template.ProtocolMajor = 1;
    m_template.ProtocolMinor = 8;
    m_template.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(m_template.Manufacturer, "Halcyra, Inc.");
    CopyText(m_template.ProductFamily, "Orvex");
    CopyText(m_template.ProductName, "Nimbrel 5");
    m_template.Version.MajorNum = 5;
    m_template.Version.MinorNum = 5;
    LanguageForIndex(ResourceLoader::Instance()->GetLanguageIndex(), m_template.Version.Language,
                     m_template.Version.Country);
    CopyText(m_template.Version.Info, "5.5 Orvex network scan");
}

DataArg_Identity::~DataArg_Identity() = default;

bool DataArg_Identity::IsDat(TW_UINT16 dat) const {
    return dat == DAT_IDENTITY;
}

void DataArg_Identity::LanguageForIndex(int languageIndex, TW_UINT16& language,
                                        TW_UINT16& country) {
    switch (languageIndex) {
    case 1:
        language = TWLG_JAPANESE;
        country = 81;
        break;
    case 2:
        language = TWLG_SPA;
        country = 34;
        break;
    case 3:
        language = TWLG_FRN;
        country = 33;
        break;
    case 4:
        language = TWLG_GER;
        country = 49;
        break;
    case 5:
        language = TWLG_ITN;
        country = 39;
        break;
    case 6:
        language = TWLG_POR;
        country = 55;
        break;
    case 7:
        language = TWLG_KOREAN;
        country = 82;
        break;
    case 8:
        language = TWLG_CHINESE_TRADITIONAL;
        country = 886;
        break;
    case 9:
        language = TWLG_CHINESE_SIMPLIFIED;
        country = 86;
        break;
    default:
        language = TWLG_ENG;
        country = TWCY_USA;
        break;
    }
}

void DataArg_Identity::FillTemplate(TW_IDENTITY& identity) const {
    identity.ProtocolMajor = m_template.ProtocolMajor;
    identity.ProtocolMinor = m_template.ProtocolMinor;
    identity.SupportedGroups = m_template.SupportedGroups;
    std::memcpy(identity.Manufacturer, m_template.Manufacturer, sizeof(TW_STR32));
    std::memcpy(identity.ProductFamily, m_template.ProductFamily, sizeof(TW_STR32));
    std::memcpy(identity.ProductName, m_template.ProductName, sizeof(TW_STR32));
    identity.Version = m_template.Version;
}

TW_UINT16 DataArg_Identity::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    FillTemplate(*static_cast<pTW_IDENTITY>(pData));
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_Identity::MsgOpenDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) {
    // The origin is compared and kept below: a call without one names no application.
    if (pData == nullptr || pOrigin == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    if (source.IsOpen()) {
        // One application at a time.
        throw TwainException(__FILE__, __LINE__,
                             IsSameApplication(pOrigin) ? TWCC_SEQERROR : TWCC_MAXCONNECTIONS);
    }
    if (!source.Open()) {
        throw TwainException(__FILE__, __LINE__, TWCC_OPERATIONERROR);
    }
    m_sourceIdentity = *static_cast<pTW_IDENTITY>(pData);
    m_applicationIdentity = *pOrigin;
    // Whichever manager loaded the source (or none), not one found by its file name.
    m_opener = DSEntryCaller();
    source.LoadApplicationPreferences();
    source.SetState(4);
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_Identity::MsgCloseDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) {
    if (pData == nullptr || pOrigin == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    if (!IsSameSource(static_cast<pTW_IDENTITY>(pData)) || !IsSameApplication(pOrigin)) {
        throw TwainException(__FILE__, __LINE__, TWCC_OPERATIONERROR);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    if (DataArg_UserInterface* ui = AbstractSource::GetUserInterfaceHandler()) {
        TW_USERINTERFACE disable = {FALSE, FALSE, nullptr};
        try {
            ui->MsgDisableDS(pOrigin, &disable);
        } catch (std::exception& e) {
            CommonCpp::NoteException(&e, __FILE__, __LINE__);
        }
    }
    if (!source.Close()) {
        throw TwainException(__FILE__, __LINE__, TWCC_OPERATIONERROR);
    }
    m_sourceIdentity.Id = 0;
    m_opener = nullptr;
    source.SetState(3);
    return TWRC_SUCCESS;
}

bool DataArg_Identity::IsSameSource(const TW_IDENTITY* identity) const {
    return identity != nullptr && identity->Id == m_sourceIdentity.Id;
}

bool DataArg_Identity::IsSameApplication(const TW_IDENTITY* identity) const {
    return identity != nullptr && identity->Id == m_applicationIdentity.Id;
}

TW_IDENTITY* DataArg_Identity::GetApplicationIdentity() {
    return &m_applicationIdentity;
}

TW_IDENTITY* DataArg_Identity::GetSourceIdentity() {
    return &m_sourceIdentity;
}

std::string DataArg_Identity::GetKey(TW_UINT16 capabilityId) const {
    char numbers[64];
    std::snprintf(numbers, sizeof(numbers), "%lx;%d;%d", static_cast<unsigned long>(capabilityId),
                  m_applicationIdentity.Version.MajorNum, m_applicationIdentity.Version.MinorNum);
    // The identity's texts need not be terminated within their 34 bytes.
    const auto text = [](const TW_STR32& s) {
        return std::string(s, strnlen(s, sizeof(TW_STR32)));
    };
    return std::string(numbers) + text(m_applicationIdentity.ProductName) + ";" +
           text(m_applicationIdentity.ProductFamily) + ";" +
           text(m_applicationIdentity.Manufacturer) + ";";
}
