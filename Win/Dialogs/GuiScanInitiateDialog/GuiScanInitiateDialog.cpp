#include "GuiScanInitiateDialog.h"

#include "AbstractSource.h"
#include "GuiMultiPaneDialog.h"
#include "GuiScanInitiateDialog_rc.h"
#include "PaneHostIntf.h"
#include "ScanPreferences.h"
#include "ScanServerCapabilities.h"
#include "ScannerIntf.h"
#include "StringTable_rc.h"
#include "TwainException.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>

namespace {

// The owner's "Send..." button (the acquire window's), enabled with its Acquire.
constexpr int kOwnerSendButton = 1106;

const int kBorderEdits[4] = {IDC_SI_BORDER_TOP, IDC_SI_BORDER_RIGHT, IDC_SI_BORDER_BOTTOM,
                             IDC_SI_BORDER_LEFT};
const int kBorderLabels[4] = {IDC_SI_BORDER_TOP_LABEL, IDC_SI_BORDER_RIGHT_LABEL,
                              IDC_SI_BORDER_BOTTOM_LABEL, IDC_SI_BORDER_LEFT_LABEL};
constexpr uint32_t kDigitsField = EditCtrl::kSingleLine | EditCtrl::kDigitsOnly;
constexpr int kSplitTimeoutLimit = 999;

// The leading decimal number of a text (an optional sign, then digits); 0 without digits.
int DecimalValue(const std::string& text) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
        value = std::min<long long>(value * 10 + (text[at] - '0'), 0x7fffffff);
    }
    return static_cast<int>(negative ? -value : value);
}

ScanPreferences* SourcePreferences() {
    AbstractSource* const source = AbstractSource::Instance();
    if (source == nullptr) {
        // Nothing to store the choices in.
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    return &source->GetScanPreferences();
}

bool IsOffTimeout(int value) {
    return value == 1 || value == 2 || value < 0;
}

} // namespace

struct GuiScanInitiateDialog::Controls {
    PopupButton source;
    PopupButton sides;
    PopupButton binding;
    PopupButton pageSize;
    PopupEditButton resolution;
    PopupButton colorMode;
    PopupButton orientation;
    PopupButton compression;
    PopupButton backgroundRemoval;
    PopupButton brightness;
    PopupButton imageMode;
    PopupButton dropOutColor;
    PopupButton colorRange;
    PopupButton splitMode;
    PopupButton sharpness;
    PopupButton backgroundAdjust;
    PopupButton exposure;
    PopupButton imageRotate;
    SpinControl splitTimeout;
    EditCtrl borders[4];
    int selectedSource = 0;
    int maxResolution = 0;
    int lastResolution = -1;
    bool refreshPending = false;
};

bool GuiScanInitiateDialog::s_inSpinNotification = false;

GuiScanInitiateDialog::GuiScanInitiateDialog(GuiMultiPaneDialog* owner, QuorvelWrapperIntf* wrapper,
                                             ScanAttributeWrapper* target, ScannerIntf* scanner,
                                             ScanPreferences* preferences)
    : GuiMultiPane(IDD_SCAN_INITIATE, owner), m_wrapper(wrapper),
      m_preferences(preferences != nullptr ? preferences : SourcePreferences()), m_scanner(scanner),
      m_controls(std::make_unique<Controls>()),
      m_mediator(target, static_cast<InitiateClient*>(this)) {}

GuiScanInitiateDialog::~GuiScanInitiateDialog() = default;

ScanServerCapabilities& GuiScanInitiateDialog::Caps() const {
    return *m_scanner->GetServerCapabilities();
}

bool GuiScanInitiateDialog::IsSendRole() const {
    const AbstractSource* const source = AbstractSource::Instance();
    return source != nullptr && source->GetShowAcquireGUI() == 0;
}

// ---- frame ----

bool GuiScanInitiateDialog::OnInitDialog() {
    GuiMultiPane::OnInitDialog();
    Controls& c = *m_controls;
    c.source.Attach(GetItem(IDC_SI_SOURCE));
    c.sides.Attach(GetItem(IDC_SI_SIDES));
    c.pageSize.Attach(GetItem(IDC_SI_SIZE));
    c.colorMode.Attach(GetItem(IDC_SI_COLOR));
    c.orientation.Attach(GetItem(IDC_SI_ORIENT));
    c.compression.Attach(GetItem(IDC_SI_COMPRESS));
    c.backgroundRemoval.Attach(GetItem(IDC_SI_BREMOVE));
    c.brightness.Attach(GetItem(IDC_SI_BRIGHT));
    c.binding.Attach(GetItem(IDC_SI_BIND));
    c.imageMode.Attach(GetItem(IDC_SI_IMAGE_MODE));
    c.dropOutColor.Attach(GetItem(IDC_SI_DROP));
    c.colorRange.Attach(GetItem(IDC_SI_RANGE));
    c.splitMode.Attach(GetItem(IDC_SI_SPLIT));
    c.splitTimeout.Attach(GetItem(IDC_SI_TIMEOUT_SPIN), GetItem(IDC_SI_TIMEOUT_EDIT));
    c.sharpness.Attach(GetItem(IDC_SI_SHARP));
    c.backgroundAdjust.Attach(GetItem(IDC_SI_BG_ADJUST));
    c.exposure.Attach(GetItem(IDC_SI_EXPOSURE));
    c.imageRotate.Attach(GetItem(IDC_SI_ROTATE));
    for (int side = 0; side < 4; ++side) {
        c.borders[side].SetHandle(GetItem(kBorderEdits[side]));
        c.borders[side].Attach(kDigitsField);
        c.borders[side].LimitText(2);
    }
    if (Caps().IsResAllowAny()) {
        ShowItem(IDC_SI_RES_LIST, false);
        c.resolution.AttachEdit(GetItem(IDC_SI_RES_EDIT));
        AttachResolutionEdit();
    } else {
        ShowItem(IDC_SI_RES_EDIT, false);
        c.resolution.Attach(GetItem(IDC_SI_RES_LIST));
    }
    FillAllSettings();
    if (IsSendRole() && Caps().CanScanToEmFax()) {
        ApplyInternetFaxMode(m_preferences->GetScanSendToInternetFax());
    }
    return true;
}

void GuiScanInitiateDialog::AttachResolutionEdit() {
    m_controls->resolution.AttachEditFilter(kDigitsField);
    m_controls->resolution.LimitText(3);
}

void GuiScanInitiateDialog::FillAllSettings() {
    FillSource();
    FillSides();
    FillPaperSize();
    FillResolution();
    FillColorMode();
    FillOrientation();
    FillCompression();
    FillBackgroundRemoval();
    FillBrightness();
    FillInternetFax();
    FillBinding();
    FillImageMode();
    FillDropOutColor();
    FillColorRange();
    FillSplitMode();
    FillSplitTimeout();
    FillEraseBorderCheck();
    FillEraseBorderWidths();
    FillOcr();
    FillThinMedia();
    FillLastSheetOfDuplex();
    FillSharpness();
    FillBackgroundAdjust();
    FillExposure();
    FillImageRotate();
    m_controls->refreshPending = false;
}

