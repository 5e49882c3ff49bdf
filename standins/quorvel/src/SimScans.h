#pragma once
// New scans, as a copier makes them: a server whose folder has new_scan.txt accepts
// SCAN_initiateScan, files a new job made from one of its stored jobs with the requested
// attributes, and reports it while it is scanned: a page-ready event (type 9) for each page
// as it is filed, then the job's end (type 0), each after the script's delay, on the library's
// thread. SCAN_cancelScan stops a scan under way: its job goes and a cancel event (type 2)
// follows. Servers without the script answer FUNCTION_NOT_AVAILABLE as before.

#include <string>

#include "SimJobs.h"
#include "quorvel_api.h"

namespace orvexsim {
namespace scans {

int QUORVEL_CALL InitiateScan(QuorvelSessionHandle* session, ServerAttributeList* attributes,
                              int32_t* jobId, int32_t reserved);
int QUORVEL_CALL CancelScan(QuorvelSessionHandle* session, int32_t jobId, int32_t flags,
                            int32_t reserved);

} // namespace scans

// Adds the jobs scans filed on the server (their pages so far), unless deleted, to its jobs.
void AddScannedJobs(const std::string& server, SimServerJobs& jobs);
// Ends every scan under way and waits until none delivers any more; no event follows.
void StopScans();

} // namespace orvexsim
