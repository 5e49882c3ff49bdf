// The job calls of quorvel_scan over the jobs a simulated server holds (SimJobs.h) and their
// page data (SimPageData.h). Every call sees the server's fixtures as they are now.

#include "JobCalls.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SimFixtures.h"
#include "SimJobs.h"
#include "SimPageData.h"
#include "SimScans.h"
#include "SimRecords.h"
#include "SimServedData.h"
#include "Simulator.h"

namespace orvexsim {
namespace jobcalls {

namespace {

const char* const kSendKinds[] = {"HOLDQ", "MAILBOX", "EMAIL", "FTP", "EMFAX"};

// How every job call starts: the server behind a scan session and its jobs. False when the
// call ends here, with its answer as the call's result.
bool OpenJobs(SimCall& call, QuorvelSessionHandle* session, std::string& server,
              SimServerJobs& jobs) {
    std::set<int> deleted;
    {
        Simulator::Access state = Simulator::Instance().Lock();
        Session* found = nullptr;
        if (!call.Admit(state->FindSession(session, SessionKind::Scan, &found))) {
            return false;
        }
        server = state->connections[found->connection].server;
        deleted = state->servers[server].deletedJobs;
    }
    int code = QUORVEL_OK;
    std::string error;
    if (!LoadServerJobs(server, deleted, jobs, code, error)) {
        call.Note(error);
        call.Return(code);
        return false;
    }
    AddScannedJobs(server, jobs);
    return true;
}

// The jobs the plain calls reach: every job no mailbox password protects.
std::vector<const SimJob*> Unprotected(const SimServerJobs& jobs) {
    std::vector<const SimJob*> selected;
    for (const SimJob& job : jobs.jobs) {
        if (!jobs.IsProtected(job)) {
            selected.push_back(&job);
        }
    }
    return selected;
}

int AnswerList(SimCall& call, const std::vector<const SimJob*>& selected, ScanJobList** list) {
    *list = BuildJobList(selected);
    if (!*list) {
        return call.Return(QUORVEL_OUT_OF_MEMORY);
    }
    std::string ids;
    for (const SimJob* job : selected) {
        ids += (ids.empty() ? "" : ",") + std::to_string(job->id);
    }
    call.OutInt("count", (*list)->count).Note("jobs " + ids);
    return call.Return(QUORVEL_OK);
}

// Server settings that shape data answers (server.txt): DATA_BLOCK_LIMIT caps the bytes of one
// answer; no answer delivers a byte at or past DATA_ZERO_AFTER, though it still succeeds.
struct DataSettings {
    int blockLimit = 0;
    int zeroAfter = -1;
};

bool ReadDataSettings(const std::string& server, DataSettings& settings, std::string& error) {
    Pairs pairs;
    if (ReadDumpFile(ServerFile(server, "server.txt"), pairs, error) == FixtureStatus::Malformed) {
        return false;
    }
    if (const std::string* value = FindValue(pairs, "DATA_BLOCK_LIMIT")) {
        if (!ParseInt(*value, settings.blockLimit) || settings.blockLimit < 1) {
            error = "server.txt: DATA_BLOCK_LIMIT is not a positive count";
            return false;
        }
    }
    if (const std::string* value = FindValue(pairs, "DATA_ZERO_AFTER")) {
        if (!ParseInt(*value, settings.zeroAfter) || settings.zeroAfter < 0) {
            error = "server.txt: DATA_ZERO_AFTER is not an offset";
            return false;
        }
    }
    return true;
}

// The answer of ftp_validate.txt for an FTP destination; 0 without that file.
int FtpAnswer(const std::string& server, const std::string& address) {
    Pairs answers;
    std::string error;
    if (ReadDumpFile(ServerFile(server, "ftp_validate.txt"), answers, error) != FixtureStatus::Ok) {
        return QUORVEL_OK;
    }
    const std::string* answer = FindValue(answers, address);
    if (!answer) {
        answer = FindValue(answers, "*");
    }
    int code = QUORVEL_OK;
    return answer && ParseInt(*answer, code) ? code : QUORVEL_OK;
}

// Sends the job to every destination but the caller; the log records each one.
int Send(SimCall& call, const std::string& server, const SimDataRequest& request) {
    std::string sent;
    for (const SimDestination& destination : request.destinations) {
        if (destination.kind == "CALLER") {
            continue;
        }
        if (std::none_of(std::begin(kSendKinds), std::end(kSendKinds),
                         [&](const char* kind) { return destination.kind == kind; })) {
            call.Note("destination " + std::to_string(destination.index) + " " +
                      Quote(destination.kind.c_str()) + " is not supported");
            return QUORVEL_SCAN_DEST_NOT_SUPPORTED;
        }
        if (destination.kind == "FTP" && FtpAnswer(server, request.ftpServer) != QUORVEL_OK) {
            call.Note("FTP server " + Quote(request.ftpServer.c_str()) + " refused the job");
            return QUORVEL_SCAN_DEST_FAILED;
        }
        sent += (sent.empty() ? "sent " : "; ") + std::to_string(destination.index) + " " +
                Quote(destination.kind.c_str()) + " format=" + Quote(destination.format.c_str()) +
                " page=" + Quote(destination.page.c_str());
    }
    if (!sent.empty()) {
        call.Note(sent);
    }
    return QUORVEL_OK;
}

// A failure queued for this block (OrvexSim_FailDataBlock): the answer fails, the size stays as
// the caller set it and the buffer is left with bytes that are no page data.
bool FailQueuedBlock(SimCall& call, int32_t offset, size_t delivered, size_t total, void* buffer,
                     int32_t asked, int32_t* size) {
    int code = QUORVEL_OK;
    if (!ServedData::Instance().TakeFailure(offset, static_cast<long long>(delivered),
                                            static_cast<long long>(total), code)) {
        return false;
    }
    constexpr unsigned char kStale = 0xA5;
    if (buffer && asked > 0) {
        std::memset(buffer, kStale, static_cast<size_t>(asked));
    }
    *size = asked;
    call.Note("injected data failure: size left at " + std::to_string(asked) + ", stale bytes");
    call.Return(code);
    return true;
}

int DataCall(SimCall& call, QuorvelSessionHandle* session, bool inMailbox, const char* mailbox,
             const char* password, int32_t jobId, ServerAttributeList* attributes, int32_t offset,
             void* buffer, int32_t* size) {
    SimDataRequest request;
    std::string requestError;
    const bool parsed = ParseDataRequest(attributes, request, requestError);
    call.Int("job", jobId).Raw("attributes", attributes ? request.logText : "null");
    call.Int("offset", offset).Pointer("buffer", buffer);
    call.Raw("size", size ? std::to_string(*size) : "null");
    const int32_t asked = size ? *size : 0;
    if (size) {
        *size = 0;
    }
    std::string server;
    SimServerJobs jobs;
    if (!OpenJobs(call, session, server, jobs)) {
        return call.Result();
    }
    if (inMailbox && (!mailbox || !password)) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    if (!attributes) {
        return call.Return(QUORVEL_PARAMETER_MAY_NOT_BE_NULL);
    }
    const SimJob* job = nullptr;
    const int reached = ReachJob(jobs, jobId, inMailbox ? mailbox : nullptr, password, &job);
    if (reached != QUORVEL_OK) {
        return call.Return(reached);
    }
    if (!parsed) {
        call.Note(requestError);
        return call.Return(QUORVEL_MALFORMED_ATTRIBUTES);
    }
    if (offset == 0 || !request.Caller()) {
        const int sent = Send(call, server, request);
        if (sent != QUORVEL_OK) {
            return call.Return(sent);
        }
    }
    if (!request.destinations.empty() && !request.Caller()) {
        return call.Return(QUORVEL_OK); // sent; nothing comes back to the caller
    }
    if (!size || asked < 0 || offset < 0 || (!buffer && asked > 0)) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    DataSettings settings;
    std::string error;
    if (!ReadDataSettings(server, settings, error)) {
        call.Note(error);
        return call.Return(QUORVEL_GENERAL_FAILURE);
    }
    std::shared_ptr<const std::string> data;
    const int rendered =
        RenderData(server, *job, request.page, request.format, request.bitsPerPixel, request.width,
                   request.height, data, error);
    if (rendered != QUORVEL_OK) {
        call.Note(error);
        return call.Return(rendered);
    }
    size_t delivered = 0;
    if (static_cast<size_t>(offset) < data->size()) {
        delivered = std::min(static_cast<size_t>(asked), data->size() - offset);
    }
    if (settings.blockLimit > 0) {
        delivered = std::min(delivered, static_cast<size_t>(settings.blockLimit));
    }
    if (settings.zeroAfter >= 0) {
        delivered = offset >= settings.zeroAfter
                        ? 0
                        : std::min(delivered, static_cast<size_t>(settings.zeroAfter - offset));
    }
    if (FailQueuedBlock(call, offset, delivered, data->size(), buffer, asked, size)) {
        return call.Result();
    }
    if (delivered > 0) {
        std::memcpy(buffer, data->data() + offset, delivered);
    }
    *size = static_cast<int32_t>(delivered);
    ServedData::Instance().Count(jobId, request.page, offset, static_cast<long long>(delivered));
    call.OutInt("size", *size).OutInt("total", static_cast<long long>(data->size()));
    return call.Return(QUORVEL_OK);
}

int DeleteCall(SimCall& call, QuorvelSessionHandle* session, bool inMailbox, const char* mailbox,
               const char* password, int32_t jobId) {
    std::string server;
    SimServerJobs jobs;
    if (!OpenJobs(call, session, server, jobs)) {
        return call.Result();
    }
    if (inMailbox && (!mailbox || !password)) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const SimJob* job = nullptr;
    const int reached = ReachJob(jobs, jobId, inMailbox ? mailbox : nullptr, password, &job);
    if (reached != QUORVEL_OK) {
        return call.Return(reached);
    }
    Simulator::Access state = Simulator::Instance().Lock();
    state->servers[server].deletedJobs.insert(jobId);
    return call.Return(QUORVEL_OK);
}

int PageInfoCall(SimCall& call, QuorvelSessionHandle* session, bool inMailbox, const char* mailbox,
                 const char* password, int32_t jobId, int32_t page, ScanPageInfo** info) {
    if (info) {
        *info = nullptr;
    }
    std::string server;
    SimServerJobs jobs;
    if (!OpenJobs(call, session, server, jobs)) {
        return call.Result();
    }
    if (!info || (inMailbox && (!mailbox || !password))) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const SimJob* job = nullptr;
    const int reached = ReachJob(jobs, jobId, inMailbox ? mailbox : nullptr, password, &job);
    if (reached != QUORVEL_OK) {
        return call.Return(reached);
    }
    if (page < 1 || page > static_cast<int32_t>(job->pages.size())) {
        return call.Return(QUORVEL_ITEM_NOT_FOUND);
    }
    Pairs description;
    std::string error;
    if (!DescribePage(job->pages[page - 1], description, error)) {
        call.Note(error);
        return call.Return(QUORVEL_GENERAL_FAILURE);
    }
    *info = BuildAttributeList(description);
    if (!*info) {
        return call.Return(QUORVEL_OUT_OF_MEMORY);
    }
    call.OutInt("count", (*info)->count);
    return call.Return(QUORVEL_OK);
}

} // namespace

int QUORVEL_CALL GetJobList(QuorvelSessionHandle* session, ScanJobList** list, int32_t) {
    SimCall call("SCAN_getJobList");
    call.Handle("session", session);
    if (list) {
        *list = nullptr;
    }
    std::string server;
    SimServerJobs jobs;
    if (!OpenJobs(call, session, server, jobs)) {
        return call.Result();
    }
    if (!list) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    return AnswerList(call, Unprotected(jobs), list);
}

int QUORVEL_CALL GetJobListInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                     const char* password, ScanJobList** list, int32_t) {
    SimCall call("SCAN_getJobListInMailbox");
    call.Handle("session", session).Text("mailbox", mailbox).Text("password", password);
    if (list) {
        *list = nullptr;
    }
    std::string server;
    SimServerJobs jobs;
    if (!OpenJobs(call, session, server, jobs)) {
        return call.Result();
    }
    if (!list || !mailbox || !password) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const std::string name = jobs.Normalize(mailbox);
    if (name.empty()) {
        return AnswerList(call, Unprotected(jobs), list);
    }
    if (!jobs.HasMailbox(name)) {
        return call.Return(QUORVEL_ITEM_NOT_FOUND);
    }
    const std::string expected = jobs.PasswordOf(name);
    if (!expected.empty() && expected != password) {
        return call.Return(QUORVEL_ACCESS_DENIED);
    }
    std::vector<const SimJob*> selected;
    for (const SimJob& job : jobs.jobs) {
        if (job.mailbox == name) {
            selected.push_back(&job);
        }
    }
    return AnswerList(call, selected, list);
}

int QUORVEL_CALL GetData(QuorvelSessionHandle* session, int32_t jobId,
                         ServerAttributeList* attributes, int32_t offset, void* buffer,
                         int32_t* size, int32_t) {
    SimCall call("SCAN_getData");
    call.Handle("session", session);
    return DataCall(call, session, false, nullptr, nullptr, jobId, attributes, offset, buffer,
                    size);
}

int QUORVEL_CALL GetDataEx(QuorvelSessionHandle* session, int32_t jobId,
                           ServerAttributeList* attributes, int32_t offset, void* buffer,
                           int32_t* size, int32_t) {
    SimCall call("SCAN_getDataEx");
    call.Handle("session", session);
    return DataCall(call, session, false, nullptr, nullptr, jobId, attributes, offset, buffer,
                    size);
}

int QUORVEL_CALL GetDataInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                  const char* password, int32_t jobId,
                                  ServerAttributeList* attributes, int32_t offset, void* buffer,
                                  int32_t* size, int32_t) {
    SimCall call("SCAN_getDataInMailbox");
    call.Handle("session", session).Text("mailbox", mailbox).Text("password", password);
    return DataCall(call, session, true, mailbox, password, jobId, attributes, offset, buffer,
                    size);
}

