// The built Nimbrel5.ds as a TWAIN application meets it: loaded directly, and through Wine's
// source manager, which finds it installed in the prefix as twain_32\sane.ds (twain_64 on
// 64-bit Wine).

#include "CapabilityCases.h"
#include "GuiTestSupport.h"
#include "ServerCapabilityCases.h"
#include "SourceFixture.h"

#include <cstdint>
#include <cstring>

namespace {

// The server chooser, known by its Add button and its server list.
bool IsChooser(HWND window) {
    return guitest::HasControls(window, {1205, 1207});
}

class DllTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        HideSimulatedServers();
        m_module = LoadLibraryA("Nimbrel5.ds");
        ASSERT_NE(nullptr, m_module) << GetLastError();
        m_entry = reinterpret_cast<DSENTRYPROC>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "DS_Entry")));
        ASSERT_NE(nullptr, m_entry);
    }
    void TearDown() override {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
        OrvexSim_SetFixtureRoot(nullptr);
        RemoveProductKey();
    }

    HMODULE m_module = nullptr;
    DSENTRYPROC m_entry = nullptr;
};

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        OrvexSim_Reset();
    }
    void TearDown() override {
        OrvexSim_Reset();
        RemoveProductKey();
    }
};

void ExpectSourceIdentity(const TW_IDENTITY& identity) {
    EXPECT_STREQ("Halcyra, Inc.", identity.Manufacturer);
    EXPECT_STREQ("Orvex", identity.ProductFamily);
    EXPECT_STREQ("Nimbrel 5", identity.ProductName);
    EXPECT_EQ(5, identity.Version.MajorNum);
    EXPECT_EQ(5, identity.Version.MinorNum);
    EXPECT_EQ(1, identity.ProtocolMajor);
    EXPECT_EQ(8, identity.ProtocolMinor);
    EXPECT_EQ(DG_CONTROL | DG_IMAGE, identity.SupportedGroups);
}

#if defined(__i386__)
// Calls entry with its five arguments pushed by hand and returns how many bytes the stack
// pointer moved across the call: 0 when the callee removes its own arguments (stdcall).
long StackDriftOfCall(DSENTRYPROC entry, pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat,
                      TW_UINT16 msg, TW_MEMREF data, TW_UINT16* result) {
    const std::uint32_t args[5] = {reinterpret_cast<std::uint32_t>(origin), dg, dat, msg,
                                   reinterpret_cast<std::uint32_t>(data)};
    long drift = 0;
    std::uint32_t rc = 0;
    // 12 bytes of padding keep the stack as aligned at the call as the compiler would have it.
    asm volatile("movl %%esp, %%esi\n\t"
                 "subl $12, %%esp\n\t"
                 "pushl 16(%%edi)\n\t"
                 "pushl 12(%%edi)\n\t"
                 "pushl 8(%%edi)\n\t"
                 "pushl 4(%%edi)\n\t"
                 "pushl (%%edi)\n\t"
                 "call *%%ebx\n\t"
                 "leal -12(%%esi), %%ecx\n\t"
                 "subl %%esp, %%ecx\n\t"
                 "movl %%esi, %%esp\n\t"
                 : "=c"(drift), "=a"(rc)
                 : "D"(args), "b"(entry)
                 : "edx", "esi", "memory", "cc");
    *result = static_cast<TW_UINT16>(rc);
    return drift;
}
#endif

} // namespace

// Only 32-bit Windows has two calling conventions: there the entry must be stdcall, as every
// source manager calls it. On 64-bit there is nothing to check.
TEST_F(DllTest, EntryRemovesItsOwnArgumentsOn32Bit) {
#if defined(__i386__)
    TwainTestApp app(m_entry);
    TW_IDENTITY identity = {};
    TW_UINT16 rc = 0;
    EXPECT_EQ(0, StackDriftOfCall(m_entry, &app.AppIdentity(), DG_CONTROL, DAT_IDENTITY, MSG_GET,
                                  &identity, &rc));
    EXPECT_EQ(TWRC_SUCCESS, rc);
    EXPECT_STREQ("Nimbrel 5", identity.ProductName);
#else
    GTEST_SKIP() << "one calling convention on 64-bit Windows";
#endif
}

TEST_F(DllTest, ExportsTheEntryByNameAtOrdinalOne) {
    EXPECT_EQ(reinterpret_cast<void*>(m_entry),
              reinterpret_cast<void*>(GetProcAddress(m_module, MAKEINTRESOURCEA(1))));
    TwainTestApp app(m_entry);
    TW_IDENTITY identity = {};
    identity.Id = 77;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity));
    EXPECT_EQ(77u, identity.Id);
    ExpectSourceIdentity(identity);
}

