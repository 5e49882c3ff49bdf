/*
 * Test control of the simulated Orvex server behind the quorvel stand-ins (exported by
 * quorvel10). Tests only: the data source never includes this header.
 */
#ifndef ORVEX_SIM_CONTROL_H
#define ORVEX_SIM_CONTROL_H

#ifdef __cplusplus
extern "C" {
#endif

/* Forgets connections, sessions, tickets, the call log, pending failures, server-down marks and
 * the fixture-root override, and stops the library's thread. Blocks on the library heap stay. */
void __cdecl OrvexSim_Reset(void);

/* Folder that holds one sub-folder per simulated server. Null or "" restores the default:
 * %ORVEX_SIM_ROOT%, else the "servers" folder beside quorvel10.dll. */
void __cdecl OrvexSim_SetFixtureRoot(const char* path);
/* Copies the root in use (NUL-terminated, cut to size); returns its full length. */
int __cdecl OrvexSim_GetFixtureRoot(char* buffer, int size);

/* The next call of the named library function answers code without doing anything else (it is
 * still logged). Several failures for one function are used up in order. "quorvel_malloc"
 * makes the next allocation answer null, whatever the code. */
void __cdecl OrvexSim_FailNext(const char* function, int code);

/* Marks a simulated server (its folder name) down or up. Going down calls the server-monitor
 * callbacks of its connections on the library's thread before returning; while down, its
 * connections answer QUORVEL_CONNECTION_FAILED and connecting answers
 * QUORVEL_HOST_UNREACHABLE. Returns the number of callbacks made. */
int __cdecl OrvexSim_SetServerDown(const char* server, int down);

/* Hands a ScanEventRecord {type, jobId, reserved} to every active event ticket, on the
 * library's thread, and returns once they ran: the number of callbacks made. */
int __cdecl OrvexSim_DeliverEvent(int type, int jobId, unsigned int reserved);
/* The same for a ScanAlertEventRecord and the alert tickets; text may be null. */
int __cdecl OrvexSim_DeliverAlert(unsigned int word0, unsigned int word1, const char* text,
                                  unsigned int word3, unsigned int word4, unsigned int word5);
/* Thread id of the library's callback thread, 0 while it is not running. */
unsigned long __cdecl OrvexSim_CallbackThreadId(void);

/* Call log, oldest first: one line per library call, "NAME key=value ... -> result outs".
 * Texts are quoted, handles are shown as #id, absent pointers as null. */
int __cdecl OrvexSim_LogCount(void);
/* Copies entry index (cut to size, NUL-terminated); returns its full length, -1 past the end. */
int __cdecl OrvexSim_LogEntry(int index, char* buffer, int size);
/* Also clears the page data counts below. */
void __cdecl OrvexSim_ClearLog(void);

/* Page data served since the log was cleared, of any server: the bytes answers delivered of a
 * job's page (page 0: answers for the whole job), and how many answers delivered its first
 * bytes (offset 0), that is how often its data were fetched. */
long long __cdecl OrvexSim_BytesServed(int jobId, int page);
int __cdecl OrvexSim_FetchesServed(int jobId, int page);

/* The next data answer (SCAN_getData, SCAN_getDataEx, SCAN_getDataInMailbox) that would deliver
 * the first block of what a request asks for (offset 0), a block in its middle, or its last
 * block (the one that reaches the end) answers code instead: it leaves the caller's size as the
 * caller set it and fills the caller's buffer, as far as that size says, with stale bytes (0xA5).
 * Failures are used up in the order given, each by the first answer of its kind. */
#define ORVEXSIM_FIRST_BLOCK 0
#define ORVEXSIM_MIDDLE_BLOCK 1
#define ORVEXSIM_LAST_BLOCK 2
void __cdecl OrvexSim_FailDataBlock(int block, int code);

/* Blocks handed out on the library heap and not yet freed. */
int __cdecl OrvexSim_HeapBlocks(void);
/* quorvel_free calls with a pointer the heap did not hand out (double or foreign frees). */
int __cdecl OrvexSim_BadFrees(void);

#ifdef __cplusplus
}

#include <string>
#include <vector>

/* The whole call log. */
inline std::vector<std::string> OrvexSimLog() {
    std::vector<std::string> lines;
    const int count = OrvexSim_LogCount();
    for (int i = 0; i < count; ++i) {
        const int length = OrvexSim_LogEntry(i, nullptr, 0);
        if (length < 0) {
            break;
        }
        std::string line(static_cast<size_t>(length) + 1, '\0');
        OrvexSim_LogEntry(i, &line[0], length + 1);
        line.resize(static_cast<size_t>(length));
        lines.push_back(line);
    }
    return lines;
}

/* The function names of the call log, in order. */
inline std::vector<std::string> OrvexSimCalls() {
    std::vector<std::string> names;
    for (const std::string& line : OrvexSimLog()) {
        names.push_back(line.substr(0, line.find(' ')));
    }
    return names;
}

/* The log lines of one library function, oldest first. */
inline std::vector<std::string> LogLinesOf(const std::string& function) {
    std::vector<std::string> lines;
    for (const std::string& line : OrvexSimLog()) {
        if (line.compare(0, function.size() + 1, function + " ") == 0 || line == function) {
            lines.push_back(line);
        }
    }
    return lines;
}

/* The value of "name=value" in a log line; empty when the line has none. */
inline std::string LogValue(const std::string& line, const std::string& name) {
    const size_t start = line.find(" " + name + "=");
    if (start == std::string::npos) {
        return std::string();
    }
    const size_t value = start + name.size() + 2;
    return line.substr(value, line.find(' ', value) - value);
}
#endif

#endif /* ORVEX_SIM_CONTROL_H */
