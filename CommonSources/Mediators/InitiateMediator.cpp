#include "InitiateMediator.h"

#include "InitiateClient.h"
#include "ScanAttributeWrapper.h"

namespace {

const char* const kEraseSizeKeys[] = {"ERASE_SIZE_TOP", "ERASE_SIZE_RIGHT", "ERASE_SIZE_BOTTOM",
                                      "ERASE_SIZE_LEFT"};

} // namespace

InitiateMediator::InitiateMediator(ScanAttributeWrapper* attributes, InitiateClient* client)
    : m_attributes(attributes), m_client(client) {}

InitiateMediator::~InitiateMediator() = default;

void InitiateMediator::ApplyAll() {
    ApplyScanSource();
    ApplySides();
    ApplyBindDirection();
    ApplyResolution();
    ApplyPageSize();
    ApplyColorMode();
    ApplyOrientation();
    ApplyCompression();
    ApplyBackgroundRemoval();
    ApplyBrightness();
    ApplyImageMode();
    ApplyInternetFax();
    ApplyDropOutColor();
    ApplySplitMode();
    ApplyEraseBorder();
    ApplyOcr();
    ApplyThinMedia();
    ApplyDuplexOddPage();
    ApplySharpness();
    ApplyBackgroundAdjust();
    ApplyExposure();
    ApplyImageRotate();
}

void InitiateMediator::ApplyScanSource() {
    if (m_client->IsScanSourceEnabled()) {
        m_attributes->SetScanSource(m_client->GetScanSource());
    }
}

void InitiateMediator::ApplySides() {
    const bool doubleSided = m_client->GetScanSides();
    m_attributes->SetDoubleSided(doubleSided);
    if (!doubleSided) {
        return;
    }
    if (m_client->IsDuplexPassEnabled()) {
        m_attributes->SetDuplexPass(m_client->GetDuplexPass());
    } else if (m_client->IsDuplexLayoutEnabled() && !m_client->IsBindDirectionEnabled()) {
        // With a binding direction the server lays the pages out itself.
        m_attributes->SetAttribute("DUPLEX_LAYOUT", m_client->GetDuplexLayout());
    }
}

void InitiateMediator::ApplyBindDirection() {
    if (m_client->IsBindDirectionEnabled()) {
        m_attributes->SetBindDirection(m_client->GetBindDirection());
    }
}

void InitiateMediator::ApplyResolution() {
    m_attributes->SetRawXRes(m_client->GetResolution());
    m_attributes->SetRawYRes(m_client->GetResolution());
}

void InitiateMediator::ApplyPageSize() {
    const std::string pageSize = m_client->GetPageSize();
    if (pageSize.empty()) {
        return;
    }
    m_attributes->SetPageSize(pageSize);
    if (pageSize == "AUTO_PAGESIZE" && m_client->IsMixedPageSizeEnabled()) {
        m_attributes->SetMixedPageSize(m_client->GetMixedPageSize());
    }
}

void InitiateMediator::ApplyColorMode() {
    m_attributes->SetColorMode(m_client->GetColorMode());
}

void InitiateMediator::ApplyOrientation() {
    if (m_client->IsOrientationEnabled()) {
        m_attributes->SetOrientation(m_client->GetOrientation());
    }
}

void InitiateMediator::ApplyCompression() {
    if (!m_client->IsCompressLevelEnabled()) {
        return;
    }
    const std::string level = m_client->GetCompressLevel();
    m_attributes->SetCompressLevel(level);
    if (level != "NONE") {
        // A compression the attributes already name wins over the one the colour mode implies.
        m_attributes->InsertAttribute(
            "COMPRESSION", m_client->GetColorMode() == "BLACK_WHITE" ? "GROUP4" : "JPEG");
    }
}

void InitiateMediator::ApplyBackgroundRemoval() {
    if (m_client->IsBackgroundRemovalEnabled()) {
        m_attributes->SetBRemove(m_client->GetBackgroundRemoval());
    }
}

void InitiateMediator::ApplyBrightness() {
    if (m_client->IsBrightnessEnabled()) {
        m_attributes->SetBrightness(m_client->GetBrightness());
    }
}

void InitiateMediator::ApplyImageMode() {
    if (m_client->IsImageModeEnabled()) {
        m_attributes->SetImageMode(m_client->GetImageMode());
    }
}

void InitiateMediator::ApplyInternetFax() {
    if (m_client->IsInternetFaxEnabled()) {
        m_attributes->SetMakeEmFaxable(m_client->GetInternetFax());
    }
}

void InitiateMediator::ApplyOcr() {
    if (m_client->IsOcrEnabled()) {
        m_attributes->SetScanOcr(m_client->GetOcr());
    }
}

void InitiateMediator::ApplyDropOutColor() {
    if (!m_client->IsDropOutColorEnabled()) {
        return;
    }
    m_attributes->SetDropColor(m_client->GetDropOutColor());
    if (m_client->IsColorRangeEnabled()) {
        m_attributes->SetDropRange(m_client->GetColorRange());
    }
}

void InitiateMediator::ApplySplitMode() {
    if (!m_client->IsSplitModeEnabled()) {
        return;
    }
    const std::string mode = m_client->GetSplitMode();
    const bool split = mode != InitiateClient::kSplitModeOff;
    m_attributes->SetSplitOrig(split);
    if (!split) {
        return;
    }
    m_attributes->SetSplitMode(mode);
    if (m_client->IsSplitTimeoutEnabled()) {
        m_attributes->SetSm1PageTo(m_client->GetSplitTimeout());
    }
}

void InitiateMediator::ApplyEraseBorder() {
    if (!m_client->IsEraseBorderEnabled() || !m_client->GetEraseBorder()) {
        // Also for a server without the feature: the job says plainly that nothing is erased.
        m_attributes->SetEraseMode("OFF");
        return;
    }
    m_attributes->SetEraseMode("CUSTOM");
    for (int side = 0; side < 4; ++side) {
        m_attributes->SetAttribute(kEraseSizeKeys[side], m_client->GetEraseSize(side));
    }
}

void InitiateMediator::ApplyThinMedia() {
    if (m_client->IsThinMediaEnabled()) {
        m_attributes->SetThinMedia(m_client->GetThinMedia());
    }
}

void InitiateMediator::ApplyDuplexOddPage() {
    if (m_client->IsDuplexOddPageEnabled()) {
        m_attributes->SetDuplexOddPage(m_client->GetDuplexOddPage());
    }
}

void InitiateMediator::ApplySharpness() {
    if (m_client->IsSharpnessEnabled()) {
        m_attributes->SetSharpnessLevel(m_client->GetSharpness());
    }
}

void InitiateMediator::ApplyBackgroundAdjust() {
    if (m_client->IsBackgroundAdjustEnabled()) {
        m_attributes->SetBackgroundAdjLevel(m_client->GetBackgroundAdjust());
    }
}

void InitiateMediator::ApplyExposure() {
    if (m_client->IsExposureEnabled()) {
        m_attributes->SetExposureLevel(m_client->GetExposure());
    }
}

void InitiateMediator::ApplyImageRotate() {
    if (m_client->IsImageRotateEnabled()) {
        m_attributes->SetImageRotate(m_client->GetImageRotate());
    }
}
