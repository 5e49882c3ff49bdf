#pragma once
// Page data of a simulated job: what a SCAN_getData* request asks for, and the bytes that
// answer it (the page file itself, a conversion, a PDF, or raw pixel rows).

#include <memory>
#include <string>
#include <vector>

#include "SimJobs.h"
#include "quorvel_api.h"

namespace orvexsim {

struct SimDestination {
    int index = 0;
    std::string kind; // "CALLER", "HOLDQ", "MAILBOX", "EMAIL", "FTP", "EMFAX", ...
    std::string format;
    std::string page;
};

// A request as its attribute list says it. With destinations it fetches data for the caller
// (a "CALLER" destination) and sends the job to the others; without any it is a page read
// described by the image keys.
struct SimDataRequest {
    std::vector<SimDestination> destinations;
    int page = 0;       // 0: the whole job
    std::string format; // "RAW", "JPEG", "TIFF", "PDF", "" for the job's own, ...
    int bitsPerPixel = 0;
    int width = 0;
    int height = 0;
    // "FTP_SERVER": where an FTP destination sends to.
    std::string ftpServer;
    // All pairs, for the call log.
    std::string logText;

    const SimDestination* Caller() const;
};

// False when a destination index or page is not a number (error says which).
bool ParseDataRequest(const ServerAttributeList* attributes, SimDataRequest& request,
                      std::string& error);

// The bytes answering a request for the caller: page (0 = whole job) in a format. Answers
// QUORVEL_OK, ITEM_NOT_FOUND (no such page), ACTION_NOT_SUPPORTED (a format or depth the
// server does not make), BAD_LIMIT (raw data too large) or GENERAL_FAILURE (a page that does
// not decode); error explains. Recent answers are kept, so block reads do not render the page
// again for every block.
int RenderData(const std::string& server, const SimJob& job, int page, const std::string& format,
               int bitsPerPixel, int width, int height, std::shared_ptr<const std::string>& data,
               std::string& error);

// Drops the kept answers (OrvexSim_Reset, a new fixture root).
void ForgetRenderedData();

} // namespace orvexsim
