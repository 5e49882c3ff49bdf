// TwainWrapper against a recording source manager: each test scripts the answers and reads back
// every triplet the wrapper sent, with its destination and record.

#include "RecordingDsm.h"
#include "SafeHandle.h"
#include "TwainWrapper.h"
#include "TwainWrapperExceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace CommonTwain;

namespace {

struct Call {
    TW_UINT32 dg;
    TW_UINT16 dat;
    TW_UINT16 msg;
    bool toSource;       // a destination identity was given
    TW_UINT32 destId;    // its Id
    TW_USERINTERFACE ui; // DAT_USERINTERFACE: the record sent
    HWND parent;         // DAT_PARENT: the window the data points at
    TW_UINT16 capType;   // DAT_CAPABILITY MSG_SET: the container's item type and first item
    TW_UINT32 capItem;
    TW_UINT16 capCon;
};

// The scripted source manager with one source.
struct Manager {
    std::vector<Call> calls;
    std::vector<std::string> sources = {"Other Source", "Nimbrel 5"};
    std::size_t next = 0;
    // Answer and condition code of the next triplet with this message; absent: success.
    std::map<TW_UINT16, TW_UINT16> rc;
    std::map<TW_UINT16, TW_UINT16> cc;
    TW_UINT16 pendingCc = 0;
    TW_UINT16 notice = MSG_NULL;
    TW_UINT16 eventRc = TWRC_NOTDSEVENT;
    // Builds the container a capability GET answers.
    std::function<void(TW_CAPABILITY&)> answer;

    std::vector<TW_UINT16> Messages(TW_UINT16 dat = 0) const {
        std::vector<TW_UINT16> out;
        for (const Call& c : calls) {
            if (c.dat != DAT_STATUS && (dat == 0 || c.dat == dat)) {
                out.push_back(c.msg);
            }
        }
        return out;
    }
    int StatusReads() const {
        int n = 0;
        for (const Call& c : calls) {
            n += c.dat == DAT_STATUS ? 1 : 0;
        }
        return n;
    }
};

Manager* g_manager = nullptr;

TW_UINT16 WINAPI Handle(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat,
                        TW_UINT16 msg, TW_MEMREF data) {
    Manager& m = *g_manager;
    Call call = {dg, dat, msg, dest != nullptr, dest != nullptr ? dest->Id : 0, {}, nullptr,
                 0,  0,   0};
    if (dat == DAT_USERINTERFACE) {
        call.ui = *static_cast<pTW_USERINTERFACE>(data);
    }
    if (dat == DAT_PARENT) {
        call.parent = *static_cast<HWND*>(data);
    }
    if (dat == DAT_CAPABILITY && msg == MSG_SET) {
        auto* cap = static_cast<pTW_CAPABILITY>(data);
        call.capCon = cap->ConType;
        const auto* memory = static_cast<const unsigned char*>(GlobalLock(cap->hContainer));
        std::memcpy(&call.capType, memory, 2);
        std::memcpy(&call.capItem, memory + (cap->ConType == TWON_ONEVALUE ? 2 : 14), 4);
        GlobalUnlock(cap->hContainer);
    }
    m.calls.push_back(call);

    if (dat == DAT_STATUS) {
        static_cast<pTW_STATUS>(data)->ConditionCode = m.pendingCc;
        m.pendingCc = 0; // read once, as a source does
        return TWRC_SUCCESS;
    }
    // A scripted answer is given once.
    if (m.rc.count(msg) != 0) {
        const TW_UINT16 rc = m.rc[msg];
        m.pendingCc = m.cc[msg];
        m.rc.erase(msg);
        return rc;
    }
    if (dat == DAT_PARENT && msg == MSG_OPENDSM) {
        origin->Id = 7;
    }
    if (dat == DAT_IDENTITY && (msg == MSG_GETFIRST || msg == MSG_GETNEXT)) {
        m.next = msg == MSG_GETFIRST ? 0 : m.next;
        if (m.next >= m.sources.size()) {
            return TWRC_ENDOFLIST;
        }
        auto* identity = static_cast<pTW_IDENTITY>(data);
        identity->Id = static_cast<TW_UINT32>(20 + m.next);
        std::strcpy(identity->ProductName, m.sources[m.next++].c_str());
        return TWRC_SUCCESS;
    }
    if (dat == DAT_CAPABILITY && msg != MSG_SET && m.answer) {
        m.answer(*static_cast<pTW_CAPABILITY>(data));
    }
    if (dat == DAT_EVENT) {
        static_cast<pTW_EVENT>(data)->TWMessage = m.notice;
        return m.eventRc;
    }
    return TWRC_SUCCESS;
}

struct Events : TwainEventHandler {
    std::vector<std::string> heard;
    void OnTransferReady() override { heard.push_back("xferready"); }
    void OnCloseRequest() override { heard.push_back("closereq"); }
    void OnCloseOk() override { heard.push_back("closeok"); }
};

// A container answer as a source builds it: a global block of exactly these bytes.
HGLOBAL Block(const std::vector<unsigned char>& bytes) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(handle), bytes.data(), bytes.size());
    GlobalUnlock(handle);
    return handle;
}

