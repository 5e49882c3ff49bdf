// quorvel_corp's calls, run inside quorvel10 and reached through OrvexSimInternal_CorpCalls:
// the corporate directory of the simulated servers (SimLogin.h).

#include "SimBridge.h"
#include "SimLogin.h"

using namespace orvexsim;

namespace {

// Filled by name: several calls share one signature, so an order slip would still compile.
OrvexSimCorpCalls MakeCalls() {
    OrvexSimCorpCalls calls = {};
    calls.CORP_ldapOpenSession = SimCorpLdapOpenSession;
    calls.CORP_Authenticate = SimCorpAuthenticate;
    calls.CORP_ldapBindEx = SimCorpLdapBindEx;
    calls.CORP_ldapSearch = SimCorpLdapSearch;
    calls.CORP_ldapGetEntryListEx = SimCorpLdapGetEntryListEx;
    calls.CORP_ldapCloseSession = SimCorpLdapCloseSession;
    return calls;
}

} // namespace

extern "C" const OrvexSimCorpCalls* __cdecl OrvexSimInternal_CorpCalls(void) {
    static const OrvexSimCorpCalls calls = MakeCalls();
    return &calls;
}
