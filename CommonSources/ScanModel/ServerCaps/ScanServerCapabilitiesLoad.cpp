// ScanServerCapabilities: filling the model from the server's attribute table and the directory
// flags from the server's attribute defaults.

#include "ScanServerCapabilities.h"

#include <functional>
#include <vector>

#include "LocalizerIntf.h"
#include "QuorvelWrapperIntf.h"
#include "ScanAttributeWrapper.h"
#include "ScanServerCapException.h"
#include "ScanServerCapabilityData.h"
#include "ScanStrings.h"

namespace {

// The attribute source exists only while a load runs, however the load ends.
class AttributeSourceScope {
public:
    AttributeSourceScope(ScanServerCapabilities& model, const ScanAttributeWrapper& table)
        : m_model(model) {
        m_model.SetAttributeSource(&table);
    }
    AttributeSourceScope(const AttributeSourceScope&) = delete;
    AttributeSourceScope& operator=(const AttributeSourceScope&) = delete;
    ~AttributeSourceScope() { m_model.SetAttributeSource(nullptr); }

private:
    ScanServerCapabilities& m_model;
};

// A value the model cannot accept ends its own step only.
void GuardedStep(const std::function<void()>& step) {
    try {
        step();
    } catch (ScanServerCapException& caught) {
        caught.NoteCatchSite(__FILE__, __LINE__);
    }
}

} // namespace

void ScanServerCapabilities::LoadFromServerAttributes(const ScanAttributeWrapper& table,
                                                      LocalizerIntf* localizer) {
    ScanServerCapabilityData& d = *m_data;
    const AttributeSourceScope scope(*this, table);
    const auto flag = [&](BooleanServerCap& item, const char* key) {
        GuardedStep([&] { item.LoadFromServer(key, table); });
    };
    const auto list = [&](ServerCap& item) {
        GuardedStep([&] { item.LoadFromServer(table, localizer); });
    };

    GuardedStep([&] { LoadScanSources(localizer); });
    list(d.fileFormat);
    GuardedStep([&] { LoadColorModes(localizer); });
    list(d.compression);
    GuardedStep([&] {
        LoadResolutions(localizer);
        d.resAllowAny.LoadFromServer("RES_ALLOW_ANY", table);
    });
    GuardedStep([&] { LoadPageSizes(localizer); });
    GuardedStep([&] { LoadBackgroundRemove(localizer); });
    flag(d.supportDuplex, "SUPPORT_DUPLEX");
    flag(d.bindDirectionEnabled, "E_BIND_DIRECTION");
    list(d.bindDirection);
    GuardedStep([&] { LoadScanInitMode(localizer); });
    flag(d.scanRemoteSend, "SCAN_REMOTE_SEND");
    flag(d.scanRemoteGet, "SCAN_REMOTE_GET");
    flag(d.scanToEmail, "SCAN_TO_EMAIL");
    flag(d.scanToHoldQueue, "SCAN_TO_HOLDQ");
    flag(d.scanToFtp, "SCAN_TO_FTP");
    flag(d.scanToEmFax, "SCAN_TO_EMFAX");
    flag(d.scanOcr, "SCAN_OCR");
    flag(d.hasMkEmFaxable, "HAS_MKEMFAXABLE");
    flag(d.stringMailboxNames, "E_STR_MBOX_NAMES");
    flag(d.mailboxPassword, "E_MBOX_PASSWORD");
    flag(d.orientationEnabled, "E_ORIENTATION");
    flag(d.compressLevelEnabled, "E_COMPRESS_LEVEL");
    GuardedStep([&] { LoadBrightLevel(localizer); });
    flag(d.imageModeEnabled, "E_IMAGE_MODE");
    list(d.imageMode);
    list(d.orientation);
    list(d.compressLevel);
    GuardedStep([&] {
        if (d.mixedPageSize.LoadFromServer("E_MIXED_PAGESIZE", table) &&
            d.mixedPageSize.GetValue()) {
            const std::string& key = ScanConstStrings::PageSizeMixed;
            d.mixedPageSizeName = localizer ? localizer->GetString(key) : key;
        }
    });
    flag(d.mailAllowUrls, "MAIL_ALLOW_URLS");
    GuardedStep([&] { LoadDropColor(localizer); });
    GuardedStep([&] { LoadDropRange(localizer); });
    GuardedStep([&] { LoadSplitMode(localizer); });
    GuardedStep([&] { LoadEraseMode(localizer); });
    GuardedStep([&] { LoadDuplexLayout(localizer); });
    GuardedStep([&] { LoadEmFaxResolutions(localizer); });
    GuardedStep([&] { LoadMailFrom(localizer); });
    GuardedStep([&] { LoadDefaultFormats(localizer); });
    GuardedStep([&] { LoadThinMedia(localizer); });
    GuardedStep([&] { LoadDuplexOddPage(localizer); });
    GuardedStep([&] { LoadInitiateDisabled(localizer); });
    GuardedStep([&] { LoadSharpness(localizer); });
    GuardedStep([&] { LoadBackgroundAdjust(localizer); });
    GuardedStep([&] { LoadExposure(localizer); });
    GuardedStep([&] { LoadImageRotate(localizer); });
    GuardedStep([&] { LoadScanEnabled(localizer); });
    GuardedStep([&] { LoadUtf8Mailbox(localizer); });
    GuardedStep([&] { LoadDuplexPass(localizer); });
}

