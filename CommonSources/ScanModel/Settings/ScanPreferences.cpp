#include "ScanPreferences.h"

#include "Base64Coder.h"
#include "ScanStrings.h"
#include "XGPreferencesIntf.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Value names of the stored format; case matters.
const std::string kScanSource = "ScanSource";
const std::string kScanSide = "ScanSide";
const std::string kScanBindDirection = "ScanBindDirection";
const std::string kScanColorMode = "ScanColorMode";
const std::string kScanPaperSize = "ScanPaperSize";
const std::string kScanPaperSizeHeight = "ScanPaperSizeHeight";
const std::string kScanPaperSizeWidth = "ScanPaperSizeWidth";
const std::string kScanPaperSizeUnit = "ScanPaperSizeUnit";
const std::string kScanEmailFileFormat = "ScanEmailFileFormat";
const std::string kSaveToDiskCheck = "SaveToDiskCheck";
const std::string kScanToDiskFileFormat = "ScanToDiskFileFormat";
const std::string kSaveToDiskPath = "SaveToDiskPath";
const std::string kScanSendTrelliq = "ScanSendTrelliq";
const std::string kScanResolution = "ScanResolution";
const std::string kScanFilename = "ScanFilename";
const std::string kScanSendMailbox = "ScanSendMailbox";
const std::string kScanMailbox = "ScanMailbox";
const std::string kScanSendEmail = "ScanSendEmail";
const std::string kScanSendAsURL = "ScanSendAsURL";
const std::string kNumOfAddress = "NumOfAddress";
const std::string kAddress = "Address";
const std::string kScanMailSubject = "ScanMailSubject";
const std::string kNumEmailBodyLines = "NumEmailBodyLines";
const std::string kScanMailBody = "ScanMailBody";
const std::string kScanIFaxSubject = "ScanIFaxSubject";
const std::string kScanIFaxBody = "ScanIFaxBody";
const std::string kNumIFaxBodyLines = "NumIFaxBodyLines";
const std::string kScanSendToInternetFax = "ScanSendToInternetFax";
const std::string kScanSendToFTP = "ScanSendToFTP";
const std::string kScanFTPFileFormat = "ScanFTPFileFormat";
const std::string kScanFTPServerName = "ScanFTPServerName";
const std::string kScanFTPPortNumber = "ScanFTPPortNumber";
const std::string kScanFTPRemoteDir = "ScanFTPRemoteDir";
const std::string kScanFTPUserName = "ScanFTPUserName";
const std::string kScanFTPPassword = "ScanFTPPassword";
const std::string kScanEnableProxy = "ScanEnableProxy";
const std::string kScanProxyAddress = "ScanProxyAddress";
const std::string kScanProxyPortNumber = "ScanProxyPortNumber";
const std::string kScanProxyUserName = "ScanProxyUserName";
const std::string kScanProxyPassword = "ScanProxyPassword";
const std::string kScanOrientation = "ScanOrientation";
const std::string kScanJpegCompressLevel = "ScanJpegCompressLevel";
const std::string kScanBrightLevel = "ScanBrightLevel";
const std::string kScanBackgroundRemove = "ScanBackgroundRemove";
const std::string kScanImageMode = "ScanImageMode";
const std::string kDeveloperMode = "developermode";
const std::string kScanDropoutColor = "ScanDropoutColor";
const std::string kScanColorRange = "ScanColorRange";
const std::string kScanSplitMode = "ScanSplitMode";
const std::string kScanSplitTimeout = "ScanSplitTimeout";
const std::string kScanEraseBorder = "ScanEraseBorder";
const std::string kScanEraseBorderSides[] = {"ScanEraseBorderTop", "ScanEraseBorderRight",
                                             "ScanEraseBorderBottom", "ScanEraseBorderLeft"};
const std::string kScanBusy = "ScanBusy";
const std::string kScanOCR = "ScanOCR";
const std::string kScanThinPaper = "ScanThinPaper";
const std::string kScanDuplexOddPage = "ScanDuplexOddPage";
const std::string kScanSharpness = "ScanSharpness";
const std::string kScanBackgroundAdjust = "ScanBackgroundAdjust";
const std::string kScanExposure = "ScanExposure";
const std::string kScanImageRotate = "ScanImageRotate";
const std::string kScanFTPTimeOut = "ScanFTPTimeOut";
const char* const kCurrentMailbox = "currentmailbox";

struct ListNames {
    const char* list;
    const char* entryPrefix;
};
const ListNames kLists[] = {{"Em_To", "Em_To_"}, {"Em_Cc", "Em_Cc_"}, {"Em_Bcc", "Em_Bcc_"},
                            {"IF_To", "IF_To_"}, {"IF_Cc", "IF_Cc_"}, {"IF_Bcc", "IF_Bcc_"}};