void Put16(std::vector<unsigned char>& b, unsigned v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(std::vector<unsigned char>& b, unsigned long v) {
    Put16(b, v & 0xFFFF);
    Put16(b, (v >> 16) & 0xFFFF);
}

class WrapperTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryA("TWAIN_32.DLL");
        ASSERT_NE(nullptr, m_module) << "the recording source manager beside the test";
        auto set = reinterpret_cast<RecDsmSetHandler>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "RecDsm_SetHandler")));
        ASSERT_NE(nullptr, set) << "Wine's own source manager was loaded";
        set(Handle);
        g_manager = &m;
        m_window =
            CreateWindowA("STATIC", "app", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        wrapper = std::make_unique<TwainWrapper>(m_window, &events);
    }
    void TearDown() override {
        wrapper.reset();
        DestroyWindow(m_window);
        FreeLibrary(m_module);
        g_manager = nullptr;
    }

    // Brings the wrapper to state 4 (source open) and forgets the calls made on the way.
    void OpenNimbrel() {
        ASSERT_EQ(TWRC_SUCCESS, wrapper->OpenSourceManager());
        ASSERT_EQ(TWRC_SUCCESS, wrapper->OpenSource("Nimbrel 5"));
        m.calls.clear();
    }
    void EnableNimbrel() {
        OpenNimbrel();
        ASSERT_EQ(TWRC_SUCCESS, wrapper->EnableSource(true));
        m.calls.clear();
    }

    Manager m;
    Events events;
    HMODULE m_module = nullptr;
    HWND m_window = nullptr;
    std::unique_ptr<TwainWrapper> wrapper;
};

} // namespace

TEST_F(WrapperTest, WalksUpTheStatesAndTearsDownInOrder) {
    EXPECT_EQ(1, wrapper->GetState());
    EXPECT_TRUE(wrapper->LoadDSM());
    EXPECT_EQ(2, wrapper->GetState());
    EXPECT_EQ(TWRC_SUCCESS, wrapper->OpenSourceManager());
    EXPECT_EQ(3, wrapper->GetState());
    ASSERT_EQ(1u, m.calls.size());
    EXPECT_EQ(MSG_OPENDSM, m.calls[0].msg);
    EXPECT_FALSE(m.calls[0].toSource);
    EXPECT_EQ(m_window, m.calls[0].parent);
    EXPECT_EQ(7u, wrapper->GetAppIdentity().Id) << "the Id the manager gave is kept";

    EXPECT_EQ(2, wrapper->GetNumSources());
    EXPECT_EQ("Other Source", wrapper->GetSourceName(0));
    EXPECT_EQ("Nimbrel 5", wrapper->GetSourceName(1));
    EXPECT_EQ("", wrapper->GetSourceName(2));
    EXPECT_EQ("", wrapper->GetSourceName(-1));

    // Product names match without regard to case.
    EXPECT_EQ(TWRC_SUCCESS, wrapper->OpenSource("NIMBREL 5"));
    EXPECT_EQ(4, wrapper->GetState());
    EXPECT_EQ(21u, wrapper->GetSourceIdentity().Id);
    EXPECT_STREQ("Nimbrel 5", wrapper->GetSourceIdentity().ProductName);
    EXPECT_EQ("NIMBREL 5", wrapper->GetOpenSourceName());

    m.calls.clear();
    EXPECT_EQ(TWRC_SUCCESS, wrapper->EnableSource(true));
    EXPECT_EQ(5, wrapper->GetState());
    ASSERT_EQ(1u, m.calls.size());
    EXPECT_EQ(MSG_ENABLEDS, m.calls[0].msg);
    EXPECT_EQ(21u, m.calls[0].destId);
    EXPECT_EQ(1, m.calls[0].ui.ShowUI);
    EXPECT_EQ(0xFFFF, m.calls[0].ui.ModalUI);
    EXPECT_EQ(m_window, m.calls[0].ui.hParent);

    // Destroyed while enabled: disable, close the source, close the manager.
    m.calls.clear();
    wrapper.reset();
    EXPECT_EQ(std::vector<TW_UINT16>({MSG_DISABLEDS, MSG_CLOSEDS, MSG_CLOSEDSM}), m.Messages());
    EXPECT_TRUE(m.calls[0].toSource);
    EXPECT_FALSE(m.calls[1].toSource) << "CLOSEDS goes to the manager";
    EXPECT_EQ(m_window, m.calls[2].parent);
}

