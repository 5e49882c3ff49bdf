#pragma once
// What the connected server allows: paper sizes, formats, compressions, colour modes,
// resolutions, sources, image adjustments, destinations, mailbox and sender features, and
// whether a client may start a scan. Filled once from the server's attribute table, then only
// read; every read has a fallback for a server that says nothing.

#include <cstdint>
#include <memory>
#include <string>

#include "ServerCap.h"

class ScanAttributeWrapper;
class LocalizerIntf;
class QuorvelWrapperIntf;
struct ScanServerCapabilityData;

class ScanServerCapabilities {
public:
    ScanServerCapabilities();
    ScanServerCapabilities(const ScanServerCapabilities&) = delete;
    ScanServerCapabilities& operator=(const ScanServerCapabilities&) = delete;
    virtual ~ScanServerCapabilities();

    // "SCAN_INIT_LOCKBY" (or its older keys) "NONE" or "REMOTE"; true when the server is silent.
    virtual bool IsScanInitAllowed() const;
    virtual bool IsScanRemoteSendEnabled() const;
    virtual bool IsScanRemoteGetEnabled() const;
    virtual int32_t GetPageSizeCount() const;
    virtual std::string GetPageSizeValueAt(int32_t index) const;
    virtual std::string GetPageSizeLocalizedValueAt(int32_t index) const;
    virtual bool IsAutoPageSizeAt(int32_t index) const;
    virtual bool SupportsAutoPageSize() const;
    virtual bool SupportsCustomPageSize() const;
    virtual int32_t GetPageSizeCurrentIndex() const;
    virtual ServerCap GetFileFormatCapability() const;
    virtual int32_t GetFileFormatCount() const;
    virtual std::string GetFileFormatValueAt(int32_t index) const;
    virtual std::string GetFileFormatLocalizedValueAt(int32_t index) const;
    virtual int32_t GetFileFormatCurrentIndex() const;
    virtual ServerCap GetCompressionCapability() const;
    virtual int32_t GetCompressionCount() const;
    virtual std::string GetCompressionValueAt(int32_t index) const;
    virtual std::string GetCompressionLocalizedValueAt(int32_t index) const;
    virtual int32_t GetCompressionCurrentIndex() const;
    virtual ServerCap GetColorModeCapability() const;
    virtual bool IsColorAvailable() const;
    virtual int32_t GetColorModeCount() const;
    virtual std::string GetColorModeValueAt(int32_t index) const;
    virtual std::string GetColorModeLocalizedValueAt(int32_t index) const;
    virtual int32_t GetColorModeCurrentIndex() const;
    virtual bool IsImageModeEnabled() const;
    virtual int32_t GetImageModeCount() const;
    virtual int32_t GetImageModeCurrentIndex() const;
    virtual std::string GetImageModeValueAt(int32_t index) const;
    virtual std::string GetImageModeLocalizedValueAt(int32_t index) const;
    virtual int32_t GetMaxResolution() const;
    virtual int32_t GetMinResolution() const;
    virtual int32_t GetResolutionCount() const;
    virtual std::string GetResolutionValueAt(int32_t index) const;
    virtual int32_t GetResolutionCurrentIndex() const;
    virtual ServerCap GetScanSourceCapability() const;
    // More than one source and "SUPPORT_ADF".
    virtual bool HasSelectableScanSource() const;
    virtual bool SupportsAdf() const;
    virtual int32_t GetScanSourceCount() const;
    virtual std::string GetScanSourceValueAt(int32_t index) const;
    virtual std::string GetScanSourceLocalizedValueAt(int32_t index) const;
    // "ADF" or "DF".
    virtual bool IsAdfSourceAt(int32_t index) const;
    virtual bool IsPlatenSourceAt(int32_t index) const;
    virtual bool SupportsAdfSource() const;
    virtual bool SupportsPlatenSource() const;
    virtual int32_t GetScanSourceCurrentIndex() const;
    virtual bool SupportsDuplex() const;
    virtual ServerCap GetBindDirectionCapability() const;
    virtual bool IsBindDirectionEnabled() const;
    virtual int32_t GetBindDirectionCount() const;
    virtual std::string GetBindDirectionValueAt(int32_t index) const;
    virtual std::string GetBindDirectionLocalizedValueAt(int32_t index) const;
    virtual int32_t GetBindDirectionCurrentIndex() const;
    virtual bool CanScanToEmail() const;
    virtual bool CanScanToHoldQueue() const;
    virtual bool CanScanToFtp() const;
    virtual bool CanScanToEmFax() const;
    virtual bool SupportsOcr() const;
    virtual bool IsStringMailboxNamesEnabled() const;
    virtual bool IsMailboxPasswordEnabled() const;
    virtual ServerCap GetBackgroundRemoveCapability() const;
    virtual bool IsBackgroundRemoveEnabled() const;
    virtual int32_t GetBackgroundRemoveCount() const;
    virtual std::string GetBackgroundRemoveValueAt(int32_t index) const;
    virtual std::string GetBackgroundRemoveLocalizedValueAt(int32_t index) const;
    virtual int32_t GetBackgroundRemoveCurrentIndex() const;
    virtual ServerCap GetOrientationCapability() const;
    virtual bool IsOrientationEnabled() const;
    virtual int32_t GetOrientationCount() const;
    virtual std::string GetOrientationValueAt(int32_t index) const;
    virtual std::string GetOrientationLocalizedValueAt(int32_t index) const;
    virtual int32_t GetOrientationCurrentIndex() const;
    virtual bool IsBrightLevelEnabled() const;
    virtual int32_t GetBrightLevelCount() const;
    virtual std::string GetBrightLevelValueAt(int32_t index) const;
    virtual std::string GetBrightLevelLocalizedValueAt(int32_t index) const;
    virtual int32_t GetBrightLevelCurrentIndex() const;
    virtual ServerCap GetCompressLevelCapability() const;
    virtual bool IsCompressLevelEnabled() const;
    virtual int32_t GetCompressLevelCount() const;
    virtual std::string GetCompressLevelValueAt(int32_t index) const;
    virtual std::string GetCompressLevelLocalizedValueAt(int32_t index) const;
    virtual int32_t GetCompressLevelCurrentIndex() const;
    // Loads everything in a fixed order; a step whose value the model cannot accept is noted
    // and skipped.
    virtual void LoadFromServerAttributes(const ScanAttributeWrapper& table,
                                          LocalizerIntf* localizer);
    // The table the Load operations read; null when none. Not owned.
    virtual void SetAttributeSource(const ScanAttributeWrapper* table);
    virtual bool IsDropColorEnabled() const;
    virtual int32_t GetDropColorCount() const;
    virtual std::string GetDropColorValueAt(int32_t index) const;
    virtual std::string GetDropColorLocalizedValueAt(int32_t index) const;
    virtual int32_t GetDropColorCurrentIndex() const;
    // No server key sets it: always false.
    virtual bool IsDropRangeEnabled() const;
    virtual int32_t GetDropRangeCount() const;
    virtual std::string GetDropRangeValueAt(int32_t index) const;
    virtual std::string GetDropRangeLocalizedValueAt(int32_t index) const;
    virtual int32_t GetDropRangeCurrentIndex() const;
    virtual bool IsSplitOriginalEnabled() const;
    virtual int32_t GetSplitModeCount() const;
    virtual std::string GetSplitModeValueAt(int32_t index) const;
    virtual std::string GetSplitModeLocalizedValueAt(int32_t index) const;
    virtual int32_t GetSplitModeCurrentIndex() const;
    // Fixed bounds, whatever the server sends.
    virtual std::string GetSplitTimeoutMin() const;
    virtual std::string GetSplitTimeoutMax() const;
    virtual std::string GetSplitTimeoutDefault() const;
    virtual bool IsEraseModeSupported() const;
    virtual std::string GetEraseBorderMin() const;
    virtual std::string GetEraseBorderMax() const;
    virtual std::string GetEraseBorderDefault() const;
    virtual bool IsDuplexLayoutSupported() const;
    virtual int32_t GetEmFaxResolutionCount() const;
    virtual int32_t GetEmFaxResolutionAt(int32_t index) const;
    virtual std::string GetEmFaxResolutionValueAt(int32_t index) const;
    virtual int32_t GetEmFaxResolutionCurrentIndex() const;
    virtual bool IsMailFromSupported() const;
    virtual bool IsMailFromEnabled() const;
    // "C_MAILFROM": the server wants the user to log in to the corporate directory.
    virtual bool IsCorpMailFromEnabled() const;
    virtual ServerCap GetDefaultFormatCapability() const;
    virtual int32_t GetDefaultFormatCount() const;
    virtual std::string GetDefaultFormatValueAt(int32_t index) const;
    virtual std::string GetDefaultFormatLocalizedValueAt(int32_t index) const;
    virtual int32_t GetDefaultFormatCurrentIndex() const;
    virtual bool IsThinMediaEnabled() const;
    virtual bool IsDuplexOddPageEnabled() const;
    virtual bool IsInitiateDisabled() const;
    virtual bool IsSharpnessEnabled() const;
    virtual int32_t GetSharpnessLevelCount() const;
    virtual std::string GetSharpnessLevelValueAt(int32_t index) const;
    virtual std::string GetSharpnessLevelLocalizedValueAt(int32_t index) const;
    virtual int32_t GetSharpnessLevelCurrentIndex() const;
    virtual bool IsBackgroundAdjustEnabled() const;
    virtual int32_t GetBackgroundAdjustLevelCount() const;
    virtual std::string GetBackgroundAdjustLevelValueAt(int32_t index) const;
    virtual std::string GetBackgroundAdjustLevelLocalizedValueAt(int32_t index) const;
    virtual int32_t GetBackgroundAdjustLevelCurrentIndex() const;
    virtual bool IsExposureEnabled() const;
    virtual int32_t GetExposureLevelCount() const;
    virtual std::string GetExposureLevelValueAt(int32_t index) const;
    virtual std::string GetExposureLevelLocalizedValueAt(int32_t index) const;
    virtual int32_t GetExposureLevelCurrentIndex() const;
    virtual bool IsImageRotateEnabled() const;
    virtual int32_t GetImageRotateCount() const;
    virtual std::string GetImageRotateValueAt(int32_t index) const;
    virtual std::string GetImageRotateLocalizedValueAt(int32_t index) const;
    virtual int32_t GetImageRotateCurrentIndex() const;
    virtual bool IsScanEnabled() const;
    virtual bool IsUtf8MailboxEnabled() const;
    virtual bool IsDuplexPassSupported() const;
    virtual bool IsDuplexPassEnabled() const;
    virtual int32_t GetDuplexPassCount() const;
    virtual std::string GetDuplexPassValueAt(int32_t index) const;
    virtual std::string GetDuplexPassLocalizedValueAt(int32_t index) const;
    virtual int32_t GetDuplexPassCurrentIndex() const;

