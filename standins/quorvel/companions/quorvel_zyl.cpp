// quorvel_zyl: the server address books and FTP validation. Every export forwards to the simulator
// in quorvel10.

#include "SimBridge.h"

namespace {

const OrvexSimZylCalls& Calls() {
    static const OrvexSimZylCalls* const calls = OrvexSimInternal_ZylCalls();
    return *calls;
}

} // namespace

extern "C" {

int QUORVEL_CALL ADDRESS_sGetAddrBook(QuorvelServerHandle* server, const char* name,
                                      ServerStringArray** book, int32_t reserved) {
    return Calls().ADDRESS_sGetAddrBook(server, name, book, reserved);
}

int QUORVEL_CALL ADDRESS_sFreeAddrBook(QuorvelServerHandle* server, ServerStringArray** book,
                                       int32_t reserved) {
    return Calls().ADDRESS_sFreeAddrBook(server, book, reserved);
}

int QUORVEL_CALL ADDRESS_OpenBookEx(QuorvelServerHandle* server, QuorvelSessionHandle* book,
                                    int32_t selector, void* record, int32_t reserved1,
                                    int32_t reserved2) {
    return Calls().ADDRESS_OpenBookEx(server, book, selector, record, reserved1, reserved2);
}

int QUORVEL_CALL ADDRESS_ReadBookEntriesEx(QuorvelSessionHandle* book, int32_t batchSize,
                                           QuorvelAddressEntryList** entries, int32_t* atEnd,
                                           int32_t reserved) {
    return Calls().ADDRESS_ReadBookEntriesEx(book, batchSize, entries, atEnd, reserved);
}

int QUORVEL_CALL ADDRESS_FreeBookEntriesEx(QuorvelSessionHandle* book,
                                           QuorvelAddressEntryList* entries, int32_t reserved) {
    return Calls().ADDRESS_FreeBookEntriesEx(book, entries, reserved);
}

int QUORVEL_CALL ADDRESS_CloseBookEx(QuorvelSessionHandle* book, int32_t reserved) {
    return Calls().ADDRESS_CloseBookEx(book, reserved);
}

int QUORVEL_CALL SFTP_Validate(QuorvelServerHandle* server, SftpValidateRequest* request,
                               int32_t reserved1, int32_t reserved2) {
    return Calls().SFTP_Validate(server, request, reserved1, reserved2);
}

} // extern "C"