TEST_F(DllTest, AnOpenThatFindsNoServerStaysLoadedUntilTheNextSuccess) {
    TwainTestApp app(m_entry);
    TW_IDENTITY identity = {};
    // No server answers, not even on this machine: the chooser shows, and the user cancels.
    guitest::WindowAnswerer user(IsChooser,
                                 [](HWND chooser) { guitest::ClickButton(chooser, IDCANCEL); });
    EXPECT_EQ(TWRC_FAILURE, app.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity));
    EXPECT_EQ(1, user.Answered());
    EXPECT_EQ(TWCC_OPERATIONERROR, app.ConditionCode());
    // That status read succeeded and let the source go: a fresh one knows no failure.
    EXPECT_EQ(TWCC_SUCCESS, app.ConditionCode());
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
}

TEST_F(ManagerTest, ListsTheSource) {
    TwainTestApp app;
    ASSERT_TRUE(app.HasManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
    const std::vector<TW_IDENTITY> sources = app.ListSources();
    // Wine lists its own camera source as well.
    int found = 0;
    for (const TW_IDENTITY& identity : sources) {
        if (std::strcmp(identity.ProductName, "Nimbrel 5") == 0) {
            ExpectSourceIdentity(identity);
            ++found;
        }
    }
    EXPECT_EQ(1, found);
    TW_IDENTITY defaultSource = {};
    EXPECT_EQ(TWRC_SUCCESS,
              app.CallManager(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &defaultSource));
    EXPECT_STREQ("Nimbrel 5", defaultSource.ProductName);
    EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
}

TEST_F(ManagerTest, OpensAgainstTheDefaultServer) {
    TwainTestApp app;
    ASSERT_TRUE(app.HasManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    app.PumpMessages(300);
    EXPECT_EQ(0, app.CountForeignVisibleWindows());
    // The source found the simulated server on this machine by itself.
    const std::vector<std::string> connects = LogLinesOf("INIT_connectToNonStandardServer");
    ASSERT_EQ(1u, connects.size());
    EXPECT_TRUE(Contains(connects[0], "address=\"127.0.0.1\"")) << connects[0];
    EXPECT_EQ(1u, LogLinesOf("SCAN_getEventsEx").size());

    // The same application again: the manager fails the open, the source says why.
    TW_IDENTITY second = {};
    std::strcpy(second.ProductName, "Nimbrel 5");
    EXPECT_EQ(TWRC_FAILURE, app.CallManager(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &second));
    EXPECT_EQ(TWCC_SEQERROR, app.ConditionCode());

    EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
    EXPECT_EQ(1u, LogLinesOf("INIT_disconnectFromServer").size());
    EXPECT_EQ("1", StoredValue("numservers"));
    EXPECT_EQ("0", StoredValue("selectedserver"));
    EXPECT_EQ("127.0.0.1", StoredValue("ipaddress_0"));

    // A new source, in state 3, opens again.
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
    EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
}

// The application side of negotiation as a real application has it: every triplet through
// the source manager. Only state 4 is reachable here.
TEST_F(ManagerTest, NegotiatesCapabilitiesThroughTheManager) {
    TwainTestApp app;
    ASSERT_TRUE(app.HasManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
    ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
    RunCapabilityCases(app, CapabilityNegotiationCases(),
                       [](TW_UINT16 state) { return state == 4; });
    EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
    EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
}

// Every server's table as a real application meets it; only state 4 is reachable here.
TEST_F(ManagerTest, EachServerAnswersItsOwnTableThroughTheManager) {
    for (const ServerProfile& profile : ServerProfiles()) {
        SCOPED_TRACE(profile.server);
        ChooseServerForNextOpen(profile);
        TwainTestApp app;
        ASSERT_TRUE(app.HasManager());
        ASSERT_EQ(TWRC_SUCCESS, app.OpenManager());
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        RunCapabilityCases(app, ServerCapabilityCases(profile),
                           [](TW_UINT16 state) { return state == 4; });
        EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
        EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
    }
}

TEST_F(ManagerTest, RemembersTheTransferMechanismPerApplication) {
    const auto session = [](const char* productName, TW_UINT16 setTo) {
        TwainTestApp app;
        std::strcpy(app.AppIdentity().ProductName, productName);
        EXPECT_EQ(TWRC_SUCCESS, app.OpenManager());
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
        const TW_UINT32 found = CurrentValue(app, ICAP_XFERMECH);
        if (setTo != 0xffff) {
            EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, SetValue(app, ICAP_XFERMECH, setTo));
        }
        EXPECT_EQ(TWRC_SUCCESS, app.CloseSource());
        EXPECT_EQ(TWRC_SUCCESS, app.CloseManager());
        return found;
    };
    EXPECT_EQ(TWSX_NATIVE, session("Application A", TWSX_MEMORY));
    EXPECT_EQ(TWSX_MEMORY, session("Application A", 0xffff));
    EXPECT_EQ(TWSX_NATIVE, session("Application B", 0xffff));
    EXPECT_EQ(TWSX_MEMORY, session("Application A", 0xffff));
}
