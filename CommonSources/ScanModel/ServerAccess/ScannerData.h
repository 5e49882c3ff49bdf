#pragma once
// The private record of Scanner, shared by the source files that make up the class (connection
// and events; job list and tree; page data and sending).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Localizer.h"
#include "ScanServerCapabilities.h"
#include "quorvel_api.h"
#include "ScanCommand.h"
#include "zylDirectory.h"

class QuorvelWrapperIntf;
class zylImageFile;

struct ScannerData {
    std::string serverDisplayName;
    // Read once from the server, then cached; null until then.
    std::unique_ptr<ScanServerCapabilities> capabilities;
    std::string mailboxName;
    std::string mailboxPassword;
    int32_t initiatedJobId = 0;
    bool initiatingScan = false;
    bool ignoreJobId = false;
    bool connected = false;
    std::unique_ptr<zylDirectory> treeRoot;
    zylDirectory* currentDirectory = nullptr;
    zylImageFile* currentImage = nullptr;
    ScanJobList* jobList = nullptr; // the library's, freed through the wrapper
    // Replaced job lists that the scan command's image still points into; freed once it is
    // done with them.
    std::vector<ScanJobList*> retiredJobLists;
    // Made on first use.
    std::unique_ptr<ScanCommand> scanCommand;
    bool treeLoaded = false;
    std::string userName = "guest";
    std::string userPassword;
    std::string userDisplayName;
    std::string userMailAddress;
    QuorvelWrapperIntf* wrapper = nullptr; // not owned
    std::unique_ptr<Localizer> localizer;
};