void GuiScanInitiateDialog::RefreshSettings() {
    auto* const owner = dynamic_cast<GuiMultiPaneDialog*>(GetOwner());
    if (owner != nullptr && owner->GetCurrentPane() == this && GetHwnd() != nullptr) {
        FillAllSettings();
    } else {
        m_controls->refreshPending = true;
    }
}

void GuiScanInitiateDialog::ShowPane(bool show) {
    GuiMultiPane::ShowPane(show);
    if (!show) {
        return;
    }
    if (auto* const host = dynamic_cast<PaneHostIntf*>(GetOwner())) {
        host->SetStateValue(1);
    }
    OnPaneActivated();
}

void GuiScanInitiateDialog::OnPaneActivated() {
    if (m_controls->refreshPending) {
        FillAllSettings();
    }
    EnableOwnerItem(kOwnerSendButton);
    EnableOwnerItem(IDOK);
}

void GuiScanInitiateDialog::EnableOwnerItem(int controlId) {
    GuiWindowsDialog* const owner = GetOwner();
    if (owner != nullptr && owner->GetItem(controlId) != nullptr) {
        owner->EnableItem(controlId, true);
    }
}

void GuiScanInitiateDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    switch (controlId) {
    case IDC_SI_SOURCE:
        if (notifyCode == CBN_SELCHANGE) {
            OnSourceSelected();
        }
        return;
    case IDC_SI_SIDES:
        if (notifyCode == CBN_SELCHANGE) {
            OnSidesSelected();
        }
        return;
    case IDC_SI_RES_EDIT:
        if (notifyCode == CBN_SELCHANGE) {
            OnResolutionSelected();
        } else if (notifyCode == CBN_EDITCHANGE) {
            OnResolutionEdited();
        } else if (notifyCode == CBN_KILLFOCUS) {
            OnResolutionFocusLost();
        }
        return;
    case IDC_SI_SIZE:
        if (notifyCode == CBN_SELCHANGE) {
            OnPageSizeSelected();
        }
        return;
    case IDC_SI_COLOR:
        if (notifyCode == CBN_SELCHANGE) {
            OnColorModeChanged();
        }
        return;
    case IDC_SI_BREMOVE:
        if (notifyCode == CBN_SELCHANGE) {
            OnBackgroundRemovalSelected();
        }
        return;
    case IDC_SI_IMAGE_MODE:
        if (notifyCode == CBN_SELCHANGE) {
            OnImageModeSelected();
        }
        return;
    case IDC_SI_IFAX:
        if (notifyCode == BN_CLICKED) {
            OnInternetFaxClicked();
        }
        return;
    case IDC_SI_DROP:
        if (notifyCode == CBN_SELCHANGE) {
            OnDropOutColorSelected();
        }
        return;
    case IDC_SI_SPLIT:
        if (notifyCode == CBN_SELCHANGE) {
            OnSplitModeChanged();
        }
        return;
    case IDC_SI_TIMEOUT_EDIT:
        if (notifyCode == EN_KILLFOCUS) {
            OnSplitTimeoutFocusLost();
        } else if (notifyCode == EN_CHANGE && !s_inSpinNotification) {
            OnSplitTimeoutChanged();
        }
        return;
    case IDC_SI_ERASE:
        if (notifyCode == BN_CLICKED) {
            OnEraseBorderClicked();
            if (IsItemChecked(IDC_SI_ERASE) && IsItemChecked(IDC_SI_MIXED)) {
                CheckItem(IDC_SI_MIXED, false);
            }
        }
        return;
    case IDC_SI_MIXED:
        if (notifyCode == BN_CLICKED) {
            if (IsItemChecked(IDC_SI_MIXED) && IsItemChecked(IDC_SI_ERASE)) {
                CheckItem(IDC_SI_ERASE, false);
            }
            EnableEraseWidths();
            EnableLastSheetOfDuplex();
        }
        return;
    case IDC_SI_BORDER_TOP:
    case IDC_SI_BORDER_RIGHT:
    case IDC_SI_BORDER_BOTTOM:
    case IDC_SI_BORDER_LEFT:
        if (notifyCode == EN_KILLFOCUS && GetControlText(control).empty()) {
            SetControlText(control, Caps().GetEraseBorderDefault());
        }
        return;
    default:
        GuiMultiPane::OnCommand(controlId, notifyCode, control);
    }
}

LRESULT GuiScanInitiateDialog::OnNotify(WPARAM, NMHDR* header) {
    if (GetHwnd() == nullptr || header == nullptr) {
        return 0;
    }
    s_inSpinNotification = true;
    if (header->idFrom == IDC_SI_TIMEOUT_SPIN && header->code == UDN_DELTAPOS) {
        auto* const change = reinterpret_cast<NMUPDOWN*>(header);
        SpinControl& spin = m_controls->splitTimeout;
        // The control adds the delta itself: from 2 upwards it lands on 3, from 1 down on 0.
        if (change->iDelta > 0 && (change->iPos == 0 || change->iPos == 1)) {
            change->iPos = 2;
            spin.SetPos("2");
        } else if (change->iDelta <= 0 && (change->iPos == 3 || change->iPos == 2)) {
            change->iPos = 1;
            spin.SetPos("1");
        }
        const bool atTop = change->iDelta > 0 && change->iPos == kSplitTimeoutLimit;
        const bool atBottom = change->iDelta < 0 && change->iPos == 0;
        if (!atTop && !atBottom) {
            const int next = std::min(change->iPos + change->iDelta, kSplitTimeoutLimit);
            spin.GetBuddyEdit()->SetText(std::to_string(next));
        }
    }
    s_inSpinNotification = false;
    return 1;
}

void GuiScanInitiateDialog::Close() {
    if (GetHwnd() != nullptr) {
        SaveSettings();
    }
    Controls& c = *m_controls;
    for (PopupButton* picker :
         {&c.source, &c.sides, &c.binding, &c.pageSize, static_cast<PopupButton*>(&c.resolution),
          &c.colorMode, &c.orientation, &c.compression, &c.backgroundRemoval, &c.brightness,
          &c.imageMode, &c.dropOutColor, &c.colorRange, &c.splitMode, &c.sharpness,
          &c.backgroundAdjust, &c.exposure, &c.imageRotate}) {
        picker->Clear();
    }
    for (EditCtrl& border : c.borders) {
        border.Detach();
    }
    GuiMultiPane::Close();
}