void ScanServerCapabilities::LoadScanInitMode(LocalizerIntf*) {
    const ScanAttributeWrapper* const table = m_data->source;
    if (!table) {
        return;
    }
    // The first key present wins; later ones are older names of the same setting.
    SimpleServerCap& mode = m_data->scanInit;
    if (!mode.LoadFromServer("SCAN_INIT_LOCKBY", *table) &&
        !mode.LoadFromServer("SCAN_REMOTE_INIT", *table)) {
        mode.LoadFromServer("REMOTE_SCAN_INIT", *table);
    }
}

void ScanServerCapabilities::LoadScanSources(LocalizerIntf* localizer) {
    ScanServerCapabilityData& d = *m_data;
    if (!d.source) {
        return;
    }
    d.supportAdf.LoadFromServer("SUPPORT_ADF", *d.source);
    d.scanSource.LoadFromServer(*d.source, localizer);
    d.selectableSource = d.scanSource.GetCount() > 1 && d.supportAdf.GetValue();
}

void ScanServerCapabilities::LoadColorModes(LocalizerIntf* localizer) {
    using namespace ScanSettingStrings;
    ScanServerCapabilityData& d = *m_data;
    if (!d.source) {
        return;
    }
    d.colorAvailable = false;
    SimpleServerCap copierType;
    if (copierType.LoadFromServer("COPIER_TYPE", *d.source)) {
        const std::string type = copierType.GetValue();
        if (type == "COLOR") {
            d.colorAvailable = true;
        } else if (type != "BW") {
            throw ScanServerCapException(__FILE__, __LINE__,
                                         ScanServerCapException::kUnknownProblem);
        }
    }
    const std::vector<std::string> fallback =
        d.colorAvailable
            ? std::vector<std::string>{ColorModeColor, ColorModeGrayscale, ColorModeBlackWhite}
            : std::vector<std::string>{ColorModeBlackWhite};
    d.colorMode.LoadFromServerWithDefaults(fallback, fallback.front(), *d.source, localizer);
    if (d.colorMode.HasValue(ColorModeColor)) {
        // A black-and-white copier that still lists colour scans in colour by default.
        if (!d.colorAvailable) {
            d.colorMode.SetCurrentByName(ColorModeColor);
        }
        d.colorAvailable = true;
    }
}

