#pragma once
// The private record of ScanServerCapabilities: one item per capability, at its construction
// state until loaded. Shared by the accessors and the loaders only.

#include <string>

#include "BooleanServerCap.h"
#include "EmFaxResolutionCap.h"
#include "IntServerCap.h"
#include "ResolutionServerCap.h"
#include "ServerCap.h"
#include "SimpleServerCap.h"

class ScanAttributeWrapper;

struct ScanServerCapabilityData {
    // Lists.
    ServerCap pageSize{"PAGESIZE"};
    ServerCap fileFormat{"FILE_FORMAT"};
    ServerCap compression{"COMPRESSION"};
    ServerCap colorMode{"COLOR_MODE"};
    ServerCap imageMode{"IMAGE_MODE"};
    ResolutionServerCap resolution{"RESOLUTION"};
    ServerCap scanSource{"SCAN_SOURCE"};
    ServerCap bindDirection{"BIND_DIRECTION"};
    ServerCap orientation{"ORIENTATION"};
    ServerCap compressLevel{"COMPRESS_LEVEL"};
    ServerCap backgroundRemove{"BREMOVE"};
    IntServerCap brightLevel{"BRIGHTLEVEL"};
    ServerCap dropColor{"DROP_COLOR"};
    ServerCap dropRange{"DROP_RANGE"};
    ServerCap splitMode{"SPLIT_MODE"};
    ServerCap eraseMode{"ERASE_MODE"};
    EmFaxResolutionCap emFaxResolution{"EMFAX_RES"};
    ServerCap defaultFormat{"SCAN_DEFAULT_FORMAT"};
    ServerCap sharpnessLevel{"SHARPNESS_LEVEL"};
    ServerCap backgroundAdjustLevel{"BACKGROUND_ADJ_LEVEL"};
    ServerCap exposureLevel{"EXPOSURE_LEVEL"};
    ServerCap imageRotate{"IMAGE_ROTATE"};
    ServerCap duplexPass{"DUPLEX_PASS"};

    // Flags, each with its server default.
    BooleanServerCap scanRemoteSend{true};
    BooleanServerCap scanRemoteGet{true};
    BooleanServerCap scanToEmail{true};
    BooleanServerCap scanToHoldQueue{true};
    BooleanServerCap scanToFtp{false};
    BooleanServerCap scanToEmFax{false};
    BooleanServerCap scanOcr{false};
    BooleanServerCap hasMkEmFaxable{false};
    BooleanServerCap stringMailboxNames{false};
    BooleanServerCap mailboxPassword{false};
    BooleanServerCap supportAdf{false};
    BooleanServerCap supportDuplex{false};
    BooleanServerCap bindDirectionEnabled{false};
    BooleanServerCap orientationEnabled{false};
    BooleanServerCap imageModeEnabled{false};
    BooleanServerCap compressLevelEnabled{false};
    BooleanServerCap backgroundRemoveEnabled{false};
    BooleanServerCap brightLevelEnabled{false};
    BooleanServerCap mixedPageSize{false};
    BooleanServerCap resAllowAny{true};
    BooleanServerCap mailAllowUrls{true};
    BooleanServerCap dropColorEnabled{false};
    BooleanServerCap dropRangeEnabled{false}; // no server key
    BooleanServerCap splitOriginalEnabled{false};
    BooleanServerCap eraseModeSupported{false};
    BooleanServerCap duplexLayoutSupported{false};
    BooleanServerCap mailFromSupported{false};
    BooleanServerCap mailFromEnabled{false};
    BooleanServerCap corpMailFromEnabled{false};
    BooleanServerCap thinMediaEnabled{false};
    BooleanServerCap duplexOddPageEnabled{false};
    BooleanServerCap initiateDisabled{false};
    BooleanServerCap sharpnessEnabled{false};
    BooleanServerCap backgroundAdjustEnabled{false};
    BooleanServerCap exposureEnabled{false};
    BooleanServerCap imageRotateEnabled{false};
    BooleanServerCap scanEnabled{true};
    BooleanServerCap utf8Mailbox{false};
    BooleanServerCap duplexPassSupported{false};
    BooleanServerCap duplexPassEnabled{false};

    SimpleServerCap scanInit;
    BooleanServerCap initAllowedFallback{true}; // never loaded

    bool selectableSource = false;
    bool colorAvailable = false;
    std::string mixedPageSizeName;
    bool ldapEnabled = false;

    // Only while loading.
    const ScanAttributeWrapper* source = nullptr;
};