void GuiScanInitiateDialog::SaveSettings() {
    Controls& c = *m_controls;
    ScanPreferences& p = *m_preferences;
    p.SetScanSource(c.source.GetSelectedText());
    p.SetScanSide(c.sides.GetSelectedText());
    p.SetScanResolution(DecimalValue(GetResolution()));
    p.SetScanPaperSize(c.pageSize.GetSelectedText());
    p.SetScanColorMode(c.colorMode.GetSelectedText());
    p.SetScanOrientation(c.orientation.GetSelectedText());
    p.SetScanJpegCompressLevel(c.compression.GetSelectedText());
    p.SetScanBackgroundRemove(c.backgroundRemoval.GetSelectedText());
    p.SetScanBrightLevel(c.brightness.GetSelectedText());
    p.SetScanBindDirection(c.binding.GetSelectedText());
    p.SetScanSendToInternetFax(IsItemChecked(IDC_SI_IFAX));
    p.SetScanImageMode(c.imageMode.GetSelectedText());
    p.SetScanDropoutColor(c.dropOutColor.GetSelectedText());
    p.SetScanColorRange(c.colorRange.GetSelectedText());
    p.SetScanSplitMode(c.splitMode.GetSelectedText());
    p.SetScanSplitTimeout(c.splitTimeout.GetText());
    p.SetScanOCR(IsItemChecked(IDC_SI_OCR));
    p.SetScanEraseBorder(IsItemChecked(IDC_SI_ERASE));
    for (int side = 0; side < 4; ++side) {
        const std::string width = c.borders[side].GetText();
        if (!width.empty()) {
            p.SetScanEraseBorderSide(side, width);
        }
    }
    p.SetScanSharpness(c.sharpness.GetSelectedText());
    p.SetScanBackgroundAdjust(c.backgroundAdjust.GetSelectedText());
    p.SetScanExposure(c.exposure.GetSelectedText());
    p.SetScanImageRotate(c.imageRotate.GetSelectedText());
    p.SetScanDuplexOddPage(GetDuplexOddPage());
    p.SetScanThinPaper(IsItemChecked(IDC_SI_THIN));
}

InitiateMediator* GuiScanInitiateDialog::GetInitiateMediator() {
    return &m_mediator;
}

// ---- list helpers ----

std::string GuiScanInitiateDialog::KeywordOf(const PopupButton& picker, CapText valueAt) const {
    const int selected = picker.GetCurSel();
    if (selected < 0) {
        return std::string();
    }
    return (Caps().*valueAt)(static_cast<int32_t>(picker.GetItemData(selected)));
}

int GuiScanInitiateDialog::FindByData(const PopupButton& picker, LPARAM serverIndex) {
    const int count = picker.GetCount();
    for (int i = 0; i < count; ++i) {
        if (picker.GetItemData(i) == serverIndex) {
            return i;
        }
    }
    return -1;
}

void GuiScanInitiateDialog::SelectFirstOf(PopupButton& picker,
                                          const std::vector<std::string>& texts, int defaultIndex) {
    for (const std::string& text : texts) {
        // An empty text would begin every entry.
        if (!text.empty() && picker.SelectString(text, -1) >= 0) {
            return;
        }
    }
    const int byDefault = FindByData(picker, defaultIndex);
    picker.SetCurSel(byDefault >= 0 ? byDefault : 0);
}

void GuiScanInitiateDialog::AddEntry(PopupButton& picker, const std::string& text, LPARAM data) {
    const int index = picker.AddString(text);
    if (index >= 0) {
        picker.SetItemData(index, data);
    }
}

void GuiScanInitiateDialog::HideSetting(int pickerId, int labelId) {
    ShowItem(pickerId, false);
    ShowItem(labelId, false);
}

void GuiScanInitiateDialog::FillList(PopupButton& picker, int pickerId, int labelId, bool shown,
                                     int32_t count, CapText valueAt, CapText displayAt,
                                     const std::string& stored, int defaultIndex) {
    picker.ResetContent();
    if (!shown) {
        HideSetting(pickerId, labelId);
        return;
    }
    ScanServerCapabilities& caps = Caps();
    for (int32_t i = 0; i < count; ++i) {
        if (valueAt != nullptr && (caps.*valueAt)(i).empty()) {
            continue;
        }
        AddEntry(picker, (caps.*displayAt)(i), i);
    }
    SelectFirstOf(picker, {stored}, defaultIndex);
    picker.FitDropDownHeight(picker.GetCount());
}

// ---- source and sides ----

void GuiScanInitiateDialog::FillSource() {
    Controls& c = *m_controls;
    c.source.ResetContent();
    ScanServerCapabilities& caps = Caps();
    if (!caps.HasSelectableScanSource()) {
        HideSetting(IDC_SI_SOURCE, IDC_SI_SOURCE_LABEL);
        return;
    }
    ShowItem(IDC_SI_SOURCE_LABEL, true);
    ShowItem(IDC_SI_SOURCE, true);
    EnableItem(IDC_SI_SIDES, true);
    for (int32_t i = 0; i < caps.GetScanSourceCount(); ++i) {
        const std::string keyword = caps.GetScanSourceValueAt(i);
        if (keyword.empty()) {
            continue;
        }
        std::string text = keyword;
        if (caps.IsAdfSourceAt(i)) {
            text = LoadString(IDS_SOURCE_ADF);
        } else if (caps.IsPlatenSourceAt(i)) {
            text = LoadString(IDS_SOURCE_PLATEN);
        }
        AddEntry(c.source, text, i);
    }
    SelectFirstOf(c.source, {m_preferences->GetScanSource()}, caps.GetScanSourceCurrentIndex());
    c.selectedSource = c.source.GetCurSel();
    c.source.FitDropDownHeight(c.source.GetCount());
}

void GuiScanInitiateDialog::OnSourceSelected() {
    Controls& c = *m_controls;
    const int selected = c.source.GetCurSel();
    if (selected == c.selectedSource) {
        return;
    }
    c.selectedSource = selected;
    UpdateSourceDependentControls();
    FillCompression();
}

bool GuiScanInitiateDialog::IsAdfSelected() {
    const Controls& c = *m_controls;
    if (c.selectedSource < 0 || c.selectedSource >= c.source.GetCount()) {
        return false;
    }
    return Caps().IsAdfSourceAt(static_cast<int32_t>(c.source.GetItemData(c.selectedSource)));
}

void GuiScanInitiateDialog::UpdateSourceDependentControls() {
    ScanServerCapabilities& caps = Caps();
    bool duplexPossible = false;
    if (caps.SupportsAdf()) {
        duplexPossible =
            caps.SupportsDuplex() && (!caps.HasSelectableScanSource() || IsAdfSelected());
    }
    if (duplexPossible) {
        EnableItem(IDC_SI_SIDES, true);
    } else {
        ForceSingleSided();
    }
}

void GuiScanInitiateDialog::ForceSingleSided() {
    PopupButton& sides = m_controls->sides;
    const int selected = sides.GetCurSel();
    if (selected >= 0 && sides.GetItemData(selected) != 0) {
        sides.SetCurSel(FindByData(sides, 0));
        // As if the user had chosen it: what hangs on double-sided follows.
        OnSidesSelected();
    }
    EnableItem(IDC_SI_SIDES, false);
}

void GuiScanInitiateDialog::FillSides() {
    PopupButton& sides = m_controls->sides;
    sides.ResetContent();
    AddEntry(sides, LoadString(IDS_SINGLE_SIDED), 0);
    ScanServerCapabilities& caps = Caps();
    if (IsDuplexLayoutEnabled() && !IsBindDirectionEnabled()) {
        AddEntry(sides, LoadString(IDS_DUPLEX_TOP_TOP), 1);
        AddEntry(sides, LoadString(IDS_DUPLEX_TOP_BOTTOM), 2);
        sides.FitDropDownHeight(3);
    } else if (caps.IsDuplexPassSupported() && caps.IsDuplexPassEnabled()) {
        const int32_t count = caps.GetDuplexPassCount();
        for (int32_t i = 0; i < count; ++i) {
            if (!caps.GetDuplexPassValueAt(i).empty()) {
                AddEntry(sides, caps.GetDuplexPassLocalizedValueAt(i), i + 1);
            }
        }
        sides.FitDropDownHeight(count + 1);
    } else {
        AddEntry(sides, LoadString(IDS_DOUBLE_SIDED), 1);
        sides.FitDropDownHeight(2);
    }
    SelectFirstOf(sides, {m_preferences->GetScanSide()}, 0);
    UpdateSourceDependentControls();
}

