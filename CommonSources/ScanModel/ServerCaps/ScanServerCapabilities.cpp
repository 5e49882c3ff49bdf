#include "ScanServerCapabilities.h"

#include "ScanServerCapabilityData.h"
#include "ScanStrings.h"

namespace {

bool HasAnyOf(const ServerCap& item, const std::string& first, const std::string& second) {
    return item.HasValue(first) || item.HasValue(second);
}

} // namespace

ScanServerCapabilities::ScanServerCapabilities()
    : m_data(std::make_unique<ScanServerCapabilityData>()) {}

ScanServerCapabilities::~ScanServerCapabilities() = default;

bool ScanServerCapabilities::IsScanInitAllowed() const {
    const std::string mode = m_data->scanInit.GetValue();
    if (mode.empty()) {
        return m_data->initAllowedFallback.GetValue();
    }
    return mode == "NONE" || mode == "REMOTE";
}

bool ScanServerCapabilities::IsAutoPageSizeAt(int32_t index) const {
    return m_data->pageSize.GetValueAt(index) == ScanConstStrings::PageSizeAuto;
}

bool ScanServerCapabilities::SupportsAutoPageSize() const {
    return m_data->pageSize.HasValue(ScanConstStrings::PageSizeAuto);
}

bool ScanServerCapabilities::SupportsCustomPageSize() const {
    return m_data->pageSize.HasValue("CUSTOM");
}

bool ScanServerCapabilities::IsColorAvailable() const {
    return m_data->colorAvailable;
}

int32_t ScanServerCapabilities::GetMaxResolution() const {
    return m_data->resolution.GetMaxIntValue();
}

int32_t ScanServerCapabilities::GetMinResolution() const {
    return m_data->resolution.GetMinIntValue();
}

int32_t ScanServerCapabilities::GetResolutionCount() const {
    return m_data->resolution.GetCount();
}

std::string ScanServerCapabilities::GetResolutionValueAt(int32_t index) const {
    return m_data->resolution.GetValueAt(index);
}

int32_t ScanServerCapabilities::GetResolutionCurrentIndex() const {
    return m_data->resolution.GetCurrentIndex();
}

bool ScanServerCapabilities::HasSelectableScanSource() const {
    return m_data->selectableSource;
}

bool ScanServerCapabilities::IsAdfSourceAt(int32_t index) const {
    const std::string source = m_data->scanSource.GetValueAt(index);
    return source == "ADF" || source == "DF";
}

bool ScanServerCapabilities::IsPlatenSourceAt(int32_t index) const {
    return m_data->scanSource.GetValueAt(index) == "PLATEN";
}

bool ScanServerCapabilities::SupportsAdfSource() const {
    return HasAnyOf(m_data->scanSource, "ADF", "DF");
}

bool ScanServerCapabilities::SupportsPlatenSource() const {
    return m_data->scanSource.HasValue("PLATEN");
}

void ScanServerCapabilities::SetAttributeSource(const ScanAttributeWrapper* table) {
    m_data->source = table;
}

std::string ScanServerCapabilities::GetSplitTimeoutMin() const {
    return ScanSettingStrings::SplitTimeOutMin;
}

std::string ScanServerCapabilities::GetSplitTimeoutMax() const {
    return ScanSettingStrings::SplitTimeOutMax;
}

std::string ScanServerCapabilities::GetSplitTimeoutDefault() const {
    return ScanSettingStrings::SplitTimeOutDefault;
}

std::string ScanServerCapabilities::GetEraseBorderMin() const {
    return ScanSettingStrings::EraseBorderMin;
}

std::string ScanServerCapabilities::GetEraseBorderMax() const {
    return ScanSettingStrings::EraseBorderMax;
}

std::string ScanServerCapabilities::GetEraseBorderDefault() const {
    return ScanSettingStrings::EraseBorderDefault;
}

int32_t ScanServerCapabilities::GetEmFaxResolutionCount() const {
    return m_data->emFaxResolution.GetCount();
}