const int kListCount = static_cast<int>(sizeof kLists / sizeof kLists[0]);

std::string Numbered(const std::string& fixed, const char* middle, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", number);
    return fixed + middle + digits;
}

bool ValidList(int list) {
    return list >= 0 && list < kListCount;
}

bool ValidSide(int side) {
    return side >= 0 && side < 4;
}

} // namespace

ScanPreferences::ScanPreferences() = default;

ScanPreferences::~ScanPreferences() = default;

CommonCpp::XGPreferencesIntf* ScanPreferences::SetStore(CommonCpp::XGPreferencesIntf* store) {
    m_store = store;
    return m_store;
}

std::string ScanPreferences::GetText(const std::string& name,
                                     const std::string& defaultValue) const {
    // A present empty value reads as empty, not as the default.
    return m_store->GetStringByValue(name, defaultValue);
}

void ScanPreferences::SetText(const std::string& name, const std::string& value) {
    m_store->SetString(name, value);
}

bool ScanPreferences::GetFlag(const std::string& name) const {
    return m_store->GetBoolByValue(name, false);
}

void ScanPreferences::SetFlag(const std::string& name, bool value) {
    m_store->SetBool(name, value);
}

int ScanPreferences::GetNumber(const std::string& name) const {
    return m_store->GetIntByValue(name, 0);
}

void ScanPreferences::SetNumber(const std::string& name, int value) {
    m_store->SetInt(name, value);
}

double ScanPreferences::GetReal(const std::string& name) const {
    // The leading decimal number of the text, as the stored "%f" form is read elsewhere too.
    const std::string text = m_store->GetStringOrEmpty(name);
    return std::strtod(text.c_str(), nullptr);
}

void ScanPreferences::SetReal(const std::string& name, double value) {
    char text[512];
    std::snprintf(text, sizeof text, "%f", value);
    m_store->SetString(name, text);
}

std::string ScanPreferences::GetPassword(const std::string& name) const {
    const std::string stored = m_store->GetStringByValue(name, std::string());
    if (stored.empty()) {
        return std::string();
    }
    Base64Coder coder;
    coder.Decode(stored.c_str());
    // Decoded bytes are followed by zero bytes: read up to the first one.
    const unsigned char* bytes = coder.GetBinary();
    return bytes ? std::string(reinterpret_cast<const char*>(bytes)) : std::string();
}

void ScanPreferences::SetPassword(const std::string& name, const std::string& value) {
    if (value.empty()) {
        m_store->SetString(name, std::string());
        return;
    }
    Base64Coder coder;
    coder.EncodeBuffer(reinterpret_cast<const unsigned char*>(value.data()),
                       static_cast<uint32_t>(value.size()));
    m_store->SetString(name, coder.GetText());
}