void GuiScanInitiateDialog::OnSidesSelected() {
    EnableBinding();
    EnableLastSheetOfDuplex();
}

void GuiScanInitiateDialog::FillBinding() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->binding, IDC_SI_BIND, IDC_SI_BIND_LABEL, caps.IsBindDirectionEnabled(),
             caps.GetBindDirectionCount(), &ScanServerCapabilities::GetBindDirectionValueAt,
             &ScanServerCapabilities::GetBindDirectionLocalizedValueAt,
             m_preferences->GetScanBindDirection(), caps.GetBindDirectionCurrentIndex());
    EnableBinding();
}

void GuiScanInitiateDialog::EnableBinding() {
    EnableItem(IDC_SI_BIND, GetScanSides());
}

// ---- resolution ----

void GuiScanInitiateDialog::FillResolution() {
    Controls& c = *m_controls;
    ScanServerCapabilities& caps = Caps();
    int preferred = m_preferences->GetScanResolution();
    if (c.lastResolution != -1) {
        preferred = c.lastResolution;
    }
    c.resolution.ResetContent();
    c.maxResolution = caps.GetMaxResolution();

    if (m_maxResolutionFormat.empty()) {
        m_maxResolutionFormat = GetItemText(IDC_SI_MAX_RES);
    }
    std::string maxText = m_maxResolutionFormat;
    const size_t directive = maxText.find("%d");
    if (directive != std::string::npos) {
        maxText.replace(directive, 2, std::to_string(c.maxResolution));
    }
    SetItemText(IDC_SI_MAX_RES, maxText);

    const bool fax = GetInternetFax();
    const std::string defaultText =
        fax ? caps.GetEmFaxResolutionValueAt(caps.GetEmFaxResolutionCurrentIndex())
            : caps.GetResolutionValueAt(caps.GetResolutionCurrentIndex());
    const int32_t count = fax ? caps.GetEmFaxResolutionCount() : caps.GetResolutionCount();
    int found = -1;
    for (int32_t i = 0; i < count; ++i) {
        const std::string value =
            fax ? caps.GetEmFaxResolutionValueAt(i) : caps.GetResolutionValueAt(i);
        if (value.empty()) {
            continue;
        }
        const int index = c.resolution.AddString(value);
        if (found < 0 && DecimalValue(value) == preferred) {
            found = index;
        }
    }
    c.resolution.FitDropDownHeight(10);
    if (found < 0 && (preferred > c.maxResolution || preferred < 1)) {
        preferred = DecimalValue(defaultText);
    }
    if (found >= 0) {
        c.resolution.SetCurSel(found);
    } else if (c.resolution.HasList()) {
        c.resolution.SetCurSel(0);
    } else {
        c.resolution.SetText(std::to_string(preferred));
    }
    c.lastResolution = preferred;
}

void GuiScanInitiateDialog::CheckResolutionText(const std::string& text) {
    Controls& c = *m_controls;
    if (text.empty()) {
        return;
    }
    int value = DecimalValue(text);
    if (value > c.maxResolution) {
        value = c.lastResolution != -1 ? c.lastResolution : c.maxResolution;
    }
    if (value < 1) {
        value = c.lastResolution != -1 ? c.lastResolution : 1;
    }
    c.lastResolution = value;
    if (text != std::to_string(value)) {
        c.resolution.SetText(std::to_string(value));
    }
}

void GuiScanInitiateDialog::OnResolutionSelected() {
    const PopupEditButton& resolution = m_controls->resolution;
    // The edit field shows the new entry only after this notice.
    CheckResolutionText(resolution.GetCurSel() >= 0 ? resolution.GetSelectedText()
                                                    : resolution.GetText());
}

void GuiScanInitiateDialog::OnResolutionEdited() {
    CheckResolutionText(m_controls->resolution.GetText());
}

void GuiScanInitiateDialog::OnResolutionFocusLost() {
    Controls& c = *m_controls;
    if (!GetResolution().empty()) {
        return;
    }
    if (c.lastResolution < 1) {
        c.lastResolution = c.maxResolution;
    }
    c.resolution.SetText(std::to_string(c.lastResolution));
}

void GuiScanInitiateDialog::StepResolution(bool up) {
    Controls& c = *m_controls;
    const int value = DecimalValue(GetResolution()) + (up ? 1 : -1);
    c.resolution.SetText(std::to_string(std::max(1, std::min(value, c.maxResolution))));
}

// ---- page size ----

void GuiScanInitiateDialog::FillPaperSize() {
    PopupButton& pageSize = m_controls->pageSize;
    ScanServerCapabilities& caps = Caps();
    const std::string remembered = pageSize.GetSelectedText();
    pageSize.ResetContent();
    const int32_t count = caps.GetPageSizeCount();
    for (int32_t i = 0; i < count; ++i) {
        if (!caps.GetPageSizeValueAt(i).empty()) {
            AddEntry(pageSize, caps.GetPageSizeLocalizedValueAt(i), i);
        }
    }
    SelectFirstOf(pageSize, {remembered, m_preferences->GetScanPaperSize()},
                  caps.GetPageSizeCurrentIndex());
    pageSize.FitDropDownHeight(count);

    CheckItem(IDC_SI_MIXED, false);
    SetButtonText(IDC_SI_MIXED, caps.GetMixedPageSizeName());
    if (!IsMixedPageSizeEnabled()) {
        ShowItem(IDC_SI_MIXED, false);
        EnableItem(IDC_SI_MIXED, false);
        return;
    }
    ShowItem(IDC_SI_MIXED, true);
    EnableItem(IDC_SI_MIXED, GetPageSize() == "AUTO_PAGESIZE");
}

void GuiScanInitiateDialog::OnPageSizeSelected() {
    if (!IsMixedPageSizeEnabled()) {
        return;
    }
    const bool automatic = GetPageSize() == "AUTO_PAGESIZE";
    if (!automatic) {
        CheckItem(IDC_SI_MIXED, false);
    }
    EnableItem(IDC_SI_MIXED, automatic);
}

void GuiScanInitiateDialog::RefillPaperSize() {
    FillPaperSize();
}

bool GuiScanInitiateDialog::IsAutoPageSizeSelectable() {
    ScanServerCapabilities& caps = Caps();
    return caps.SupportsAdfSource() && caps.SupportsAutoPageSize() && IsAdfSelected();
}

