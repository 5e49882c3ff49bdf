#include "SimScans.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "SimFixtures.h"
#include "SimRecords.h"
#include "Simulator.h"

namespace orvexsim {

namespace {

// Event types as the copier reports a scan.
constexpr int kJobEnded = 0;
constexpr int kScanCanceled = 2;
constexpr int kPageReady = 9;

// One scan under way, on a thread of its own.
struct Run {
    std::string server;
    int jobId = 0;
    int pages = 0;
    // The stored job's pages, taken in turn.
    std::vector<SimPage> sourcePages;
    std::chrono::milliseconds delay{0};
    // Guarded by Runs::mutex.
    bool stop = false;
    bool cancelled = false;
};

struct Runs {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::shared_ptr<Run>> active;
    // Joined by StopScans, so that no scan's thread runs on in this library after it.
    std::vector<std::thread> threads;
};

// Never destroyed: a scan's thread may still wait on it while the process ends.
Runs& TheRuns() {
    static Runs* const runs = new Runs;
    return *runs;
}

// What new_scan.txt says, with its defaults.
struct Script {
    Pairs templates;
    int firstJob = 1001;
    int delayMs = 100;
};

bool ReadScript(const Pairs& pairs, Script& script, std::string& error) {
    for (const auto& pair : pairs) {
        int number = 0;
        if (pair.first == "FIRST_JOB" || pair.first == "EVENT_DELAY_MS") {
            if (!ParseInt(pair.second, number) || number < 0) {
                error = "new_scan.txt: " + pair.first + " is not a count";
                return false;
            }
            (pair.first == "FIRST_JOB" ? script.firstJob : script.delayMs) = number;
        } else if (!ParseInt(pair.second, number) || number < 1) {
            error = "new_scan.txt: " + pair.first + " names no stored job";
            return false;
        } else {
            script.templates.push_back(pair);
        }
    }
    return true;
}

std::string ValueOf(const Pairs& pairs, const char* key) {
    const std::string* const value = FindValue(pairs, key);
    return value ? *value : std::string();
}

void Set(Pairs& pairs, const std::string& key, const std::string& value) {
    for (auto& pair : pairs) {
        if (pair.first == key) {
            pair.second = value;
            return;
        }
    }
    pairs.emplace_back(key, value);
}

void Erase(Pairs& pairs, const std::string& key) {
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [&](const auto& pair) { return pair.first == key; }),
                pairs.end());
}

Pairs PairsOf(const ServerAttributeList& list) {
    Pairs pairs;
    for (int32_t i = 0; list.keys && list.values && i < list.count; ++i) {
        pairs.emplace_back(list.keys[i] ? list.keys[i] : "", list.values[i] ? list.values[i] : "");
    }
    return pairs;
}

// The job list's date form, as in "Mon Dec  7 09:30:05 2026".
std::string Now() {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    const std::tm* const local = std::localtime(&now);
    if (!local) {
        return std::string();
    }
    char text[32];
    std::snprintf(text, sizeof(text), "%s %s %2d %02d:%02d:%02d %d", kDays[local->tm_wday],
                  kMonths[local->tm_mon], local->tm_mday, local->tm_hour, local->tm_min,
                  local->tm_sec, local->tm_year + 1900);
    return text;
}

// The new job as the copier files it: the stored job's attributes with the requested colour
// mode, resolution and mailbox, without pages yet.
SimJob NewJob(const SimJob& stored, const Pairs& request, int id) {
    SimJob job;
    job.id = id;
    job.owner = ValueOf(request, "USERNAME");
    if (job.owner.empty()) {
        job.owner = "scanner";
    }
    job.name = ValueOf(request, "FILENAME");
    if (job.name.empty()) {
        job.name = "Scan " + std::to_string(id);
    }
    job.date = Now();
    job.attributes = stored.attributes;
    Erase(job.attributes, "MAILBOX");
    Erase(job.attributes, "N_PAGES");
    if (const std::string mode = ValueOf(request, "COLOR_MODE"); !mode.empty()) {
        Set(job.attributes, "COLOR_MODE", mode);
    }
    const std::string x = ValueOf(request, "RAW_X_RES");
    const std::string y = ValueOf(request, "RAW_Y_RES");
    if (!x.empty() || !y.empty()) {
        Erase(job.attributes, "RESOLUTION");
        Set(job.attributes, "X_RESOLUTION", x.empty() ? y : x);
        Set(job.attributes, "Y_RESOLUTION", y.empty() ? x : y);
    }
    if (const std::string mailbox = ValueOf(request, "MAILBOX"); !mailbox.empty()) {
        Set(job.attributes, "MAILBOX", mailbox);
    }
    return job;
}

