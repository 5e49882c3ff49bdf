#pragma once
// The one data source object of the process: its TWAIN state, the values of its capabilities,
// the user's preferences store, the known servers, the scan session and the server-access
// wrapper, and the responders that route triplets. DS_Entry creates and deletes it; handlers
// reach it through Instance().

#include "CapSupport.h"
#include "SourceState.h"
#include "TransferSourceIntf.h"

#include <memory>
#include <string>
#include <vector>

class AbstractDataArg;
class DataArg_FileSystem;
class DataArg_UserInterface;
class ScanPreferences;
class ScanServerCapabilities;
class zylImageFile;

namespace CommonCpp {
class XGPreferencesIntf;
}

class AbstractSource : public CapSupport, public TransferSourceIntf {
public:
    // A full source (made by MSG_OPENDS) also has the wrapper and the user-interface and
    // file-system handlers; any other source makes its wrapper when first asked for it.
    explicit AbstractSource(bool fullSource);
    AbstractSource(const AbstractSource&) = delete;
    AbstractSource& operator=(const AbstractSource&) = delete;
    ~AbstractSource() override;

    // The current source, null while none exists or while one is being built.
    static AbstractSource* Instance();
    // The current source; TwainException TWCC_SEQERROR (at file and line) while none exists.
    static AbstractSource& Required(const char* file, int line);
    // Written only by the entry point, after construction and after deletion; the source
    // also becomes the one whose transfers the scan model's image files serve.
    static void SetInstance(AbstractSource* source);
    // The process-wide handlers; null while the source that owns them does not exist.
    static DataArg_Status* GetStatusHandler();
    static DataArg_UserInterface* GetUserInterfaceHandler();
    static DataArg_FileSystem* GetFileSystemHandler();

    int FindServer(const std::string& nickname) override;
    int AddServer(ServerInfo* server) override;
    ServerInfo* GetServerAt(int index) override;
    bool IsConnected() override;
    void Disconnect() override;
    bool Connect(bool force) override;
    void SaveServerList() override;
    ServerInfo* GetSelectedServer() override;
    void SelectServer(int index) override;
    // Capability values (AbstractSourceCapabilities.cpp).
    void SetTransferMechanismEnumeration(const ValueList& values) override;
    void SetTransferMechanismCurrent(TW_UINT16 value) override;
    TW_UINT16 GetTransferMechanismCurrent() const override;
    TW_UINT16 GetTransferMechanismDefault() const override;
    ValueList GetTransferMechanismAvailable() const override;
    void ResetTransferMechanism() override;
    void SetPixelFlavorCurrent(TW_UINT16 value) override;
    ValueList GetPixelFlavorAvailable() const override;
    // Also what the scan model's image files deliver.
    TW_UINT16 GetPixelFlavorCurrent() const override;
    TW_UINT16 GetPixelFlavorDefault() const override;
    void ResetPixelFlavor() override;
    TW_INT16 GetTransferCountAvailable() const override;
    TW_INT16 SetTransferCountDesired(TW_INT16 count) override;
    TW_INT16 GetTransferCountDesired() const override;
    TW_INT16 GetTransferCountDefault() const override;
    void ResetTransferCount() override;
    void SetImageFileFormatEnumeration(const ValueList& values) override;
    void SetImageFileFormatCurrent(TW_UINT16 value) override;
    ValueList GetImageFileFormatAvailable() const override;
    TW_UINT16 GetImageFileFormatCurrent() const override;
    TW_UINT16 GetImageFileFormatDefault() const override;
    void SetCompressionEnumeration(const ValueList& values) override;
    void SetCompressionCurrent(TW_UINT16 value) override;
    ValueList GetCompressionAvailable() const override;
    TW_UINT16 GetCompressionCurrent() const override;
    TW_UINT16 GetCompressionDefault() const override;
    void SetPixelTypeEnumeration(const ValueList& values) override;
    void SetPixelTypeCurrent(TW_UINT16 value) override;
    ValueList GetPixelTypeAvailable() override;
    TW_UINT16 GetPixelTypeCurrent() override;
    TW_UINT16 GetPixelTypeDefault() override;
    void ResetPixelType() override;
    void SetBitDepthEnumeration(const ValueList& values) override;
    void SetBitDepthCurrent(TW_UINT16 value) override;
    ValueList GetBitDepthAvailable() override;
    TW_UINT16 GetBitDepthCurrent() override;
    TW_UINT16 GetBitDepthDefault() override;
    TW_UINT16 GetShowAcquireGUI() const override;
    void SetShowAcquireGUI(TW_UINT16 value) override;
    TW_UINT16 GetUIControllable() const override;
    ValueList GetSupportedCaps() const override;
    // Geometry (AbstractSourceGeometry.cpp).
    ValueList GetPlanarChunkyAvailable() const override;
    TW_UINT16 GetPlanarChunkyCurrent() const override;
    TW_UINT16 GetPlanarChunkyDefault() const override;
    ValueList GetBitOrderAvailable() const override;
    TW_UINT16 GetBitOrderCurrent() const override;
    TW_UINT16 GetBitOrderDefault() const override;
    double GetPhysicalHeight() const override;
    double GetPhysicalWidth() const override;
    void SetUnitsEnumeration(const ValueList& values) override;
    void SetUnitsCurrent(TW_UINT16 value) override;
    TW_UINT16 GetUnitsDefault() const override;
    TW_UINT16 GetUnitsCurrent() const override;
    ValueList GetUnitsAvailable() const override;
    void ResetUnits() override;
    void SetXResolutionCurrent(double value) override;
    CommonTwain::SimpleValArray<double> GetXResolutionAvailable() const override;
    double GetXResolutionCurrent() override;
    double GetXResolutionDefault() override;
    void ResetXResolution() override;
    void SetYResolutionCurrent(double value) override;
    CommonTwain::SimpleValArray<double> GetYResolutionAvailable() const override;
    double GetYResolutionCurrent() override;
    double GetYResolutionDefault() override;
    void ResetYResolution() override;
    double GetXNativeResolution() const override;
    double GetYNativeResolution() const override;
    // Device values (AbstractSourceDevice.cpp).
    void SetOrientationEnumeration(const ValueList& values) override;
    ValueList GetOrientationAvailable() const override;
    void SetOrientationCurrent(TW_UINT16 value) override;
    TW_UINT16 GetOrientationCurrent() const override;
    TW_UINT16 GetDuplex() const override;
    TW_UINT16 GetDuplexEnabled() const override;
    void SetDuplexEnabled(TW_UINT16 value) override;