bool GuiScanInitiateDialog::GetPaperSizeText(const std::string& keyword, std::string& text) const {
    struct Name {
        const char* keyword;
        int stringId;
    };
    static const Name kNames[] = {
        {"Letter.Transverse", IDS_PAGE_LETTER},
        {"LETTER", IDS_PAGE_LETTER},
        {"LetR", IDS_PAGE_LETTER_R},
        {"LETTER-R", IDS_PAGE_LETTER_R},
        {"LetterR", IDS_PAGE_LETTER_R},
        {"Tabloid", IDS_PAGE_TABLOID},
        {"TABLOID", IDS_PAGE_TABLOID},
        {"A4.Transverse", IDS_PAGE_A4},
        {"A4", IDS_PAGE_A4},
        {"A4R", IDS_PAGE_A4_R},
        {"A4-R", IDS_PAGE_A4_R},
        {"A3", IDS_PAGE_A3},
    };
    for (const Name& name : kNames) {
        if (keyword == name.keyword) {
            text = LoadString(name.stringId);
            return true;
        }
    }
    return false;
}

// ---- colour mode and what hangs on it ----

void GuiScanInitiateDialog::FillColorMode() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->colorMode, IDC_SI_COLOR, IDC_SI_COLOR_LABEL, true,
             caps.GetColorModeCount(), nullptr,
             &ScanServerCapabilities::GetColorModeLocalizedValueAt,
             m_preferences->GetScanColorMode(), caps.GetColorModeCurrentIndex());
}

void GuiScanInitiateDialog::OnColorModeChanged() {
    Controls& c = *m_controls;
    const auto chosenData = [](const PopupButton& picker) {
        const int selected = picker.GetCurSel();
        return selected >= 0 ? picker.GetItemData(selected) : LPARAM(-1);
    };
    const LPARAM imageMode = chosenData(c.imageMode);
    const LPARAM backgroundRemoval = chosenData(c.backgroundRemoval);
    FillImageMode();
    FillBackgroundRemoval();
    // The same server values again, wherever the refilled lists put them; a value the new
    // colour mode does not offer leaves the fill's own choice.
    for (const auto& kept : {std::make_pair(&c.imageMode, imageMode),
                             std::make_pair(&c.backgroundRemoval, backgroundRemoval)}) {
        const int index = kept.second >= 0 ? FindByData(*kept.first, kept.second) : -1;
        if (index >= 0) {
            kept.first->SetCurSel(index);
        }
    }
    EnableDropOutColor();
}

void GuiScanInitiateDialog::FillImageMode() {
    PopupButton& imageMode = m_controls->imageMode;
    imageMode.ResetContent();
    const bool enabled = IsImageModeEnabled();
    if (enabled) {
        ScanServerCapabilities& caps = Caps();
        const std::string colorMode = GetColorMode();
        const bool noOcr = colorMode == "COLOR" || colorMode == "GRAYSCALE";
        for (int32_t i = 0; i < caps.GetImageModeCount(); ++i) {
            if (noOcr && caps.GetImageModeValueAt(i) == "FS_TEXT_OCR") {
                continue;
            }
            AddEntry(imageMode, caps.GetImageModeLocalizedValueAt(i), i);
        }
        SelectFirstOf(imageMode, {m_preferences->GetScanImageMode()},
                      caps.GetImageModeCurrentIndex());
        imageMode.FitDropDownHeight(imageMode.GetCount());
    }
    ShowItem(IDC_SI_IMAGE_MODE, enabled);
    ShowItem(IDC_SI_IMAGE_MODE_LABEL, enabled);
}

void GuiScanInitiateDialog::FillBackgroundRemoval() {
    PopupButton& removal = m_controls->backgroundRemoval;
    removal.ResetContent();
    if (!IsBackgroundRemovalEnabled()) {
        HideSetting(IDC_SI_BREMOVE, IDC_SI_BREMOVE_LABEL);
        return;
    }
    ScanServerCapabilities& caps = Caps();
    const bool color = GetColorMode() == "COLOR";
    for (int32_t i = 0; i < caps.GetBackgroundRemoveCount(); ++i) {
        const std::string keyword = caps.GetBackgroundRemoveValueAt(i);
        if (color) {
            if (!keyword.empty()) {
                AddEntry(removal, caps.GetBackgroundRemoveLocalizedValueAt(i), i);
            }
        } else if (keyword == "1") {
            AddEntry(removal, LoadString(IDS_ON), i);
        } else if (keyword == "OFF" || keyword == "AUTO") {
            AddEntry(removal, caps.GetBackgroundRemoveLocalizedValueAt(i), i);
        }
    }
    SelectFirstOf(removal, {m_preferences->GetScanBackgroundRemove()},
                  caps.GetBackgroundRemoveCurrentIndex());
    removal.FitDropDownHeight(removal.GetCount());
}

void GuiScanInitiateDialog::OnBackgroundRemovalSelected() {
    EnableDropOutColor();
}

void GuiScanInitiateDialog::OnImageModeSelected() {
    EnableDropOutColor();
}

void GuiScanInitiateDialog::FillOrientation() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->orientation, IDC_SI_ORIENT, IDC_SI_ORIENT_LABEL,
             caps.IsOrientationEnabled(), caps.GetOrientationCount(), nullptr,
             &ScanServerCapabilities::GetOrientationLocalizedValueAt,
             m_preferences->GetScanOrientation(), caps.GetOrientationCurrentIndex());
}

void GuiScanInitiateDialog::FillCompression() {
    PopupButton& compression = m_controls->compression;
    ScanServerCapabilities& caps = Caps();
    const std::string remembered = compression.GetSelectedText();
    compression.ResetContent();
    if (!caps.IsCompressLevelEnabled()) {
        HideSetting(IDC_SI_COMPRESS, IDC_SI_COMPRESS_LABEL);
        return;
    }
    for (int32_t i = 0; i < caps.GetCompressLevelCount(); ++i) {
        AddEntry(compression, caps.GetCompressLevelLocalizedValueAt(i), i);
    }
    SelectFirstOf(compression, {remembered, m_preferences->GetScanJpegCompressLevel()},
                  caps.GetCompressLevelCurrentIndex());
    compression.FitDropDownHeight(compression.GetCount());
}

void GuiScanInitiateDialog::FillBrightness() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->brightness, IDC_SI_BRIGHT, IDC_SI_BRIGHT_LABEL,
             caps.IsBrightLevelEnabled(), caps.GetBrightLevelCount(), nullptr,
             &ScanServerCapabilities::GetBrightLevelLocalizedValueAt,
             m_preferences->GetScanBrightLevel(), caps.GetBrightLevelCurrentIndex());
}

// ---- Internet fax ----

void GuiScanInitiateDialog::FillInternetFax() {
    const bool shown = IsSendRole() && Caps().CanScanToEmFax();
    ShowItem(IDC_SI_IFAX, shown);
    CheckItem(IDC_SI_IFAX, shown && m_preferences->GetScanSendToInternetFax());
}

void GuiScanInitiateDialog::OnInternetFaxClicked() {
    m_controls->lastResolution = DecimalValue(GetResolution());
    ApplyInternetFaxMode(IsItemChecked(IDC_SI_IFAX));
}

