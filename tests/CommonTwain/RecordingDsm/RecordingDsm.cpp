#include "RecordingDsm.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

RecDsmHandler g_handler = nullptr;

struct Simulated {
    std::vector<std::string> sources;
    std::size_t next = 0;
    TW_UINT16 conditionCode = TWCC_SUCCESS;
    TW_UINT16 failMsg = 0;
    TW_UINT16 failCc = 0;
    TW_UINT16 event = MSG_CLOSEDSREQ;
    bool eventPending = false;
    TW_UINT32 nextId = 1;
    bool ready = false;
};

Simulated g_sim;

std::string Env(const char* name, const char* fallback) {
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        return fallback;
    }
    return n < sizeof value ? std::string(value, n) : std::string();
}

void Setup() {
    if (g_sim.ready) {
        return;
    }
    g_sim.ready = true;
    const std::string names = Env("RECDSM_SOURCES", "Nimbrel 5");
    std::size_t start = 0;
    while (!names.empty() && start <= names.size()) {
        const std::size_t bar = names.find('|', start);
        g_sim.sources.push_back(names.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    const std::string fail = Env("RECDSM_FAIL", "");
    unsigned msg = 0, cc = 0;
    if (std::sscanf(fail.c_str(), "%x:%u", &msg, &cc) == 2) {
        g_sim.failMsg = static_cast<TW_UINT16>(msg);
        g_sim.failCc = static_cast<TW_UINT16>(cc);
    }
    g_sim.event =
        static_cast<TW_UINT16>(std::strtoul(Env("RECDSM_EVENT", "0x102").c_str(), nullptr, 16));
}

void Log(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, const std::string& details) {
    const std::string path = Env("RECDSM_LOG", "");
    if (path.empty()) {
        return;
    }
    if (FILE* file = std::fopen(path.c_str(), "a")) {
        std::fprintf(file, "%lx %x %x%s\n", static_cast<unsigned long>(dg), dat, msg,
                     details.c_str());
        std::fclose(file);
    }
}

void Identity(TW_IDENTITY* identity, std::size_t index) {
    *identity = TW_IDENTITY();
    identity->Id = static_cast<TW_UINT32>(100 + index);
    std::snprintf(identity->ProductName, sizeof identity->ProductName, "%s",
                  g_sim.sources[index].c_str());
}

std::string CapabilityDetails(const TW_CAPABILITY* cap) {
    char text[96];
    TW_UINT16 itemType = 0xFFFF;
    TW_UINT32 item = 0;
    if (cap->hContainer != nullptr && cap->ConType == TWON_ONEVALUE) {
        if (const void* memory = GlobalLock(cap->hContainer)) {
            std::memcpy(&itemType, memory, sizeof itemType);
            std::memcpy(&item, static_cast<const char*>(memory) + 2, sizeof item);
            GlobalUnlock(cap->hContainer);
        }
    }
    std::snprintf(text, sizeof text, " cap=%x con=%x type=%x item=%lx", cap->Cap, cap->ConType,
                  itemType, static_cast<unsigned long>(item));
    return text;
}

TW_UINT16 Simulate(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                   TW_MEMREF data) {
    Setup();
    std::string details;
    if (dat == DAT_CAPABILITY && data != nullptr) {
        details = CapabilityDetails(static_cast<pTW_CAPABILITY>(data));
    } else if (dat == DAT_USERINTERFACE && data != nullptr) {
        const auto* ui = static_cast<pTW_USERINTERFACE>(data);
        char text[64];
        std::snprintf(text, sizeof text, " show=%u modal=%u", ui->ShowUI, ui->ModalUI);
        details = text;
    } else if (dat == DAT_PARENT && msg == MSG_OPENDSM && origin != nullptr) {
        details = std::string(" app=") + origin->ProductName;
    } else if (dat == DAT_IDENTITY && msg == MSG_OPENDS && origin != nullptr && data != nullptr) {
        details = std::string(" app=") + origin->ProductName + " id=" + std::to_string(origin->Id) +
                  " source=" + static_cast<pTW_IDENTITY>(data)->ProductName;
    }
    if (dat != DAT_EVENT && dat != DAT_STATUS) {
        Log(dg, dat, msg, details);
    }
    if (dat == DAT_STATUS) {
        static_cast<pTW_STATUS>(data)->ConditionCode = g_sim.conditionCode;
        g_sim.conditionCode = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (g_sim.failMsg != 0 && msg == g_sim.failMsg) {
        g_sim.failMsg = 0;
        g_sim.conditionCode = g_sim.failCc;
        return TWRC_FAILURE;
    }
    if (dat == DAT_PARENT && msg == MSG_OPENDSM && origin != nullptr) {
        origin->Id = g_sim.nextId++;
    }
    if (dat == DAT_IDENTITY && (msg == MSG_GETFIRST || msg == MSG_GETNEXT)) {
        if (msg == MSG_GETFIRST) {
            g_sim.next = 0;
        }
        if (g_sim.next >= g_sim.sources.size()) {
            g_sim.conditionCode = msg == MSG_GETFIRST ? TWCC_NODS : TWCC_SUCCESS;
            return msg == MSG_GETFIRST ? TWRC_FAILURE : TWRC_ENDOFLIST;
        }
        Identity(static_cast<pTW_IDENTITY>(data), g_sim.next++);
        return TWRC_SUCCESS;
    }
    if (dat == DAT_USERINTERFACE && msg == MSG_ENABLEDS) {
        g_sim.eventPending = g_sim.event != 0;
        // Something for the application's loop to hand to MSG_PROCESSEVENT.
        PostMessageA(static_cast<HWND>(static_cast<pTW_USERINTERFACE>(data)->hParent), WM_NULL, 0,
                     0);
        return TWRC_SUCCESS;
    }
    if (dat == DAT_EVENT && msg == MSG_PROCESSEVENT) {
        auto* event = static_cast<pTW_EVENT>(data);
        event->TWMessage = MSG_NULL;
        if (g_sim.eventPending) {
            g_sim.eventPending = false;
            event->TWMessage = g_sim.event;
            Log(dg, dat, msg, " notice");
            return TWRC_DSEVENT;
        }
        return TWRC_NOTDSEVENT;
    }
    return TWRC_SUCCESS;
}

} // namespace

extern "C" {

void WINAPI RecDsm_SetHandler(RecDsmHandler handler) {
    g_handler = handler;
}

TW_UINT16 WINAPI DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                           TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (g_handler != nullptr) {
        return g_handler(origin, destination, dg, dat, msg, data);
    }
    return Simulate(origin, dg, dat, msg, data);
}
}