    // Made on first use; owned by the source.
    DataArg_Identity* GetIdentityArg() override;

    // "connectwarning" (default on): whether the connection wait window shows.
    virtual bool GetConnectWarning();
    // The transfer mechanism, pixel flavor, file format and units this application left.
    virtual void LoadApplicationPreferences();
    // Routes one triplet and turns every exception into a return and condition code.
    virtual TW_UINT16 DSEntry(pTW_IDENTITY pOrigin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                              TW_MEMREF pData);
    // Factories: each returns a new responder, which DSEntry keeps from its first use.
    virtual AbstractResponder* GetControlResponder();
    virtual AbstractResponder* GetAudioResponder();
    virtual AbstractResponder* GetImageResponder();
    // Neither open nor kept loaded.
    virtual bool CanUnload();
    virtual void SetCloseRequestPending(bool pending);
    virtual bool IsCloseRequestPending();
    virtual bool IsTransferReadyPending();
    virtual void SetTransferReadyPending(bool pending);
    virtual bool IsOpen();
    // Loads the servers and connects, letting the user choose when no server answers.
    virtual bool Open();
    virtual bool Close();
    // Replaces the scan session by one connected to the server; true when connected.
    virtual bool InitializeScanner(ServerInfo* server);
    virtual TW_UINT16 GetState();
    virtual void SetState(TW_UINT16 state);
    virtual void LoadServerList();
    virtual ServerList& GetServerList();
    // A deep copy: entries and selection.
    virtual void SetServerList(const ServerList& list);
    // The whole bit-depth table back to its first content, every row.
    virtual void ResetBitDepth();
    virtual bool IsPageCountUnknown();
    // Transfers still to come: the scan session's pages left in states 6 and 7, else 0.
    TW_UINT16 GetPendingTransferCount() override;
    TW_UINT32 GetMaxBufferSize() override;
    virtual TW_UINT32 GetMinBufferSize();
    virtual TW_UINT32 GetPreferredBufferSize();
    // The file transfer's set-up (AbstractSourceTransfers.cpp): the name by the current
    // ICAP_IMAGEFILEFORMAT ("image.tif", "image.bmp" ...; "image.pic" for any other format).
    virtual std::string GetDefaultTransferFileName();
    // ICAP_IMAGEFILEFORMAT back to its default and every supported value, and the file name
    // back to that format's default name.
    virtual void ResetFileTransferSetup();
    virtual void SetTransferFileName(const std::string& name);
    // Whether DAT_SETUPFILEXFER MSG_GET reports the stored name rather than the default one.
    virtual void SetFileNameGiven(bool given);
    virtual bool IsFileNameGiven();
    // A memory transfer has delivered a strip of a page it has not finished: only then may
    // the next strip be asked for in state 7.
    virtual bool IsMemoryTransferActive();
    virtual void SetMemoryTransferActive(bool active);
    virtual ScanPreferences& GetScanPreferences();
    virtual CommonCpp::XGPreferencesIntf* GetPreferences();
    // Replaces the preferences store by a new one.
    virtual void CreatePreferences();
    // Made on first use; null when the libraries could not be set up.
    virtual QuorvelWrapperIntf* GetQuorvelWrapper();
    // The scan session; made on first use as one that is not connected.
    virtual Scanner* GetScanner();
    // The frame the application set through DAT_IMAGELAYOUT; false while none is held.
    bool GetImageLayout(double& left, double& top, double& right, double& bottom);
    // The image file of the page being handed to the application; null without one. Never
    // makes a scan session.
    zylImageFile* GetCurrentPageImage();
    // Connected to a server that has not been reported down.
    bool IsDeviceOnline();
    // What the connected server allows (an empty set while there is none).
    ScanServerCapabilities& GetServerCapabilities();
    // The resolution a page of the axis is scanned at, in dots per inch whatever the units.
    double GetResolutionDpi(int axis);
    std::string GetTransferFileName() const { return m_state->transferFileName; }
    TW_UINT16 GetFeederEnabled() const { return m_state->feederEnabled; }
    void SetFeederEnabled(TW_UINT16 value) { m_state->feederEnabled = value; }
    TW_UINT16 GetAutomaticBorderDetection() const { return m_state->automaticBorderDetection; }
    void SetAutomaticBorderDetection(TW_UINT16 value) { m_state->automaticBorderDetection = value; }
    TW_UINT16 GetUndefinedImageSize() const { return m_state->undefinedImageSize; }
    void SetUndefinedImageSize(TW_UINT16 value) { m_state->undefinedImageSize = value; }