std::string ScanPreferences::GetScanSource() const {
    return GetText(kScanSource, "");
}
void ScanPreferences::SetScanSource(const std::string& value) {
    SetText(kScanSource, value);
}
std::string ScanPreferences::GetScanSide() const {
    return GetText(kScanSide, "");
}
void ScanPreferences::SetScanSide(const std::string& value) {
    SetText(kScanSide, value);
}
std::string ScanPreferences::GetScanBindDirection() const {
    return GetText(kScanBindDirection, "");
}
void ScanPreferences::SetScanBindDirection(const std::string& value) {
    SetText(kScanBindDirection, value);
}
std::string ScanPreferences::GetScanColorMode() const {
    return GetText(kScanColorMode, "");
}
void ScanPreferences::SetScanColorMode(const std::string& value) {
    SetText(kScanColorMode, value);
}
std::string ScanPreferences::GetScanPaperSize() const {
    return GetText(kScanPaperSize, "");
}
void ScanPreferences::SetScanPaperSize(const std::string& value) {
    SetText(kScanPaperSize, value);
}
double ScanPreferences::GetScanPaperSizeHeight() const {
    return GetReal(kScanPaperSizeHeight);
}
void ScanPreferences::SetScanPaperSizeHeight(double value) {
    SetReal(kScanPaperSizeHeight, value);
}
double ScanPreferences::GetScanPaperSizeWidth() const {
    return GetReal(kScanPaperSizeWidth);
}
void ScanPreferences::SetScanPaperSizeWidth(double value) {
    SetReal(kScanPaperSizeWidth, value);
}
int ScanPreferences::GetScanPaperSizeUnit() const {
    return GetNumber(kScanPaperSizeUnit);
}
void ScanPreferences::SetScanPaperSizeUnit(short unit) {
    SetNumber(kScanPaperSizeUnit, unit);
}
std::string ScanPreferences::GetScanEmailFileFormat() const {
    return GetText(kScanEmailFileFormat, "");
}
void ScanPreferences::SetScanEmailFileFormat(const std::string& value) {
    SetText(kScanEmailFileFormat, value);
}
bool ScanPreferences::GetSaveToDiskCheck() const {
    return GetFlag(kSaveToDiskCheck);
}
void ScanPreferences::SetSaveToDiskCheck(bool value) {
    SetFlag(kSaveToDiskCheck, value);
}
std::string ScanPreferences::GetScanToDiskFileFormat() const {
    return GetText(kScanToDiskFileFormat, ScanConstStrings::FormatPdf);
}
void ScanPreferences::SetScanToDiskFileFormat(const std::string& value) {
    SetText(kScanToDiskFileFormat, value);
}
std::string ScanPreferences::GetSaveToDiskPath() const {
    return GetText(kSaveToDiskPath, "");
}
void ScanPreferences::SetSaveToDiskPath(const std::string& value) {
    SetText(kSaveToDiskPath, value);
}
bool ScanPreferences::GetScanSendTrelliq() const {
    return GetFlag(kScanSendTrelliq);
}
void ScanPreferences::SetScanSendTrelliq(bool value) {
    SetFlag(kScanSendTrelliq, value);
}
int ScanPreferences::GetScanResolution() const {
    return GetNumber(kScanResolution);
}
void ScanPreferences::SetScanResolution(int value) {
    SetNumber(kScanResolution, value);
}
std::string ScanPreferences::GetScanFilename() const {
    return GetText(kScanFilename, "");
}
void ScanPreferences::SetScanFilename(const std::string& value) {
    SetText(kScanFilename, value);
}
bool ScanPreferences::GetScanSendMailbox() const {
    return GetFlag(kScanSendMailbox);
}
void ScanPreferences::SetScanSendMailbox(bool value) {
    SetFlag(kScanSendMailbox, value);
}
std::string ScanPreferences::GetScanMailbox() const {
    return GetText(kScanMailbox, "");
}
void ScanPreferences::SetScanMailbox(const std::string& value) {
    SetText(kScanMailbox, value);
}
bool ScanPreferences::GetScanSendEmail() const {
    return GetFlag(kScanSendEmail);
}
void ScanPreferences::SetScanSendEmail(bool value) {
    SetFlag(kScanSendEmail, value);
}
bool ScanPreferences::GetScanSendAsURL() const {
    return GetFlag(kScanSendAsURL);
}
void ScanPreferences::SetScanSendAsURL(bool value) {
    SetFlag(kScanSendAsURL, value);
}

int ScanPreferences::GetNumOfAddress(int list) const {
    if (!ValidList(list)) {
        return 0;
    }
    return GetNumber(kNumOfAddress + kLists[list].list);
}

void ScanPreferences::SetNumOfAddress(int list, int count) {
    if (ValidList(list)) {
        SetNumber(kNumOfAddress + kLists[list].list, count);
    }
}

std::string ScanPreferences::GetAddress(int list, int entry) const {
    if (!ValidList(list)) {
        return std::string();
    }
    return GetText(Numbered(kAddress, kLists[list].entryPrefix, entry), "");
}

void ScanPreferences::SetAddress(int list, int entry, const std::string& value) {
    if (ValidList(list)) {
        SetText(Numbered(kAddress, kLists[list].entryPrefix, entry), value);
    }
}

