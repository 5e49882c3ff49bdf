#pragma once
// What the capability handlers may ask of the source object: the known servers and the
// connection, one group of value operations per capability, and the DAT_IDENTITY handler whose
// key names the remembered values of the calling application. Failures are TwainExceptions
// that carry the condition code the triplet answers with.

#include "SimpleValArray.h"
#include "TwainDefs.h"

#include <string>

class DataArg_Identity;
class ServerInfo;

class CapSupport {
public:
    using ValueList = CommonTwain::SimpleValArray<unsigned short>;

    virtual ~CapSupport() = default;

    // Index of the server with that nickname, -1 when none.
    virtual int FindServer(const std::string& nickname) = 0;
    // Takes ownership, appends and selects; returns the new index.
    virtual int AddServer(ServerInfo* server) = 0;
    virtual ServerInfo* GetServerAt(int index) = 0;
    virtual bool IsConnected() = 0;
    virtual void Disconnect() = 0;
    virtual bool Connect(bool force) = 0;
    virtual void SaveServerList() = 0;
    // Null when no server is selected.
    virtual ServerInfo* GetSelectedServer() = 0;
    virtual void SelectServer(int index) = 0;

    // ICAP_XFERMECH: remembered per application. The allowed list keeps the application's
    // order and repetitions; any valid mechanism may become current, listed or not.
    virtual void SetTransferMechanismEnumeration(const ValueList& values) = 0;
    virtual void SetTransferMechanismCurrent(TW_UINT16 value) = 0;
    virtual TW_UINT16 GetTransferMechanismCurrent() const = 0;
    virtual TW_UINT16 GetTransferMechanismDefault() const = 0;
    virtual ValueList GetTransferMechanismAvailable() const = 0;
    virtual void ResetTransferMechanism() = 0;

    // ICAP_PIXELFLAVOR: remembered per application; a file transfer is always vanilla.
    virtual void SetPixelFlavorCurrent(TW_UINT16 value) = 0;
    virtual ValueList GetPixelFlavorAvailable() const = 0;
    virtual TW_UINT16 GetPixelFlavorCurrent() const = 0;
    virtual TW_UINT16 GetPixelFlavorDefault() const = 0;
    virtual void ResetPixelFlavor() = 0;

    // CAP_XFERCOUNT: -1 (as many as there are) or 1 to 32767; not remembered.
    virtual TW_INT16 GetTransferCountAvailable() const = 0;
    virtual TW_INT16 SetTransferCountDesired(TW_INT16 count) = 0;
    virtual TW_INT16 GetTransferCountDesired() const = 0;
    virtual TW_INT16 GetTransferCountDefault() const = 0;
    virtual void ResetTransferCount() = 0;

    // ICAP_IMAGEFILEFORMAT: BMP, TIFF and multi-page TIFF, remembered per application.
    virtual void SetImageFileFormatEnumeration(const ValueList& values) = 0;
    virtual void SetImageFileFormatCurrent(TW_UINT16 value) = 0;
    virtual ValueList GetImageFileFormatAvailable() const = 0;
    virtual TW_UINT16 GetImageFileFormatCurrent() const = 0;
    virtual TW_UINT16 GetImageFileFormatDefault() const = 0;

    // ICAP_COMPRESSION: follows the file format with a file transfer; native and memory
    // transfers are never compressed.
    virtual void SetCompressionEnumeration(const ValueList& values) = 0;
    virtual void SetCompressionCurrent(TW_UINT16 value) = 0;
    virtual ValueList GetCompressionAvailable() const = 0;
    virtual TW_UINT16 GetCompressionCurrent() const = 0;
    virtual TW_UINT16 GetCompressionDefault() const = 0;

    // ICAP_PIXELTYPE: the server's colour modes as pixel types. While a page is being handed
    // over, the answers describe that page.
    virtual void SetPixelTypeEnumeration(const ValueList& values) = 0;
    virtual void SetPixelTypeCurrent(TW_UINT16 value) = 0;
    virtual ValueList GetPixelTypeAvailable() = 0;
    virtual TW_UINT16 GetPixelTypeCurrent() = 0;
    virtual TW_UINT16 GetPixelTypeDefault() = 0;
    virtual void ResetPixelType() = 0;