    DataArg_Status& GetStatus() { return m_state->status; }
    bool IsKeepLoaded() const { return m_state->keepLoaded; }
    bool IsFullSource() const { return m_fullSource; }
    const std::string& GetLastServerAddress() const { return m_state->lastServerAddress; }
    // The whole state record, for inspection; capability handlers go through CapSupport.
    SourceState& GetSourceState() { return *m_state; }

    // The server's COLOR_MODE values, in its order, become both pixel-type lists; the entry
    // at currentIndex sets current and default when it is colour or grey, else TWPT_BW.
    void LoadPixelTypes(const std::vector<std::string>& colorModes, int currentIndex);
    // One physical width and height per ICAP_UNITS value, for a 17 x 11 inch platen; the
    // pixel values use the largest resolutions.
    void LoadPhysicalSizes(double maxXResolution, double maxYResolution);
    // The server's ORIENTATION values as TWOR_PORTRAIT and TWOR_LANDSCAPE; none when the
    // server does not let the orientation be chosen. The current one is the entry at
    // currentIndex, else the first offered, else portrait.
    void LoadOrientations(const std::vector<std::string>& orientations, int currentIndex);

private:
    void Build();
    void ClearProcessHandlers();
    // The lists, default and current value a new source starts from; nothing is remembered.
    void SetTransferMechanismDefaults();
    void SetPixelFlavorDefaults();
    // One row per pixel type, each with its one depth.
    void SetBitDepthDefaults();
    // The compression row of the current file format; null when the table has none.
    compressionStruct* CurrentCompressionRow() const;
    // Native and memory transfers deliver uncompressed data only.
    bool IsCompressionFixedToNone() const;
    // Writes value under the calling application's key for the capability.
    void Remember(TW_UINT16 capabilityId, int value);
    // The scan session itself, in one place (AbstractSourceScanner.cpp).
    void DeleteScanner();
    bool IsScannerConnected();
    // Replaces the scan session by one connected to the server; throws
    // QuorvelWrapperException when the server cannot be reached. A cancelled log-in leaves a
    // session that is not connected.
    void MakeConnectedScanner(const std::string& address, const std::string& displayName);
    // Starts the server's notifications and fills the lists that depend on the server.
    void LoadFromConnectedScanner();
    // The pages left in the scan session's current command; 0 without one.
    TW_UINT16 GetScannerPagesLeft();
    // The current page's resolution of the axis in dots per inch; false without a page.
    bool GetPageResolution(int axis, double& dpi);
    // The bit-depth row of the stored pixel type.
    bitDepthStruct& CurrentBitDepthRow() const;

    bool m_fullSource;
    std::unique_ptr<SourceState> m_state;
    std::unique_ptr<DataArg_Identity> m_identity;
    std::unique_ptr<DataArg_UserInterface> m_userInterface;
    std::unique_ptr<DataArg_FileSystem> m_fileSystem;
};
