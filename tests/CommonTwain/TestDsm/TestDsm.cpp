#include "TestDsm.h"

#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

struct Source {
    TW_IDENTITY identity = {};
    std::string path;
    HMODULE module = nullptr;
    DSENTRYPROC entry = nullptr;
    std::deque<TW_UINT16> notices;
};

struct Manager {
    bool open = false;
    TW_IDENTITY application = {};
    HWND window = nullptr;
    TW_UINT32 nextId = 1;
    TW_UINT16 conditionCode = TWCC_SUCCESS;
    bool refuseNotices = false;
    LONG queued = 0;
    // The sources found by the last MSG_GETFIRST, and the next one MSG_GETNEXT gives.
    std::vector<Source> found;
    std::size_t next = 0;
    std::vector<Source> opened;
};

Manager g_manager;

TW_UINT16 Fail(TW_UINT16 conditionCode) {
    g_manager.conditionCode = conditionCode;
    return TWRC_FAILURE;
}

std::string SourceFolder() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof(windows));
    return std::string(windows) + (sizeof(void*) == 8 ? "\\twain_64" : "\\twain_32");
}

DSENTRYPROC EntryOf(HMODULE module) {
    // Through a plain pointer: the export's type is known only by its name.
    return reinterpret_cast<DSENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DS_Entry")));
}