// One sheet from the platen; every sheet of the feeder's stack (the stored job's pages); both
// sides of each when double-sided.
int PagesOf(const SimJob& stored, const Pairs& request) {
    int pages = ValueOf(request, "SCAN_SOURCE") == "PLATEN"
                    ? 1
                    : std::max(1, static_cast<int>(stored.pages.size()));
    if (ValueOf(request, "SCAN_DOUBLE_SIDE") == "YES") {
        pages *= 2;
    }
    return pages;
}

void DeliverScanEvent(const std::string& server, int type, int jobId) {
    Simulator::Instance().Deliver(TicketKind::Event, server, [&](QuorvelCallback callback, int) {
        ScanEventRecord record = {type, jobId, 0};
        callback(&record);
    });
}

// Waits the run's delay; false once the run is to stop.
bool Pause(Run& run) {
    Runs& runs = TheRuns();
    std::unique_lock<std::mutex> lock(runs.mutex);
    runs.changed.wait_for(lock, run.delay, [&] { return run.stop; });
    return !run.stop;
}

// Files the next page; false when the job is gone (deleted by a client meanwhile).
bool FilePage(const Run& run, int number) {
    Simulator::Access state = Simulator::Instance().Lock();
    std::vector<SimJob>& jobs = state->servers[run.server].scannedJobs;
    const auto job = std::find_if(jobs.begin(), jobs.end(), [&](const SimJob& candidate) {
        return candidate.id == run.jobId;
    });
    if (job == jobs.end()) {
        return false;
    }
    SimPage page = run.sourcePages[static_cast<size_t>(number - 1) % run.sourcePages.size()];
    page.number = number;
    job->size += static_cast<std::uint32_t>(page.fileSize);
    job->pages.push_back(page);
    job->pageCount = number;
    return true;
}

void Deliver(const std::shared_ptr<Run>& run) {
    bool filed = true;
    for (int page = 1; page <= run->pages && filed; ++page) {
        filed = Pause(*run) && FilePage(*run, page);
        if (filed) {
            DeliverScanEvent(run->server, kPageReady, run->jobId);
        }
    }
    if (filed && Pause(*run)) {
        DeliverScanEvent(run->server, kJobEnded, run->jobId);
    }
    bool cancelled = false;
    {
        const std::lock_guard<std::mutex> lock(TheRuns().mutex);
        cancelled = run->cancelled;
    }
    if (cancelled) {
        DeliverScanEvent(run->server, kScanCanceled, run->jobId);
    }
}

// The scan is over: nothing waits for it any more.
void Forget(const std::shared_ptr<Run>& run) {
    Runs& runs = TheRuns();
    const std::lock_guard<std::mutex> lock(runs.mutex);
    runs.active.erase(std::remove(runs.active.begin(), runs.active.end(), run), runs.active.end());
    runs.changed.notify_all();
}

void DropScannedJob(const std::string& server, int jobId) {
    Simulator::Access state = Simulator::Instance().Lock();
    std::vector<SimJob>& jobs = state->servers[server].scannedJobs;
    jobs.erase(std::remove_if(jobs.begin(), jobs.end(),
                              [&](const SimJob& job) { return job.id == jobId; }),
               jobs.end());
}

// The scan's thread: nothing may leave it, and the scan is over however it ends.
void Scan(const std::shared_ptr<Run>& run) {
    try {
        Deliver(run);
    } catch (...) {
    }
    Forget(run);
}

void LogRequest(SimCall& call, const ServerAttributeList* attributes) {
    // The job's settings, whole, so that tests see what a new scan asks of the copier.
    if (!attributes) {
        call.Raw("attributes", "null");
        return;
    }
    std::string pairs = "[";
    for (int32_t i = 0; attributes->keys && attributes->values && i < attributes->count; ++i) {
        pairs += (i ? " " : "") + Quote(attributes->keys[i]) + "=" + Quote(attributes->values[i]);
    }
    call.Raw("attributes", pairs + "]");
}

} // namespace

