#pragma once
// The "Initiate" pane (dialog 1500): one picker or check box per scan setting the server
// offers, filled from the server's capabilities (asked at the moment of use, never cached) and
// preselected from the user's stored choices; the settings are tied to each other by their
// rules; the pane answers its InitiateMediator as that mediator's client and stores the
// choices when it closes. Every list entry carries the server's index of its value as item
// data, so filtered lists still name the server's values.

#include "AcquireWindowParts.h"
#include "EditCtrl.h"
#include "GuiMultiPane.h"
#include "InitiateClient.h"
#include "InitiateMediator.h"
#include "PopupButton.h"
#include "PopupEditButton.h"
#include "SpinControl.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GuiMultiPaneDialog;
class QuorvelWrapperIntf;
class ScanAttributeWrapper;
class ScanPreferences;
class ScanServerCapabilities;
class ScannerIntf;

class GuiScanInitiateDialog : public GuiMultiPane,
                              public InitiateClient,
                              public AcquireInitiatePaneIntf {
public:
    // Everything is borrowed. Without preferences the pane takes the data source's.
    GuiScanInitiateDialog(GuiMultiPaneDialog* owner, QuorvelWrapperIntf* wrapper,
                          ScanAttributeWrapper* target, ScannerIntf* scanner,
                          ScanPreferences* preferences = nullptr);
    ~GuiScanInitiateDialog() override;

    // Stores the choices, lets go of the controls and deletes the pane.
    void Close() override;
    // Steps of the split timeout spin skip 1 and 2.
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    // Showing also tells the host that this pane governs its buttons.
    void ShowPane(bool show) override;

    virtual void OnPaneActivated();
    virtual bool IsAdfSelected();
    // Refills now when the pane is shown, else when it is next shown.
    void RefreshSettings() override;
    virtual bool IsAutoPageSizeSelectable();
    // The display text of a page-size keyword the pane knows; false for any other.
    virtual bool GetPaperSizeText(const std::string& keyword, std::string& text) const;
    virtual void FillAllSettings();
    virtual void SaveSettings();
    virtual void RefillPaperSize();
    virtual void StepResolution(bool up);
    virtual void SnapSplitTimeout();
    virtual void ApplyInternetFaxMode(bool on);
    InitiateMediator* GetInitiateMediator() override;

    bool IsScanSourceEnabled() override;
    bool IsOrientationEnabled() override;
    bool IsCompressLevelEnabled() override;
    bool IsBackgroundRemovalEnabled() override;
    bool IsBrightnessEnabled() override;
    bool IsBindDirectionEnabled() override;
    bool IsImageModeEnabled() override;
    bool GetScanSource() override;
    bool GetScanSides() override;
    std::string GetResolution() override;
    std::string GetPageSize() override;
    std::string GetColorMode() override;
    std::string GetOrientation() override;
    std::string GetCompressLevel() override;
    std::string GetBackgroundRemoval() override;
    std::string GetBrightness() override;
    std::string GetBindDirection() override;
    std::string GetImageMode() override;
    bool IsInternetFaxEnabled() override;
    bool GetInternetFax() override;
    bool IsOcrEnabled() override;
    bool GetOcr() override;
    bool IsMixedPageSizeEnabled() override;
    bool GetMixedPageSize() override;
    bool IsDropOutColorEnabled() override;
    bool IsDropOutColorAvailable() override;
    bool IsSplitModeEnabled() override;
    bool IsEraseBorderEnabled() override;
    bool IsColorRangeEnabled() override;
    bool IsSplitTimeoutEnabled() override;
    bool GetEraseBorder() override;
    bool IsDuplexLayoutEnabled() override;
    std::string GetDropOutColor() override;
    std::string GetColorRange() override;
    std::string GetSplitMode() override;
    std::string GetSplitTimeout() override;
    bool IsEraseBorderChecked() override;
    std::string GetEraseSize(int side) override;
    std::string GetDuplexLayout() override;
    bool IsThinMediaEnabled() override;
    bool GetThinMedia() override;
    bool IsDuplexOddPageEnabled() override;
    bool GetDuplexOddPage() override;
    bool IsSharpnessEnabled() override;
    std::string GetSharpness() override;
    bool IsBackgroundAdjustEnabled() override;
    std::string GetBackgroundAdjust() override;
    bool IsExposureEnabled() override;
    std::string GetExposure() override;
    bool IsImageRotateEnabled() override;
    std::string GetImageRotate() override;
    bool IsDuplexPassEnabled() override;
    std::string GetDuplexPass() override;

protected:
    // The acquire window runs in its send role (the application only sends, never acquires).
    virtual bool IsSendRole() const;

    virtual void FillSource();
    virtual void FillSides();
    virtual void FillBinding();
    virtual void FillResolution();
    virtual void FillPaperSize();
    virtual void FillColorMode();
    virtual void FillOrientation();
    virtual void FillCompression();
    virtual void FillBackgroundRemoval();
    virtual void FillBrightness();
    virtual void FillInternetFax();
    virtual void FillImageMode();
    virtual void FillOcr();
    virtual void FillDropOutColor();
    virtual void FillColorRange();
    virtual void FillSplitMode();
    virtual void FillSplitTimeout();
    virtual void FillEraseBorderCheck();
    virtual void FillEraseBorderWidths();
    virtual void FillThinMedia();
    virtual void FillLastSheetOfDuplex();
    virtual void FillSharpness();
    virtual void FillBackgroundAdjust();
    virtual void FillExposure();
    virtual void FillImageRotate();

    virtual void OnSourceSelected();
    virtual void OnSidesSelected();
    virtual void OnResolutionSelected();
    virtual void OnResolutionEdited();
    virtual void OnResolutionFocusLost();
    virtual void OnPageSizeSelected();
    virtual void OnColorModeChanged();
    virtual void OnBackgroundRemovalSelected();
    virtual void OnImageModeSelected();
    virtual void OnInternetFaxClicked();
    virtual void OnDropOutColorSelected();
    virtual void OnSplitModeChanged();
    virtual void OnSplitTimeoutChanged();
    virtual void OnSplitTimeoutFocusLost();
    virtual void OnEraseBorderClicked();

    virtual void UpdateSourceDependentControls();
    virtual void EnableBinding();
    virtual void ForceSingleSided();
    virtual bool IsDropOutColorSelectable();
    virtual void EnableDropOutColor();
    virtual bool IsColorRangeSelectable();
    virtual void EnableColorRange();
    virtual bool IsSplitTimeoutSelectable();
    virtual void EnableSplitTimeout();
    virtual void EnableEraseWidths();
    virtual void EnableLastSheetOfDuplex();
    virtual void EnableSharpness();
    virtual void EnableBackgroundAdjust();
    virtual void EnableExposure();
    virtual void EnableImageRotate();

private:
    using CapText = std::string (ScanServerCapabilities::*)(int32_t) const;
    struct Controls;

    ScanServerCapabilities& Caps() const;
    // The server's value at the chosen entry's item data; empty when nothing is chosen.
    std::string KeywordOf(const PopupButton& picker, CapText valueAt) const;
    // The entry whose item data is serverIndex; -1 when there is none.
    static int FindByData(const PopupButton& picker, LPARAM serverIndex);
    // The first entry that begins with one of the texts (an empty text matches nothing), else
    // the entry of the default server index, else the first.
    static void SelectFirstOf(PopupButton& picker, const std::vector<std::string>& texts,
                              int defaultIndex);
    static void AddEntry(PopupButton& picker, const std::string& text, LPARAM data);
    // Hides the picker and its label.
    void HideSetting(int pickerId, int labelId);
    // The common fill: every entry with a keyword (every entry without a keyword getter).
    void FillList(PopupButton& picker, int pickerId, int labelId, bool shown, int32_t count,
                  CapText valueAt, CapText displayAt, const std::string& stored, int defaultIndex);
    void CheckResolutionText(const std::string& text);
    void AttachResolutionEdit();
    void EnableOwnerItem(int controlId);

    // A notification of the spin is being handled: the buddy's change is not followed.
    static bool s_inSpinNotification;

    QuorvelWrapperIntf* m_wrapper;
    ScanPreferences* m_preferences;
    ScannerIntf* m_scanner;
    std::unique_ptr<Controls> m_controls;
    // Its format with the "%d" of the maximum, read from the template once.
    std::string m_maxResolutionFormat;
    InitiateMediator m_mediator;
};
