// Seeded random sequences of triplets through DS_Entry, inside this program, against the
// "stripwidths" simulated server: every data group, data argument type and message the source
// knows and some it does not, with well-formed and malformed records, through states 3 to 7,
// mixed with what happens outside the application (the acquire window enabling the source
// and announcing a stored job, the user stopping, the server failing a call or going down).
//
// After every step: no crash, no hang (a watchdog ends the program and prints the sequence),
// a return code the triplet may give with a condition code DAT_STATUS knows, and the state
// TWAIN's state table gives for that triplet and answer. An application that closes or
// disables the source while pages are pending is served: the source ends the transfers first.
//
// NIMBREL_SEQUENCE_SEED and NIMBREL_SEQUENCES (environment) replay a printed seed or change
// the number of sequences, NIMBREL_SEQUENCE_TRACE prints every step; a failure prints the
// seed, the sequence's number and its steps.

#include "DataArg_Identity.h"
#include "TransferFixture.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

namespace {

constexpr int kDefaultSequences = 10000;
constexpr unsigned kDefaultSeed = 20261211;
constexpr TW_UINT32 kMinBuffer = 32768;
constexpr TW_UINT32 kMaxBuffer = 1048576;
constexpr int kJobs[] = {712, 724, 733, 741, 741, 715};

const TW_UINT16 kControlDats[] = {
    DAT_NULL,         DAT_CAPABILITY,    DAT_EVENT,        DAT_IDENTITY,
    DAT_PARENT,       DAT_PENDINGXFERS,  DAT_SETUPMEMXFER, DAT_SETUPFILEXFER,
    DAT_STATUS,       DAT_USERINTERFACE, DAT_XFERGROUP,    DAT_TWUNKIDENTITY,
    DAT_CUSTOMDSDATA, DAT_DEVICEEVENT,   DAT_FILESYSTEM,   DAT_PASSTHRU};
const TW_UINT16 kImageDats[] = {DAT_IMAGEINFO,       DAT_IMAGELAYOUT,   DAT_IMAGEMEMXFER,
                                DAT_IMAGENATIVEXFER, DAT_IMAGEFILEXFER, DAT_CIECOLOR,
                                DAT_GRAYRESPONSE,    DAT_RGBRESPONSE,   DAT_JPEGCOMPRESSION,
                                DAT_PALETTE8,        DAT_EXTIMAGEINFO};
const TW_UINT16 kAudioDats[] = {DAT_AUDIOFILEXFER, DAT_AUDIOINFO, DAT_AUDIONATIVEXFER};
const TW_UINT16 kMessages[] = {MSG_NULL,
                               MSG_GET,
                               MSG_GETCURRENT,
                               MSG_GETDEFAULT,
                               MSG_GETFIRST,
                               MSG_GETNEXT,
                               MSG_SET,
                               MSG_RESET,
                               MSG_QUERYSUPPORT,
                               MSG_XFERREADY,
                               MSG_CLOSEDSREQ,
                               MSG_CLOSEDSOK,
                               MSG_DEVICEEVENT,
                               MSG_CHECKSTATUS,
                               MSG_OPENDSM,
                               MSG_CLOSEDSM,
                               MSG_OPENDS,
                               MSG_CLOSEDS,
                               MSG_USERSELECT,
                               MSG_DISABLEDS,
                               MSG_ENABLEDS,
                               MSG_ENABLEDSUIONLY,
                               MSG_PROCESSEVENT,
                               MSG_ENDXFER,
                               MSG_CHANGEDIRECTORY,
                               MSG_CREATEDIRECTORY,
                               MSG_DELETE,
                               MSG_FORMATMEDIA,
                               MSG_GETCLOSE,
                               MSG_GETFIRSTFILE,
                               MSG_GETINFO,
                               MSG_GETNEXTFILE,
                               MSG_RENAME,
                               MSG_COPY,
                               MSG_PASSTHRU};
const TW_UINT16 kCapabilities[] = {CAP_XFERCOUNT,
                                   ICAP_XFERMECH,
                                   ICAP_PIXELFLAVOR,
                                   ICAP_IMAGEFILEFORMAT,
                                   ICAP_UNITS,
                                   ICAP_PIXELTYPE,
                                   ICAP_BITDEPTH,
                                   ICAP_COMPRESSION,
                                   ICAP_XRESOLUTION,
                                   CAP_SUPPORTEDCAPS,
                                   CAP_DUPLEXENABLED,
                                   CAP_FEEDERENABLED,
                                   0x8001,
                                   0x8002,
                                   0x1234};

bool IsTransfer(TW_UINT32 dg, TW_UINT16 dat) {
    return dg == DG_IMAGE &&
           (dat == DAT_IMAGENATIVEXFER || dat == DAT_IMAGEMEMXFER || dat == DAT_IMAGEFILEXFER);
}

// The state TWAIN's table gives after the triplet answered rc in state before; 0 when the
// answer itself is one no source may give there.
TW_UINT16 TableState(TW_UINT16 before, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 rc,
                     const TW_PENDINGXFERS* pending) {
    const bool ok = rc != TWRC_FAILURE && rc != TWRC_CHECKSTATUS;
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_OPENDS) {
        return ok ? (before == 3 ? 4 : 0) : before;
    }
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_CLOSEDS) {
        return ok ? (before >= 4 ? 3 : 0) : before;
    }
    // Disabling a source that is not enabled changes nothing, whatever it answers.
    if (dg == DG_CONTROL && dat == DAT_USERINTERFACE && msg == MSG_DISABLEDS) {
        return ok && before >= 4 ? 4 : before;
    }
    if (dg == DG_CONTROL && dat == DAT_USERINTERFACE &&
        (msg == MSG_ENABLEDS || msg == MSG_ENABLEDSUIONLY)) {
        return ok ? (before == 4 ? 5 : 0) : before;
    }
    if (dg == DG_CONTROL && dat == DAT_PENDINGXFERS && msg == MSG_ENDXFER) {
        if (!ok) {
            return before;
        }
        // In state 6 the pending page is dropped unread.
        return (before == 6 || before == 7) && pending != nullptr ? (pending->Count != 0 ? 6 : 5)
                                                                  : 0;
    }
    if (dg == DG_CONTROL && dat == DAT_PENDINGXFERS && msg == MSG_RESET) {
        if (!ok) {
            return before;
        }
        return before == 7 ? 0 : (before == 6 ? 5 : before);
    }
    if (IsTransfer(dg, dat) && msg == MSG_GET && ok) {
        const bool memory = dat == DAT_IMAGEMEMXFER;
        return before == 6 || (memory && before == 7) ? 7 : 0;
    }
    return ok && msg == MSG_GET && IsTransfer(dg, dat) ? 0 : before;
}

