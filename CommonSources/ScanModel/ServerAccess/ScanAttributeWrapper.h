#pragma once
// The attributes of one scan job, or of the server, as a table of text keys and text values
// in ascending byte order of the keys: the currency between the dialogs, the mediators, the
// scanner and the server. It converts both ways to the library's ServerAttributeList and
// writes itself as an attribute dump ("key = value" lines).

#include <map>
#include <memory>
#include <string>

#include "BaseObject.h"
#include "quorvel_api.h"

class EmailMsg;
class QuorvelWrapperIntf;
class QuorMemoryAllocator;

using ScanAttributeMap = std::map<std::string, std::string>;

class ScanAttributeWrapper : public BaseObject {
public:
    // The server access must also be the allocator the exported list is built with (as
    // QuorvelWrapper is); a table over anything else does not export. With a source list the
    // pairs enter in list order, so a repeated key keeps its later value.
    ScanAttributeWrapper(QuorvelWrapperIntf* serverAccess, const ServerAttributeList* source);
    ScanAttributeWrapper(const ScanAttributeWrapper&) = delete;
    ScanAttributeWrapper& operator=(const ScanAttributeWrapper&) = delete;
    ~ScanAttributeWrapper() override;

    // Every pair goes, and the exported list with them.
    virtual void Clear();
    virtual void FreeServerList();
    // A fresh export, owned by the table until the next export, FreeServerList, Clear or the
    // destructor; null when the table cannot export.
    virtual ServerAttributeList* GetServerList();
    // Frees what *out holds (with its record), then builds a list of the pairs into it.
    virtual void BuildServerList(ServerAttributeList** out);

    // Writes the dump; nothing (no file created) for an empty path or an empty table.
    virtual void SaveToFile(const std::string& path);
    virtual void Dump();

    // Replaces the value of a present key, else adds the pair.
    virtual void SetAttribute(const std::string& key, const std::string& value);
    // Adds the pair only when the key is absent; true when it was added.
    virtual bool InsertAttribute(const std::string& key, const std::string& value);
    // "YES" or "NO".
    virtual void SetBoolAttribute(const std::string& key, bool value);
    virtual bool HasAttribute(const std::string& key) const;
    // The empty text for an absent key.
    virtual std::string GetAttribute(const std::string& key) const;
    // Nothing happens for an absent key.
    virtual void RemoveAttribute(const std::string& key);
    // Every key that begins with the prefix goes.
    virtual void RemoveAttributesWithPrefix(const std::string& prefix);