TEST_F(WrapperTest, AnUnknownSourceNameLeavesTheManagerOpen) {
    ASSERT_EQ(TWRC_SUCCESS, wrapper->OpenSourceManager());
    m.calls.clear();
    EXPECT_EQ(TwainWrapper::NoSuchSource, wrapper->OpenSource("Nimbrel 6"));
    EXPECT_EQ(3, wrapper->GetState());
    EXPECT_EQ(std::vector<TW_UINT16>({MSG_GETFIRST, MSG_GETNEXT, MSG_GETNEXT}), m.Messages());
    EXPECT_EQ("", wrapper->GetOpenSourceName());
}

TEST_F(WrapperTest, CheckStatusFromEnableCountsAsSuccess) {
    OpenNimbrel();
    m.rc[MSG_ENABLEDS] = TWRC_CHECKSTATUS;
    EXPECT_EQ(TWRC_SUCCESS, wrapper->EnableSource(false));
    EXPECT_EQ(5, wrapper->GetState());
    EXPECT_EQ(0, m.calls[0].ui.ShowUI);
}

TEST_F(WrapperTest, AnOperationErrorIsReadOnceAndMarksTheSessionAsReported) {
    OpenNimbrel();
    m.rc[MSG_ENABLEDS] = TWRC_FAILURE;
    m.cc[MSG_ENABLEDS] = TWCC_OPERATIONERROR;
    EXPECT_EQ(TWRC_FAILURE, wrapper->EnableSource(true));
    EXPECT_EQ(TWCC_OPERATIONERROR, wrapper->GetLastConditionCode());
    // The code the source gave is the one acted on, though reading it cleared it.
    EXPECT_EQ(TwainWrapper::StateOperationError, wrapper->GetState());
    EXPECT_FALSE(wrapper->ShouldReportError());
    EXPECT_EQ(1, m.StatusReads());
}

TEST_F(WrapperTest, CapabilityOperationsNeedAnOpenSourceThatIsNotEnabled) {
    const std::vector<std::pair<const char*, std::function<TW_UINT16(TwainWrapper&)>>> ops = {
        {"GetUINT16_Current",
         [](TwainWrapper& w) {
             TW_UINT16 v = 0;
             return w.GetUINT16_Current(1, v);
         }},
        {"SetUINT16_Current", [](TwainWrapper& w) { return w.SetUINT16_Current(1, 2); }},
        {"SetINT16_Current", [](TwainWrapper& w) { return w.SetINT16_Current(1, -2); }},
        {"SetBool_Current", [](TwainWrapper& w) { return w.SetBool_Current(0x8002, FALSE); }},
        {"GetFix32_Current",
         [](TwainWrapper& w) {
             double v = 0;
             return w.GetFix32_Current(1, v);
         }},
        {"SetFix32_Current", [](TwainWrapper& w) { return w.SetFix32_Current(1, 2.5); }},
        {"ResetCapability", [](TwainWrapper& w) { return w.ResetCapability(1); }},
        {"GetUINT16_Enum",
         [](TwainWrapper& w) {
             std::unique_ptr<TW_ENUMERATION_UINT16> e(w.GetUINT16_Enum(1));
             return e ? TWRC_SUCCESS : TWRC_FAILURE;
         }},
        {"GetFix32_Enum",
         [](TwainWrapper& w) { return w.GetFix32_Enum(1).empty() ? TWRC_FAILURE : TWRC_SUCCESS; }},
        {"GetFix32_Range",
         [](TwainWrapper& w) {
             TW_RANGE_FIX32 r;
             return w.GetFix32_Range(1, r);
         }},
        {"ResetImageLayout", [](TwainWrapper& w) { return w.ResetImageLayout(); }},
        {"SetTransferMechanism", [](TwainWrapper& w) { return w.SetFileTransfer(); }},
    };
    ASSERT_EQ(TWRC_SUCCESS, wrapper->OpenSourceManager());
    for (const auto& op : ops) {
        m.calls.clear();
        EXPECT_EQ(TWRC_FAILURE, op.second(*wrapper)) << op.first << " before opening";
        EXPECT_TRUE(m.calls.empty()) << op.first << " before opening";
    }
    ASSERT_EQ(TWRC_SUCCESS, wrapper->OpenSource("Nimbrel 5"));
    ASSERT_EQ(TWRC_SUCCESS, wrapper->EnableSource(true));
    for (const auto& op : ops) {
        m.calls.clear();
        EXPECT_EQ(TWRC_FAILURE, op.second(*wrapper)) << op.first << " while enabled";
        EXPECT_TRUE(m.calls.empty()) << op.first << " while enabled";
    }
}

