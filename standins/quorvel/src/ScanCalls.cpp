// quorvel_scan's calls, run inside quorvel10 and reached through OrvexSimInternal_ScanCalls.
// Sessions, server attributes and the event registrations live here; the calls on stored jobs
// are in JobCalls.cpp. New scans answer FUNCTION_NOT_AVAILABLE with their out values cleared
// until the simulated servers can make them.

#include <string>

#include "JobCalls.h"
#include "SimBridge.h"
#include "SimFixtures.h"
#include "SimRecords.h"
#include "Simulator.h"

using namespace orvexsim;

namespace {

// The session must be a scan session of a connection that is up.
int CheckScanSession(QuorvelSessionHandle* session) {
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    return state->FindSession(session, SessionKind::Scan, &found);
}

// A call whose behaviour the simulated servers do not have yet.
int NotYet(SimCall& call) {
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    return call.Return(QUORVEL_FUNCTION_NOT_AVAILABLE);
}

int QUORVEL_CALL OpenSession(QuorvelServerHandle* server, QuorvelSessionHandle* session, int32_t) {
    SimCall call("SCAN_openSession");
    call.Handle("server", server);
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Connection* connection = nullptr;
    const int found = state->FindConnection(server, &connection);
    if (found != QUORVEL_OK) {
        return call.Return(found);
    }
    if (!session) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const int id = state->NewId();
    Session& added = state->sessions[id];
    added.kind = SessionKind::Scan;
    added.connection = HandleId(server);
    PackSession(session, id);
    call.OutHandle("session", session);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL CloseSession(QuorvelSessionHandle* session, int32_t) {
    SimCall call("SCAN_closeSession");
    call.Handle("session", session);
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    Simulator::Access state = Simulator::Instance().Lock();
    Session* found = nullptr;
    const int result =
        state->FindSession(session, SessionKind::Scan, &found, QUORVEL_INVALID_HANDLE, true);
    if (result == QUORVEL_OK) {
        state->sessions.erase(HandleId(session));
    }
    return call.Return(result);
}

int QUORVEL_CALL InitiateScan(QuorvelSessionHandle* session, ServerAttributeList* attributes,
                              int32_t* jobId, int32_t) {
    SimCall call("SCAN_initiateScan");
    call.Handle("session", session).Pointer("attributes", attributes).Pointer("job", jobId);
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    const int found = CheckScanSession(session);
    if (found != QUORVEL_OK) {
        return call.Return(found);
    }
    if (!attributes || !jobId) {
        return call.Return(QUORVEL_PARAMETER_MAY_NOT_BE_NULL);
    }
    *jobId = 0;
    call.Note("no new-scan script on the simulated server");
    return call.Return(QUORVEL_FUNCTION_NOT_AVAILABLE);
}

int QUORVEL_CALL ServerAttributes(QuorvelSessionHandle* session, ServerAttributeList** list,
                                  int32_t) {
    SimCall call("SCAN_serverAttributes");
    call.Handle("session", session);
    if (list) {
        *list = nullptr;
    }
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    std::string server;
    {
        Simulator::Access state = Simulator::Instance().Lock();
        Session* found = nullptr;
        const int result = state->FindSession(session, SessionKind::Scan, &found);
        if (result != QUORVEL_OK) {
            return call.Return(result);
        }
        server = state->connections[found->connection].server;
    }
    if (!list) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    Pairs pairs;
    std::string error;
    if (ReadDumpFile(ServerFile(server, "attributes.txt"), pairs, error) ==
        FixtureStatus::Malformed) {
        call.Note(error);
        return call.Return(QUORVEL_MALFORMED_ATTRIBUTES);
    }
    *list = BuildAttributeList(pairs);
    if (!*list) {
        return call.Return(QUORVEL_OUT_OF_MEMORY);
    }
    call.OutInt("count", (*list)->count);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL FreeScanJobList(ScanJobList* list, int32_t) {
    SimCall call("SCAN_freeScanJobList");
    call.Pointer("list", list);
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    if (!list) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (!FreeJobList(list)) {
        call.Note("not a job list of the library heap");
        return call.Return(QUORVEL_BAD_PARAM);
    }
    return call.Return(QUORVEL_OK);
}

int RegisterEvents(const char* function, QuorvelServerHandle* server, QuorvelCallback callback,
                   QuorvelNBTicket* ticket, bool alerts) {
    SimCall call(function);
    call.Handle("server", server).Pointer("callback", reinterpret_cast<void*>(callback));
    int code = 0;
    if (call.Injected(code)) {
        return call.Return(code);
    }
    if (!callback) {
        return call.Return(QUORVEL_PARAMETER_MAY_NOT_BE_NULL);
    }
    return RegisterTicket(call, server, alerts ? TicketKind::Alert : TicketKind::Event, callback,
                          ticket);
}

int QUORVEL_CALL GetEvents(QuorvelServerHandle* server, QuorvelCallback callback,
                           QuorvelNBTicket* ticket) {
    return RegisterEvents("SCAN_getEvents", server, callback, ticket, false);
}

int QUORVEL_CALL GetEventsEx(QuorvelServerHandle* server, QuorvelCallback callback,
                             QuorvelNBTicket* ticket) {
    return RegisterEvents("SCAN_getEventsEx", server, callback, ticket, false);
}

int QUORVEL_CALL GetAlertEvents(QuorvelServerHandle* server, QuorvelCallback callback,
                                QuorvelNBTicket* ticket) {
    return RegisterEvents("SCAN_getAlertEvents", server, callback, ticket, true);
}

int QUORVEL_CALL CancelScan(QuorvelSessionHandle* session, int32_t jobId, int32_t flags, int32_t) {
    SimCall call("SCAN_cancelScan");
    call.Handle("session", session).Int("job", jobId).Int("flags", flags);
    return NotYet(call);
}

// Filled by name: several calls share one signature, so an order slip would still compile.
OrvexSimScanCalls MakeCalls() {
    OrvexSimScanCalls calls = {};
    calls.SCAN_openSession = OpenSession;
    calls.SCAN_closeSession = CloseSession;
    calls.SCAN_getJobList = jobcalls::GetJobList;
    calls.SCAN_getJobListInMailbox = jobcalls::GetJobListInMailbox;
    calls.SCAN_getData = jobcalls::GetData;
    calls.SCAN_getDataEx = jobcalls::GetDataEx;
    calls.SCAN_getDataInMailbox = jobcalls::GetDataInMailbox;
    calls.SCAN_deleteJob = jobcalls::DeleteJob;
    calls.SCAN_deleteJobInMailbox = jobcalls::DeleteJobInMailbox;
    calls.SCAN_isJobInMailbox = jobcalls::IsJobInMailbox;
    calls.SCAN_initiateScan = InitiateScan;
    calls.SCAN_getScanPageInfo = jobcalls::GetScanPageInfo;
    calls.SCAN_getScanPageInfoInMailbox = jobcalls::GetScanPageInfoInMailbox;
    calls.SCAN_serverAttributes = ServerAttributes;
    calls.SCAN_freeScanJobList = FreeScanJobList;
    calls.SCAN_getEvents = GetEvents;
    calls.SCAN_getEventsEx = GetEventsEx;
    calls.SCAN_getAlertEvents = GetAlertEvents;
    calls.SCAN_cancelScan = CancelScan;
    calls.SCAN_getNumPagesInJob = jobcalls::GetNumPagesInJob;
    return calls;
}

} // namespace

extern "C" const OrvexSimScanCalls* __cdecl OrvexSimInternal_ScanCalls(void) {
    static const OrvexSimScanCalls calls = MakeCalls();
    return &calls;
}
