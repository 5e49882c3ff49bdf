// Worker tasks: handshakes, calls, and dedicated clients served on their socket or on a
// private named pipe.
#include "ServerInternal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kivo {

namespace {

// Ends a unit: the worker lets go of the client. true when the unit was a canceled call,
// whose client's next call waited for it.
bool finishUnit(kivo_worker* w, kivo_client* c) {
    FunctionRecord* f;
    bool canceled;
    {
        Hold hold(w->lock);
        f = w->function;
        canceled = w->canceled;
        if (w->input)
            kivo_payload_unregister(w->input);
        std::free(w->input);
        w->input = nullptr;
        w->client = nullptr;
        w->function = nullptr;
        w->running = false;
        w->unit = kivo_worker::kNone;
    }
    if (f)
        --f->inUse;
    if (!c->dedicated) {
        kivo_worker* self = w;
        c->worker.compare_exchange_strong(self, nullptr);
    }
    --c->workerCount; // the last touch: the loop may free the client from here on
    return canceled;
}

// Creates the client's private pipe, tells the client its name and waits for it to connect.
bool moveToPipe(kivo_client* c) {
    Server& s = server();
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE); // open to everyone
    SECURITY_ATTRIBUTES sa{sizeof sa, &sd, TRUE};
    char name[64];
    UniqueHandle pipe;
    for (int attempt = 0; attempt < 1000 && !pipe.valid(); ++attempt) {
        std::snprintf(name, sizeof name, "\\\\.\\pipe\\kivodpipe_%04d_%03d", s.boundPort,
                      s.pipeCounter++ % 1000);
        // A name somebody else holds is passed over: a client must reach this server. The
        // probe covers systems that do not honour the first-instance flag.
        if (WaitNamedPipeA(name, 1) || GetLastError() == ERROR_SEM_TIMEOUT ||
            GetLastError() == ERROR_PIPE_BUSY)
            continue;
        pipe.reset(CreateNamedPipeA(
            name, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 255, 65536, 65536,
            NMPWAIT_WAIT_FOREVER, &sa));
    }
    if (!pipe.valid()) {
        errorHook("CreateNamedPipe");
        return false;
    }
    UniqueHandle connected(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    c->pipeReadEvent.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    c->pipeWriteEvent.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!connected.valid() || !c->pipeReadEvent.valid() || !c->pipeWriteEvent.valid()) {
        errorHook("CreateEvent");
        return false;
    }
    OVERLAPPED ov{};
    ov.hEvent = connected.get();
    bool pending = false;
    if (!ConnectNamedPipe(pipe.get(), &ov)) {
        const DWORD e = GetLastError();
        if (e == ERROR_IO_PENDING)
            pending = true;
        else if (e != ERROR_PIPE_CONNECTED)
            errorHook("ConnectNamedPipe");
    }
    kivoReply(c, static_cast<int>(std::strlen(name) + 1), name);
    // The name goes out whole on the socket before the socket closes.
    if (!drainOutput(c, 8000))
        return false;
    const HANDLE h = pipe.get();
    {
        Hold hold(c->writeLock);
        c->pipeName = name;
        c->pipe.reset(pipe.release());
        c->transport = kPipe;
        c->sock.reset();
        c->held = 0;
        c->parse = ParseState();
    }
    bool ok = true;
    if (pending) {
        DWORD n = 0;
        if (WaitForSingleObject(connected.get(), 8000) != WAIT_OBJECT_0) {
            CancelIo(h);
            ok = false;
        }
        GetOverlappedResult(h, &ov, &n, TRUE);
    }
    return ok;
}

bool sessionOver(kivo_client* c) {
    return c->dead || c->version < 0 || server().shuttingDown;
}

} // namespace

