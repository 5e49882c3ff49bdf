#pragma once
// Typed view of the user's scan settings in the preferences store. Nothing is cached: every
// getter reads the store and every setter writes it at once, so two views of one store agree.
// The value names and stored forms are shared with every process that loads the data source.

#include <string>

namespace CommonCpp {
class XGPreferencesIntf;
}

class ScanPreferences {
public:
    // Recipient lists, chosen by index.
    enum AddressList { EmailTo = 0, EmailCc, EmailBcc, IFaxTo, IFaxCc, IFaxBcc };
    // Erase-border sides, chosen by index.
    enum BorderSide { BorderTop = 0, BorderRight, BorderBottom, BorderLeft };

    ScanPreferences();
    ScanPreferences(const ScanPreferences&) = delete;
    ScanPreferences& operator=(const ScanPreferences&) = delete;
    // The store is not owned.
    virtual ~ScanPreferences();

    // Must come before any other call.
    virtual CommonCpp::XGPreferencesIntf* SetStore(CommonCpp::XGPreferencesIntf* store);

    virtual std::string GetScanSource() const;
    virtual void SetScanSource(const std::string& value);
    virtual std::string GetScanSide() const;
    virtual void SetScanSide(const std::string& value);
    virtual std::string GetScanBindDirection() const;
    virtual void SetScanBindDirection(const std::string& value);
    virtual std::string GetScanColorMode() const;
    virtual void SetScanColorMode(const std::string& value);
    virtual std::string GetScanPaperSize() const;
    virtual void SetScanPaperSize(const std::string& value);
    // 0.0 when nothing or no number is stored.
    virtual double GetScanPaperSizeHeight() const;
    virtual void SetScanPaperSizeHeight(double value);
    virtual double GetScanPaperSizeWidth() const;
    virtual void SetScanPaperSizeWidth(double value);
    virtual int GetScanPaperSizeUnit() const;
    virtual void SetScanPaperSizeUnit(short unit);
    virtual std::string GetScanEmailFileFormat() const;
    virtual void SetScanEmailFileFormat(const std::string& value);
    virtual bool GetSaveToDiskCheck() const;
    virtual void SetSaveToDiskCheck(bool value);
    virtual std::string GetScanToDiskFileFormat() const;
    virtual void SetScanToDiskFileFormat(const std::string& value);
    virtual std::string GetSaveToDiskPath() const;
    virtual void SetSaveToDiskPath(const std::string& value);
    virtual bool GetScanSendTrelliq() const;
    virtual void SetScanSendTrelliq(bool value);
    virtual int GetScanResolution() const;
    virtual void SetScanResolution(int value);
    virtual std::string GetScanFilename() const;
    virtual void SetScanFilename(const std::string& value);
    virtual bool GetScanSendMailbox() const;
    virtual void SetScanSendMailbox(bool value);
    virtual std::string GetScanMailbox() const;
    virtual void SetScanMailbox(const std::string& value);
    virtual bool GetScanSendEmail() const;
    virtual void SetScanSendEmail(bool value);
    virtual bool GetScanSendAsURL() const;
    virtual void SetScanSendAsURL(bool value);
    // Lists 0 to 5 (AddressList); any other index names no value: reads give the default and
    // writes are dropped.
    virtual int GetNumOfAddress(int list) const;
    virtual void SetNumOfAddress(int list, int count);
    virtual std::string GetAddress(int list, int entry) const;
    virtual void SetAddress(int list, int entry, const std::string& value);
    virtual std::string GetScanMailSubject() const;
    virtual void SetScanMailSubject(const std::string& value);
    virtual int GetNumEmailBodyLines() const;
    virtual void SetNumEmailBodyLines(int count);
    virtual std::string GetScanMailBody(int line) const;
    virtual void SetScanMailBody(int line, const std::string& value);
    virtual std::string GetScanIFaxSubject() const;
    virtual void SetScanIFaxSubject(const std::string& value);
    virtual std::string GetScanIFaxBody(int line) const;
    virtual void SetScanIFaxBody(int line, const std::string& value);
    virtual int GetNumIFaxBodyLines() const;
    virtual void SetNumIFaxBodyLines(int count);
    virtual std::string GetCurrentMailbox() const;
    virtual void SetCurrentMailbox(const std::string& value);
    virtual bool GetScanSendToInternetFax() const;
    virtual void SetScanSendToInternetFax(bool value);
    virtual bool GetScanSendToFTP() const;
    virtual void SetScanSendToFTP(bool value);
    virtual std::string GetScanFTPFileFormat() const;
    virtual void SetScanFTPFileFormat(const std::string& value);
    virtual std::string GetScanFTPServerName() const;
    virtual void SetScanFTPServerName(const std::string& value);
    virtual std::string GetScanFTPPortNumber() const;
    virtual void SetScanFTPPortNumber(const std::string& value);
    virtual std::string GetScanFTPRemoteDir() const;
    virtual void SetScanFTPRemoteDir(const std::string& value);
    virtual std::string GetScanFTPUserName() const;
    virtual void SetScanFTPUserName(const std::string& value);
    virtual std::string GetScanFTPPassword() const;
    virtual void SetScanFTPPassword(const std::string& value);
    virtual bool GetScanEnableProxy() const;
    virtual void SetScanEnableProxy(bool value);
    virtual std::string GetScanProxyAddress() const;
    virtual void SetScanProxyAddress(const std::string& value);
    virtual std::string GetScanProxyPortNumber() const;
    virtual void SetScanProxyPortNumber(const std::string& value);
    virtual std::string GetScanProxyUserName() const;
    virtual void SetScanProxyUserName(const std::string& value);
    virtual std::string GetScanProxyPassword() const;
    virtual void SetScanProxyPassword(const std::string& value);
    virtual std::string GetScanOrientation() const;
    virtual void SetScanOrientation(const std::string& value);
    virtual std::string GetScanJpegCompressLevel() const;
    virtual void SetScanJpegCompressLevel(const std::string& value);
    virtual std::string GetScanBrightLevel() const;
    virtual void SetScanBrightLevel(const std::string& value);
    virtual std::string GetScanBackgroundRemove() const;
    virtual void SetScanBackgroundRemove(const std::string& value);
    virtual std::string GetScanImageMode() const;
    virtual void SetScanImageMode(const std::string& value);
    // True only for the exact text "yes"; there is no setter.
    virtual bool GetDeveloperMode() const;
    virtual std::string GetScanDropoutColor() const;
    virtual void SetScanDropoutColor(const std::string& value);
    virtual std::string GetScanColorRange() const;
    virtual void SetScanColorRange(const std::string& value);
    virtual std::string GetScanSplitMode() const;
    virtual void SetScanSplitMode(const std::string& value);
    virtual std::string GetScanSplitTimeout() const;
    virtual void SetScanSplitTimeout(const std::string& value);
    virtual bool GetScanEraseBorder() const;
    virtual void SetScanEraseBorder(bool value);
    // Sides 0 to 3 (BorderSide); any other index names no value.
    virtual std::string GetScanEraseBorderSide(int side) const;
    virtual void SetScanEraseBorderSide(int side, const std::string& value);
    virtual void SetScanBusy(bool value);
    virtual bool GetScanBusy() const;
    virtual void SetScanOCR(bool value);
    virtual bool GetScanOCR() const;
    virtual void SetScanThinPaper(bool value);
    virtual bool GetScanThinPaper() const;
    virtual void SetScanDuplexOddPage(bool value);
    virtual bool GetScanDuplexOddPage() const;
    virtual std::string GetScanSharpness() const;
    virtual void SetScanSharpness(const std::string& value);
    virtual std::string GetScanBackgroundAdjust() const;
    virtual void SetScanBackgroundAdjust(const std::string& value);
    virtual std::string GetScanExposure() const;
    virtual void SetScanExposure(const std::string& value);
    virtual std::string GetScanImageRotate() const;
    virtual void SetScanImageRotate(const std::string& value);

    std::string GetScanFTPTimeOut() const;
    void SetScanFTPTimeOut(const std::string& value);

private:
    std::string GetText(const std::string& name, const std::string& defaultValue) const;
    void SetText(const std::string& name, const std::string& value);
    bool GetFlag(const std::string& name) const;
    void SetFlag(const std::string& name, bool value);
    int GetNumber(const std::string& name) const;
    void SetNumber(const std::string& name, int value);
    double GetReal(const std::string& name) const;
    void SetReal(const std::string& name, double value);
    std::string GetPassword(const std::string& name) const;
    void SetPassword(const std::string& name, const std::string& value);

    CommonCpp::XGPreferencesIntf* m_store = nullptr;
};
