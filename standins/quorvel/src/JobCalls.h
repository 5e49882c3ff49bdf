#pragma once
// quorvel_scan's job calls: job lists, mailboxes, page data and sending, page descriptions,
// page counts and deleting, over the jobs of SimJobs.h. ScanCalls.cpp puts them in its table.

#include "quorvel_api.h"

namespace orvexsim {
namespace jobcalls {

int QUORVEL_CALL GetJobList(QuorvelSessionHandle* session, ScanJobList** list, int32_t reserved);
int QUORVEL_CALL GetJobListInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                     const char* password, ScanJobList** list, int32_t reserved);
int QUORVEL_CALL GetData(QuorvelSessionHandle* session, int32_t jobId,
                         ServerAttributeList* attributes, int32_t offset, void* buffer,
                         int32_t* size, int32_t reserved);
int QUORVEL_CALL GetDataEx(QuorvelSessionHandle* session, int32_t jobId,
                           ServerAttributeList* attributes, int32_t offset, void* buffer,
                           int32_t* size, int32_t reserved);
int QUORVEL_CALL GetDataInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                  const char* password, int32_t jobId,
                                  ServerAttributeList* attributes, int32_t offset, void* buffer,
                                  int32_t* size, int32_t reserved);
int QUORVEL_CALL DeleteJob(QuorvelSessionHandle* session, int32_t jobId, int32_t reserved);
int QUORVEL_CALL DeleteJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                    const char* password, int32_t jobId, int32_t reserved);
int QUORVEL_CALL IsJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                const char* password, int32_t jobId, int32_t* inMailbox,
                                int32_t reserved);
int QUORVEL_CALL GetScanPageInfo(QuorvelSessionHandle* session, int32_t jobId, int32_t page,
                                 ScanPageInfo** info, int32_t reserved);
int QUORVEL_CALL GetScanPageInfoInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                          const char* password, int32_t jobId, int32_t page,
                                          ScanPageInfo** info, int32_t reserved);
int QUORVEL_CALL GetNumPagesInJob(QuorvelSessionHandle* session, int32_t jobId, int32_t* count,
                                  int32_t reserved);

} // namespace jobcalls
} // namespace orvexsim