void ScanServerCapabilities::LoadResolutions(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->resolution.LoadNumericFromServer(100, 600, 100, 100, *m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadPageSizes(LocalizerIntf* localizer) {
    using namespace ScanConstStrings;
    if (!m_data->source) {
        return;
    }
    const std::vector<std::string> fallback = {PaperLetterTransverse, PaperLetR, PaperTabloid,
                                               PaperA4Transverse,     PaperA4R,  PaperA3};
    m_data->pageSize.LoadFromServerWithDefaults(fallback, fallback.front(), *m_data->source,
                                                localizer);
}

void ScanServerCapabilities::LoadBackgroundRemove(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->backgroundRemoveEnabled.LoadFromServer("E_BREMOVE", *m_data->source);
        m_data->backgroundRemove.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadBrightLevel(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->brightLevelEnabled.LoadFromServer("E_BRIGHTLEVEL", *m_data->source);
        m_data->brightLevel.LoadNumericFromServer(0, 0, 1, 0, *m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadDropColor(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->dropColorEnabled.LoadFromServer("E_DROP_COLOR", *m_data->source);
        m_data->dropColor.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadDropRange(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->dropRange.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadSplitMode(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->splitOriginalEnabled.LoadFromServer("E_SPLIT_ORIG", *m_data->source);
        m_data->splitMode.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadEraseMode(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->eraseModeSupported.LoadFromServer("S_ERASE_MODE", *m_data->source);
        m_data->eraseMode.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadDuplexLayout(LocalizerIntf*) {
    if (m_data->source) {
        m_data->duplexLayoutSupported.LoadFromServer("S_DUPLEX_LAYOUT", *m_data->source);
    }
}

void ScanServerCapabilities::LoadEmFaxResolutions(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->emFaxResolution.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadMailFrom(LocalizerIntf*) {
    if (m_data->source) {
        m_data->mailFromSupported.LoadFromServer("S_MAILFROM", *m_data->source);
        m_data->mailFromEnabled.LoadFromServer("E_MAILFROM", *m_data->source);
        m_data->corpMailFromEnabled.LoadFromServer("C_MAILFROM", *m_data->source);
    }
}

void ScanServerCapabilities::LoadDefaultFormats(LocalizerIntf* localizer) {
    using namespace ScanConstStrings;
    if (m_data->source) {
        const std::vector<std::string> fallback = {FormatPdf, FormatTiff, FormatJpeg};
        m_data->defaultFormat.LoadFromServerWithDefaults(fallback, FormatPdf, *m_data->source,
                                                         localizer);
    }
}

void ScanServerCapabilities::LoadThinMedia(LocalizerIntf*) {
    if (m_data->source) {
        m_data->thinMediaEnabled.LoadFromServer("E_THIN_MEDIA", *m_data->source);
    }
}

void ScanServerCapabilities::LoadDuplexOddPage(LocalizerIntf*) {
    if (m_data->source) {
        m_data->duplexOddPageEnabled.LoadFromServer("E_DUPLEX_ODDPAGE", *m_data->source);
    }
}

void ScanServerCapabilities::LoadInitiateDisabled(LocalizerIntf*) {
    if (m_data->source) {
        m_data->initiateDisabled.LoadFromServer("NBL_DISABLE_INITIATE", *m_data->source);
    }
}

void ScanServerCapabilities::LoadSharpness(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->sharpnessEnabled.LoadFromServer("E_SHARPNESS", *m_data->source);
        m_data->sharpnessLevel.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadBackgroundAdjust(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->backgroundAdjustEnabled.LoadFromServer("E_BACKGROUND_ADJ", *m_data->source);
        m_data->backgroundAdjustLevel.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadExposure(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->exposureEnabled.LoadFromServer("E_EXPOSURE", *m_data->source);
        m_data->exposureLevel.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadImageRotate(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->imageRotateEnabled.LoadFromServer("E_IMAGE_ROTATE", *m_data->source);
        m_data->imageRotate.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadScanEnabled(LocalizerIntf*) {
    if (m_data->source) {
        m_data->scanEnabled.LoadFromServer("SCAN_ENABLED", *m_data->source);
    }
}

void ScanServerCapabilities::LoadUtf8Mailbox(LocalizerIntf*) {
    if (m_data->source) {
        m_data->utf8Mailbox.LoadFromServer("E_UTF8MAILBOX", *m_data->source);
    }
}

void ScanServerCapabilities::LoadDuplexPass(LocalizerIntf* localizer) {
    if (m_data->source) {
        m_data->duplexPassSupported.LoadFromServer("S_DUPLEX_PASS", *m_data->source);
        m_data->duplexPassEnabled.LoadFromServer("E_DUPLEX_PASS", *m_data->source);
        m_data->duplexPass.LoadFromServer(*m_data->source, localizer);
    }
}

void ScanServerCapabilities::LoadLdapCapability(QuorvelWrapperIntf* wrapper) {
    if (!wrapper || wrapper->AttrOpenSession() != 0) {
        return;
    }
    std::string capable;
    std::string enabled;
    wrapper->AttrGetDefault("LDAP_capable", capable);
    wrapper->AttrGetDefault("LDAP_enable", enabled);
    m_data->ldapEnabled = capable == "yes" && enabled == "yes";
    wrapper->AttrCloseSession();
}