// Whether the triplet may answer rc at all.
bool ValidReturnCode(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 rc) {
    switch (rc) {
    case TWRC_SUCCESS:
    case TWRC_FAILURE:
        return true;
    case TWRC_CHECKSTATUS:
        return dg == DG_CONTROL && dat == DAT_CAPABILITY;
    case TWRC_CANCEL:
    case TWRC_XFERDONE:
        return IsTransfer(dg, dat);
    case TWRC_DSEVENT:
    case TWRC_NOTDSEVENT:
        return dg == DG_CONTROL && dat == DAT_EVENT;
    default:
        return false;
    }
}

// What the current step is, for the watchdog and the failure message.
struct Journal {
    std::mutex lock;
    unsigned seed = 0;
    int sequence = 0;
    std::vector<std::string> steps;
    std::atomic<long> progress{0};

    std::string Describe() {
        const std::lock_guard<std::mutex> guard(lock);
        std::ostringstream text;
        text << "seed " << seed << " (NIMBREL_SEQUENCE_SEED), sequence " << sequence << ":";
        for (const std::string& step : steps) {
            text << "\n  " << step;
        }
        return text.str();
    }
};

class TripletSequenceTest : public TransferFixture {
protected:
    void SetUp() override {
        TransferFixture::SetUp();
        ShowSimulatedServers();
        StoreServerList("stripwidths", "stripwidths");
        GetCurrentDirectoryA(MAX_PATH, m_previousFolder);
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        m_folder = std::string(base) + "nimbrel-sequences-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_folder.c_str(), nullptr);
        SetCurrentDirectoryA(m_folder.c_str());
        m_buffer.assign(kMaxBuffer + 1, 0);
        m_block = GlobalAlloc(GMEM_MOVEABLE, kMaxBuffer + 1);
    }

