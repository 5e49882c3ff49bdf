#pragma once
// Logging in to a simulated server's corporate directory and looking users up in it
// (quorvel_corp's CORP_ calls), and authentication ids of domain accounts (AUTH_getAuthIDEx).
//
// The directory is the server's directory.txt (SimAddressBooks.h). An entry with the
// attributes "sAMAccountName" and "userPassword" is an account: CORP_Authenticate accepts its
// name (without case) with exactly that password, and a directory session of the same
// connection may then bind. A base-object search (scope 0) reads the directory's root entry,
// whose "defaultNamingContext" is NAMING_CONTEXT of server.txt. authids.txt holds
// "DOMAIN\user = id" lines (names without case) for AUTH_getAuthIDEx.

#include <cstdint>

#include "quorvel_api.h"

namespace orvexsim {

int QUORVEL_CALL SimCorpLdapOpenSession(QuorvelServerHandle* server, QuorvelLdapSession* session,
                                        int32_t reserved1, int32_t reserved2, int32_t reserved3);
int QUORVEL_CALL SimCorpAuthenticate(QuorvelServerHandle* server, int32_t reserved1,
                                     int32_t reserved2, const char* user, const char* password,
                                     int32_t reserved3, int32_t reserved4);
int QUORVEL_CALL SimCorpLdapBindEx(QuorvelLdapSession* session, int32_t reserved1,
                                   int32_t reserved2, int32_t reserved3, int32_t reserved4,
                                   int32_t reserved5);
int QUORVEL_CALL SimCorpLdapSearch(QuorvelLdapSession* session, int32_t reserved, int32_t scope,
                                   const char* filter, CorpLdapAttrNames* attributes,
                                   int32_t sizeLimit, int32_t timeLimit, int32_t reserved2);
int QUORVEL_CALL SimCorpLdapGetEntryListEx(QuorvelLdapSession* session, int32_t* count,
                                           CorpLdapEntryList** entries, int32_t flags,
                                           int32_t reserved);
int QUORVEL_CALL SimCorpLdapCloseSession(QuorvelLdapSession* session, int32_t reserved);

int SimAuthGetAuthIDEx(QuorvelServerHandle* server, const char* user, const char* domain,
                       int32_t kind, int32_t flags, char** id, int32_t* extra);

} // namespace orvexsim