int32_t ScanServerCapabilities::GetEmFaxResolutionAt(int32_t index) const {
    return m_data->emFaxResolution.GetResolutionAt(index);
}

std::string ScanServerCapabilities::GetEmFaxResolutionValueAt(int32_t index) const {
    return m_data->emFaxResolution.GetValueAt(index);
}

int32_t ScanServerCapabilities::GetEmFaxResolutionCurrentIndex() const {
    return m_data->emFaxResolution.GetCurrentIndex();
}

std::string ScanServerCapabilities::GetMixedPageSizeName() const {
    return m_data->mixedPageSizeName;
}

bool ScanServerCapabilities::IsLdapEnabled() const {
    return m_data->ldapEnabled;
}

// The list families: count, value, display text, current index, and a copy where offered.

int32_t ScanServerCapabilities::GetPageSizeCount() const {
    return m_data->pageSize.GetCount();
}

std::string ScanServerCapabilities::GetPageSizeValueAt(int32_t index) const {
    return m_data->pageSize.GetValueAt(index);
}

std::string ScanServerCapabilities::GetPageSizeLocalizedValueAt(int32_t index) const {
    return m_data->pageSize.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetPageSizeCurrentIndex() const {
    return m_data->pageSize.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetFileFormatCount() const {
    return m_data->fileFormat.GetCount();
}

std::string ScanServerCapabilities::GetFileFormatValueAt(int32_t index) const {
    return m_data->fileFormat.GetValueAt(index);
}

std::string ScanServerCapabilities::GetFileFormatLocalizedValueAt(int32_t index) const {
    return m_data->fileFormat.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetFileFormatCurrentIndex() const {
    return m_data->fileFormat.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetFileFormatCapability() const {
    return m_data->fileFormat;
}

int32_t ScanServerCapabilities::GetCompressionCount() const {
    return m_data->compression.GetCount();
}

std::string ScanServerCapabilities::GetCompressionValueAt(int32_t index) const {
    return m_data->compression.GetValueAt(index);
}

std::string ScanServerCapabilities::GetCompressionLocalizedValueAt(int32_t index) const {
    return m_data->compression.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetCompressionCurrentIndex() const {
    return m_data->compression.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetCompressionCapability() const {
    return m_data->compression;
}

int32_t ScanServerCapabilities::GetColorModeCount() const {
    return m_data->colorMode.GetCount();
}

std::string ScanServerCapabilities::GetColorModeValueAt(int32_t index) const {
    return m_data->colorMode.GetValueAt(index);
}

std::string ScanServerCapabilities::GetColorModeLocalizedValueAt(int32_t index) const {
    return m_data->colorMode.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetColorModeCurrentIndex() const {
    return m_data->colorMode.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetColorModeCapability() const {
    return m_data->colorMode;
}

int32_t ScanServerCapabilities::GetImageModeCount() const {
    return m_data->imageMode.GetCount();
}

std::string ScanServerCapabilities::GetImageModeValueAt(int32_t index) const {
    return m_data->imageMode.GetValueAt(index);
}

std::string ScanServerCapabilities::GetImageModeLocalizedValueAt(int32_t index) const {
    return m_data->imageMode.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetImageModeCurrentIndex() const {
    return m_data->imageMode.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetScanSourceCount() const {
    return m_data->scanSource.GetCount();
}

std::string ScanServerCapabilities::GetScanSourceValueAt(int32_t index) const {
    return m_data->scanSource.GetValueAt(index);
}

std::string ScanServerCapabilities::GetScanSourceLocalizedValueAt(int32_t index) const {
    return m_data->scanSource.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetScanSourceCurrentIndex() const {
    return m_data->scanSource.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetScanSourceCapability() const {
    return m_data->scanSource;
}

int32_t ScanServerCapabilities::GetBindDirectionCount() const {
    return m_data->bindDirection.GetCount();
}

std::string ScanServerCapabilities::GetBindDirectionValueAt(int32_t index) const {
    return m_data->bindDirection.GetValueAt(index);
}

std::string ScanServerCapabilities::GetBindDirectionLocalizedValueAt(int32_t index) const {
    return m_data->bindDirection.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetBindDirectionCurrentIndex() const {
    return m_data->bindDirection.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetBindDirectionCapability() const {
    return m_data->bindDirection;
}

int32_t ScanServerCapabilities::GetBackgroundRemoveCount() const {
    return m_data->backgroundRemove.GetCount();
}

std::string ScanServerCapabilities::GetBackgroundRemoveValueAt(int32_t index) const {
    return m_data->backgroundRemove.GetValueAt(index);
}

std::string ScanServerCapabilities::GetBackgroundRemoveLocalizedValueAt(int32_t index) const {
    return m_data->backgroundRemove.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetBackgroundRemoveCurrentIndex() const {
    return m_data->backgroundRemove.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetBackgroundRemoveCapability() const {
    return m_data->backgroundRemove;
}

int32_t ScanServerCapabilities::GetOrientationCount() const {
    return m_data->orientation.GetCount();
}

std::string ScanServerCapabilities::GetOrientationValueAt(int32_t index) const {
    return m_data->orientation.GetValueAt(index);
}

std::string ScanServerCapabilities::GetOrientationLocalizedValueAt(int32_t index) const {
    return m_data->orientation.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetOrientationCurrentIndex() const {
    return m_data->orientation.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetOrientationCapability() const {
    return m_data->orientation;
}

int32_t ScanServerCapabilities::GetBrightLevelCount() const {
    return m_data->brightLevel.GetCount();
}

std::string ScanServerCapabilities::GetBrightLevelValueAt(int32_t index) const {
    return m_data->brightLevel.GetValueAt(index);
}

std::string ScanServerCapabilities::GetBrightLevelLocalizedValueAt(int32_t index) const {
    return m_data->brightLevel.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetBrightLevelCurrentIndex() const {
    return m_data->brightLevel.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetCompressLevelCount() const {
    return m_data->compressLevel.GetCount();
}

std::string ScanServerCapabilities::GetCompressLevelValueAt(int32_t index) const {
    return m_data->compressLevel.GetValueAt(index);
}

std::string ScanServerCapabilities::GetCompressLevelLocalizedValueAt(int32_t index) const {
    return m_data->compressLevel.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetCompressLevelCurrentIndex() const {
    return m_data->compressLevel.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetCompressLevelCapability() const {
    return m_data->compressLevel;
}

int32_t ScanServerCapabilities::GetDropColorCount() const {
    return m_data->dropColor.GetCount();
}

std::string ScanServerCapabilities::GetDropColorValueAt(int32_t index) const {
    return m_data->dropColor.GetValueAt(index);
}

std::string ScanServerCapabilities::GetDropColorLocalizedValueAt(int32_t index) const {
    return m_data->dropColor.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetDropColorCurrentIndex() const {
    return m_data->dropColor.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetDropRangeCount() const {
    return m_data->dropRange.GetCount();
}

std::string ScanServerCapabilities::GetDropRangeValueAt(int32_t index) const {
    return m_data->dropRange.GetValueAt(index);
}

std::string ScanServerCapabilities::GetDropRangeLocalizedValueAt(int32_t index) const {
    return m_data->dropRange.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetDropRangeCurrentIndex() const {
    return m_data->dropRange.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetSplitModeCount() const {
    return m_data->splitMode.GetCount();
}

std::string ScanServerCapabilities::GetSplitModeValueAt(int32_t index) const {
    return m_data->splitMode.GetValueAt(index);
}

std::string ScanServerCapabilities::GetSplitModeLocalizedValueAt(int32_t index) const {
    return m_data->splitMode.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetSplitModeCurrentIndex() const {
    return m_data->splitMode.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetDefaultFormatCount() const {
    return m_data->defaultFormat.GetCount();
}

std::string ScanServerCapabilities::GetDefaultFormatValueAt(int32_t index) const {
    return m_data->defaultFormat.GetValueAt(index);
}

std::string ScanServerCapabilities::GetDefaultFormatLocalizedValueAt(int32_t index) const {
    return m_data->defaultFormat.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetDefaultFormatCurrentIndex() const {
    return m_data->defaultFormat.GetCurrentIndex();
}

ServerCap ScanServerCapabilities::GetDefaultFormatCapability() const {
    return m_data->defaultFormat;
}

int32_t ScanServerCapabilities::GetSharpnessLevelCount() const {
    return m_data->sharpnessLevel.GetCount();
}

std::string ScanServerCapabilities::GetSharpnessLevelValueAt(int32_t index) const {
    return m_data->sharpnessLevel.GetValueAt(index);
}

std::string ScanServerCapabilities::GetSharpnessLevelLocalizedValueAt(int32_t index) const {
    return m_data->sharpnessLevel.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetSharpnessLevelCurrentIndex() const {
    return m_data->sharpnessLevel.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetBackgroundAdjustLevelCount() const {
    return m_data->backgroundAdjustLevel.GetCount();
}

std::string ScanServerCapabilities::GetBackgroundAdjustLevelValueAt(int32_t index) const {
    return m_data->backgroundAdjustLevel.GetValueAt(index);
}

std::string ScanServerCapabilities::GetBackgroundAdjustLevelLocalizedValueAt(int32_t index) const {
    return m_data->backgroundAdjustLevel.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetBackgroundAdjustLevelCurrentIndex() const {
    return m_data->backgroundAdjustLevel.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetExposureLevelCount() const {
    return m_data->exposureLevel.GetCount();
}

std::string ScanServerCapabilities::GetExposureLevelValueAt(int32_t index) const {
    return m_data->exposureLevel.GetValueAt(index);
}

std::string ScanServerCapabilities::GetExposureLevelLocalizedValueAt(int32_t index) const {
    return m_data->exposureLevel.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetExposureLevelCurrentIndex() const {
    return m_data->exposureLevel.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetImageRotateCount() const {
    return m_data->imageRotate.GetCount();
}

std::string ScanServerCapabilities::GetImageRotateValueAt(int32_t index) const {
    return m_data->imageRotate.GetValueAt(index);
}

std::string ScanServerCapabilities::GetImageRotateLocalizedValueAt(int32_t index) const {
    return m_data->imageRotate.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetImageRotateCurrentIndex() const {
    return m_data->imageRotate.GetCurrentIndex();
}

int32_t ScanServerCapabilities::GetDuplexPassCount() const {
    return m_data->duplexPass.GetCount();
}

std::string ScanServerCapabilities::GetDuplexPassValueAt(int32_t index) const {
    return m_data->duplexPass.GetValueAt(index);
}

std::string ScanServerCapabilities::GetDuplexPassLocalizedValueAt(int32_t index) const {
    return m_data->duplexPass.GetLocalizedValueAt(index);
}

int32_t ScanServerCapabilities::GetDuplexPassCurrentIndex() const {
    return m_data->duplexPass.GetCurrentIndex();
}

bool ScanServerCapabilities::IsScanRemoteSendEnabled() const {
    return m_data->scanRemoteSend.GetValue();
}

bool ScanServerCapabilities::IsScanRemoteGetEnabled() const {
    return m_data->scanRemoteGet.GetValue();
}

bool ScanServerCapabilities::IsImageModeEnabled() const {
    return m_data->imageModeEnabled.GetValue();
}

bool ScanServerCapabilities::SupportsAdf() const {
    return m_data->supportAdf.GetValue();
}

bool ScanServerCapabilities::SupportsDuplex() const {
    return m_data->supportDuplex.GetValue();
}

bool ScanServerCapabilities::IsBindDirectionEnabled() const {
    return m_data->bindDirectionEnabled.GetValue();
}

bool ScanServerCapabilities::CanScanToEmail() const {
    return m_data->scanToEmail.GetValue();
}

bool ScanServerCapabilities::CanScanToHoldQueue() const {
    return m_data->scanToHoldQueue.GetValue();
}

bool ScanServerCapabilities::CanScanToFtp() const {
    return m_data->scanToFtp.GetValue();
}

bool ScanServerCapabilities::CanScanToEmFax() const {
    return m_data->scanToEmFax.GetValue();
}

bool ScanServerCapabilities::SupportsOcr() const {
    return m_data->scanOcr.GetValue();
}

bool ScanServerCapabilities::IsStringMailboxNamesEnabled() const {
    return m_data->stringMailboxNames.GetValue();
}

bool ScanServerCapabilities::IsMailboxPasswordEnabled() const {
    return m_data->mailboxPassword.GetValue();
}

bool ScanServerCapabilities::IsBackgroundRemoveEnabled() const {
    return m_data->backgroundRemoveEnabled.GetValue();
}

bool ScanServerCapabilities::IsOrientationEnabled() const {
    return m_data->orientationEnabled.GetValue();
}

bool ScanServerCapabilities::IsBrightLevelEnabled() const {
    return m_data->brightLevelEnabled.GetValue();
}

bool ScanServerCapabilities::IsCompressLevelEnabled() const {
    return m_data->compressLevelEnabled.GetValue();
}

bool ScanServerCapabilities::IsDropColorEnabled() const {
    return m_data->dropColorEnabled.GetValue();
}

bool ScanServerCapabilities::IsDropRangeEnabled() const {
    return m_data->dropRangeEnabled.GetValue();
}

bool ScanServerCapabilities::IsSplitOriginalEnabled() const {
    return m_data->splitOriginalEnabled.GetValue();
}

bool ScanServerCapabilities::IsEraseModeSupported() const {
    return m_data->eraseModeSupported.GetValue();
}

bool ScanServerCapabilities::IsDuplexLayoutSupported() const {
    return m_data->duplexLayoutSupported.GetValue();
}

bool ScanServerCapabilities::IsMailFromSupported() const {
    return m_data->mailFromSupported.GetValue();
}

bool ScanServerCapabilities::IsMailFromEnabled() const {
    return m_data->mailFromEnabled.GetValue();
}

bool ScanServerCapabilities::IsCorpMailFromEnabled() const {
    return m_data->corpMailFromEnabled.GetValue();
}

bool ScanServerCapabilities::IsThinMediaEnabled() const {
    return m_data->thinMediaEnabled.GetValue();
}

bool ScanServerCapabilities::IsDuplexOddPageEnabled() const {
    return m_data->duplexOddPageEnabled.GetValue();
}

bool ScanServerCapabilities::IsInitiateDisabled() const {
    return m_data->initiateDisabled.GetValue();
}

bool ScanServerCapabilities::IsSharpnessEnabled() const {
    return m_data->sharpnessEnabled.GetValue();
}

bool ScanServerCapabilities::IsBackgroundAdjustEnabled() const {
    return m_data->backgroundAdjustEnabled.GetValue();
}

bool ScanServerCapabilities::IsExposureEnabled() const {
    return m_data->exposureEnabled.GetValue();
}

bool ScanServerCapabilities::IsImageRotateEnabled() const {
    return m_data->imageRotateEnabled.GetValue();
}

bool ScanServerCapabilities::IsScanEnabled() const {
    return m_data->scanEnabled.GetValue();
}

bool ScanServerCapabilities::IsUtf8MailboxEnabled() const {
    return m_data->utf8Mailbox.GetValue();
}

bool ScanServerCapabilities::IsDuplexPassSupported() const {
    return m_data->duplexPassSupported.GetValue();
}

bool ScanServerCapabilities::IsDuplexPassEnabled() const {
    return m_data->duplexPassEnabled.GetValue();
}

bool ScanServerCapabilities::IsResAllowAny() const {
    return m_data->resAllowAny.GetValue();
}

bool ScanServerCapabilities::HasMkEmFaxable() const {
    return m_data->hasMkEmFaxable.GetValue();
}

bool ScanServerCapabilities::IsMailAllowUrls() const {
    return m_data->mailAllowUrls.GetValue();
}

bool ScanServerCapabilities::IsMixedPageSizeEnabled() const {
    return m_data->mixedPageSize.GetValue();
}
