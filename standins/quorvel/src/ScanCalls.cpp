// quorvel_scan's calls, run inside quorvel10 and reached through OrvexSimInternal_ScanCalls.
// Sessions, server attributes and the event registrations live here; the calls on stored jobs
// are in JobCalls.cpp, new scans and their cancels in SimScans.cpp.

#include <string>

#include "JobCalls.h"
#include "SimBridge.h"
#include "SimFixtures.h"
#include "SimRecords.h"
#include "SimScans.h"
#include "Simulator.h"

using namespace orvexsim;

namespace {

int QUORVEL_CALL OpenSession(QuorvelServerHandle* server, QuorvelSessionHandle* session, int32_t) {
    SimCall call("SCAN_openSession");
    call.Handle("server", server);
    return AddSession(call, server, SessionKind::Scan, session);
}

int QUORVEL_CALL CloseSession(QuorvelSessionHandle* session, int32_t) {
    SimCall call("SCAN_closeSession");
    call.Handle("session", session);
    return RemoveSession(call, session, SessionKind::Scan);
}

int QUORVEL_CALL ServerAttributes(QuorvelSessionHandle* session, ServerAttributeList** list,
                                  int32_t) {
    SimCall call("SCAN_serverAttributes");
    call.Handle("session", session);
    if (list) {
        *list = nullptr;
    }
    std::string server;
    if (!call.Admit(ServerOf(session, SessionKind::Scan, server))) {
        return call.Result();
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
    if (!call.Admit()) {
        return call.Result();
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
    if (!call.Admit()) {
        return call.Result();
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
    calls.SCAN_initiateScan = scans::InitiateScan;
    calls.SCAN_getScanPageInfo = jobcalls::GetScanPageInfo;
    calls.SCAN_getScanPageInfoInMailbox = jobcalls::GetScanPageInfoInMailbox;
    calls.SCAN_serverAttributes = ServerAttributes;
    calls.SCAN_freeScanJobList = FreeScanJobList;
    calls.SCAN_getEvents = GetEvents;
    calls.SCAN_getEventsEx = GetEventsEx;
    calls.SCAN_getAlertEvents = GetAlertEvents;
    calls.SCAN_cancelScan = scans::CancelScan;
    calls.SCAN_getNumPagesInJob = jobcalls::GetNumPagesInJob;
    return calls;
}

} // namespace

extern "C" const OrvexSimScanCalls* __cdecl OrvexSimInternal_ScanCalls(void) {
    static const OrvexSimScanCalls calls = MakeCalls();
    return &calls;
}