int QUORVEL_CALL DeleteJob(QuorvelSessionHandle* session, int32_t jobId, int32_t) {
    SimCall call("SCAN_deleteJob");
    call.Handle("session", session).Int("job", jobId);
    return DeleteCall(call, session, false, nullptr, nullptr, jobId);
}

int QUORVEL_CALL DeleteJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                    const char* password, int32_t jobId, int32_t) {
    SimCall call("SCAN_deleteJobInMailbox");
    call.Handle("session", session).Text("mailbox", mailbox).Text("password", password);
    call.Int("job", jobId);
    return DeleteCall(call, session, true, mailbox, password, jobId);
}

int QUORVEL_CALL IsJobInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                const char* password, int32_t jobId, int32_t* inMailbox, int32_t) {
    SimCall call("SCAN_isJobInMailbox");
    call.Handle("session", session).Text("mailbox", mailbox).Text("password", password);
    call.Int("job", jobId);
    if (inMailbox) {
        *inMailbox = 0;
    }
    std::string server;
    SimServerJobs jobs;
    if (!OpenJobs(call, session, server, jobs)) {
        return call.Result();
    }
    if (!mailbox || !password || !inMailbox) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const SimJob* const job = jobs.Find(jobId);
    if (!job) {
        return call.Return(QUORVEL_JOB_NOT_FOUND);
    }
    const bool there = job->mailbox == jobs.Normalize(mailbox);
    if (there && jobs.IsProtected(*job) && jobs.PasswordOf(job->mailbox) != password) {
        return call.Return(QUORVEL_ACCESS_DENIED);
    }
    *inMailbox = there ? 1 : 0;
    call.OutInt("in", *inMailbox);
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL GetScanPageInfo(QuorvelSessionHandle* session, int32_t jobId, int32_t page,
                                 ScanPageInfo** info, int32_t) {
    SimCall call("SCAN_getScanPageInfo");
    call.Handle("session", session).Int("job", jobId).Int("page", page);
    return PageInfoCall(call, session, false, nullptr, nullptr, jobId, page, info);
}

int QUORVEL_CALL GetScanPageInfoInMailbox(QuorvelSessionHandle* session, const char* mailbox,
                                          const char* password, int32_t jobId, int32_t page,
                                          ScanPageInfo** info, int32_t) {
    SimCall call("SCAN_getScanPageInfoInMailbox");
    call.Handle("session", session).Text("mailbox", mailbox).Text("password", password);
    call.Int("job", jobId).Int("page", page);
    return PageInfoCall(call, session, true, mailbox, password, jobId, page, info);
}

int QUORVEL_CALL GetNumPagesInJob(QuorvelSessionHandle* session, int32_t jobId, int32_t* count,
                                  int32_t) {
    SimCall call("SCAN_getNumPagesInJob");
    call.Handle("session", session).Int("job", jobId);
    if (count) {
        *count = 0;
    }
    std::string server;
    SimServerJobs jobs;
    if (!OpenJobs(call, session, server, jobs)) {
        return call.Result();
    }
    if (!count) {
        return call.Return(QUORVEL_BAD_PARAM);
    }
    const SimJob* const job = jobs.Find(jobId);
    if (!job) {
        return call.Return(QUORVEL_JOB_NOT_FOUND);
    }
    *count = job->pageCount;
    call.OutInt("count", *count);
    return call.Return(QUORVEL_OK);
}

} // namespace jobcalls
} // namespace orvexsim