void GuiScanInitiateDialog::ApplyInternetFaxMode(bool on) {
    Controls& c = *m_controls;
    ScanServerCapabilities& caps = Caps();
    const bool compressible = caps.IsCompressLevelEnabled();
    if (on) {
        const auto chooseKeyword = [](PopupButton& picker, int32_t count, auto valueAt,
                                      const std::string& keyword) {
            for (int32_t i = 0; i < count; ++i) {
                const int index = FindByData(picker, i);
                if (index >= 0 && valueAt(i) == keyword) {
                    picker.SetCurSel(index);
                    return;
                }
            }
        };
        chooseKeyword(
            c.colorMode, caps.GetColorModeCount(),
            [&caps](int32_t i) { return caps.GetColorModeValueAt(i); }, "BLACK_WHITE");
        chooseKeyword(
            c.orientation, caps.GetOrientationCount(),
            [&caps](int32_t i) { return caps.GetOrientationValueAt(i); }, "PORTRAIT");
        if (compressible) {
            const int index = FindByData(c.compression, caps.GetCompressLevelCurrentIndex());
            if (index >= 0) {
                c.compression.SetCurSel(index);
            }
        }
    }
    if (caps.IsResAllowAny()) {
        // Internet fax takes only the listed resolutions.
        const bool hadList = c.resolution.HasList();
        c.resolution.ReplaceWithComboBox(on);
        if (hadList && !on) {
            AttachResolutionEdit();
        }
    }
    FillResolution();
    OnColorModeChanged();
    EnableItem(IDC_SI_COLOR, !on);
    EnableItem(IDC_SI_ORIENT, !on);
    if (compressible) {
        EnableItem(IDC_SI_COMPRESS, !on);
    }
}

// ---- drop-out colour and colour range ----

void GuiScanInitiateDialog::FillDropOutColor() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->dropOutColor, IDC_SI_DROP, IDC_SI_DROP_LABEL, IsDropOutColorEnabled(),
             caps.GetDropColorCount(), &ScanServerCapabilities::GetDropColorValueAt,
             &ScanServerCapabilities::GetDropColorLocalizedValueAt,
             m_preferences->GetScanDropoutColor(), caps.GetDropColorCurrentIndex());
    EnableDropOutColor();
}

void GuiScanInitiateDialog::OnDropOutColorSelected() {
    EnableColorRange();
}

bool GuiScanInitiateDialog::IsDropOutColorSelectable() {
    return IsImageModeEnabled() && IsBackgroundRemovalEnabled() &&
           GetImageMode() == "FS_TEXT_OCR" && GetBackgroundRemoval() == "OFF" &&
           GetColorMode() == "BLACK_WHITE";
}

void GuiScanInitiateDialog::EnableDropOutColor() {
    if (!IsDropOutColorEnabled()) {
        return;
    }
    EnableItem(IDC_SI_DROP, IsDropOutColorSelectable());
    EnableColorRange();
}

void GuiScanInitiateDialog::FillColorRange() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->colorRange, IDC_SI_RANGE, IDC_SI_RANGE_LABEL, IsDropOutColorAvailable(),
             caps.GetDropRangeCount(), &ScanServerCapabilities::GetDropRangeValueAt,
             &ScanServerCapabilities::GetDropRangeLocalizedValueAt,
             m_preferences->GetScanColorRange(), caps.GetDropRangeCurrentIndex());
    EnableColorRange();
}

bool GuiScanInitiateDialog::IsColorRangeSelectable() {
    return IsItemEnabled(IDC_SI_DROP) && GetDropOutColor() != "OFF";
}

void GuiScanInitiateDialog::EnableColorRange() {
    EnableItem(IDC_SI_RANGE, IsColorRangeSelectable());
}

// ---- split mode and its timeout ----

void GuiScanInitiateDialog::FillSplitMode() {
    PopupButton& split = m_controls->splitMode;
    split.ResetContent();
    if (!IsSplitModeEnabled()) {
        HideSetting(IDC_SI_SPLIT, IDC_SI_SPLIT_LABEL);
        return;
    }
    ScanServerCapabilities& caps = Caps();
    AddEntry(split, LoadString(IDS_SPLIT_OFF), 0);
    for (int32_t i = 0; i < caps.GetSplitModeCount(); ++i) {
        if (!caps.GetSplitModeValueAt(i).empty()) {
            AddEntry(split, caps.GetSplitModeLocalizedValueAt(i), i + 1);
        }
    }
    SelectFirstOf(split, {m_preferences->GetScanSplitMode()}, caps.GetSplitModeCurrentIndex() + 1);
    split.FitDropDownHeight(split.GetCount());
}

void GuiScanInitiateDialog::OnSplitModeChanged() {
    EnableSplitTimeout();
    EnableLastSheetOfDuplex();
}

bool GuiScanInitiateDialog::IsSplitTimeoutSelectable() {
    return GetSplitMode() == "1PAGE";
}

void GuiScanInitiateDialog::EnableSplitTimeout() {
    const bool selectable = IsSplitTimeoutSelectable();
    EnableItem(IDC_SI_TIMEOUT_LABEL, selectable);
    m_controls->splitTimeout.Enable(selectable);
}

void GuiScanInitiateDialog::FillSplitTimeout() {
    if (!IsSplitModeEnabled()) {
        ShowItem(IDC_SI_TIMEOUT_LABEL, false);
        ShowItem(IDC_SI_TIMEOUT_EDIT, false);
        ShowItem(IDC_SI_TIMEOUT_SPIN, false);
        return;
    }
    ScanServerCapabilities& caps = Caps();
    SpinControl& spin = m_controls->splitTimeout;
    spin.LimitText(3);
    spin.SetRange(caps.GetSplitTimeoutMin(), caps.GetSplitTimeoutMax());
    std::string text = m_preferences->GetScanSplitTimeout();
    if (text.empty()) {
        text = caps.GetSplitTimeoutDefault();
    }
    spin.SetText(text);
    EnableSplitTimeout();
}

void GuiScanInitiateDialog::OnSplitTimeoutChanged() {
    m_controls->splitTimeout.SyncPosFromText();
}

void GuiScanInitiateDialog::OnSplitTimeoutFocusLost() {
    if (!IsSplitModeEnabled()) {
        return;
    }
    SpinControl& spin = m_controls->splitTimeout;
    const std::string text = spin.GetText();
    if (text.empty()) {
        spin.SyncTextFromPos();
    } else if (IsOffTimeout(DecimalValue(text))) {
        if (IsOffTimeout(DecimalValue(spin.GetPosText()))) {
            spin.GetBuddyEdit()->SetText("0");
        } else {
            spin.SyncTextFromPos();
        }
    }
    spin.SyncPosFromText();
}

void GuiScanInitiateDialog::SnapSplitTimeout() {
    SpinControl& spin = m_controls->splitTimeout;
    const int position = DecimalValue(spin.GetPosText());
    if (IsOffTimeout(position)) {
        spin.SetPos(position < DecimalValue(spin.GetText()) ? "0" : "3");
        spin.SyncTextFromPos();
    }
}

// ---- erase border ----

void GuiScanInitiateDialog::FillEraseBorderCheck() {
    if (!IsEraseBorderEnabled()) {
        ShowItem(IDC_SI_ERASE, false);
        return;
    }
    CheckItem(IDC_SI_ERASE, m_preferences->GetScanEraseBorder());
    if (GetMixedPageSize()) {
        EnableItem(IDC_SI_ERASE, false);
    }
}

