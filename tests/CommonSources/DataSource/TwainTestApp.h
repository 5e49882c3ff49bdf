#pragma once
// A small TWAIN application for tests. It talks to the data source either directly, through
// a DS_Entry it is given, or through a source manager (TWAIN_32.DLL unless told otherwise),
// from a hidden window of its own whose messages it pumps. Every check of an answer pairs the
// return code with the condition code that DAT_STATUS then reports (EXPECT_TWAIN).

#include "TwainDefs.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TwainTestApp {
public:
    // Direct: every triplet goes to entry with the application identity as origin.
    explicit TwainTestApp(DSENTRYPROC entry);
    // Through a source manager: LoadLibrary(manager), DSM_Entry at ordinal 1.
    explicit TwainTestApp(const char* manager = "TWAIN_32.DLL");
    TwainTestApp(const TwainTestApp&) = delete;
    TwainTestApp& operator=(const TwainTestApp&) = delete;
    ~TwainTestApp();

    bool HasManager() const { return m_dsmEntry != nullptr; }
    TW_IDENTITY& AppIdentity() { return m_app; }
    TW_IDENTITY& SourceIdentity() { return m_source; }
    HWND Window() const { return m_window; }

    // A triplet to the data source.
    TW_UINT16 Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    // A triplet to the source manager itself (no destination).
    TW_UINT16 CallManager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    // DAT_STATUS from the source; through the manager from the manager itself while no source
    // is open. 0xffff when the status could not be read.
    TW_UINT16 ConditionCode();

    // Manager only.
    TW_UINT16 OpenManager();
    TW_UINT16 CloseManager();
    // ProductNames that MSG_GETFIRST / MSG_GETNEXT list, with their identities.
    std::vector<TW_IDENTITY> ListSources();
    // Opens the source named productName; keeps its identity on success.
    TW_UINT16 OpenSource(const char* productName);
    TW_UINT16 CloseSource();

    // Runs the message loop for about the given time. Every message goes to the source first
    // (MSG_PROCESSEVENT) while one is open.
    void PumpMessages(DWORD milliseconds);
    // Runs the message loop until done() holds, for at most the given time; whether it held.
    bool PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds);
    // The notices (MSG_XFERREADY, MSG_CLOSEDSREQ) MSG_PROCESSEVENT has reported, oldest first,
    // and the messages the application dispatched itself (TWRC_NOTDSEVENT).
    const std::vector<TW_UINT16>& Notices() const { return m_notices; }
    const std::vector<UINT>& DispatchedMessages() const { return m_dispatched; }
    // Visible top-level windows of this process with an area, other than the application's own.
    int CountForeignVisibleWindows() const;

private:
    void CreateAppWindow();
    // Takes every waiting message once.
    void PumpPending();

    DSENTRYPROC m_dsEntry = nullptr;
    DSMENTRYPROC m_dsmEntry = nullptr;
    HMODULE m_manager = nullptr;
    HWND m_window = nullptr;
    TW_IDENTITY m_app;
    TW_IDENTITY m_source;
    bool m_managerOpen = false;
    bool m_sourceOpen = false;
    std::vector<TW_UINT16> m_notices;
    std::vector<UINT> m_dispatched;
};

// Checks an answer and the condition code DAT_STATUS gives right after it.
#define EXPECT_TWAIN(app, expectedRc, expectedCc, call)                                            \
    do {                                                                                           \
        const TW_UINT16 twainRc_ = (call);                                                         \
        const TW_UINT16 twainCc_ = (app).ConditionCode();                                          \
        EXPECT_EQ(static_cast<int>(expectedRc), static_cast<int>(twainRc_)) << #call;              \
        EXPECT_EQ(static_cast<int>(expectedCc), static_cast<int>(twainCc_)) << #call;              \
    } while (0)