    void TearDown() override {
        OrvexSim_SetServerDown("stripwidths", 0);
        // The sequences may have opened the source with an identity of their own.
        AbstractSource* const current = AbstractSource::Instance();
        if (current != nullptr && current->IsOpen()) {
            TW_IDENTITY identity = *current->GetIdentityArg()->GetSourceIdentity();
            app.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
        }
        TransferFixture::TearDown();
        GlobalFree(m_block);
        SetCurrentDirectoryA(m_previousFolder);
        WIN32_FIND_DATAA found;
        const HANDLE find = FindFirstFileA((m_folder + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((m_folder + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(m_folder.c_str());
    }

    TW_UINT16 ActualState() {
        AbstractSource* const current = AbstractSource::Instance();
        return current != nullptr ? current->GetState() : 3;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <typename T, size_t N> T PickFrom(const T (&values)[N]) {
        return values[Pick(static_cast<int>(N))];
    }

    void Note(const std::string& step) {
        const std::lock_guard<std::mutex> guard(m_journal.lock);
        m_journal.steps.push_back(step);
    }

    // One step outside the application, noted and checked; false when none fits the state.
    bool OutsideStep(std::string& text, int which = -1) {
        if (!OutsideAction(text, which)) {
            return false;
        }
        Note(text);
        if (ActualState() != m_expected) {
            m_failure = "the state after an outside step";
        }
        return true;
    }

    bool OutsideAction(std::string& text, int which) {
        const TW_UINT16 state = ActualState();
        m_expected = state;
        AbstractSource* const current = AbstractSource::Instance();
        const bool connected = current != nullptr && current->IsDeviceOnline();
        switch (which >= 0 ? which : Pick(8)) {
        case 0:
            if (state != 4) {
                return false;
            }
            // What MSG_ENABLEDS does with the acquire window.
            text = "the acquire window enables the source";
            current->SetState(5);
            m_expected = 5;
            return true;
        case 1: {
            if (state != 5 || !connected) {
                return false;
            }
            const int job = PickFrom(kJobs);
            text = "the acquire window announces job " + std::to_string(job);
            source = current;
            ui = AbstractSource::GetUserInterfaceHandler();
            Scanner* const scanner = current->GetScanner();
            zylImageFile* const image =
                scanner->RefreshJobs() ? scanner->FindImageFileByJobID(job) : nullptr;
            if (image == nullptr || ui == nullptr) {
                return true;
            }
            image->SetStartPage(-1);
            image->SetXferCount(static_cast<std::uint16_t>(image->GetNumPages()));
            image->BeginTransfer();
            ScanCommandIntf* const command = scanner->GetScanCommand();
            command->Reset();
            command->AttachImageFile(image);
            ui->NotifyTransferReady();
            m_expected = 6;
            return true;
        }
        case 2:
            if (state < 4 || AbstractSource::GetUserInterfaceHandler() == nullptr) {
                return false;
            }
            text = "the user stops";
            AbstractSource::GetUserInterfaceHandler()->RequestClose();
            return true;
        case 3:
            if (!m_serverDown && !Chance(20)) {
                return false;
            }
            m_serverDown = !m_serverDown;
            text = m_serverDown ? "the server goes down" : "the server comes back";
            OrvexSim_SetServerDown("stripwidths", m_serverDown ? 1 : 0);
            return true;
        case 4: {
            if (!Chance(25)) {
                return false;
            }
            static const char* const kCalls[] = {"SCAN_getDataEx", "SCAN_getJobList",
                                                 "SCAN_getScanPageInfo", "quorvel_malloc"};
            const char* const call = PickFrom(kCalls);
            text = std::string("the server fails the next ") + call;
            OrvexSim_FailNext(call, -50);
            return true;
        }
        default:
            return false;
        }
    }

    // The triplet or outside step that moves an acquisition on from the current state.
    bool ProgressStep(std::string& text) {
        const TW_UINT16 state = ActualState();
        static const TW_UINT16 kTransfers[] = {DAT_IMAGENATIVEXFER, DAT_IMAGEMEMXFER,
                                               DAT_IMAGEMEMXFER, DAT_IMAGEFILEXFER};
        AbstractSource* const current = AbstractSource::Instance();
        switch (state) {
        case 3:
            TripletStep(text, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS);
            return true;
        case 4:
        case 5:
            // A session that lost its server is closed and opened again.
            if (current != nullptr && !current->IsDeviceOnline()) {
                TripletStep(text, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS);
                return true;
            }
            for (int i = 0; i < 20; ++i) {
                if (OutsideStep(text, state == 4 ? 0 : 1)) {
                    return true;
                }
            }
            return false;
        case 6:
            TripletStep(text, DG_IMAGE, PickFrom(kTransfers), MSG_GET);
            return true;
        default:
            if (current != nullptr && current->IsMemoryTransferActive() && Chance(80)) {
                TripletStep(text, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET);
            } else {
                TripletStep(text, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER);
            }
            return true;
        }
    }

    // A record for the triplet: well-formed, with odd values, or none.
    TW_MEMREF Record(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, std::string& text) {
        const int form = Pick(10);
        if (form == 0) {
            text += " pData null";
            return nullptr;
        }
        const bool odd = form <= 3;
        std::memset(&m_records, 0, sizeof(m_records));
        if (odd) {
            auto* bytes = reinterpret_cast<unsigned char*>(&m_records);
            for (size_t i = 0; i < sizeof(m_records); ++i) {
                bytes[i] = static_cast<unsigned char>(Pick(256));
            }
        }
        text += odd ? " odd record" : " record";
        if (dg == DG_CONTROL && dat == DAT_IDENTITY) {
            if (msg == MSG_CLOSEDS && !odd) {
                m_records.identity = app.SourceIdentity();
            }
            return &m_records.identity;
        }
        if (dg == DG_IMAGE && dat == DAT_IMAGEMEMXFER) {
            static const TW_UINT32 kLengths[] = {kMinBuffer - 1, kMinBuffer, kMinBuffer,
                                                 65536,          kMaxBuffer, kMaxBuffer + 1};
            TW_MEMORY& memory = m_records.memory.Memory;
            memory.Length = odd ? kLengths[Pick(6)] : kMinBuffer;
            const int kind = odd ? Pick(4) : 0;
            memory.Flags = kind == 0   ? TWMF_APPOWNS | TWMF_POINTER
                           : kind == 1 ? TWMF_APPOWNS | TWMF_HANDLE
                           : kind == 2 ? 0
                                       : TWMF_POINTER | TWMF_HANDLE;
            memory.TheMem = kind == 1 ? static_cast<TW_MEMREF>(m_block) : m_buffer.data();
            if (odd && Chance(20)) {
                memory.TheMem = nullptr;
            }
            text += " length " + std::to_string(memory.Length) + " flags " +
                    std::to_string(memory.Flags);
            return &m_records.memory;
        }
        if (dg == DG_CONTROL && dat == DAT_CAPABILITY) {
            m_records.capability.Cap = PickFrom(kCapabilities);
            if (m_container) {
                GlobalFree(m_container);
                m_container = nullptr;
            }
            m_records.capability.ConType = odd ? static_cast<TW_UINT16>(Pick(8)) : TWON_ONEVALUE;
            if (msg == MSG_SET || odd) {
                m_container = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
                auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(m_container));
                value->ItemType = odd ? static_cast<TW_UINT16>(Pick(14)) : TWTY_UINT16;
                value->Item = static_cast<TW_UINT32>(Pick(8));
                GlobalUnlock(m_container);
            }
            m_records.capability.hContainer = m_container;
            text += " cap " + std::to_string(m_records.capability.Cap);
            return &m_records.capability;
        }
        if (dg == DG_CONTROL && dat == DAT_EVENT) {
            m_message = MSG{};
            m_message.hwnd = odd ? nullptr : app.Window();
            m_message.message = static_cast<UINT>(Pick(0x500));
            m_records.event.pEvent = odd && Chance(50) ? nullptr : &m_message;
            return &m_records.event;
        }
        if (dg == DG_CONTROL && dat == DAT_USERINTERFACE) {
            m_records.userInterface.hParent = odd ? nullptr : app.Window();
            return &m_records.userInterface;
        }
        if (dg == DG_CONTROL && dat == DAT_SETUPFILEXFER) {
            static const TW_UINT16 kFormats[] = {TWFF_BMP, TWFF_TIFF, TWFF_TIFFMULTI, TWFF_PNG,
                                                 TWFF_PICT};
            m_records.fileSetup.Format =
                odd ? static_cast<TW_UINT16>(Pick(12)) : PickFrom(kFormats);
            if (odd) {
                // A name without a terminator, inside the test's folder.
                std::memset(m_records.fileSetup.FileName, 'n', sizeof(TW_STR255));
            } else {
                const std::string name = m_folder + "\\page" + std::to_string(Pick(3));
                std::strncpy(m_records.fileSetup.FileName, name.c_str(), sizeof(TW_STR255) - 1);
            }
            return &m_records.fileSetup;
        }
        // Records without pointers take any bytes; those with pointers go without them.
        m_records.customData.hData = nullptr;
        return &m_records;
    }

    // One triplet: chosen among the transfers and their set-up, among every known triplet, or
    // made of any numbers.
    void TripletStep(std::string& text, TW_UINT32 forcedDg = 0, TW_UINT16 forcedDat = 0,
                     TW_UINT16 forcedMsg = 0) {
        TW_UINT32 dg = DG_CONTROL;
        TW_UINT16 dat = DAT_NULL;
        TW_UINT16 msg = MSG_NULL;
        const int kind = Pick(100);
        if (forcedDg != 0) {
            dg = forcedDg;
            dat = forcedDat;
            msg = forcedMsg;
        } else if (kind < 45) {
            static const struct {
                TW_UINT32 dg;
                TW_UINT16 dat;
                TW_UINT16 msg;
            } kTransferTriplets[] = {
                {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},
                {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},
                {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},
                {DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET},
                {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},
                {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},
                {DG_CONTROL, DAT_PENDINGXFERS, MSG_GET},
                {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET},
                {DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET},
                {DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET},
                {DG_CONTROL, DAT_SETUPFILEXFER, MSG_GETDEFAULT},
                {DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET},
                {DG_CONTROL, DAT_SETUPFILEXFER, MSG_RESET},
                {DG_CONTROL, DAT_IDENTITY, MSG_OPENDS},
                {DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS},
                {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS},
                {DG_CONTROL, DAT_CAPABILITY, MSG_SET},
                {DG_CONTROL, DAT_CAPABILITY, MSG_GET},
            };
            const auto& chosen = PickFrom(kTransferTriplets);
            dg = chosen.dg;
            dat = chosen.dat;
            msg = chosen.msg;
        } else if (kind < 93) {
            const int group = Pick(10);
            dg = group < 5 ? DG_CONTROL : group < 9 ? DG_IMAGE : DG_AUDIO;
            dat = dg == DG_CONTROL ? PickFrom(kControlDats)
                  : dg == DG_IMAGE ? PickFrom(kImageDats)
                                   : PickFrom(kAudioDats);
            msg = PickFrom(kMessages);
        } else {
            dg = static_cast<TW_UINT32>(Pick(9));
            dat = static_cast<TW_UINT16>(Pick(0x300));
            msg = static_cast<TW_UINT16>(Pick(0x1000));
        }
        std::ostringstream name;
        name << "DG " << dg << " DAT 0x" << std::hex << dat << " MSG 0x" << msg;
        text = name.str();
        TW_MEMREF data = Record(dg, dat, msg, text);
        Note(text);
        const TW_UINT16 before = ActualState();
        const TW_UINT16 rc = app.Call(dg, dat, msg, data);
        const TW_UINT16 after = ActualState();
        const bool fails = rc == TWRC_FAILURE || rc == TWRC_CHECKSTATUS;
        // A cancel, like a failure, keeps the condition code it finds.
        const bool resets = !fails && rc != TWRC_CANCEL;
        // The condition code as the status handler holds it; now and then as DAT_STATUS reports
        // it, which must be the same.
        TW_UINT16 cc = TWCC_SUCCESS;
        AbstractSource* const current = AbstractSource::Instance();
        // Without a source (state 3, the one made for the call is gone) nothing holds one.
        if (current != nullptr && Chance(10)) {
            const TW_UINT16 held = current->GetStatus().GetConditionCode();
            cc = app.ConditionCode();
            if (cc != held) {
                m_failure = "DAT_STATUS reports another condition code than the source holds";
            }
        } else if (current != nullptr) {
            cc = current->GetStatus().GetConditionCode();
        }
        {
            const std::lock_guard<std::mutex> guard(m_journal.lock);
            m_journal.steps.back() += " -> rc " + std::to_string(rc) + " cc " + std::to_string(cc) +
                                      ", state " + std::to_string(before) + " to " +
                                      std::to_string(after);
        }
        if (!m_failure.empty()) {
        } else if (!ValidReturnCode(dg, dat, rc)) {
            m_failure = "a return code this triplet may not give";
        } else if (cc > TWCC_CHECKDEVICEONLINE || (resets && cc != TWCC_SUCCESS)) {
            m_failure = "a condition code DAT_STATUS does not know, or one after a success";
        } else {
            const auto* pending = dat == DAT_PENDINGXFERS && data != nullptr
                                      ? static_cast<const TW_PENDINGXFERS*>(data)
                                      : nullptr;
            const TW_UINT16 expected = TableState(before, dg, dat, msg, rc, pending);
            if (expected == 0 || expected != after) {
                m_failure = "a state TWAIN's table does not give (expected " +
                            std::to_string(expected) + ")";
            }
        }
        m_expected = after;
    }

    std::mt19937 m_random;
    Journal m_journal;
    std::string m_failure;
    TW_UINT16 m_expected = 3;
    bool m_serverDown = false;
    std::string m_folder;
    char m_previousFolder[MAX_PATH] = {};
    std::vector<char> m_buffer;
    HGLOBAL m_block = nullptr;
    HGLOBAL m_container = nullptr;
    MSG m_message = {};
    union Records {
        TW_IDENTITY identity;
        TW_IMAGEMEMXFER memory;
        TW_CAPABILITY capability;
        TW_EVENT event;
        TW_USERINTERFACE userInterface;
        TW_SETUPFILEXFER fileSetup;
        TW_CUSTOMDSDATA customData;
        TW_FILESYSTEM fileSystem;
        TW_PENDINGXFERS pending;
        TW_IMAGEINFO info;
        TW_IMAGELAYOUT layout;
        TW_STATUS status;
        HGLOBAL handle;
        char bytes[2048];
    } m_records = {};
};

} // namespace

TEST_F(TripletSequenceTest, RandomSequencesKeepTwainsStateTableAndAnswers) {
    const char* const seedText = std::getenv("NIMBREL_SEQUENCE_SEED");
    const char* const countText = std::getenv("NIMBREL_SEQUENCES");
    const unsigned seed = seedText != nullptr
                              ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                              : kDefaultSeed;
    const int sequences = countText != nullptr ? std::atoi(countText) : kDefaultSequences;
    const bool trace = std::getenv("NIMBREL_SEQUENCE_TRACE") != nullptr;
    m_random.seed(seed);
    m_journal.seed = seed;
    std::printf("seed %u, %d sequences\n", seed, sequences);

    // A step that does not come back within a while is a hang: say where, and stop.
    std::atomic<bool> finished{false};
    std::thread watchdog([&] {
        long seen = -1;
        int still = 0;
        while (!finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const long now = m_journal.progress;
            still = now == seen ? still + 1 : 0;
            seen = now;
            if (still >= 100) {
                std::fprintf(stderr, "no answer for 20 s; %s\n", m_journal.Describe().c_str());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    });

    int statesSeen[8] = {};
    for (int sequence = 0; sequence < sequences && m_failure.empty(); ++sequence) {
        {
            const std::lock_guard<std::mutex> guard(m_journal.lock);
            m_journal.sequence = sequence;
            m_journal.steps.clear();
        }
        const int length = 1 + Pick(2);
        for (int step = 0; step < length && m_failure.empty(); ++step) {
            std::string text;
            const auto started = std::chrono::steady_clock::now();
            const int kind = Pick(100);
            if (kind < 50 && ProgressStep(text)) {
            } else if (kind < 65 && OutsideStep(text)) {
            } else {
                TripletStep(text);
            }
            ++statesSeen[ActualState() & 7];
            ++m_journal.progress;
            if (trace) {
                const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - started);
                std::printf("%d: %s (%d ms)\n", sequence, m_journal.steps.back().c_str(),
                            static_cast<int>(took.count()));
            }
        }
    }
    finished = true;
    watchdog.join();
    if (m_container) {
        GlobalFree(m_container);
    }
    EXPECT_EQ("", m_failure) << m_journal.Describe();
    for (int state = 3; state <= 7; ++state) {
        EXPECT_GT(statesSeen[state], 0) << "state " << state << " was never reached";
    }
    std::printf("steps ending in states 3..7: %d %d %d %d %d\n", statesSeen[3], statesSeen[4],
                statesSeen[5], statesSeen[6], statesSeen[7]);
}