    // ICAP_BITDEPTH: one row of depths per pixel type, the current pixel type's in use; a page
    // being handed over gives its own.
    virtual void SetBitDepthEnumeration(const ValueList& values) = 0;
    virtual void SetBitDepthCurrent(TW_UINT16 value) = 0;
    virtual ValueList GetBitDepthAvailable() = 0;
    virtual TW_UINT16 GetBitDepthCurrent() = 0;
    virtual TW_UINT16 GetBitDepthDefault() = 0;

    // Custom 0x8002: whether the acquire window hands pages to the application (non-zero) or
    // only sends them on.
    virtual TW_UINT16 GetShowAcquireGUI() const = 0;
    virtual void SetShowAcquireGUI(TW_UINT16 value) = 0;
    virtual TW_UINT16 GetUIControllable() const = 0;
    // The capabilities CAP_SUPPORTEDCAPS may name, in its order.
    virtual ValueList GetSupportedCaps() const = 0;

    // ICAP_PLANARCHUNKY and ICAP_BITORDER: chunky pixels, most significant bit first.
    virtual ValueList GetPlanarChunkyAvailable() const = 0;
    virtual TW_UINT16 GetPlanarChunkyCurrent() const = 0;
    virtual TW_UINT16 GetPlanarChunkyDefault() const = 0;
    virtual ValueList GetBitOrderAvailable() const = 0;
    virtual TW_UINT16 GetBitOrderCurrent() const = 0;
    virtual TW_UINT16 GetBitOrderDefault() const = 0;
    // ICAP_PHYSICALHEIGHT / ICAP_PHYSICALWIDTH of the platen, in the current units.
    virtual double GetPhysicalHeight() const = 0;
    virtual double GetPhysicalWidth() const = 0;

    // ICAP_UNITS: remembered per application; every length and resolution below is in it.
    virtual void SetUnitsEnumeration(const ValueList& values) = 0;
    virtual void SetUnitsCurrent(TW_UINT16 value) = 0;
    virtual TW_UINT16 GetUnitsDefault() const = 0;
    virtual TW_UINT16 GetUnitsCurrent() const = 0;
    // Ascending.
    virtual ValueList GetUnitsAvailable() const = 0;
    virtual void ResetUnits() = 0;

    // ICAP_XRESOLUTION / ICAP_YRESOLUTION and the native resolutions, in the current units.
    virtual void SetXResolutionCurrent(double value) = 0;
    virtual CommonTwain::SimpleValArray<double> GetXResolutionAvailable() const = 0;
    virtual double GetXResolutionCurrent() = 0;
    virtual double GetXResolutionDefault() = 0;
    virtual void ResetXResolution() = 0;
    virtual void SetYResolutionCurrent(double value) = 0;
    virtual CommonTwain::SimpleValArray<double> GetYResolutionAvailable() const = 0;
    virtual double GetYResolutionCurrent() = 0;
    virtual double GetYResolutionDefault() = 0;
    virtual void ResetYResolution() = 0;
    virtual double GetXNativeResolution() const = 0;
    virtual double GetYNativeResolution() const = 0;

    // ICAP_ORIENTATION: the server's orientations. An enumeration narrows what the
    // application allows; the current value may be any the server offers.
    virtual void SetOrientationEnumeration(const ValueList& values) = 0;
    virtual ValueList GetOrientationAvailable() const = 0;
    virtual void SetOrientationCurrent(TW_UINT16 value) = 0;
    virtual TW_UINT16 GetOrientationCurrent() const = 0;

    // CAP_DUPLEX and CAP_DUPLEXENABLED.
    virtual TW_UINT16 GetDuplex() const = 0;
    virtual TW_UINT16 GetDuplexEnabled() const = 0;
    virtual void SetDuplexEnabled(TW_UINT16 value) = 0;

    // Made on first use; owned by the source.
    virtual DataArg_Identity* GetIdentityArg() = 0;

protected:
    CapSupport() = default;
    CapSupport(const CapSupport&) = default;
    CapSupport& operator=(const CapSupport&) = default;
};