void GuiScanInitiateDialog::FillEraseBorderWidths() {
    if (!IsEraseBorderEnabled()) {
        ShowItem(IDC_SI_BORDER_LABEL, false);
        for (int side = 0; side < 4; ++side) {
            ShowItem(kBorderEdits[side], false);
            ShowItem(kBorderLabels[side], false);
        }
        return;
    }
    for (int side = 0; side < 4; ++side) {
        std::string text = m_preferences->GetScanEraseBorderSide(side);
        if (text.empty()) {
            text = Caps().GetEraseBorderDefault();
        }
        m_controls->borders[side].SetText(text);
    }
    EnableEraseWidths();
}

void GuiScanInitiateDialog::OnEraseBorderClicked() {
    EnableEraseWidths();
}

void GuiScanInitiateDialog::EnableEraseWidths() {
    const bool on = IsItemChecked(IDC_SI_ERASE);
    EnableItem(IDC_SI_BORDER_LABEL, on);
    for (int side = 0; side < 4; ++side) {
        EnableItem(kBorderEdits[side], on);
        EnableItem(kBorderLabels[side], on);
    }
}

// ---- check boxes ----

void GuiScanInitiateDialog::FillOcr() {
    if (!Caps().SupportsOcr()) {
        ShowItem(IDC_SI_OCR, false);
    } else {
        CheckItem(IDC_SI_OCR, m_preferences->GetScanOCR());
    }
}

void GuiScanInitiateDialog::FillThinMedia() {
    if (!Caps().IsThinMediaEnabled()) {
        ShowItem(IDC_SI_THIN, false);
    } else {
        CheckItem(IDC_SI_THIN, m_preferences->GetScanThinPaper());
    }
}

void GuiScanInitiateDialog::FillLastSheetOfDuplex() {
    const bool shown = Caps().IsDuplexOddPageEnabled();
    ShowItem(IDC_SI_ODD_PAGE, shown);
    if (shown) {
        CheckItem(IDC_SI_ODD_PAGE, m_preferences->GetScanDuplexOddPage());
        EnableItem(IDC_SI_ODD_PAGE, GetScanSides());
    }
}

void GuiScanInitiateDialog::EnableLastSheetOfDuplex() {
    if (!Caps().IsDuplexOddPageEnabled()) {
        return;
    }
    const bool doubleSided = GetScanSides();
    EnableItem(IDC_SI_ODD_PAGE, doubleSided);
    if (!doubleSided) {
        CheckItem(IDC_SI_ODD_PAGE, false);
    }
}

// ---- image adjustments ----

void GuiScanInitiateDialog::FillSharpness() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->sharpness, IDC_SI_SHARP, IDC_SI_SHARP_LABEL, IsSharpnessEnabled(),
             caps.GetSharpnessLevelCount(), &ScanServerCapabilities::GetSharpnessLevelValueAt,
             &ScanServerCapabilities::GetSharpnessLevelLocalizedValueAt,
             m_preferences->GetScanSharpness(), caps.GetSharpnessLevelCurrentIndex());
    EnableSharpness();
}

void GuiScanInitiateDialog::EnableSharpness() {
    if (IsSharpnessEnabled()) {
        EnableItem(IDC_SI_SHARP, true);
    }
}

void GuiScanInitiateDialog::FillBackgroundAdjust() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->backgroundAdjust, IDC_SI_BG_ADJUST, IDC_SI_BG_ADJUST_LABEL,
             IsBackgroundAdjustEnabled(), caps.GetBackgroundAdjustLevelCount(),
             &ScanServerCapabilities::GetBackgroundAdjustLevelValueAt,
             &ScanServerCapabilities::GetBackgroundAdjustLevelLocalizedValueAt,
             m_preferences->GetScanBackgroundAdjust(), caps.GetBackgroundAdjustLevelCurrentIndex());
    EnableBackgroundAdjust();
}

void GuiScanInitiateDialog::EnableBackgroundAdjust() {
    if (IsBackgroundAdjustEnabled()) {
        EnableItem(IDC_SI_BG_ADJUST, true);
    }
}

void GuiScanInitiateDialog::FillExposure() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->exposure, IDC_SI_EXPOSURE, IDC_SI_EXPOSURE_LABEL, IsExposureEnabled(),
             caps.GetExposureLevelCount(), &ScanServerCapabilities::GetExposureLevelValueAt,
             &ScanServerCapabilities::GetExposureLevelLocalizedValueAt,
             m_preferences->GetScanExposure(), caps.GetExposureLevelCurrentIndex());
    EnableExposure();
}

void GuiScanInitiateDialog::EnableExposure() {
    if (IsExposureEnabled()) {
        EnableItem(IDC_SI_EXPOSURE, true);
    }
}

void GuiScanInitiateDialog::FillImageRotate() {
    ScanServerCapabilities& caps = Caps();
    FillList(m_controls->imageRotate, IDC_SI_ROTATE, IDC_SI_ROTATE_LABEL, IsImageRotateEnabled(),
             caps.GetImageRotateCount(), &ScanServerCapabilities::GetImageRotateValueAt,
             &ScanServerCapabilities::GetImageRotateLocalizedValueAt,
             m_preferences->GetScanImageRotate(), caps.GetImageRotateCurrentIndex());
    EnableImageRotate();
}

void GuiScanInitiateDialog::EnableImageRotate() {
    if (IsImageRotateEnabled()) {
        EnableItem(IDC_SI_ROTATE, true);
    }
}

// ---- answers to the mediator ----

bool GuiScanInitiateDialog::IsScanSourceEnabled() {
    return Caps().HasSelectableScanSource();
}

bool GuiScanInitiateDialog::IsOrientationEnabled() {
    return Caps().IsOrientationEnabled();
}

bool GuiScanInitiateDialog::IsCompressLevelEnabled() {
    return Caps().IsCompressLevelEnabled();
}

bool GuiScanInitiateDialog::IsBackgroundRemovalEnabled() {
    return Caps().IsBackgroundRemoveEnabled();
}

bool GuiScanInitiateDialog::IsBrightnessEnabled() {
    return Caps().IsBrightLevelEnabled();
}

bool GuiScanInitiateDialog::IsBindDirectionEnabled() {
    return Caps().IsBindDirectionEnabled();
}

bool GuiScanInitiateDialog::IsImageModeEnabled() {
    return Caps().IsImageModeEnabled();
}

bool GuiScanInitiateDialog::GetScanSource() {
    const Controls& c = *m_controls;
    if (c.selectedSource < 0 || c.selectedSource >= c.source.GetCount()) {
        return false;
    }
    return Caps().IsPlatenSourceAt(static_cast<int32_t>(c.source.GetItemData(c.selectedSource)));
}

bool GuiScanInitiateDialog::GetScanSides() {
    const PopupButton& sides = m_controls->sides;
    const int selected = sides.GetCurSel();
    return selected >= 0 && sides.GetItemData(selected) != 0;
}

std::string GuiScanInitiateDialog::GetResolution() {
    return m_controls->resolution.GetText();
}

std::string GuiScanInitiateDialog::GetPageSize() {
    return KeywordOf(m_controls->pageSize, &ScanServerCapabilities::GetPageSizeValueAt);
}

std::string GuiScanInitiateDialog::GetColorMode() {
    return KeywordOf(m_controls->colorMode, &ScanServerCapabilities::GetColorModeValueAt);
}