namespace scans {

int QUORVEL_CALL InitiateScan(QuorvelSessionHandle* session, ServerAttributeList* attributes,
                              int32_t* jobId, int32_t) {
    SimCall call("SCAN_initiateScan");
    call.Handle("session", session);
    LogRequest(call, attributes);
    call.Pointer("job", jobId);
    std::string server;
    if (!call.Admit(ServerOf(session, SessionKind::Scan, server))) {
        return call.Result();
    }
    if (!attributes || !jobId) {
        return call.Return(QUORVEL_PARAMETER_MAY_NOT_BE_NULL);
    }
    *jobId = 0;
    Pairs pairs;
    if (const int failed = ReadCallFixture(call, ServerFile(server, "new_scan.txt"), pairs,
                                           QUORVEL_FUNCTION_NOT_AVAILABLE, QUORVEL_GENERAL_FAILURE,
                                           "no new-scan script on the simulated server")) {
        return call.Return(failed);
    }
    std::string error;
    Script script;
    if (!ReadScript(pairs, script, error)) {
        call.Note(error);
        return call.Return(QUORVEL_GENERAL_FAILURE);
    }
    const Pairs request = PairsOf(*attributes);
    const std::string* stored = FindValue(script.templates, ValueOf(request, "COLOR_MODE"));
    if (!stored) {
        stored = FindValue(script.templates, "DEFAULT");
    }
    int storedId = 0;
    SimServerJobs jobs;
    int code = QUORVEL_OK;
    if (!stored || !ParseInt(*stored, storedId) ||
        !LoadServerJobs(server, std::set<int>(), jobs, code, error) || !jobs.Find(storedId) ||
        jobs.Find(storedId)->pages.empty()) {
        call.Note(error.empty() ? "new_scan.txt: no stored job with pages for this colour mode"
                                : error);
        return call.Return(QUORVEL_GENERAL_FAILURE);
    }
    const SimJob& storedJob = *jobs.Find(storedId);
    auto run = std::make_shared<Run>();
    run->server = server;
    run->pages = PagesOf(storedJob, request);
    run->sourcePages = storedJob.pages;
    run->delay = std::chrono::milliseconds(script.delayMs);
    {
        Simulator::Access state = Simulator::Instance().Lock();
        ServerState& scanner = state->servers[server];
        if (scanner.nextScanJob == 0) {
            scanner.nextScanJob = script.firstJob;
        }
        run->jobId = scanner.nextScanJob++;
        scanner.scannedJobs.push_back(NewJob(storedJob, request, run->jobId));
    }
    bool started = true;
    {
        Runs& runs = TheRuns();
        const std::lock_guard<std::mutex> lock(runs.mutex);
        runs.active.push_back(run);
        runs.threads.emplace_back();
        try {
            runs.threads.back() = std::thread([run] { Scan(run); });
        } catch (const std::system_error&) {
            runs.threads.pop_back();
            started = false;
        }
    }
    if (!started) {
        // Without a thread there is no scan.
        Forget(run);
        DropScannedJob(server, run->jobId);
        return call.Return(QUORVEL_OUT_OF_MEMORY);
    }
    *jobId = run->jobId;
    call.OutInt("job", run->jobId)
        .Note("scans job " + std::to_string(run->jobId) + " of " + std::to_string(run->pages) +
              " pages from job " + std::to_string(storedId));
    return call.Return(QUORVEL_OK);
}

int QUORVEL_CALL CancelScan(QuorvelSessionHandle* session, int32_t jobId, int32_t flags, int32_t) {
    SimCall call("SCAN_cancelScan");
    call.Handle("session", session).Int("job", jobId).Int("flags", flags);
    std::string server;
    if (!call.Admit(ServerOf(session, SessionKind::Scan, server))) {
        return call.Result();
    }
    std::shared_ptr<Run> run;
    {
        Runs& runs = TheRuns();
        const std::lock_guard<std::mutex> lock(runs.mutex);
        for (const auto& candidate : runs.active) {
            if (candidate->server == server && candidate->jobId == jobId && !candidate->stop) {
                run = candidate;
                run->stop = true;
                run->cancelled = true;
            }
        }
        runs.changed.notify_all();
    }
    if (!run) {
        Pairs script;
        std::string error;
        return call.Return(ReadDumpFile(ServerFile(server, "new_scan.txt"), script, error) ==
                                   FixtureStatus::Missing
                               ? QUORVEL_FUNCTION_NOT_AVAILABLE
                               : QUORVEL_JOB_NOT_FOUND);
    }
    DropScannedJob(server, jobId);
    return call.Return(QUORVEL_OK);
}

} // namespace scans

void AddScannedJobs(const std::string& server, SimServerJobs& jobs) {
    Simulator::Access state = Simulator::Instance().Lock();
    const ServerState& scanner = state->servers[server];
    for (const SimJob& scanned : scanner.scannedJobs) {
        if (scanner.deletedJobs.count(scanned.id) || jobs.Find(scanned.id)) {
            continue;
        }
        SimJob job = scanned;
        job.mailbox = jobs.Normalize(ValueOf(job.attributes, "MAILBOX"));
        Set(job.attributes, "N_PAGES", std::to_string(job.pageCount));
        jobs.jobs.push_back(std::move(job));
    }
}

void StopScans() {
    Runs& runs = TheRuns();
    std::unique_lock<std::mutex> lock(runs.mutex);
    for (const auto& run : runs.active) {
        run->stop = true;
        run->cancelled = false;
    }
    runs.changed.notify_all();
    runs.changed.wait(lock, [&] { return runs.active.empty(); });
    std::vector<std::thread> threads = std::move(runs.threads);
    runs.threads.clear();
    lock.unlock();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

} // namespace orvexsim