TEST_F(WrapperTest, SetsBuildTheirContainers) {
    OpenNimbrel();
    EXPECT_EQ(TWRC_SUCCESS, wrapper->SetBool_Current(0x8002, FALSE));
    EXPECT_EQ(TWRC_SUCCESS, wrapper->SetINT16_Current(0x1101, -2));
    EXPECT_EQ(TWRC_SUCCESS, wrapper->SetFix32_Current(0x1118, 300.5));
    const TW_UINT16 values[] = {3, 4, 5};
    EXPECT_EQ(TWRC_SUCCESS, wrapper->SetUINT16_Enum(0x0101, 1, 2, values, 3));
    ASSERT_EQ(4u, m.calls.size());
    EXPECT_EQ(TWON_ONEVALUE, m.calls[0].capCon);
    EXPECT_EQ(TWTY_BOOL, m.calls[0].capType);
    EXPECT_EQ(0u, m.calls[0].capItem);
    EXPECT_EQ(TWTY_INT16, m.calls[1].capType);
    EXPECT_EQ(0xFFFFFFFEu, m.calls[1].capItem) << "sign-extended";
    EXPECT_EQ(TWTY_FIX32, m.calls[2].capType);
    EXPECT_EQ(0x8000012Cu, m.calls[2].capItem) << "Whole 300, Frac 0x8000";
    EXPECT_EQ(TWON_ENUMERATION, m.calls[3].capCon);
    EXPECT_EQ(TWTY_UINT16, m.calls[3].capType);
    EXPECT_EQ(0x00040003u, m.calls[3].capItem);
}

TEST_F(WrapperTest, ReadsTheCurrentItemOfEachContainerShape) {
    OpenNimbrel();
    struct Case {
        const char* name;
        TW_UINT16 conType;
        std::vector<unsigned char> bytes;
        TW_UINT16 expected16;
        double expectedDouble;
    };
    std::vector<Case> cases;
    {
        std::vector<unsigned char> b;
        Put16(b, TWTY_UINT16);
        Put32(b, 0x00010258);
        cases.push_back({"one-value UINT16", TWON_ONEVALUE, b, 600, 66136.0});
    }
    {
        std::vector<unsigned char> b;
        Put16(b, TWTY_FIX32);
        Put32(b, 0x8000012C); // 300.5
        cases.push_back({"one-value FIX32", TWON_ONEVALUE, b, 300, 300.5});
    }
    {
        std::vector<unsigned char> b;
        Put16(b, TWTY_UINT32);
        Put32(b, 3); // NumItems
        Put32(b, 2); // CurrentIndex
        Put32(b, 0); // DefaultIndex
        Put32(b, 100);
        Put32(b, 200);
        Put32(b, 0x00010190);
        cases.push_back({"enumeration UINT32", TWON_ENUMERATION, b, 400, 65936.0});
    }
    {
        std::vector<unsigned char> b;
        Put16(b, TWTY_UINT16);
        Put32(b, 2);
        Put32(b, 9); // a current index past the items reads nothing
        Put32(b, 0);
        Put16(b, 1);
        Put16(b, 2);
        cases.push_back({"enumeration, index outside", TWON_ENUMERATION, b, 77, 77.0});
    }
    for (const Case& c : cases) {
        m.answer = [&](TW_CAPABILITY& cap) {
            cap.ConType = c.conType;
            cap.hContainer = Block(c.bytes);
        };
        TW_UINT16 value16 = 77;
        double valueDouble = 77.0;
        EXPECT_EQ(TWRC_SUCCESS, wrapper->GetUINT16_Current(0x1118, value16)) << c.name;
        EXPECT_EQ(c.expected16, value16) << c.name;
        EXPECT_EQ(TWRC_SUCCESS, wrapper->GetFix32_Current(0x1118, valueDouble)) << c.name;
        EXPECT_DOUBLE_EQ(c.expectedDouble, valueDouble) << c.name;
    }
}