std::string GuiScanInitiateDialog::GetOrientation() {
    return KeywordOf(m_controls->orientation, &ScanServerCapabilities::GetOrientationValueAt);
}

std::string GuiScanInitiateDialog::GetCompressLevel() {
    return KeywordOf(m_controls->compression, &ScanServerCapabilities::GetCompressLevelValueAt);
}

std::string GuiScanInitiateDialog::GetBackgroundRemoval() {
    return KeywordOf(m_controls->backgroundRemoval,
                     &ScanServerCapabilities::GetBackgroundRemoveValueAt);
}

std::string GuiScanInitiateDialog::GetBrightness() {
    return KeywordOf(m_controls->brightness, &ScanServerCapabilities::GetBrightLevelValueAt);
}

std::string GuiScanInitiateDialog::GetBindDirection() {
    return KeywordOf(m_controls->binding, &ScanServerCapabilities::GetBindDirectionValueAt);
}

std::string GuiScanInitiateDialog::GetImageMode() {
    return KeywordOf(m_controls->imageMode, &ScanServerCapabilities::GetImageModeValueAt);
}

bool GuiScanInitiateDialog::IsInternetFaxEnabled() {
    return Caps().HasMkEmFaxable();
}

bool GuiScanInitiateDialog::GetInternetFax() {
    return IsItemChecked(IDC_SI_IFAX);
}

bool GuiScanInitiateDialog::IsOcrEnabled() {
    return Caps().SupportsOcr();
}

bool GuiScanInitiateDialog::GetOcr() {
    return IsItemChecked(IDC_SI_OCR);
}

bool GuiScanInitiateDialog::IsMixedPageSizeEnabled() {
    return Caps().IsMixedPageSizeEnabled();
}

bool GuiScanInitiateDialog::GetMixedPageSize() {
    return IsItemChecked(IDC_SI_MIXED) && IsMixedPageSizeEnabled() &&
           GetPageSize() == "AUTO_PAGESIZE";
}

bool GuiScanInitiateDialog::IsDropOutColorEnabled() {
    return Caps().IsDropColorEnabled();
}

bool GuiScanInitiateDialog::IsDropOutColorAvailable() {
    return Caps().IsDropColorEnabled();
}

bool GuiScanInitiateDialog::IsSplitModeEnabled() {
    return Caps().IsSplitOriginalEnabled();
}

bool GuiScanInitiateDialog::IsEraseBorderEnabled() {
    return Caps().IsEraseModeSupported();
}

bool GuiScanInitiateDialog::IsColorRangeEnabled() {
    return IsColorRangeSelectable();
}

bool GuiScanInitiateDialog::IsSplitTimeoutEnabled() {
    return IsSplitTimeoutSelectable();
}

bool GuiScanInitiateDialog::GetEraseBorder() {
    return IsEraseBorderChecked();
}

bool GuiScanInitiateDialog::IsDuplexLayoutEnabled() {
    return Caps().IsDuplexLayoutSupported();
}

std::string GuiScanInitiateDialog::GetDropOutColor() {
    return KeywordOf(m_controls->dropOutColor, &ScanServerCapabilities::GetDropColorValueAt);
}

std::string GuiScanInitiateDialog::GetColorRange() {
    return KeywordOf(m_controls->colorRange, &ScanServerCapabilities::GetDropRangeValueAt);
}

std::string GuiScanInitiateDialog::GetSplitMode() {
    const PopupButton& split = m_controls->splitMode;
    const int selected = split.GetCurSel();
    if (selected < 0) {
        return std::string();
    }
    const LPARAM data = split.GetItemData(selected);
    if (data == 0) {
        return kSplitModeOff;
    }
    return Caps().GetSplitModeValueAt(static_cast<int32_t>(data - 1));
}

std::string GuiScanInitiateDialog::GetSplitTimeout() {
    return m_controls->splitTimeout.GetPosText();
}

bool GuiScanInitiateDialog::IsEraseBorderChecked() {
    return IsItemChecked(IDC_SI_ERASE);
}

std::string GuiScanInitiateDialog::GetEraseSize(int side) {
    if (side < 0 || side >= 4) {
        return std::string();
    }
    return m_controls->borders[side].GetText();
}

std::string GuiScanInitiateDialog::GetDuplexLayout() {
    const PopupButton& sides = m_controls->sides;
    const int selected = sides.GetCurSel();
    switch (selected >= 0 ? sides.GetItemData(selected) : -1) {
    case 0:
        return "SCAN_SINGLE_SIDE";
    case 1:
        return IsDuplexLayoutEnabled() && !IsBindDirectionEnabled() ? "TOP_TOP"
                                                                    : "SCAN_DOUBLE_SIDE";
    case 2:
        return "TOP_BOTTOM";
    default:
        return std::string();
    }
}

bool GuiScanInitiateDialog::IsThinMediaEnabled() {
    return Caps().IsThinMediaEnabled();
}

bool GuiScanInitiateDialog::GetThinMedia() {
    return IsItemChecked(IDC_SI_THIN);
}

bool GuiScanInitiateDialog::IsDuplexOddPageEnabled() {
    return Caps().IsDuplexOddPageEnabled();
}

bool GuiScanInitiateDialog::GetDuplexOddPage() {
    return IsItemChecked(IDC_SI_ODD_PAGE);
}

bool GuiScanInitiateDialog::IsSharpnessEnabled() {
    return Caps().IsSharpnessEnabled();
}

std::string GuiScanInitiateDialog::GetSharpness() {
    return KeywordOf(m_controls->sharpness, &ScanServerCapabilities::GetSharpnessLevelValueAt);
}

bool GuiScanInitiateDialog::IsBackgroundAdjustEnabled() {
    return Caps().IsBackgroundAdjustEnabled();
}

std::string GuiScanInitiateDialog::GetBackgroundAdjust() {
    return KeywordOf(m_controls->backgroundAdjust,
                     &ScanServerCapabilities::GetBackgroundAdjustLevelValueAt);
}

bool GuiScanInitiateDialog::IsExposureEnabled() {
    return Caps().IsExposureEnabled();
}

std::string GuiScanInitiateDialog::GetExposure() {
    return KeywordOf(m_controls->exposure, &ScanServerCapabilities::GetExposureLevelValueAt);
}

bool GuiScanInitiateDialog::IsImageRotateEnabled() {
    return Caps().IsImageRotateEnabled();
}

std::string GuiScanInitiateDialog::GetImageRotate() {
    return KeywordOf(m_controls->imageRotate, &ScanServerCapabilities::GetImageRotateValueAt);
}

bool GuiScanInitiateDialog::IsDuplexPassEnabled() {
    return Caps().IsDuplexPassEnabled();
}

std::string GuiScanInitiateDialog::GetDuplexPass() {
    const PopupButton& sides = m_controls->sides;
    const int selected = sides.GetCurSel();
    if (selected < 0) {
        return std::string();
    }
    // Item data 1 is the server's first pass, whatever entries were left out before it.
    const LPARAM data = sides.GetItemData(selected);
    return data >= 1 ? Caps().GetDuplexPassValueAt(static_cast<int32_t>(data - 1)) : std::string();
}
