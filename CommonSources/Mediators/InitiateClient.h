#pragma once
// What the initiate mediator asks of the initiate pane: whether a setting applies, and the
// chosen value. Texts are the server's keywords for the chosen entries, never display texts.

#include <string>

class InitiateClient {
public:
    // GetSplitMode's answer for the pane's own "no split" entry: a keyword of its own, so that
    // a translated interface cannot turn "no split" into a split mode.
    static const char* const kSplitModeOff;

    InitiateClient() = default;
    InitiateClient(const InitiateClient&) = delete;
    InitiateClient& operator=(const InitiateClient&) = delete;
    virtual ~InitiateClient();

    virtual bool IsScanSourceEnabled() = 0;
    virtual bool IsOrientationEnabled() = 0;
    virtual bool IsCompressLevelEnabled() = 0;
    virtual bool IsBackgroundRemovalEnabled() = 0;
    virtual bool IsBrightnessEnabled() = 0;
    virtual bool IsBindDirectionEnabled() = 0;
    virtual bool IsImageModeEnabled() = 0;
    // True for the platen, false for the feeder.
    virtual bool GetScanSource() = 0;
    // True for double-sided.
    virtual bool GetScanSides() = 0;
    virtual std::string GetResolution() = 0;
    virtual std::string GetPageSize() = 0;
    virtual std::string GetColorMode() = 0;
    virtual std::string GetOrientation() = 0;
    virtual std::string GetCompressLevel() = 0;
    virtual std::string GetBackgroundRemoval() = 0;
    virtual std::string GetBrightness() = 0;
    virtual std::string GetBindDirection() = 0;
    virtual std::string GetImageMode() = 0;
    virtual bool IsInternetFaxEnabled() = 0;
    virtual bool GetInternetFax() = 0;
    virtual bool IsOcrEnabled() = 0;
    virtual bool GetOcr() = 0;
    virtual bool IsMixedPageSizeEnabled() = 0;
    virtual bool GetMixedPageSize() = 0;
    virtual bool IsDropOutColorEnabled() = 0;
    virtual bool IsDropOutColorAvailable() = 0;
    virtual bool IsSplitModeEnabled() = 0;
    virtual bool IsEraseBorderEnabled() = 0;
    virtual bool IsColorRangeEnabled() = 0;
    virtual bool IsSplitTimeoutEnabled() = 0;
    // Border erasing is switched on.
    virtual bool GetEraseBorder() = 0;
    virtual bool IsDuplexLayoutEnabled() = 0;
    virtual std::string GetDropOutColor() = 0;
    virtual std::string GetColorRange() = 0;
    // kSplitModeOff for no split.
    virtual std::string GetSplitMode() = 0;
    virtual std::string GetSplitTimeout() = 0;
    virtual bool IsEraseBorderChecked() = 0;
    // Side 0 top, 1 right, 2 bottom, 3 left.
    virtual std::string GetEraseSize(int side) = 0;
    // "TOP_TOP" or "TOP_BOTTOM".
    virtual std::string GetDuplexLayout() = 0;
    virtual bool IsThinMediaEnabled() = 0;
    virtual bool GetThinMedia() = 0;
    virtual bool IsDuplexOddPageEnabled() = 0;
    virtual bool GetDuplexOddPage() = 0;
    virtual bool IsSharpnessEnabled() = 0;
    virtual std::string GetSharpness() = 0;
    virtual bool IsBackgroundAdjustEnabled() = 0;
    virtual std::string GetBackgroundAdjust() = 0;
    virtual bool IsExposureEnabled() = 0;
    virtual std::string GetExposure() = 0;
    virtual bool IsImageRotateEnabled() = 0;
    virtual std::string GetImageRotate() = 0;
    virtual bool IsDuplexPassEnabled() = 0;
    virtual std::string GetDuplexPass() = 0;
};
