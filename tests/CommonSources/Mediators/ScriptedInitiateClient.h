#pragma once
// An initiate pane for mediator tests: every question answers from a table of answers that a
// test fills; nothing applies and every text is empty until it does.

#include <array>
#include <string>

#include "InitiateClient.h"

struct InitiateAnswers {
    bool scanSourceEnabled = false;
    bool orientationEnabled = false;
    bool compressLevelEnabled = false;
    bool backgroundRemovalEnabled = false;
    bool brightnessEnabled = false;
    bool bindDirectionEnabled = false;
    bool imageModeEnabled = false;
    bool platen = false;
    bool doubleSided = false;
    std::string resolution;
    std::string pageSize;
    std::string colorMode;
    std::string orientation;
    std::string compressLevel;
    std::string backgroundRemoval;
    std::string brightness;
    std::string bindDirection;
    std::string imageMode;
    bool internetFaxEnabled = false;
    bool internetFax = false;
    bool ocrEnabled = false;
    bool ocr = false;
    bool mixedPageSizeEnabled = false;
    bool mixedPageSize = false;
    bool dropOutColorEnabled = false;
    bool dropOutColorAvailable = false;
    bool splitModeEnabled = false;
    bool eraseBorderEnabled = false;
    bool colorRangeEnabled = false;
    bool splitTimeoutEnabled = false;
    bool eraseBorder = false;
    bool duplexLayoutEnabled = false;
    std::string dropOutColor;
    std::string colorRange;
    std::string splitMode;
    std::string splitTimeout;
    bool eraseBorderChecked = false;
    // Top, right, bottom, left.
    std::array<std::string, 4> eraseSizes;
    std::string duplexLayout;
    bool thinMediaEnabled = false;
    bool thinMedia = false;
    bool duplexOddPageEnabled = false;
    bool duplexOddPage = false;
    bool sharpnessEnabled = false;
    std::string sharpness;
    bool backgroundAdjustEnabled = false;
    std::string backgroundAdjust;
    bool exposureEnabled = false;
    std::string exposure;
    bool imageRotateEnabled = false;
    std::string imageRotate;
    bool duplexPassEnabled = false;
    std::string duplexPass;
};

class ScriptedInitiateClient : public InitiateClient {
public:
    InitiateAnswers answers;

    ScriptedInitiateClient() = default;
    explicit ScriptedInitiateClient(const InitiateAnswers& given) : answers(given) {}
    ~ScriptedInitiateClient() override;

    bool IsScanSourceEnabled() override { return answers.scanSourceEnabled; }
    bool IsOrientationEnabled() override { return answers.orientationEnabled; }
    bool IsCompressLevelEnabled() override { return answers.compressLevelEnabled; }
    bool IsBackgroundRemovalEnabled() override { return answers.backgroundRemovalEnabled; }
    bool IsBrightnessEnabled() override { return answers.brightnessEnabled; }
    bool IsBindDirectionEnabled() override { return answers.bindDirectionEnabled; }
    bool IsImageModeEnabled() override { return answers.imageModeEnabled; }
    bool GetScanSource() override { return answers.platen; }
    bool GetScanSides() override { return answers.doubleSided; }
    std::string GetResolution() override { return answers.resolution; }
    std::string GetPageSize() override { return answers.pageSize; }
    std::string GetColorMode() override { return answers.colorMode; }
    std::string GetOrientation() override { return answers.orientation; }
    std::string GetCompressLevel() override { return answers.compressLevel; }
    std::string GetBackgroundRemoval() override { return answers.backgroundRemoval; }
    std::string GetBrightness() override { return answers.brightness; }
    std::string GetBindDirection() override { return answers.bindDirection; }
    std::string GetImageMode() override { return answers.imageMode; }
    bool IsInternetFaxEnabled() override { return answers.internetFaxEnabled; }
    bool GetInternetFax() override { return answers.internetFax; }
    bool IsOcrEnabled() override { return answers.ocrEnabled; }
    bool GetOcr() override { return answers.ocr; }
    bool IsMixedPageSizeEnabled() override { return answers.mixedPageSizeEnabled; }
    bool GetMixedPageSize() override { return answers.mixedPageSize; }
    bool IsDropOutColorEnabled() override { return answers.dropOutColorEnabled; }
    bool IsDropOutColorAvailable() override { return answers.dropOutColorAvailable; }
    bool IsSplitModeEnabled() override { return answers.splitModeEnabled; }
    bool IsEraseBorderEnabled() override { return answers.eraseBorderEnabled; }
    bool IsColorRangeEnabled() override { return answers.colorRangeEnabled; }
    bool IsSplitTimeoutEnabled() override { return answers.splitTimeoutEnabled; }
    bool GetEraseBorder() override { return answers.eraseBorder; }
    bool IsDuplexLayoutEnabled() override { return answers.duplexLayoutEnabled; }
    std::string GetDropOutColor() override { return answers.dropOutColor; }
    std::string GetColorRange() override { return answers.colorRange; }
    std::string GetSplitMode() override { return answers.splitMode; }
    std::string GetSplitTimeout() override { return answers.splitTimeout; }
    bool IsEraseBorderChecked() override { return answers.eraseBorderChecked; }
    // Sides outside 0..3 answer "?" so that a wrong side shows in the attributes.
    std::string GetEraseSize(int side) override {
        return side >= 0 && side < 4 ? answers.eraseSizes[static_cast<size_t>(side)] : "?";
    }
    std::string GetDuplexLayout() override { return answers.duplexLayout; }
    bool IsThinMediaEnabled() override { return answers.thinMediaEnabled; }
    bool GetThinMedia() override { return answers.thinMedia; }
    bool IsDuplexOddPageEnabled() override { return answers.duplexOddPageEnabled; }
    bool GetDuplexOddPage() override { return answers.duplexOddPage; }
    bool IsSharpnessEnabled() override { return answers.sharpnessEnabled; }
    std::string GetSharpness() override { return answers.sharpness; }
    bool IsBackgroundAdjustEnabled() override { return answers.backgroundAdjustEnabled; }
    std::string GetBackgroundAdjust() override { return answers.backgroundAdjust; }
    bool IsExposureEnabled() override { return answers.exposureEnabled; }
    std::string GetExposure() override { return answers.exposure; }
    bool IsImageRotateEnabled() override { return answers.imageRotateEnabled; }
    std::string GetImageRotate() override { return answers.imageRotate; }
    bool IsDuplexPassEnabled() override { return answers.duplexPassEnabled; }
    std::string GetDuplexPass() override { return answers.duplexPass; }
};
