// The simulator's test control (OrvexSimControl.h).

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "OrvexSimControl.h"
#include "SimFileCache.h"
#include "SimFixtures.h"
#include "SimHeap.h"
#include "SimPageData.h"
#include "SimServedData.h"
#include "Simulator.h"

using namespace orvexsim;

namespace {

int CopyOut(const std::string& text, char* buffer, int size) {
    if (buffer && size > 0) {
        const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
        std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
    }
    return static_cast<int>(text.size());
}

// What was read under one root is not carried over to the next.
void ForgetFixtures() {
    SimFileCache::Instance().Clear();
    ForgetRenderedData();
}

} // namespace

extern "C" {

void __cdecl OrvexSim_Reset(void) {
    Simulator::Instance().Reset();
    ServedData::Instance().Reset();
    SetFixtureRootOverride(std::string());
    ForgetFixtures();
    SimHeap::Instance().ClearBadFrees();
}

void __cdecl OrvexSim_SetFixtureRoot(const char* path) {
    SetFixtureRootOverride(path ? path : "");
    ForgetFixtures();
}

int __cdecl OrvexSim_GetFixtureRoot(char* buffer, int size) {
    return CopyOut(FixtureRoot(), buffer, size);
}

void __cdecl OrvexSim_FailNext(const char* function, int code) {
    if (function) {
        Simulator::Instance().AddFailure(function, code);
    }
}

int __cdecl OrvexSim_SetServerDown(const char* server, int down) {
    if (!server) {
        return 0;
    }
    std::string name = server;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    Simulator& simulator = Simulator::Instance();
    {
        Simulator::Access state = simulator.Lock();
        state->servers[name].down = down != 0;
    }
    if (!down) {
        return 0;
    }
    return simulator.Deliver(TicketKind::Monitor, name, [](QuorvelCallback callback, int id) {
        QuorvelNBTicket ticket;
        PackTicket(&ticket, id);
        callback(&ticket);
    });
}

int __cdecl OrvexSim_DeliverEvent(int type, int jobId, unsigned int reserved) {
    return Simulator::Instance().Deliver(TicketKind::Event, std::string(),
                                         [&](QuorvelCallback callback, int) {
                                             ScanEventRecord record = {type, jobId, reserved};
                                             callback(&record);
                                         });
}

int __cdecl OrvexSim_DeliverAlert(unsigned int word0, unsigned int word1, const char* text,
                                  unsigned int word3, unsigned int word4, unsigned int word5) {
    const std::string copy = text ? text : "";
    return Simulator::Instance().Deliver(
        TicketKind::Alert, std::string(), [&](QuorvelCallback callback, int) {
            std::string own = copy; // each callback gets a text it may not keep
            ScanAlertEventRecord record = {word0, word1, text ? &own[0] : nullptr,
                                           word3, word4, word5};
            callback(&record);
        });
}

unsigned long __cdecl OrvexSim_CallbackThreadId(void) {
    return Simulator::Instance().Thread().ThreadId();
}

int __cdecl OrvexSim_LogCount(void) {
    return static_cast<int>(Simulator::Instance().LogLines().size());
}

int __cdecl OrvexSim_LogEntry(int index, char* buffer, int size) {
    const std::vector<std::string> lines = Simulator::Instance().LogLines();
    if (index < 0 || index >= static_cast<int>(lines.size())) {
        return -1;
    }
    return CopyOut(lines[static_cast<size_t>(index)], buffer, size);
}

void __cdecl OrvexSim_ClearLog(void) {
    Simulator::Instance().ClearLog();
    ServedData::Instance().ClearCounts();
}

long long __cdecl OrvexSim_BytesServed(int jobId, int page) {
    return ServedData::Instance().Bytes(jobId, page);
}

int __cdecl OrvexSim_FetchesServed(int jobId, int page) {
    return ServedData::Instance().Fetches(jobId, page);
}

void __cdecl OrvexSim_FailDataBlock(int block, int code) {
    if (block >= ORVEXSIM_FIRST_BLOCK && block <= ORVEXSIM_LAST_BLOCK) {
        ServedData::Instance().AddFailure(static_cast<DataBlock>(block), code);
    }
}

int __cdecl OrvexSim_HeapBlocks(void) {
    return SimHeap::Instance().LiveBlocks();
}

int __cdecl OrvexSim_BadFrees(void) {
    return SimHeap::Instance().BadFrees();
}

} // extern "C"