// Every *.ds of the folder that answers MSG_GET, loaded only for that question.
std::vector<Source> FindSources() {
    std::vector<Source> sources;
    const std::string folder = SourceFolder();
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA((folder + "\\*.ds").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) {
        return sources;
    }
    do {
        Source source;
        source.path = folder + "\\" + data.cFileName;
        const HMODULE module = LoadLibraryA(source.path.c_str());
        if (module == nullptr) {
            continue;
        }
        if (const DSENTRYPROC entry = EntryOf(module)) {
            if (entry(&g_manager.application, DG_CONTROL, DAT_IDENTITY, MSG_GET,
                      &source.identity) == TWRC_SUCCESS) {
                sources.push_back(source);
            }
        }
        FreeLibrary(module);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return sources;
}

Source* OpenedSource(TW_UINT32 id) {
    for (Source& source : g_manager.opened) {
        if (source.identity.Id == id) {
            return &source;
        }
    }
    return nullptr;
}

TW_UINT16 OpenSource(pTW_IDENTITY origin, TW_IDENTITY* wanted) {
    if (g_manager.found.empty()) {
        g_manager.found = FindSources();
    }
    const Source* match = nullptr;
    for (const Source& source : g_manager.found) {
        if (wanted->ProductName[0] == '\0' ||
            std::strncmp(wanted->ProductName, source.identity.ProductName,
                         sizeof(wanted->ProductName)) == 0) {
            match = &source;
            break;
        }
    }
    if (match == nullptr) {
        return Fail(TWCC_NODS);
    }
    Source opened = *match;
    opened.module = LoadLibraryA(opened.path.c_str());
    opened.entry = opened.module != nullptr ? EntryOf(opened.module) : nullptr;
    if (opened.entry == nullptr) {
        if (opened.module != nullptr) {
            FreeLibrary(opened.module);
        }
        return Fail(TWCC_NODS);
    }
    opened.identity.Id = g_manager.nextId++;
    const TW_UINT16 rc =
        opened.entry(origin, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened.identity);
    if (rc != TWRC_SUCCESS) {
        // The source's own condition code is the one to report; the library goes.
        TW_STATUS status = {};
        opened.entry(origin, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        FreeLibrary(opened.module);
        return Fail(status.ConditionCode);
    }
    *wanted = opened.identity;
    g_manager.opened.push_back(opened);
    g_manager.conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 CloseSource(pTW_IDENTITY origin, TW_IDENTITY* which) {
    for (auto it = g_manager.opened.begin(); it != g_manager.opened.end(); ++it) {
        if (it->identity.Id != which->Id) {
            continue;
        }
        const TW_UINT16 rc = it->entry(origin, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, which);
        if (rc == TWRC_SUCCESS) {
            FreeLibrary(it->module);
            g_manager.opened.erase(it);
        }
        return rc;
    }
    return Fail(TWCC_NODS);
}

// Triplets addressed to the manager itself.
TW_UINT16 ManagerTriplet(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                         TW_MEMREF data) {
    if (dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET && data != nullptr) {
        auto* const status = static_cast<TW_STATUS*>(data);
        status->ConditionCode = g_manager.conditionCode;
        g_manager.conditionCode = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (dg != DG_CONTROL || data == nullptr) {
        return Fail(TWCC_BADPROTOCOL);
    }
    if (dat == DAT_PARENT && msg == MSG_OPENDSM) {
        if (g_manager.open) {
            return Fail(TWCC_SEQERROR);
        }
        g_manager.open = true;
        g_manager.window = *static_cast<HWND*>(data);
        origin->Id = g_manager.nextId++;
        g_manager.application = *origin;
        return TWRC_SUCCESS;
    }
    if (!g_manager.open || origin->Id != g_manager.application.Id) {
        return Fail(TWCC_SEQERROR);
    }
    if (dat == DAT_PARENT && msg == MSG_CLOSEDSM) {
        if (!g_manager.opened.empty()) {
            return Fail(TWCC_SEQERROR);
        }
        // Ids are never given twice; the mode stays.
        Manager closed;
        closed.nextId = g_manager.nextId;
        closed.refuseNotices = g_manager.refuseNotices;
        closed.queued = g_manager.queued;
        g_manager = closed;
        return TWRC_SUCCESS;
    }
    if (dat != DAT_IDENTITY) {
        return Fail(TWCC_BADPROTOCOL);
    }
    auto* const identity = static_cast<TW_IDENTITY*>(data);
    switch (msg) {
    case MSG_GETFIRST:
        g_manager.found = FindSources();
        g_manager.next = 0;
        [[fallthrough]];
    case MSG_GETNEXT:
        if (g_manager.next >= g_manager.found.size()) {
            return TWRC_ENDOFLIST;
        }
        *identity = g_manager.found[g_manager.next++].identity;
        return TWRC_SUCCESS;
    case MSG_OPENDS:
        return OpenSource(origin, identity);
    case MSG_CLOSEDS:
        return CloseSource(origin, identity);
    default:
        return Fail(TWCC_BADPROTOCOL);
    }
}

// A source's notice to its application.
TW_UINT16 Notice(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT16 msg) {
    if (g_manager.refuseNotices) {
        return Fail(TWCC_BADPROTOCOL);
    }
    Source* const source = OpenedSource(origin->Id);
    if (source == nullptr || destination == nullptr ||
        destination->Id != g_manager.application.Id) {
        return Fail(TWCC_BADPROTOCOL);
    }
    if (msg != MSG_XFERREADY && msg != MSG_CLOSEDSREQ && msg != MSG_CLOSEDSOK &&
        msg != MSG_DEVICEEVENT) {
        return Fail(TWCC_BADPROTOCOL);
    }
    source->notices.push_back(msg);
    ++g_manager.queued;
    // The application learns of it with its next message.
    PostMessageA(g_manager.window, WM_NULL, 0, 0);
    return TWRC_SUCCESS;
}

} // namespace

extern "C" void WINAPI TestDsm_SetRefuseNotices(BOOL refuse) {
    g_manager.refuseNotices = refuse != FALSE;
}

extern "C" LONG WINAPI TestDsm_NoticesQueued() {
    return g_manager.queued;
}

extern "C" TW_UINT16 WINAPI DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                                      TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (origin == nullptr) {
        return Fail(TWCC_BADVALUE);
    }
    if (dg == DG_CONTROL && dat == DAT_NULL) {
        return Notice(origin, destination, msg);
    }
    if (destination == nullptr) {
        return ManagerTriplet(origin, dg, dat, msg, data);
    }
    Source* const source = OpenedSource(destination->Id);
    if (source == nullptr || origin->Id != g_manager.application.Id) {
        return Fail(TWCC_BADDEST);
    }
    if (dg == DG_CONTROL && dat == DAT_EVENT && msg == MSG_PROCESSEVENT && data != nullptr &&
        !source->notices.empty()) {
        static_cast<TW_EVENT*>(data)->TWMessage = source->notices.front();
        source->notices.pop_front();
        return TWRC_DSEVENT;
    }
    return source->entry(origin, dg, dat, msg, data);
}
