#pragma once
// Everything one source object holds between triplets, with the values a new source starts
// from. Owned by AbstractSource; handlers reach it through the source.

#include "CapPreference_TW_UINT16.h"
#include "DataArg_Resolution.h"
#include "DataArg_Status.h"
#include "ScanPreferences.h"
#include "ServerList.h"
#include "SimpleValArray.h"
#include "TwainDefs.h"
#include "bitDepthStruct.h"
#include "compressionStruct.h"

#include <memory>
#include <string>

class AbstractResponder;
class QuorvelWrapperIntf;
class Scanner;
namespace CommonCpp {
class XGPreferences;
}

using UInt16Array = CommonTwain::SimpleValArray<unsigned short>;

struct SourceState {
    SourceState();
    SourceState(const SourceState&) = delete;
    SourceState& operator=(const SourceState&) = delete;
    ~SourceState();

    // Made by the connection, or on first use as a session that is not connected. The source
    // deletes it before the wrapper it talks through.
    std::unique_ptr<Scanner> scanner;
    std::unique_ptr<QuorvelWrapperIntf> quorvelWrapper;
    DataArg_Status status;
    ScanPreferences scanPreferences;
    std::unique_ptr<CommonCpp::XGPreferences> preferences;
    bool closeRequestPending = false;
    bool transferReadyPending = false;
    bool open = false;
    // The user cancelled the server chooser while the source opened: it stays loaded until a
    // triplet succeeds.
    bool keepLoaded = false;
    // The address the last connection attempt used; a plain reconnect never retries it.
    std::string lastServerAddress;
    // "connectwarning", read once; -1 until then.
    int connectWarning = -1;
    TW_UINT16 twainState = 3;
    std::unique_ptr<AbstractResponder> audioResponder;
    std::unique_ptr<AbstractResponder> imageResponder;
    std::unique_ptr<AbstractResponder> controlResponder;

    TW_UINT32 minBufferSize = 32768;
    TW_UINT32 maxBufferSize = 1048576;
    TW_UINT32 preferredBufferSize = 1048576;
    std::string transferFileName = "image.bmp";
    bool fileNameGiven = false;
    bool memoryTransferActive = false;

    // Remembered per application; the source gives them the store, the key and their values.
    CapPreference_TW_UINT16 units{ICAP_UNITS, TWUN_INCHES};
    DataArg_Resolution resolution;

    // ICAP_PHYSICALWIDTH / ICAP_PHYSICALHEIGHT, one value per ICAP_UNITS value.
    CommonTwain::SimpleValArray<double> physicalWidths;
    CommonTwain::SimpleValArray<double> physicalHeights;
    // Indexed by ICAP_IMAGEFILEFORMAT value.
    CommonTwain::SimpleValArray<compressionStruct> compressions;
    CapPreference_TW_UINT16 imageFileFormat{ICAP_IMAGEFILEFORMAT, TWFF_BMP};
    TW_UINT16 uiControllable = 1;
    TW_UINT16 showAcquireGUI = 1;
    UInt16Array supportedCaps;
    TW_INT16 transferCountDesired = -1;
    TW_INT16 transferCountDefault = -1;
    // What the source reports it can deliver: as many as there are.
    TW_INT16 transferCountAvailable = -1;
    // Indexed by ICAP_PIXELTYPE value.
    CommonTwain::SimpleValArray<bitDepthStruct> bitDepths;
    UInt16Array pixelTypesAvailable;
    UInt16Array pixelTypesSupported;
    TW_UINT16 pixelTypeCurrent = TWPT_BW;
    TW_UINT16 pixelTypeDefault = TWPT_BW;
    TW_UINT16 pixelFlavorCurrent = TWPF_CHOCOLATE;
    TW_UINT16 pixelFlavorDefault = TWPF_CHOCOLATE;
    UInt16Array pixelFlavors;
    TW_UINT16 transferMechanismCurrent = TWSX_NATIVE;
    TW_UINT16 transferMechanismDefault = TWSX_NATIVE;
    UInt16Array transferMechanisms;
    UInt16Array orientationsSupported;
    UInt16Array orientationsAvailable;
    TW_UINT16 orientationCurrent = TWOR_PORTRAIT;
    TW_UINT16 feederAvailable = 0;
    TW_UINT16 duplex = 0;
    TW_UINT16 duplexEnabled = 0;
    TW_UINT16 feederEnabled = 0;
    TW_UINT16 automaticBorderDetection = 0;
    TW_UINT16 undefinedImageSize = 0;
    bool pageCountUnknown = false;
    ServerList serverList;
};
