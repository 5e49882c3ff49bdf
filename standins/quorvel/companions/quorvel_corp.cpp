// quorvel_corp: the corporate directory. Every export forwards to the simulator in quorvel10.

#include "SimBridge.h"

namespace {

const OrvexSimCorpCalls& Calls() {
    static const OrvexSimCorpCalls* const calls = OrvexSimInternal_CorpCalls();
    return *calls;
}

} // namespace

extern "C" {

int QUORVEL_CALL CORP_ldapOpenSession(QuorvelServerHandle* server, QuorvelLdapSession* session,
                                      int32_t reserved1, int32_t reserved2, int32_t reserved3) {
    return Calls().CORP_ldapOpenSession(server, session, reserved1, reserved2, reserved3);
}

int QUORVEL_CALL CORP_Authenticate(QuorvelServerHandle* server, int32_t reserved1,
                                   int32_t reserved2, const char* user, const char* password,
                                   int32_t reserved3, int32_t reserved4) {
    return Calls().CORP_Authenticate(server, reserved1, reserved2, user, password, reserved3,
                                     reserved4);
}

int QUORVEL_CALL CORP_ldapBindEx(QuorvelLdapSession* session, int32_t reserved1, int32_t reserved2,
                                 int32_t reserved3, int32_t reserved4, int32_t reserved5) {
    return Calls().CORP_ldapBindEx(session, reserved1, reserved2, reserved3, reserved4, reserved5);
}

int QUORVEL_CALL CORP_ldapSearch(QuorvelLdapSession* session, int32_t reserved, int32_t scope,
                                 const char* filter, CorpLdapAttrNames* attributes,
                                 int32_t sizeLimit, int32_t timeLimit, int32_t reserved2) {
    return Calls().CORP_ldapSearch(session, reserved, scope, filter, attributes, sizeLimit,
                                   timeLimit, reserved2);
}

int QUORVEL_CALL CORP_ldapGetEntryListEx(QuorvelLdapSession* session, int32_t* count,
                                         CorpLdapEntryList** entries, int32_t flags,
                                         int32_t reserved) {
    return Calls().CORP_ldapGetEntryListEx(session, count, entries, flags, reserved);
}

int QUORVEL_CALL CORP_ldapCloseSession(QuorvelLdapSession* session, int32_t reserved) {
    return Calls().CORP_ldapCloseSession(session, reserved);
}

} // extern "C"