    // Typed setters, one per key the client writes (defined in ScanAttributeWrapperKeys.cpp).
    // Numbered keys ("DEST:%d", "MAIL_TO:%d" ...) count from 1; texts are stored unchanged,
    // numbers as "%d", flags as "YES"/"NO" unless a setter says otherwise.
    virtual void SetScanOcr(bool on);
    // "SCAN_DOUBLE_SIDE" and also "Duplex" ("1"/"0").
    virtual void SetDoubleSided(bool on);
    // "PLATEN" for true, "ADF" for false.
    virtual void SetScanSource(bool platen);
    virtual void SetRawXRes(const std::string& value);
    virtual void SetRawXResInt(int value);
    virtual void SetRawYRes(const std::string& value);
    virtual void SetRawYResInt(int value);
    virtual void SetPageSize(const std::string& value);
    virtual void SetColorMode(const std::string& value);
    virtual void SetMailbox(const std::string& value);
    virtual void SetFileName(const std::string& value);
    virtual void SetFileFormat(const std::string& value);
    virtual void SetBindDirection(const std::string& value);
    virtual void SetImageMode(const std::string& value);
    virtual void SetBitsPerPixel(const std::string& value);
    virtual void SetBitsPerPixelInt(int value);
    virtual void SetPixelType(const std::string& value);
    virtual void SetDestinationCount(const std::string& value);
    virtual void SetDestinationCountInt(int value);
    // Each adds the next destination of its kind and returns its number.
    virtual int AddHoldQueueDestination();
    virtual int AddEmailDestination();
    virtual int AddCallerDestination();
    virtual int AddMailboxDestination();
    virtual int AddEmFaxDestination();
    virtual int AddFtpDestination();
    virtual void SetFtpServer(const std::string& value);
    virtual void SetFtpRemoteDir(const std::string& value);
    virtual void SetFtpPort(const std::string& value);
    virtual void SetFtpTimeout(const std::string& value);
    virtual void SetFtpUser(const std::string& value);
    // Passwords travel as given; the server's connection protects them.
    virtual void SetFtpPassword(const std::string& value);
    virtual void SetProxyFtpServer(const std::string& value);
    virtual void SetProxyFtpPort(const std::string& value);
    virtual void SetProxyFtpUser(const std::string& value);
    virtual void SetProxyFtpPassword(const std::string& value);
    virtual void SetDestinationFormat(int index, const std::string& value);
    virtual void SetDestinationPage(int index, const std::string& value);
    virtual void SetMailToCount(const std::string& value);
    virtual void SetMailToCountInt(int value);
    virtual void SetMailTo(int index, const std::string& value);
    // The display-name setters write only a name that is not empty.
    virtual void SetMailToDisplayName(int index, const std::string& value);
    virtual void SetMailCcCountInt(int value);
    virtual void SetMailCc(int index, const std::string& value);
    virtual void SetMailCcDisplayName(int index, const std::string& value);
    virtual void SetMailBccCountInt(int value);
    virtual void SetMailBcc(int index, const std::string& value);
    virtual void SetMailBccDisplayName(int index, const std::string& value);
    // Only a subject that is not empty is written.
    virtual void SetMessageSubject(const std::string& value);
    virtual void SetMessageLineCountInt(int value);
    virtual void SetMessageLine(int index, const std::string& value);
    // "SJIS" for a Japanese interface, else "ISO8859-1".
    virtual void SetMailEncoding();
    // Recipients, subject and body; the keys of an earlier message go first.
    virtual void SetEmailMessage(const EmailMsg& message);
    virtual void SetEmFaxToCount(const std::string& value);
    virtual void SetEmFaxToCountInt(int value);
    virtual void SetEmFaxTo(int index, const std::string& value);
    virtual void SetEmFaxToDisplayName(int index, const std::string& value);
    virtual void SetEmFaxCcCountInt(int value);
    virtual void SetEmFaxCc(int index, const std::string& value);
    virtual void SetEmFaxCcDisplayName(int index, const std::string& value);
    virtual void SetEmFaxBccCountInt(int value);
    virtual void SetEmFaxBcc(int index, const std::string& value);
    virtual void SetEmFaxBccDisplayName(int index, const std::string& value);
    virtual void SetEmFaxSubject(const std::string& value);
    virtual void SetEmFaxEncoding();
    virtual void SetEmFaxMessageLineCountInt(int value);
    virtual void SetEmFaxMessageLine(int index, const std::string& value);
    virtual void SetEmFaxMessage(const EmailMsg& message);
    virtual void SetMailForceUrl(bool on);
    virtual void SetPage(const std::string& value);
    virtual void SetPageInt(int value);
    // The logon name of the user running the process.
    virtual void SetUserName();
    virtual void SetOrientation(const std::string& value);
    virtual void SetCompressLevel(const std::string& value);
    virtual void SetBRemove(const std::string& value);
    virtual void SetBrightness(const std::string& value);
    virtual void SetDropColor(const std::string& value);
    virtual void SetDropRange(const std::string& value);
    virtual void SetSplitOrig(bool on);
    virtual void SetSplitMode(const std::string& value);
    virtual void SetSm1PageTo(const std::string& value);
    virtual void SetEraseMode(const std::string& value);
    virtual void SetMailFrom(const std::string& value);
    virtual void SetMailFromDisplayName(const std::string& value);
    virtual void SetThinMedia(bool on);
    virtual void SetDuplexOddPage(bool on);
    virtual void SetSharpnessLevel(const std::string& value);
    virtual void SetBackgroundAdjLevel(const std::string& value);
    virtual void SetExposureLevel(const std::string& value);
    virtual void SetImageRotate(const std::string& value);
    virtual void SetDuplexPass(const std::string& value);
    // The description of one page of a stored job for a page request: the job's own pairs
    // (except the page keys), then the page's; a key already present keeps its value. page -1
    // writes no "PAGE"; fileFormat -1 is raw data.
    virtual void SetImageAttributes(const ServerAttributeList* source, int32_t page, double xRes,
                                    double yRes, int16_t bitsPerPixel, int16_t pixelType,
                                    uint16_t compression, int16_t fileFormat, int32_t width,
                                    int32_t height);
    // A destination number's kind; settings of an earlier destination with that number go.
    virtual void SetDestination(int index, const std::string& kind);
    // The next destination number ("N_DEST" + 1, 1 when absent), stored as "N_DEST".
    virtual int AddDestination();
    void SetPageSizeDimensions(int x, int y);
    // "ON"/"OFF".
    void SetMixedPageSize(bool on);
    void SetMakeEmFaxable(bool on);

    // The pairs of a list in the dump format, in list order; nothing for an empty path, a null
    // list or a count below 1.
    static void WriteToFile(const ServerAttributeList* list, const std::string& path);

private:
    struct Data;

    QuorMemoryAllocator* Allocator() const;

    QuorvelWrapperIntf* m_serverAccess;
    std::unique_ptr<Data> m_data;
};
