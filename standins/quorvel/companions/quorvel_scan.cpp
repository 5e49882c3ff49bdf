// quorvel_scan: the SCAN_ calls. Every export forwards to the simulator in quorvel10.

#include "SimBridge.h"

namespace {

const OrvexSimScanCalls& Calls() {
    static const OrvexSimScanCalls* const calls = OrvexSimInternal_ScanCalls();
    return *calls;
}

} // namespace

extern "C" {

int QUORVEL_CALL SCAN_openSession(QuorvelServerHandle* server, QuorvelSessionHandle* session,
                                  int32_t reserved) {
    return Calls().SCAN_openSession(server, session, reserved);
}

int QUORVEL_CALL SCAN_closeSession(QuorvelSessionHandle* session, int32_t reserved) {
    return Calls().SCAN_closeSession(session, reserved);
}

int QUORVEL_CALL SCAN_getJobList(QuorvelSessionHandle* session, ScanJobList** list,
                                 int32_t reserved) {
    return Calls().SCAN_getJobList(session, list, reserved);
}

int QUORVEL_CALL SCAN_getJobListInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                          const char* password, ScanJobList** list,
                                          int32_t reserved) {
    return Calls().SCAN_getJobListInMailbox(session, mailbox, password, list, reserved);
}

int QUORVEL_CALL SCAN_getData(QuorvelSessionHandle* session, int32_t jobId,
                              ServerAttributeList* attributes, int32_t offset, void* buffer,
                              int32_t* size, int32_t reserved) {
    return Calls().SCAN_getData(session, jobId, attributes, offset, buffer, size, reserved);
}

int QUORVEL_CALL SCAN_getDataEx(QuorvelSessionHandle* session, int32_t jobId,
                                ServerAttributeList* attributes, int32_t offset, void* buffer,
                                int32_t* size, int32_t reserved) {
    return Calls().SCAN_getDataEx(session, jobId, attributes, offset, buffer, size, reserved);
}

int QUORVEL_CALL SCAN_getDataInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                       const char* password, int32_t jobId,
                                       ServerAttributeList* attributes, int32_t offset,
                                       void* buffer, int32_t* size, int32_t reserved) {
    return Calls().SCAN_getDataInMailbox(session, mailbox, password, jobId, attributes, offset,
                                         buffer, size, reserved);
}

int QUORVEL_CALL SCAN_deleteJob(QuorvelSessionHandle* session, int32_t jobId, int32_t reserved) {
    return Calls().SCAN_deleteJob(session, jobId, reserved);
}

int QUORVEL_CALL SCAN_deleteJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                         const char* password, int32_t jobId, int32_t reserved) {
    return Calls().SCAN_deleteJobInMailbox(session, mailbox, password, jobId, reserved);
}

int QUORVEL_CALL SCAN_isJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                     const char* password, int32_t jobId, int32_t* inMailbox,
                                     int32_t reserved) {
    return Calls().SCAN_isJobInMailbox(session, mailbox, password, jobId, inMailbox, reserved);
}

int QUORVEL_CALL SCAN_initiateScan(QuorvelSessionHandle* session, ServerAttributeList* attributes,
                                   int32_t* jobId, int32_t reserved) {
    return Calls().SCAN_initiateScan(session, attributes, jobId, reserved);
}

int QUORVEL_CALL SCAN_getScanPageInfo(QuorvelSessionHandle* session, int32_t jobId, int32_t page,
                                      ScanPageInfo** info, int32_t reserved) {
    return Calls().SCAN_getScanPageInfo(session, jobId, page, info, reserved);
}

int QUORVEL_CALL SCAN_getScanPageInfoInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                               const char* password, int32_t jobId, int32_t page,
                                               ScanPageInfo** info, int32_t reserved) {
    return Calls().SCAN_getScanPageInfoInMailbox(session, mailbox, password, jobId, page, info,
                                                 reserved);
}

int QUORVEL_CALL SCAN_serverAttributes(QuorvelSessionHandle* session, ServerAttributeList** list,
                                       int32_t reserved) {
    return Calls().SCAN_serverAttributes(session, list, reserved);
}

int QUORVEL_CALL SCAN_freeScanJobList(ScanJobList* list, int32_t reserved) {
    return Calls().SCAN_freeScanJobList(list, reserved);
}

int QUORVEL_CALL SCAN_getEvents(QuorvelServerHandle* server, QuorvelCallback callback,
                                QuorvelNBTicket* ticket) {
    return Calls().SCAN_getEvents(server, callback, ticket);
}

int QUORVEL_CALL SCAN_getEventsEx(QuorvelServerHandle* server, QuorvelCallback callback,
                                  QuorvelNBTicket* ticket) {
    return Calls().SCAN_getEventsEx(server, callback, ticket);
}

int QUORVEL_CALL SCAN_getAlertEvents(QuorvelServerHandle* server, QuorvelCallback callback,
                                     QuorvelNBTicket* ticket) {
    return Calls().SCAN_getAlertEvents(server, callback, ticket);
}

int QUORVEL_CALL SCAN_cancelScan(QuorvelSessionHandle* session, int32_t jobId, int32_t flags,
                                 int32_t reserved) {
    return Calls().SCAN_cancelScan(session, jobId, flags, reserved);
}

int QUORVEL_CALL SCAN_getNumPagesInJob(QuorvelSessionHandle* session, int32_t jobId, int32_t* count,
                                       int32_t reserved) {
    return Calls().SCAN_getNumPagesInJob(session, jobId, count, reserved);
}

} // extern "C"