void runCall(kivo_worker* w) {
    kivo_client* c;
    FunctionRecord* f;
    char* input;
    int length;
    int64_t counter;
    int64_t reach;
    bool canceled;
    {
        Hold hold(w->lock);
        c = w->client;
        f = w->function;
        input = w->input;
        length = w->inputLength;
        counter = w->counter;
        reach = w->counterReach;
        canceled = w->canceled;
    }
    char* out = nullptr;
    int r = 0;
    const int version = c->version;
    bool run = !canceled;
    if (run && version >= 11 && c->encryptionEnabled && c->inStream) {
        // The call's counter says where in the keystream its payload starts: not behind the
        // stream, and not beyond the payload bytes the client has sent.
        const int64_t position = static_cast<int64_t>(fish_position(c->inStream));
        if (counter < position || counter > reach) {
            r = -1030;
            run = false;
        } else {
            for (int64_t i = position; i < counter; ++i)
                fish_next_byte(c->inStream);
        }
    }
    if (run)
        r = f->function(c->uid, version, c->encrypt, input, length, &out, nullptr, w,
                        server().settings.debug);
    {
        // The reply and the end of the call in one hold: bytes that arrive after the reply
        // are the client's next call, never a cancel.
        Hold hold(w->lock);
        if (!w->canceled && !w->noReturn && (run || r == -1030)) {
            if (r > 0 && !out) {
                errorHook("service: no reply buffer");
                r = -1;
            }
            kivoReply(c, r, out, kFlushLater);
        }
        w->running = false;
        if (!w->canceled) {
            markKeepalive(c);
            c->busy = 0;
        } else {
            c->canceledCallRunning = 0; // the service no longer uses the keystreams
        }
    }
    flushOutput(c);
    std::free(out);
}

void runDedicatedSession(kivo_worker* w) {
    kivo_client* c = w->client;
    {
        Hold hold(w->lock);
        w->unit = kivo_worker::kNone;
    }
    bool ok = true;
    if (c->usePipe) {
        if (!moveToPipe(c)) {
            c->usePipe = 0;
            ok = false;
        }
    } else {
        kivoReply(c, -7248, nullptr);
    }
    c->busy = 0;
    markKeepalive(c);
    const Settings& st = server().settings;
    while (ok && !sessionOver(c)) {
        if (c->usePipe && c->transport != kPipe) {
            if (!moveToPipe(c)) {
                c->usePipe = 0;
                break;
            }
            continue;
        }
        // Replies this worker could not send at once go out as the client takes them.
        const bool sent = flushOutput(c);
        if (!sent && outputStalled(c))
            break;
        if (c->held > 0) {
            parseCalls(c, w);
            if (w->unit == kivo_worker::kCall) {
                runCall(w);
                finishUnit(w, c); // the session keeps its own count on the client
                {
                    Hold hold(w->lock);
                    w->client = c;
                }
                continue;
            }
        }
        const size_t room = makeReadRoom(c);
        // A call that waits (for its function, or for the client to take replies) is retried
        // soon; otherwise the worker waits for what the client sends.
        const bool waiting = room == 0 || (c->held > 0 && c->parse.parsed) || !sent;
        if (room == 0) {
            Sleep(100);
            continue;
        }
        const int n =
            readClient(c, c->buffer.data() + c->held, static_cast<int>(room), waiting ? 100 : 1000);
        if (n < 0)
            break;
        if (n == 0) {
            if (!waiting && c->version >= 3 && !st.noKeepalive &&
                nowSeconds() - c->keepaliveStamp >= st.keepaliveSeconds) {
                c->keepaliveStamp = nowSeconds();
                if (++c->keepaliveCount > 1)
                    break;
            }
            continue;
        }
        c->held += static_cast<size_t>(n);
        markKeepalive(c);
    }
    c->dead = 1;
    {
        Hold hold(w->lock);
        w->client = nullptr;
    }
    c->worker = nullptr;
    --c->workerCount;
}

int workerTask(kivo_worker* w) {
    Server& s = server();
    for (;;) {
        w->start.take();
        kivo_worker::Unit unit;
        kivo_client* c;
        {
            Hold hold(w->lock);
            unit = w->unit;
            c = w->client;
        }
        if (unit == kivo_worker::kNone || !c) {
            if (s.shuttingDown) {
                w->free.give();
                return 0;
            }
            continue;
        }
        // The loop reads idle clients of version 4 and above anyway; it needs a wake only for
        // what it does not select on, and for a canceled call's client, whose next call waits
        // for this worker.
        bool wake = unit != kivo_worker::kCall || c->version < 4;
        switch (unit) {
        case kivo_worker::kHandshake:
            handshakeSend(c);
            finishUnit(w, c);
            break;
        case kivo_worker::kCall:
            runCall(w);
            wake = finishUnit(w, c) || wake;
            break;
        case kivo_worker::kDedicatedStart:
            runDedicatedSession(w);
            break;
        default:
            break;
        }
        w->free.give();
        if (wake || s.wakeWanted.exchange(0) || s.shuttingDown)
            wakeLoop();
    }
}

} // namespace kivo