TEST_F(WrapperTest, ReadsRangesAndEnumerations) {
    OpenNimbrel();
    std::vector<unsigned char> range;
    Put16(range, TWTY_FIX32);
    for (unsigned long v : {0x00000064ul, 0x00000258ul, 0x80000000ul, 0x0000012Cul, 0x4000012Cul}) {
        Put32(range, v); // 100, 600, 0.5, 300, 300.25
    }
    m.answer = [&](TW_CAPABILITY& cap) {
        cap.ConType = TWON_RANGE;
        cap.hContainer = Block(range);
    };
    TW_RANGE_FIX32 fix;
    EXPECT_EQ(TWRC_SUCCESS, wrapper->GetFix32_Range(0x1118, fix));
    EXPECT_DOUBLE_EQ(100.0, fix.MinValue.ToFloat());
    EXPECT_DOUBLE_EQ(600.0, fix.MaxValue.ToFloat());
    EXPECT_DOUBLE_EQ(0.5, fix.StepSize.ToFloat());
    EXPECT_DOUBLE_EQ(300.25, fix.CurrentValue.ToFloat());
    EXPECT_EQ(std::vector<double>({-1.0, 100.0, 600.0, 0.5, 300.0, 300.25}),
              wrapper->GetFix32_Enum(0x1118));
    TwainUInt32Range ints;
    EXPECT_EQ(TWRC_SUCCESS, wrapper->GetUINT32_Range(0x1118, ints));
    EXPECT_EQ(600u, ints.MaxValue);
    EXPECT_EQ(0u, ints.StepSize) << "0.5 truncated";

    std::vector<unsigned char> enumeration;
    Put16(enumeration, TWTY_INT32);
    Put32(enumeration, 3);
    Put32(enumeration, 1);
    Put32(enumeration, 2);
    for (unsigned long v : {75ul, 150ul, 300ul}) {
        Put32(enumeration, v);
    }
    m.answer = [&](TW_CAPABILITY& cap) {
        cap.ConType = TWON_ENUMERATION;
        cap.hContainer = Block(enumeration);
    };
    std::unique_ptr<TW_ENUMERATION_UINT16> list(wrapper->GetUINT16_Enum(0x1118));
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(3u, list->GetCount());
    EXPECT_EQ(300, list->GetValues().GetAt(2));
    EXPECT_EQ(0u, list->GetCurrentIndex()) << "the answer's indexes are not copied";
    EXPECT_EQ(TWRC_FAILURE, wrapper->GetFix32_Range(0x1118, fix)) << "an enumeration is no range";
    EXPECT_DOUBLE_EQ(600.0, fix.MaxValue.ToFloat()) << "left as it was";
}