std::string ScanPreferences::GetScanMailSubject() const {
    return GetText(kScanMailSubject, "");
}
void ScanPreferences::SetScanMailSubject(const std::string& value) {
    SetText(kScanMailSubject, value);
}
int ScanPreferences::GetNumEmailBodyLines() const {
    return GetNumber(kNumEmailBodyLines);
}
void ScanPreferences::SetNumEmailBodyLines(int count) {
    SetNumber(kNumEmailBodyLines, count);
}
std::string ScanPreferences::GetScanMailBody(int line) const {
    return GetText(Numbered(kScanMailBody, "_", line), "");
}
void ScanPreferences::SetScanMailBody(int line, const std::string& value) {
    SetText(Numbered(kScanMailBody, "_", line), value);
}
std::string ScanPreferences::GetScanIFaxSubject() const {
    return GetText(kScanIFaxSubject, "");
}
void ScanPreferences::SetScanIFaxSubject(const std::string& value) {
    SetText(kScanIFaxSubject, value);
}
std::string ScanPreferences::GetScanIFaxBody(int line) const {
    return GetText(Numbered(kScanIFaxBody, "_", line), "");
}
void ScanPreferences::SetScanIFaxBody(int line, const std::string& value) {
    SetText(Numbered(kScanIFaxBody, "_", line), value);
}
int ScanPreferences::GetNumIFaxBodyLines() const {
    return GetNumber(kNumIFaxBodyLines);
}
void ScanPreferences::SetNumIFaxBodyLines(int count) {
    SetNumber(kNumIFaxBodyLines, count);
}
std::string ScanPreferences::GetCurrentMailbox() const {
    return GetText(kCurrentMailbox, "");
}
void ScanPreferences::SetCurrentMailbox(const std::string& value) {
    SetText(kCurrentMailbox, value);
}
bool ScanPreferences::GetScanSendToInternetFax() const {
    return GetFlag(kScanSendToInternetFax);
}
void ScanPreferences::SetScanSendToInternetFax(bool value) {
    SetFlag(kScanSendToInternetFax, value);
}
bool ScanPreferences::GetScanSendToFTP() const {
    return GetFlag(kScanSendToFTP);
}
void ScanPreferences::SetScanSendToFTP(bool value) {
    SetFlag(kScanSendToFTP, value);
}
std::string ScanPreferences::GetScanFTPFileFormat() const {
    return GetText(kScanFTPFileFormat, "");
}
void ScanPreferences::SetScanFTPFileFormat(const std::string& value) {
    SetText(kScanFTPFileFormat, value);
}
std::string ScanPreferences::GetScanFTPServerName() const {
    return GetText(kScanFTPServerName, "");
}
void ScanPreferences::SetScanFTPServerName(const std::string& value) {
    SetText(kScanFTPServerName, value);
}
std::string ScanPreferences::GetScanFTPPortNumber() const {
    return GetText(kScanFTPPortNumber, ScanConstStrings::FtpPortDefault);
}
void ScanPreferences::SetScanFTPPortNumber(const std::string& value) {
    SetText(kScanFTPPortNumber, value);
}
std::string ScanPreferences::GetScanFTPRemoteDir() const {
    return GetText(kScanFTPRemoteDir, "");
}
void ScanPreferences::SetScanFTPRemoteDir(const std::string& value) {
    SetText(kScanFTPRemoteDir, value);
}
std::string ScanPreferences::GetScanFTPUserName() const {
    return GetText(kScanFTPUserName, ScanConstStrings::FtpAnonymousUser);
}
void ScanPreferences::SetScanFTPUserName(const std::string& value) {
    SetText(kScanFTPUserName, value);
}
std::string ScanPreferences::GetScanFTPPassword() const {
    return GetPassword(kScanFTPPassword);
}
void ScanPreferences::SetScanFTPPassword(const std::string& value) {
    SetPassword(kScanFTPPassword, value);
}
bool ScanPreferences::GetScanEnableProxy() const {
    return GetFlag(kScanEnableProxy);
}
void ScanPreferences::SetScanEnableProxy(bool value) {
    SetFlag(kScanEnableProxy, value);
}
std::string ScanPreferences::GetScanProxyAddress() const {
    return GetText(kScanProxyAddress, "");
}
void ScanPreferences::SetScanProxyAddress(const std::string& value) {
    SetText(kScanProxyAddress, value);
}
std::string ScanPreferences::GetScanProxyPortNumber() const {
    return GetText(kScanProxyPortNumber, ScanConstStrings::ProxyFtpPortDefault);
}
void ScanPreferences::SetScanProxyPortNumber(const std::string& value) {
    SetText(kScanProxyPortNumber, value);
}
std::string ScanPreferences::GetScanProxyUserName() const {
    return GetText(kScanProxyUserName, "");
}
void ScanPreferences::SetScanProxyUserName(const std::string& value) {
    SetText(kScanProxyUserName, value);
}
std::string ScanPreferences::GetScanProxyPassword() const {
    return GetPassword(kScanProxyPassword);
}
void ScanPreferences::SetScanProxyPassword(const std::string& value) {
    SetPassword(kScanProxyPassword, value);
}
std::string ScanPreferences::GetScanOrientation() const {
    return GetText(kScanOrientation, "");
}
void ScanPreferences::SetScanOrientation(const std::string& value) {
    SetText(kScanOrientation, value);
}
std::string ScanPreferences::GetScanJpegCompressLevel() const {
    return GetText(kScanJpegCompressLevel, "");
}
void ScanPreferences::SetScanJpegCompressLevel(const std::string& value) {
    SetText(kScanJpegCompressLevel, value);
}
std::string ScanPreferences::GetScanBrightLevel() const {
    return GetText(kScanBrightLevel, "");
}
void ScanPreferences::SetScanBrightLevel(const std::string& value) {
    SetText(kScanBrightLevel, value);
}
std::string ScanPreferences::GetScanBackgroundRemove() const {
    return GetText(kScanBackgroundRemove, "");
}
void ScanPreferences::SetScanBackgroundRemove(const std::string& value) {
    SetText(kScanBackgroundRemove, value);
}
std::string ScanPreferences::GetScanImageMode() const {
    return GetText(kScanImageMode, "");
}
void ScanPreferences::SetScanImageMode(const std::string& value) {
    SetText(kScanImageMode, value);
}
bool ScanPreferences::GetDeveloperMode() const {
    return m_store->GetStringOrEmpty(kDeveloperMode) == "yes";
}
std::string ScanPreferences::GetScanDropoutColor() const {
    return GetText(kScanDropoutColor, "");
}
void ScanPreferences::SetScanDropoutColor(const std::string& value) {
    SetText(kScanDropoutColor, value);
}
std::string ScanPreferences::GetScanColorRange() const {
    return GetText(kScanColorRange, "");
}
void ScanPreferences::SetScanColorRange(const std::string& value) {
    SetText(kScanColorRange, value);
}
std::string ScanPreferences::GetScanSplitMode() const {
    return GetText(kScanSplitMode, "");
}
void ScanPreferences::SetScanSplitMode(const std::string& value) {
    SetText(kScanSplitMode, value);
}
std::string ScanPreferences::GetScanSplitTimeout() const {
    return GetText(kScanSplitTimeout, "");
}
void ScanPreferences::SetScanSplitTimeout(const std::string& value) {
    SetText(kScanSplitTimeout, value);
}
bool ScanPreferences::GetScanEraseBorder() const {
    return GetFlag(kScanEraseBorder);
}
void ScanPreferences::SetScanEraseBorder(bool value) {
    SetFlag(kScanEraseBorder, value);
}