    // One step each of LoadFromServerAttributes; they read the attribute source and do
    // nothing without one.
    virtual void LoadScanInitMode(LocalizerIntf* localizer);
    virtual void LoadScanSources(LocalizerIntf* localizer);
    virtual void LoadColorModes(LocalizerIntf* localizer);
    virtual void LoadResolutions(LocalizerIntf* localizer);
    virtual void LoadPageSizes(LocalizerIntf* localizer);
    virtual void LoadBackgroundRemove(LocalizerIntf* localizer);
    virtual void LoadBrightLevel(LocalizerIntf* localizer);
    virtual void LoadDropColor(LocalizerIntf* localizer);
    virtual void LoadDropRange(LocalizerIntf* localizer);
    virtual void LoadSplitMode(LocalizerIntf* localizer);
    virtual void LoadEraseMode(LocalizerIntf* localizer);
    virtual void LoadDuplexLayout(LocalizerIntf* localizer);
    virtual void LoadEmFaxResolutions(LocalizerIntf* localizer);
    virtual void LoadMailFrom(LocalizerIntf* localizer);
    virtual void LoadDefaultFormats(LocalizerIntf* localizer);
    virtual void LoadThinMedia(LocalizerIntf* localizer);
    virtual void LoadDuplexOddPage(LocalizerIntf* localizer);
    virtual void LoadInitiateDisabled(LocalizerIntf* localizer);
    virtual void LoadSharpness(LocalizerIntf* localizer);
    virtual void LoadBackgroundAdjust(LocalizerIntf* localizer);
    virtual void LoadExposure(LocalizerIntf* localizer);
    virtual void LoadImageRotate(LocalizerIntf* localizer);
    virtual void LoadScanEnabled(LocalizerIntf* localizer);
    virtual void LoadUtf8Mailbox(LocalizerIntf* localizer);
    virtual void LoadDuplexPass(LocalizerIntf* localizer);

    bool IsResAllowAny() const;
    bool HasMkEmFaxable() const;
    bool IsMailAllowUrls() const;
    bool IsMixedPageSizeEnabled() const;
    // The display text of "FS_MIXED" when the server has mixed page sizes, else empty.
    std::string GetMixedPageSizeName() const;
    // The server's attribute defaults "LDAP_capable" and "LDAP_enable" both "yes".
    bool IsLdapEnabled() const;
    void LoadLdapCapability(QuorvelWrapperIntf* wrapper);

private:
    std::unique_ptr<ScanServerCapabilityData> m_data;
};