TEST_F(WrapperTest, EventsReachTheHandlerOnlyWhileEnabled) {
    OpenNimbrel();
    MSG message = {m_window, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(wrapper->ProcessEvent(&message));
    EXPECT_TRUE(m.calls.empty());

    ASSERT_EQ(TWRC_SUCCESS, wrapper->EnableSource(true));
    const struct {
        TW_UINT16 notice;
        TW_UINT16 rc;
        bool consumed;
        const char* heard;
    } cases[] = {
        {MSG_NULL, TWRC_NOTDSEVENT, false, nullptr},
        {MSG_NULL, TWRC_DSEVENT, true, nullptr},
        {MSG_XFERREADY, TWRC_DSEVENT, true, "xferready"},
        {MSG_CLOSEDSREQ, TWRC_DSEVENT, true, "closereq"},
        {MSG_CLOSEDSOK, TWRC_NOTDSEVENT, false, "closeok"},
    };
    for (const auto& c : cases) {
        events.heard.clear();
        m.notice = c.notice;
        m.eventRc = c.rc;
        EXPECT_EQ(c.consumed, wrapper->ProcessEvent(&message)) << c.notice;
        EXPECT_EQ(c.heard ? std::vector<std::string>{c.heard} : std::vector<std::string>{},
                  events.heard);
    }
    EXPECT_EQ(1, wrapper->GetXferReadyReceived());
    EXPECT_EQ(1, wrapper->GetCloseRequestReceived());
    EXPECT_EQ(1, wrapper->GetCloseOkReceived());
    EXPECT_EQ(5, wrapper->GetState()) << "notices do not change the state";
}

TEST_F(WrapperTest, TheSourceListIsReadAfreshWhenItChanged) {
    ASSERT_EQ(TWRC_SUCCESS, wrapper->OpenSourceManager());
    m.sources = {"A", "B"};
    EXPECT_EQ("B", wrapper->GetSourceName(1));
    m.sources = {"C", "D", "E"};
    EXPECT_EQ("C", wrapper->GetSourceName(0));
    EXPECT_EQ("E", wrapper->GetSourceName(2));
}

TEST_F(WrapperTest, ASequenceErrorWalksDownFromWhereTheWrapperIs) {
    // Source open: a refused capability closes the source and the manager, nothing above.
    OpenNimbrel();
    m.rc[MSG_SET] = TWRC_FAILURE;
    m.cc[MSG_SET] = TWCC_SEQERROR;
    EXPECT_EQ(TWRC_FAILURE, wrapper->SetUINT16_Current(ICAP_XFERMECH, TWSX_MEMORY));
    EXPECT_EQ(std::vector<TW_UINT16>({MSG_SET, MSG_CLOSEDS, MSG_CLOSEDSM}), m.Messages());
    EXPECT_FALSE(m.calls[2].toSource);
    EXPECT_EQ(2, wrapper->GetState()) << "the state the manager is in after the walk";
    EXPECT_EQ("", wrapper->GetOpenSourceName());
}

TEST_F(WrapperTest, ASequenceErrorOnDisableStopsAtTheOpenSource) {
    EnableNimbrel();
    m.rc[MSG_DISABLEDS] = TWRC_FAILURE;
    m.cc[MSG_DISABLEDS] = TWCC_SEQERROR;
    wrapper->DisableSource();
    // The source may be transferring behind the wrapper's back: the walk starts at the top,
    // each triplet with its own record, and ends with the source open.
    EXPECT_EQ(std::vector<TW_UINT16>({MSG_DISABLEDS, MSG_ENDXFER, MSG_RESET, MSG_DISABLEDS}),
              m.Messages());
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_TRUE(m.calls[i + 1].toSource) << i;
        EXPECT_EQ(21u, m.calls[i + 1].destId) << i;
    }
    EXPECT_EQ(DAT_PENDINGXFERS, m.calls[2].dat);
    EXPECT_EQ(DAT_USERINTERFACE, m.calls[4].dat);
    EXPECT_EQ(m_window, m.calls[4].ui.hParent);
    EXPECT_EQ(4, wrapper->GetState());
}

TEST_F(WrapperTest, AFailingTransferMechanismKeepsTheConditionCode) {
    OpenNimbrel();
    m.rc[MSG_SET] = TWRC_FAILURE;
    m.cc[MSG_SET] = TWCC_BADVALUE;
    EXPECT_EQ(TWRC_FAILURE, wrapper->SetMemoryTransfer());
    EXPECT_EQ(TWCC_BADVALUE, wrapper->GetLastConditionCode());
    EXPECT_EQ(4, wrapper->GetState());
}

TEST_F(WrapperTest, ARefusingManagerThrowsWithItsReturnCode) {
    m.rc[MSG_OPENDSM] = TWRC_FAILURE;
    try {
        wrapper->OpenSourceManager();
        FAIL() << "no exception";
    } catch (const TwainException& e) {
        EXPECT_EQ(TWRC_FAILURE, e.GetReturnCode());
        EXPECT_STREQ("TwainException", e.what());
    }
    EXPECT_EQ(2, wrapper->GetState());
    m.rc[MSG_ENDXFER] = TWRC_FAILURE;
    EXPECT_THROW(wrapper->FetchPendingXferCount(), CommonCpp::Exception);
}

TEST(NoManager, LoadingAndOpeningThrowTheManagerIsMissing) {
    HMODULE present = LoadLibraryA("TWAIN_32.DLL");
    if (present != nullptr) {
        FreeLibrary(present);
        GTEST_SKIP() << "a source manager is installed; run with twain_32 disabled";
    }
    TwainWrapper wrapper(nullptr, nullptr);
    EXPECT_THROW(wrapper.LoadDSM(), TwainMgrNotFoundException);
    EXPECT_EQ(1, wrapper.GetState());
    EXPECT_THROW(wrapper.OpenSourceManager(), TwainMgrNotFoundException);
    EXPECT_EQ(TWRC_FAILURE,
              wrapper.CallDSM(nullptr, nullptr, DG_CONTROL, DAT_STATUS, MSG_GET, nullptr));
    EXPECT_EQ(0, wrapper.GetNumSources());
}
