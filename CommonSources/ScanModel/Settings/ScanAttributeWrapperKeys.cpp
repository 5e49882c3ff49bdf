// The typed setters of ScanAttributeWrapper: the job attribute keys the client writes, the
// numbering of destinations and recipients, whole messages and the page description.

#include "ScanAttributeWrapper.h"

#include "EmailMsg.h"
#include "ResourceLoader.h"
#include "TwainValueNames.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

std::string Decimal(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

std::string Indexed(const char* pattern, int index) {
    char key[64];
    std::snprintf(key, sizeof key, pattern, index);
    return key;
}

std::string EncodingForInterface() {
    return ResourceLoader::Instance()->GetLanguageCode() == "ja" ? "SJIS" : "ISO8859-1";
}

// The keys of one kind of message: recipients, subject and body.
struct MessageKeys {
    const char* toCount;
    const char* to;
    const char* toName;
    const char* ccCount;
    const char* cc;
    const char* ccName;
    const char* bccCount;
    const char* bcc;
    const char* bccName;
    const char* subject;
    const char* lineCount;
    const char* line;
};

const MessageKeys kMailKeys = {"N_MAIL_TO",   "MAIL_TO:",   "MAIL_TO_D:", "N_MAIL_CC",
                               "MAIL_CC:",    "MAIL_CC_D:", "N_MAIL_BCC", "MAIL_BCC:",
                               "MAIL_BCC_D:", "MSGSUB",     "N_MSGLINE",  "MSGLINE:"};
const MessageKeys kEmFaxKeys = {"N_EMFAX_TO",   "EMFAX_TO:",    "EMFAX_TO_D:", "N_EMFAX_CC",
                                "EMFAX_CC:",    "EMFAX_CC_D:",  "N_EMFAX_BCC", "EMFAX_BCC:",
                                "EMFAX_BCC_D:", "EMFAX_MSGSUB", "N_EMFAX_MSG", "EMFAX_MSG:"};

// Keys that only the page description writes, or keeps from being copied.
const char* const kPageKeys[] = {"PAGE",           "RESOLUTION",   "X_RESOLUTION", "Y_RESOLUTION",
                                 "BITS_PER_PIXEL", "PIXEL_TYPE",   "COMPRESSION",  "FILE_FORMAT",
                                 "WIDTH_PIXELS",   "HEIGHT_PIXELS"};

bool IsPageKey(const char* key) {
    for (const char* pageKey : kPageKeys) {
        if (std::strcmp(key, pageKey) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void ScanAttributeWrapper::SetScanOcr(bool on) {
    SetBoolAttribute("SCAN_OCR", on);
}

void ScanAttributeWrapper::SetDoubleSided(bool on) {
    SetBoolAttribute("SCAN_DOUBLE_SIDE", on);
    SetAttribute("Duplex", on ? "1" : "0");
}

void ScanAttributeWrapper::SetScanSource(bool platen) {
    SetAttribute("SCAN_SOURCE", platen ? "PLATEN" : "ADF");
}

void ScanAttributeWrapper::SetRawXRes(const std::string& value) {
    SetAttribute("RAW_X_RES", value);
}
void ScanAttributeWrapper::SetRawXResInt(int value) {
    SetAttribute("RAW_X_RES", Decimal(value));
}
void ScanAttributeWrapper::SetRawYRes(const std::string& value) {
    SetAttribute("RAW_Y_RES", value);
}
void ScanAttributeWrapper::SetRawYResInt(int value) {
    SetAttribute("RAW_Y_RES", Decimal(value));
}
void ScanAttributeWrapper::SetPageSize(const std::string& value) {
    SetAttribute("PAGESIZE", value);
}
void ScanAttributeWrapper::SetColorMode(const std::string& value) {
    SetAttribute("COLOR_MODE", value);
}
void ScanAttributeWrapper::SetMailbox(const std::string& value) {
    SetAttribute("MAILBOX", value);
}
void ScanAttributeWrapper::SetFileName(const std::string& value) {
    SetAttribute("FILENAME", value);
}
void ScanAttributeWrapper::SetFileFormat(const std::string& value) {
    SetAttribute("FILE_FORMAT", value);
}
void ScanAttributeWrapper::SetBindDirection(const std::string& value) {
    SetAttribute("BIND_DIRECTION", value);
}
void ScanAttributeWrapper::SetImageMode(const std::string& value) {
    SetAttribute("IMAGE_MODE", value);
}
void ScanAttributeWrapper::SetBitsPerPixel(const std::string& value) {
    SetAttribute("BITS_PER_PIXEL", value);
}
void ScanAttributeWrapper::SetBitsPerPixelInt(int value) {
    SetAttribute("BITS_PER_PIXEL", Decimal(value));
}
void ScanAttributeWrapper::SetPixelType(const std::string& value) {
    SetAttribute("PIXEL_TYPE", value);
}
void ScanAttributeWrapper::SetDestinationCount(const std::string& value) {
    SetAttribute("N_DEST", value);
}
void ScanAttributeWrapper::SetDestinationCountInt(int value) {
    SetAttribute("N_DEST", Decimal(value));
}

int ScanAttributeWrapper::AddHoldQueueDestination() {
    const int n = AddDestination();
    SetDestination(n, "HOLDQ");
    return n;
}

int ScanAttributeWrapper::AddEmailDestination() {
    const int n = AddDestination();
    SetDestination(n, "EMAIL");
    return n;
}

int ScanAttributeWrapper::AddCallerDestination() {
    const int n = AddDestination();
    SetDestination(n, "CALLER");
    return n;
}

int ScanAttributeWrapper::AddMailboxDestination() {
    const int n = AddDestination();
    SetDestination(n, "MAILBOX");
    return n;
}

int ScanAttributeWrapper::AddEmFaxDestination() {
    const int n = AddDestination();
    SetDestination(n, "EMFAX");
    return n;
}

int ScanAttributeWrapper::AddFtpDestination() {
    const int n = AddDestination();
    SetDestination(n, "FTP");
    return n;
}

void ScanAttributeWrapper::SetFtpServer(const std::string& value) {
    SetAttribute("FTP_SERVER", value);
}
void ScanAttributeWrapper::SetFtpRemoteDir(const std::string& value) {
    SetAttribute("FTP_REMOTE_DIR", value);
}
void ScanAttributeWrapper::SetFtpPort(const std::string& value) {
    SetAttribute("FTP_PORT", value);
}
void ScanAttributeWrapper::SetFtpTimeout(const std::string& value) {
    SetAttribute("FTP_TIMEOUT", value);
}
void ScanAttributeWrapper::SetFtpUser(const std::string& value) {
    SetAttribute("FTP_USER", value);
}
void ScanAttributeWrapper::SetFtpPassword(const std::string& value) {
    SetAttribute("FTP_PASSWORD", value);
}
void ScanAttributeWrapper::SetProxyFtpServer(const std::string& value) {
    SetAttribute("PFTP_SERVER", value);
}
void ScanAttributeWrapper::SetProxyFtpPort(const std::string& value) {
    SetAttribute("PFTP_PORT", value);
}
void ScanAttributeWrapper::SetProxyFtpUser(const std::string& value) {
    SetAttribute("PFTP_USER", value);
}
void ScanAttributeWrapper::SetProxyFtpPassword(const std::string& value) {
    SetAttribute("PFTP_PASSWORD", value);
}
void ScanAttributeWrapper::SetDestinationFormat(int index, const std::string& value) {
    SetAttribute(Indexed("DEST_FORMAT:%d", index), value);
}
void ScanAttributeWrapper::SetDestinationPage(int index, const std::string& value) {
    SetAttribute(Indexed("DEST_PAGE:%d", index), value);
}

void ScanAttributeWrapper::SetMailToCount(const std::string& value) {
    SetAttribute("N_MAIL_TO", value);
}
void ScanAttributeWrapper::SetMailToCountInt(int value) {
    SetAttribute("N_MAIL_TO", Decimal(value));
}
void ScanAttributeWrapper::SetMailTo(int index, const std::string& value) {
    SetAttribute(Indexed("MAIL_TO:%d", index), value);
}
void ScanAttributeWrapper::SetMailToDisplayName(int index, const std::string& value) {
    if (!value.empty()) {
        SetAttribute(Indexed("MAIL_TO_D:%d", index), value);
    }
}
void ScanAttributeWrapper::SetMailCcCountInt(int value) {
    SetAttribute("N_MAIL_CC", Decimal(value));
}
void ScanAttributeWrapper::SetMailCc(int index, const std::string& value) {
    SetAttribute(Indexed("MAIL_CC:%d", index), value);
}
void ScanAttributeWrapper::SetMailCcDisplayName(int index, const std::string& value) {
    if (!value.empty()) {
        SetAttribute(Indexed("MAIL_CC_D:%d", index), value);
    }
}
void ScanAttributeWrapper::SetMailBccCountInt(int value) {
    SetAttribute("N_MAIL_BCC", Decimal(value));
}
void ScanAttributeWrapper::SetMailBcc(int index, const std::string& value) {
    SetAttribute(Indexed("MAIL_BCC:%d", index), value);
}
void ScanAttributeWrapper::SetMailBccDisplayName(int index, const std::string& value) {
    if (!value.empty()) {
        SetAttribute(Indexed("MAIL_BCC_D:%d", index), value);
    }
}
void ScanAttributeWrapper::SetMessageSubject(const std::string& value) {
    if (!value.empty()) {
        SetAttribute("MSGSUB", value);
    }
}
void ScanAttributeWrapper::SetMessageLineCountInt(int value) {
    SetAttribute("N_MSGLINE", Decimal(value));
}
void ScanAttributeWrapper::SetMessageLine(int index, const std::string& value) {
    SetAttribute(Indexed("MSGLINE:%d", index), value);
}
void ScanAttributeWrapper::SetMailEncoding() {
    SetAttribute("MAIL_ENCODING", EncodingForInterface());
}

void ScanAttributeWrapper::SetEmailMessage(const EmailMsg& message) {
    // A reused table must not carry recipients, names or a subject of an earlier message.
    for (const char* prefix : {kMailKeys.to, kMailKeys.toName, kMailKeys.cc, kMailKeys.ccName,
                               kMailKeys.bcc, kMailKeys.bccName, kMailKeys.line}) {
        RemoveAttributesWithPrefix(prefix);
    }
    for (const char* key : {kMailKeys.toCount, kMailKeys.ccCount, kMailKeys.bccCount,
                            kMailKeys.subject, kMailKeys.lineCount}) {
        RemoveAttribute(key);
    }
    SetMailToCountInt(message.GetToCount());
    for (int i = 0; i < message.GetToCount(); ++i) {
        const EmailAddress address = message.GetTo(i);
        SetMailTo(i + 1, address.GetAddress());
        SetMailToDisplayName(i + 1, address.GetName());
    }
    SetMailCcCountInt(message.GetCcCount());
    for (int i = 0; i < message.GetCcCount(); ++i) {
        const EmailAddress address = message.GetCc(i);
        SetMailCc(i + 1, address.GetAddress());
        SetMailCcDisplayName(i + 1, address.GetName());
    }
    SetMailBccCountInt(message.GetBccCount());
    for (int i = 0; i < message.GetBccCount(); ++i) {
        const EmailAddress address = message.GetBcc(i);
        SetMailBcc(i + 1, address.GetAddress());
        SetMailBccDisplayName(i + 1, address.GetName());
    }
    SetMessageSubject(message.GetSubject());
    SetMessageLineCountInt(message.GetLineCount());
    for (int i = 0; i < message.GetLineCount(); ++i) {
        SetMessageLine(i + 1, message.GetLine(i));
    }
}

void ScanAttributeWrapper::SetEmFaxToCount(const std::string& value) {
    SetAttribute("N_EMFAX_TO", value);
}
void ScanAttributeWrapper::SetEmFaxToCountInt(int value) {
    SetAttribute("N_EMFAX_TO", Decimal(value));
}
void ScanAttributeWrapper::SetEmFaxTo(int index, const std::string& value) {
    SetAttribute(Indexed("EMFAX_TO:%d", index), value);
}
void ScanAttributeWrapper::SetEmFaxToDisplayName(int index, const std::string& value) {
    if (!value.empty()) {
        SetAttribute(Indexed("EMFAX_TO_D:%d", index), value);
    }
}
void ScanAttributeWrapper::SetEmFaxCcCountInt(int value) {
    SetAttribute("N_EMFAX_CC", Decimal(value));
}
void ScanAttributeWrapper::SetEmFaxCc(int index, const std::string& value) {
    SetAttribute(Indexed("EMFAX_CC:%d", index), value);
}
void ScanAttributeWrapper::SetEmFaxCcDisplayName(int index, const std::string& value) {
    if (!value.empty()) {
        SetAttribute(Indexed("EMFAX_CC_D:%d", index), value);
    }
}
void ScanAttributeWrapper::SetEmFaxBccCountInt(int value) {
    SetAttribute("N_EMFAX_BCC", Decimal(value));
}
void ScanAttributeWrapper::SetEmFaxBcc(int index, const std::string& value) {
    SetAttribute(Indexed("EMFAX_BCC:%d", index), value);
}
void ScanAttributeWrapper::SetEmFaxBccDisplayName(int index, const std::string& value) {
    if (!value.empty()) {
        SetAttribute(Indexed("EMFAX_BCC_D:%d", index), value);
    }
}
void ScanAttributeWrapper::SetEmFaxSubject(const std::string& value) {
    if (!value.empty()) {
        SetAttribute("EMFAX_MSGSUB", value);
    }
}
void ScanAttributeWrapper::SetEmFaxEncoding() {
    SetAttribute("EMFAX_ENCODING", EncodingForInterface());
}
void ScanAttributeWrapper::SetEmFaxMessageLineCountInt(int value) {
    SetAttribute("N_EMFAX_MSG", Decimal(value));
}
void ScanAttributeWrapper::SetEmFaxMessageLine(int index, const std::string& value) {
    SetAttribute(Indexed("EMFAX_MSG:%d", index), value);
}

void ScanAttributeWrapper::SetEmFaxMessage(const EmailMsg& message) {
    for (const char* prefix : {kEmFaxKeys.to, kEmFaxKeys.toName, kEmFaxKeys.cc, kEmFaxKeys.ccName,
                               kEmFaxKeys.bcc, kEmFaxKeys.bccName, kEmFaxKeys.line}) {
        RemoveAttributesWithPrefix(prefix);
    }
    for (const char* key : {kEmFaxKeys.toCount, kEmFaxKeys.ccCount, kEmFaxKeys.bccCount,
                            kEmFaxKeys.subject, kEmFaxKeys.lineCount}) {
        RemoveAttribute(key);
    }
    SetEmFaxToCountInt(message.GetToCount());
    for (int i = 0; i < message.GetToCount(); ++i) {
        const EmailAddress address = message.GetTo(i);
        SetEmFaxTo(i + 1, address.GetAddress());
        SetEmFaxToDisplayName(i + 1, address.GetName());
    }
    SetEmFaxCcCountInt(message.GetCcCount());
    for (int i = 0; i < message.GetCcCount(); ++i) {
        const EmailAddress address = message.GetCc(i);
        SetEmFaxCc(i + 1, address.GetAddress());
        SetEmFaxCcDisplayName(i + 1, address.GetName());
    }
    SetEmFaxBccCountInt(message.GetBccCount());
    for (int i = 0; i < message.GetBccCount(); ++i) {
        const EmailAddress address = message.GetBcc(i);
        SetEmFaxBcc(i + 1, address.GetAddress());
        SetEmFaxBccDisplayName(i + 1, address.GetName());
    }
    SetEmFaxSubject(message.GetSubject());
    SetEmFaxMessageLineCountInt(message.GetLineCount());
    for (int i = 0; i < message.GetLineCount(); ++i) {
        SetEmFaxMessageLine(i + 1, message.GetLine(i));
    }
}

void ScanAttributeWrapper::SetMailForceUrl(bool on) {
    SetBoolAttribute("MAIL_FORCE_URL", on);
}
void ScanAttributeWrapper::SetPage(const std::string& value) {
    SetAttribute("PAGE", value);
}
void ScanAttributeWrapper::SetPageInt(int value) {
    SetAttribute("PAGE", Decimal(value));
}

void ScanAttributeWrapper::SetUserName() {
    char name[256] = {};
    DWORD size = sizeof name;
    // Without a logon name the key still goes, empty, so the server sees who is unknown.
    if (!GetUserNameA(name, &size)) {
        name[0] = '\0';
    }
    SetAttribute("USERNAME", name);
}

void ScanAttributeWrapper::SetOrientation(const std::string& value) {
    SetAttribute("ORIENTATION", value);
}
void ScanAttributeWrapper::SetCompressLevel(const std::string& value) {
    SetAttribute("COMPRESS_LEVEL", value);
}
void ScanAttributeWrapper::SetBRemove(const std::string& value) {
    SetAttribute("BREMOVE", value);
}
void ScanAttributeWrapper::SetBrightness(const std::string& value) {
    SetAttribute("BRIGHTNESS", value);
}
void ScanAttributeWrapper::SetDropColor(const std::string& value) {
    SetAttribute("DROP_COLOR", value);
}
void ScanAttributeWrapper::SetDropRange(const std::string& value) {
    SetAttribute("DROP_RANGE", value);
}
void ScanAttributeWrapper::SetSplitOrig(bool on) {
    SetBoolAttribute("SPLIT_ORIG", on);
}
void ScanAttributeWrapper::SetSplitMode(const std::string& value) {
    SetAttribute("SPLIT_MODE", value);
}
void ScanAttributeWrapper::SetSm1PageTo(const std::string& value) {
    SetAttribute("SM_1PAGE_TO", value);
}
void ScanAttributeWrapper::SetEraseMode(const std::string& value) {
    SetAttribute("ERASE_MODE", value);
}
void ScanAttributeWrapper::SetMailFrom(const std::string& value) {
    SetAttribute("MAIL_FROM", value);
}
void ScanAttributeWrapper::SetMailFromDisplayName(const std::string& value) {
    SetAttribute("MAIL_FROM_D", value);
}
void ScanAttributeWrapper::SetThinMedia(bool on) {
    SetBoolAttribute("THIN_MEDIA", on);
}
void ScanAttributeWrapper::SetDuplexOddPage(bool on) {
    SetBoolAttribute("DUPLEX_ODDPAGE", on);
}
void ScanAttributeWrapper::SetSharpnessLevel(const std::string& value) {
    SetAttribute("SHARPNESS_LEVEL", value);
}
void ScanAttributeWrapper::SetBackgroundAdjLevel(const std::string& value) {
    SetAttribute("BACKGROUND_ADJ_LEVEL", value);
}
void ScanAttributeWrapper::SetExposureLevel(const std::string& value) {
    SetAttribute("EXPOSURE_LEVEL", value);
}
void ScanAttributeWrapper::SetImageRotate(const std::string& value) {
    SetAttribute("IMAGE_ROTATE", value);
}
void ScanAttributeWrapper::SetDuplexPass(const std::string& value) {
    SetAttribute("DUPLEX_PASS", value);
}

void ScanAttributeWrapper::SetImageAttributes(const ServerAttributeList* source, int32_t page,
                                              double xRes, double yRes, int16_t bitsPerPixel,
                                              int16_t pixelType, uint16_t compression,
                                              int16_t fileFormat, int32_t width, int32_t height) {
    std::string formatKey = "FILE_FORMAT";
    if (source != nullptr && source->keys != nullptr && source->values != nullptr) {
        for (int32_t i = 0; i < source->count; ++i) {
            const char* key = source->keys[i];
            if (key == nullptr || IsPageKey(key)) {
                continue;
            }
            if (std::strcmp(key, "FORMAT") == 0) {
                formatKey = "FORMAT";
                continue;
            }
            InsertAttribute(key, source->values[i] ? source->values[i] : "");
        }
    }
    if (page != -1) {
        InsertAttribute("PAGE", Decimal(page));
    }
    // Truncated toward zero; kept within range so the conversion is defined.
    const double limit = static_cast<double>(std::numeric_limits<int>::max());
    const double x = xRes > limit ? limit : (xRes < -limit ? -limit : xRes);
    InsertAttribute("X_RESOLUTION", Decimal(static_cast<int>(x)));
    char text[512];
    std::snprintf(text, sizeof text, "%f", yRes);
    InsertAttribute("Y_RESOLUTION", text);
    InsertAttribute("BITS_PER_PIXEL", Decimal(bitsPerPixel));
    InsertAttribute("PIXEL_TYPE", pixelTypeToString(pixelType));
    InsertAttribute("COMPRESSION", compressionToString(compression));
    InsertAttribute(formatKey, fileFormatToString(fileFormat));
    InsertAttribute("WIDTH_PIXELS", Decimal(width));
    InsertAttribute("HEIGHT_PIXELS", Decimal(height));
}

void ScanAttributeWrapper::SetDestination(int index, const std::string& kind) {
    // The format and pages of an earlier destination with this number do not carry over.
    RemoveAttribute(Indexed("DEST_FORMAT:%d", index));
    RemoveAttribute(Indexed("DEST_PAGE:%d", index));
    SetAttribute(Indexed("DEST:%d", index), kind);
}

int ScanAttributeWrapper::AddDestination() {
    int n = 1;
    if (HasAttribute("N_DEST")) {
        // Leading blanks and a sign are read; text without digits counts as 0.
        const long stored = std::strtol(GetAttribute("N_DEST").c_str(), nullptr, 10);
        n = stored >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                      : static_cast<int>(stored) + 1;
    }
    SetDestinationCountInt(n);
    return n;
}

void ScanAttributeWrapper::SetPageSizeDimensions(int x, int y) {
    SetAttribute("PAGESIZE_DIM_X", Decimal(x));
    SetAttribute("PAGESIZE_DIM_Y", Decimal(y));
}

void ScanAttributeWrapper::SetMixedPageSize(bool on) {
    SetAttribute("MIXED_PAGESIZE", on ? "ON" : "OFF");
}

void ScanAttributeWrapper::SetMakeEmFaxable(bool on) {
    SetBoolAttribute("MKEMFAXABLE", on);
}