std::string ScanPreferences::GetScanEraseBorderSide(int side) const {
    if (!ValidSide(side)) {
        return std::string();
    }
    return GetText(kScanEraseBorderSides[side], "");
}

void ScanPreferences::SetScanEraseBorderSide(int side, const std::string& value) {
    if (ValidSide(side)) {
        SetText(kScanEraseBorderSides[side], value);
    }
}

void ScanPreferences::SetScanBusy(bool value) {
    SetFlag(kScanBusy, value);
}
bool ScanPreferences::GetScanBusy() const {
    return GetFlag(kScanBusy);
}
void ScanPreferences::SetScanOCR(bool value) {
    SetFlag(kScanOCR, value);
}
bool ScanPreferences::GetScanOCR() const {
    return GetFlag(kScanOCR);
}
void ScanPreferences::SetScanThinPaper(bool value) {
    SetFlag(kScanThinPaper, value);
}
bool ScanPreferences::GetScanThinPaper() const {
    return GetFlag(kScanThinPaper);
}
void ScanPreferences::SetScanDuplexOddPage(bool value) {
    SetFlag(kScanDuplexOddPage, value);
}
bool ScanPreferences::GetScanDuplexOddPage() const {
    return GetFlag(kScanDuplexOddPage);
}
std::string ScanPreferences::GetScanSharpness() const {
    return GetText(kScanSharpness, "");
}
void ScanPreferences::SetScanSharpness(const std::string& value) {
    SetText(kScanSharpness, value);
}
std::string ScanPreferences::GetScanBackgroundAdjust() const {
    return GetText(kScanBackgroundAdjust, "");
}
void ScanPreferences::SetScanBackgroundAdjust(const std::string& value) {
    SetText(kScanBackgroundAdjust, value);
}
std::string ScanPreferences::GetScanExposure() const {
    return GetText(kScanExposure, "");
}
void ScanPreferences::SetScanExposure(const std::string& value) {
    SetText(kScanExposure, value);
}
std::string ScanPreferences::GetScanImageRotate() const {
    return GetText(kScanImageRotate, "");
}
void ScanPreferences::SetScanImageRotate(const std::string& value) {
    SetText(kScanImageRotate, value);
}

std::string ScanPreferences::GetScanFTPTimeOut() const {
    return GetText(kScanFTPTimeOut, ScanConstStrings::FtpTimeOutDefault);
}
void ScanPreferences::SetScanFTPTimeOut(const std::string& value) {
    SetText(kScanFTPTimeOut, value);
}
