// The entry point, the source object, the dispatch and the server connection, run inside the
// test program through DS_Entry. The source connects through the real scan session to the
// simulated servers of the stand-ins.

#include "ControlResponder.h"
#include "DataArg_Identity.h"
#include "DataArg_UserInterface.h"
#include "FailingAllocator.h"
#include "Scanner.h"
#include "ScanCommandIntf.h"
#include "ServerDownException.h"
#include "SourceFixture.h"
#include "TransferSourceIntf.h"
#include "TwainException.h"
#include "TypeException.h"
#include "zylImageFile.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

// What the next DAT_CAPABILITY triplet does.
std::function<TW_UINT16()> g_script;

class ScriptedHandler : public AbstractDataArg {
public:
    TW_UINT16 Dispatch(pTW_IDENTITY, TW_UINT32, TW_MEMREF) override { return g_script(); }
};

class ScriptedControlResponder : public ControlResponder {
public:
    using ControlResponder::ControlResponder;
    AbstractDataArg* CreateCapability() override { return new ScriptedHandler(); }
};

// A full source whose DAT_CAPABILITY triplets run g_script; everything else is the real one.
class ScriptedSource : public AbstractSource {
public:
    ScriptedSource() : AbstractSource(true) {}
    AbstractResponder* GetControlResponder() override {
        return new ScriptedControlResponder(*this);
    }
};

std::vector<unsigned short> Values(const UInt16Array& array) {
    std::vector<unsigned short> values;
    for (std::uint32_t i = 0; i < array.GetCount(); ++i) {
        values.push_back(array.GetAt(i));
    }
    return values;
}

std::vector<double> Values(const CommonTwain::SimpleValArray<double>& array) {
    std::vector<double> values;
    for (std::uint32_t i = 0; i < array.GetCount(); ++i) {
        values.push_back(array.GetAt(i));
    }
    return values;
}

class EntryTest : public SourceFixture {
protected:
    // Publishes a scripted source and opens it through the entry point against the simulated
    // server on this machine.
    AbstractSource* OpenScriptedSource() {
        ShowSimulatedServers();
        auto* source = new ScriptedSource();
        AbstractSource::SetInstance(source);
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
        return source;
    }
};

} // namespace

TEST_F(EntryTest, NewSourceStartsFromTheDocumentedValues) {
    AbstractSource source(false);
    EXPECT_EQ(3, source.GetState());
    EXPECT_FALSE(source.IsOpen());
    EXPECT_TRUE(source.CanUnload());
    EXPECT_EQ(nullptr, AbstractSource::GetUserInterfaceHandler());
    EXPECT_EQ(&source.GetStatus(), AbstractSource::GetStatusHandler());
    const SourceState& state = source.GetSourceState();
    EXPECT_EQ(-1, state.transferCountDesired);
    EXPECT_EQ(-1, state.transferCountDefault);
    EXPECT_EQ(-1, state.transferCountAvailable);
    EXPECT_EQ(2, source.GetImageFileFormatCurrent());
    EXPECT_EQ(2, source.GetImageFileFormatDefault());
    EXPECT_EQ((std::vector<unsigned short>{0, 2, 6}), Values(source.GetImageFileFormatAvailable()));
    EXPECT_EQ(TWUN_INCHES, source.GetUnitsCurrent());
    for (TW_UINT16 unit = 0; unit < 8; ++unit) {
        EXPECT_EQ(unit <= TWUN_PIXELS, state.units.IsSupported(unit)) << unit;
    }
    EXPECT_EQ(0, source.GetTransferMechanismCurrent());
    EXPECT_EQ((std::vector<unsigned short>{0, 1, 2}), Values(state.transferMechanisms));
    EXPECT_EQ((std::vector<unsigned short>{0, 1}), Values(state.pixelFlavors));
    EXPECT_EQ("image.bmp", source.GetTransferFileName());
    EXPECT_EQ(32768u, source.GetMinBufferSize());
    EXPECT_EQ(1048576u, source.GetMaxBufferSize());
    EXPECT_EQ(1048576u, source.GetPreferredBufferSize());
    EXPECT_EQ(0u, state.pixelTypesAvailable.GetCount());
    EXPECT_EQ(0u, state.orientationsAvailable.GetCount());
    EXPECT_EQ(0u, state.physicalWidths.GetCount());
    EXPECT_EQ((std::vector<unsigned short>{
                  0x0001, 0x1005, 0x100e, 0x0100, 0x1120, 0x1112, 0x1111, 0x111f, 0x112b, 0x111c,
                  0x0101, 0x0102, 0x0103, 0x1118, 0x1119, 0x110c, 0x1116, 0x1117, 0x1012, 0x1013,
                  0x100f, 0x1002, 0x1003, 0x1007, 0x1110, 0x112d, 0x1150, 0x8001, 0x8002}),
              Values(state.supportedCaps));
    const unsigned short depths[] = {1, 8, 24, 1, 24, 32, 24, 32, 24};
    ASSERT_EQ(9u, state.bitDepths.GetCount());
    for (std::uint32_t i = 0; i < 9; ++i) {
        const bitDepthStruct& row = *state.bitDepths.ElementAt(i);
        EXPECT_EQ(depths[i], row.current);
        EXPECT_EQ(depths[i], row.defaultValue);
        EXPECT_EQ(std::vector<unsigned short>{depths[i]}, Values(row.allowed));
        EXPECT_EQ(std::vector<unsigned short>{depths[i]}, Values(row.supported));
    }
    const unsigned short compressions[] = {5, 0, 0, 0, 6, 0, 5, 0, 6, 0};
    ASSERT_EQ(10u, state.compressions.GetCount());
    for (std::uint32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(compressions[i], state.compressions.ElementAt(i)->current) << i;
        EXPECT_EQ(std::vector<unsigned short>{compressions[i]},
                  Values(state.compressions.ElementAt(i)->allowed));
    }
}

TEST_F(EntryTest, OnlyAFullSourceHasTheUserInterfaceHandler) {
    {
        AbstractSource full(true);
        EXPECT_NE(nullptr, AbstractSource::GetUserInterfaceHandler());
        EXPECT_NE(nullptr, full.GetQuorvelWrapper());
    }
    EXPECT_EQ(nullptr, AbstractSource::GetUserInterfaceHandler());
    EXPECT_EQ(nullptr, AbstractSource::GetStatusHandler());
}

TEST_F(EntryTest, TripletsWithoutAnOpenSourceUseAFreshSourceEachTime) {
    TW_IDENTITY identity = {};
    identity.Id = 77;
    EXPECT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity));
    EXPECT_STREQ("Nimbrel 5", identity.ProductName);
    EXPECT_EQ(77u, identity.Id);
    EXPECT_EQ(nullptr, AbstractSource::Instance());
    // A failure is reported by a source that is gone by the next call.
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SUCCESS, app.Call(3, DAT_IDENTITY, MSG_GET, &identity));
    EXPECT_EQ(nullptr, AbstractSource::Instance());
}

TEST_F(EntryTest, UserInterfaceAndFileSystemNeedASourceMadeToOpen) {
    AbstractSource source(false);
    AbstractSource::SetInstance(&source);
    TW_USERINTERFACE ui = {FALSE, FALSE, nullptr};
    TW_FILESYSTEM fs = {};
    const struct {
        TW_UINT16 dat;
        TW_UINT16 msg;
        TW_MEMREF data;
    } table[] = {{DAT_USERINTERFACE, MSG_ENABLEDS, &ui},
                 {DAT_USERINTERFACE, MSG_DISABLEDS, &ui},
                 {DAT_FILESYSTEM, MSG_GETFIRSTFILE, &fs},
                 {DAT_FILESYSTEM, MSG_CHANGEDIRECTORY, nullptr}};
    for (const auto& row : table) {
        EXPECT_EQ(TWRC_FAILURE,
                  source.DSEntry(&app.AppIdentity(), DG_CONTROL, row.dat, row.msg, row.data));
        EXPECT_EQ(TWCC_SEQERROR, source.GetStatus().GetConditionCode()) << row.dat;
    }
    // No connection was tried for a source that cannot serve the file system.
    EXPECT_EQ("", source.GetLastServerAddress());
    AbstractSource::SetInstance(nullptr);
}

TEST_F(EntryTest, OpenWithoutAServerKeepsTheSourceAfterTheChooserIsCancelled) {
    TW_IDENTITY identity = {};
    EXPECT_EQ(TWRC_FAILURE, app.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity));
    EXPECT_EQ(1, chooserRuns);
    AbstractSource* source = AbstractSource::Instance();
    ASSERT_NE(nullptr, source);
    EXPECT_TRUE(source->IsKeepLoaded());
    EXPECT_TRUE(source->IsFullSource());
    EXPECT_FALSE(source->IsOpen());
    EXPECT_FALSE(source->IsConnected());
    EXPECT_EQ(3, source->GetState());
    // The local machine was tried silently and is not remembered after failing.
    const std::vector<std::string> connects = LogLinesOf("INIT_connectToNonStandardServer");
    ASSERT_EQ(1u, connects.size());
    EXPECT_TRUE(Contains(connects[0], "address=\"127.0.0.1\"")) << connects[0];
    EXPECT_EQ("127.0.0.1", source->GetLastServerAddress());
    EXPECT_EQ(0, source->GetServerList().GetSize());
    // An application that closes what it failed to open (no identity was kept) is refused; the
    // source, disabled on the way, stays in state 3.
    app.AppIdentity().Id = 0;
    TW_IDENTITY none = {};
    EXPECT_EQ(TWRC_FAILURE, app.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &none));
    ASSERT_EQ(source, AbstractSource::Instance());
    EXPECT_EQ(3, source->GetState());
    // The kept source reports the failure; that success lets it go.
    EXPECT_EQ(TWCC_OPERATIONERROR, app.ConditionCode());
    EXPECT_EQ(nullptr, AbstractSource::Instance());
}

TEST_F(EntryTest, TheChoosersAnswerDecidesWhetherAFailedOpenKeepsTheSource) {
    // Only an answer of 2 keeps a source whose open failed.
    chooser = [] { return 1; };
    TW_IDENTITY identity = {};
    EXPECT_EQ(TWRC_FAILURE, app.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity));
    EXPECT_EQ(nullptr, AbstractSource::Instance());

    // An OK that connected answers 2 as well: the open succeeds and the success clears the
    // keep-loaded mark, so closing unloads the source.
    chooser = [] {
        ShowSimulatedServers();
        AbstractSource* source = AbstractSource::Instance();
        source->AddServer(new ServerInfo(true, "dev", "localhost", "Front Office", true));
        source->Connect(true);
        return 2;
    };
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    EXPECT_EQ(2, chooserRuns);
    AbstractSource* source = AbstractSource::Instance();
    ASSERT_NE(nullptr, source);
    EXPECT_TRUE(source->IsOpen());
    EXPECT_FALSE(source->IsKeepLoaded());
    EXPECT_EQ(1, source->GetServerList().GetSize());
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    EXPECT_EQ(nullptr, AbstractSource::Instance());
    EXPECT_EQ("localhost", StoredValue("ipaddress_0"));
}

TEST_F(EntryTest, OpenProbesThisMachineAndFillsTheListsFromItsServer) {
    ShowSimulatedServers();
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    EXPECT_EQ(0, chooserRuns);
    AbstractSource* source = AbstractSource::Instance();
    ASSERT_NE(nullptr, source);
    EXPECT_TRUE(source->IsConnected());
    EXPECT_EQ(4, source->GetState());
    EXPECT_EQ("127.0.0.1", source->GetLastServerAddress());
    ServerList& servers = source->GetServerList();
    ASSERT_EQ(1, servers.GetSize());
    EXPECT_EQ(0, servers.GetSelectedIndex());
    EXPECT_EQ("localhost", servers.GetAt(0)->deviceName);
    EXPECT_EQ("127.0.0.1", servers.GetAt(0)->ipAddress);
    EXPECT_EQ("", servers.GetAt(0)->nickname);
    EXPECT_FALSE(servers.GetAt(0)->reportErrors);

    // Notifications run once the capabilities are read.
    const std::vector<std::string> calls = OrvexSimCalls();
    const auto position = [&](const std::string& name) {
        return std::find(calls.begin(), calls.end(), name) - calls.begin();
    };
    EXPECT_LT(position("SCAN_openSession"), position("SCAN_serverAttributes"));
    EXPECT_LT(position("SCAN_serverAttributes"), position("INIT_monitorServer"));
    EXPECT_LT(position("INIT_monitorServer"), position("SCAN_getEventsEx"));
    EXPECT_LT(position("SCAN_getEventsEx"), position("SCAN_getAlertEvents"));
    EXPECT_LT(position("SCAN_getAlertEvents"), static_cast<std::ptrdiff_t>(calls.size()));

    // The default server: colour, grey and black and white with colour current, up to 600 dpi,
    // both orientations and a document feeder.
    const SourceState& state = source->GetSourceState();
    EXPECT_EQ((std::vector<unsigned short>{TWPT_RGB, TWPT_GRAY, TWPT_BW}),
              Values(state.pixelTypesAvailable));
    EXPECT_EQ(Values(state.pixelTypesAvailable), Values(state.pixelTypesSupported));
    EXPECT_EQ(TWPT_RGB, state.pixelTypeCurrent);
    EXPECT_EQ(TWPT_RGB, state.pixelTypeDefault);
    EXPECT_EQ((std::vector<double>{11.0, 11.0 * 2.54, 66.0, 792.0, 15840.0, 6600.0}),
              Values(state.physicalHeights));
    EXPECT_EQ((std::vector<double>{17.0, 17.0 * 2.54, 102.0, 1224.0, 24480.0, 10200.0}),
              Values(state.physicalWidths));
    EXPECT_EQ((std::vector<unsigned short>{TWOR_PORTRAIT, TWOR_LANDSCAPE}),
              Values(state.orientationsAvailable));
    EXPECT_EQ(Values(state.orientationsAvailable), Values(state.orientationsSupported));
    EXPECT_EQ(1, state.feederAvailable);
    EXPECT_EQ(1, state.duplex) << "CAP_DUPLEX reports the feeder";
    EXPECT_EQ(0, state.duplexEnabled);
    EXPECT_EQ(0, state.feederEnabled);
}

TEST_F(EntryTest, CloseDisconnectsSavesTheServerAndTheNextTripletGetsANewSource) {
    ShowSimulatedServers();
    ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
    EXPECT_EQ("<missing>", StoredValue("numservers"));
    OrvexSim_ClearLog();

    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    EXPECT_EQ(nullptr, AbstractSource::Instance());
    const std::vector<std::string> calls = OrvexSimCalls();
    const auto closeSession = std::find(calls.begin(), calls.end(), "SCAN_closeSession");
    EXPECT_NE(calls.end(), closeSession);
    EXPECT_NE(calls.end(), std::find(closeSession, calls.end(), "INIT_disconnectFromServer"));
    EXPECT_EQ("1", StoredValue("numservers"));
    EXPECT_EQ("0", StoredValue("selectedserver"));
    EXPECT_EQ("127.0.0.1", StoredValue("ipaddress_0"));
    EXPECT_EQ("localhost", StoredValue("devicename_0"));

    // The next triplet, whatever it is, meets a new source in state 3: this one stays only
    // because its open fails, no server answering now.
    HideSimulatedServers();
    TW_IDENTITY identity = {};
    EXPECT_EQ(TWRC_FAILURE, app.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity));
    ASSERT_NE(nullptr, AbstractSource::Instance());
    EXPECT_EQ(3, AbstractSource::Instance()->GetState());
    EXPECT_EQ(1, AbstractSource::Instance()->GetServerList().GetSize());
}

TEST_F(EntryTest, AConnectAfterAFailureDoesNotRetryTheSameServer) {
    ShowSimulatedServers();
    // An address nothing answers, with errors reported or not, and a server whose session
    // cannot open.
    const struct {
        const char* address;
        bool reportErrors;
        const char* failNext;
        size_t disconnects;
        bool connectsWhenForced;
    } table[] = {{"no-such-server", false, nullptr, 0, false},
                 {"no-such-server", true, nullptr, 0, false},
                 {"localhost", true, "SCAN_openSession", 1, true}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.address);
        AbstractSource source(true);
        source.AddServer(new ServerInfo(true, "dev", row.address, "Floor 3", row.reportErrors));
        OrvexSim_ClearLog();
        if (row.failNext != nullptr) {
            OrvexSim_FailNext(row.failNext, QUORVEL_GENERAL_FAILURE);
        }
        EXPECT_FALSE(source.Connect(false));
        EXPECT_FALSE(source.IsConnected());
        EXPECT_EQ(row.address, source.GetLastServerAddress());
        EXPECT_EQ(1u, LogLinesOf("INIT_connectToNonStandardServer").size());
        EXPECT_EQ(row.disconnects, LogLinesOf("INIT_disconnectFromServer").size())
            << "a connection made is closed again";
        EXPECT_FALSE(source.Connect(false));
        EXPECT_EQ(1u, LogLinesOf("INIT_connectToNonStandardServer").size());
        // A forced connect tries again.
        EXPECT_EQ(row.connectsWhenForced, source.Connect(true));
        EXPECT_EQ(2u, LogLinesOf("INIT_connectToNonStandardServer").size());
    }
}

TEST_F(EntryTest, ReconnectingReplacesTheServerDependentLists) {
    ShowSimulatedServers();
    AbstractSource source(true);
    ASSERT_TRUE(source.Connect(false));
    const SourceState& state = source.GetSourceState();
    ASSERT_EQ(2u, state.orientationsAvailable.GetCount());
    ASSERT_EQ(1, state.feederAvailable);
    OrvexSim_ClearLog();

    // A black-and-white copier that lists grey and colour, has no feeder and no orientation.
    source.AddServer(new ServerInfo(false, "", "caps-bw-lists-color", "", false));
    ASSERT_TRUE(source.Connect(true));
    EXPECT_EQ("caps-bw-lists-color", source.GetLastServerAddress());
    const std::vector<std::string> calls = OrvexSimCalls();
    const auto disconnect = std::find(calls.begin(), calls.end(), "INIT_disconnectFromServer");
    EXPECT_LT(disconnect, std::find(calls.begin(), calls.end(), "INIT_connectToNonStandardServer"))
        << "the first session closes before the next connects";
    EXPECT_EQ((std::vector<unsigned short>{TWPT_GRAY, TWPT_RGB}),
              Values(state.pixelTypesAvailable));
    EXPECT_EQ(Values(state.pixelTypesAvailable), Values(state.pixelTypesSupported));
    EXPECT_EQ(TWPT_RGB, state.pixelTypeCurrent);
    // Its largest resolution is 1000 dpi (100 to 1200 by 300).
    EXPECT_EQ((std::vector<double>{11.0, 11.0 * 2.54, 66.0, 792.0, 15840.0, 11000.0}),
              Values(state.physicalHeights));
    EXPECT_EQ((std::vector<double>{17.0, 17.0 * 2.54, 102.0, 1224.0, 24480.0, 17000.0}),
              Values(state.physicalWidths));
    EXPECT_EQ(0u, state.orientationsAvailable.GetCount());
    EXPECT_EQ(0u, state.orientationsSupported.GetCount());
    EXPECT_EQ(0, state.feederAvailable);
}

TEST_F(EntryTest, AServerThatGoesDownFailsTheNextTripletAndIsDropped) {
    AbstractSource* source = OpenScriptedSource();
    // As the scan model's server operations do once the server has gone.
    g_script = []() -> TW_UINT16 {
        if (AbstractSource::Instance()->GetScanner()->IsServerDown()) {
            throw ServerDownException(__FILE__, __LINE__);
        }
        return TWRC_SUCCESS;
    };
    TW_CAPABILITY capability = {};
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability));
    EXPECT_LE(1, OrvexSim_SetServerDown("default", 1));
    OrvexSim_ClearLog();
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CHECKDEVICEONLINE,
                 app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability));
    EXPECT_FALSE(source->IsConnected());
    EXPECT_EQ(1u, LogLinesOf("SCAN_closeSession").size());
    EXPECT_EQ(1u, LogLinesOf("INIT_disconnectFromServer").size());
    // The source stays open, without a server, until the application closes it.
    EXPECT_TRUE(source->IsOpen());
    EXPECT_EQ(4, source->GetState());
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    EXPECT_EQ(nullptr, AbstractSource::Instance());
}

TEST_F(EntryTest, ConditionCodeFollowsEachAnswer) {
    OpenScriptedSource();
    TW_IDENTITY identity = {};
    TW_STATUS status = {};
    // Unknown data group.
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_OPERATIONERROR, app.Call(3, DAT_STATUS, MSG_GET, &status));
    // Audio, and the handlers that answer nothing, fail without touching the code.
    const struct {
        TW_UINT32 dg;
        TW_UINT16 dat;
    } silent[] = {{DG_AUDIO, DAT_AUDIOINFO},       {DG_AUDIO, DAT_AUDIONATIVEXFER},
                  {DG_CONTROL, DAT_XFERGROUP},     {DG_CONTROL, DAT_CUSTOMDSDATA},
                  {DG_CONTROL, DAT_PASSTHRU},      {DG_CONTROL, DAT_PARENT},
                  {DG_CONTROL, DAT_TWUNKIDENTITY}, {DG_IMAGE, DAT_CIECOLOR},
                  {DG_IMAGE, DAT_GRAYRESPONSE},    {DG_IMAGE, DAT_RGBRESPONSE},
                  {DG_IMAGE, DAT_JPEGCOMPRESSION}, {DG_IMAGE, DAT_PALETTE8},
                  {DG_IMAGE, DAT_EXTIMAGEINFO},    {DG_IMAGE, 0x1ff}};
    for (const auto& row : silent) {
        for (int round = 0; round < 2; ++round) {
            ASSERT_EQ(TWRC_FAILURE, app.Call(3, DAT_STATUS, MSG_GET, &status));
            for (TW_UINT16 msg : {MSG_GET, MSG_SET, MSG_RESET, MSG_PASSTHRU}) {
                EXPECT_EQ(TWRC_FAILURE, app.Call(row.dg, row.dat, msg, &identity))
                    << row.dg << "/" << row.dat << "/" << msg;
            }
            EXPECT_EQ(TWCC_OPERATIONERROR, app.ConditionCode()) << row.dg << "/" << row.dat;
        }
    }
    // A success resets the code; reading it resets it as well.
    ASSERT_EQ(TWRC_FAILURE, app.Call(3, DAT_STATUS, MSG_GET, &status));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 app.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity));
    // A null pData is TWCC_BADVALUE everywhere.
    const struct {
        TW_UINT16 dat;
        TW_UINT16 msg;
    } nulls[] = {{DAT_IDENTITY, MSG_GET},
                 {DAT_IDENTITY, MSG_OPENDS},
                 {DAT_IDENTITY, MSG_CLOSEDS},
                 {DAT_STATUS, MSG_GET},
                 {DAT_USERINTERFACE, MSG_DISABLEDS}};
    for (const auto& row : nulls) {
        EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                     app.Call(DG_CONTROL, row.dat, row.msg, nullptr));
    }
    EXPECT_TRUE(AbstractSource::Instance()->IsOpen());
}

TEST_F(EntryTest, EveryExceptionBecomesItsCodes) {
    AbstractSource* source = OpenScriptedSource();
    OrvexSim_ClearLog();
    const struct {
        const char* name;
        std::function<TW_UINT16()> script;
        TW_UINT16 rc;
        TW_UINT16 cc;
    } table[] = {
        {"server down", []() -> TW_UINT16 { throw ServerDownException(__FILE__, __LINE__); },
         TWRC_FAILURE, TWCC_CHECKDEVICEONLINE},
        {"twain", []() -> TW_UINT16 { throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR); },
         TWRC_FAILURE, TWCC_SEQERROR},
        {"twain cancel",
         []() -> TW_UINT16 {
             throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE, TWRC_CANCEL);
         },
         TWRC_CANCEL, TWCC_BADVALUE},
        {"family", []() -> TW_UINT16 { throw CommonTwain::TypeException(__FILE__, __LINE__); },
         TWRC_FAILURE, TWCC_BUMMER},
        {"no memory", []() -> TW_UINT16 { throw std::bad_alloc(); }, TWRC_FAILURE, TWCC_LOWMEMORY},
        {"standard", []() -> TW_UINT16 { throw std::runtime_error("x"); }, TWRC_FAILURE,
         TWCC_BUMMER},
        // Answers without an exception: success-like ones reset the code, the rest keep it.
        {"success", [] { return TWRC_SUCCESS; }, TWRC_SUCCESS, TWCC_SUCCESS},
        {"ds event", [] { return TWRC_DSEVENT; }, TWRC_DSEVENT, TWCC_SUCCESS},
        {"not ds event", [] { return TWRC_NOTDSEVENT; }, TWRC_NOTDSEVENT, TWCC_SUCCESS},
        {"xfer done", [] { return TWRC_XFERDONE; }, TWRC_XFERDONE, TWCC_SUCCESS},
        {"cancel", [] { return TWRC_CANCEL; }, TWRC_CANCEL, TWCC_OPERATIONERROR},
        {"plain failure", [] { return TWRC_FAILURE; }, TWRC_FAILURE, TWCC_OPERATIONERROR},
        {"check status", [] { return TWRC_CHECKSTATUS; }, TWRC_CHECKSTATUS, TWCC_OPERATIONERROR},
    };
    TW_CAPABILITY capability = {};
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(TWRC_FAILURE, app.Call(3, DAT_CAPABILITY, MSG_GET, &capability));
        g_script = row.script;
        EXPECT_TWAIN(app, row.rc, row.cc,
                     app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability));
    }
    // The lost server was dropped, and only for that failure.
    EXPECT_EQ(1u, LogLinesOf("INIT_disconnectFromServer").size());
    EXPECT_FALSE(source->IsConnected());
    EXPECT_TRUE(source->IsOpen());
}

TEST_F(EntryTest, OneApplicationAtATime) {
    OpenScriptedSource();
    EXPECT_EQ(4, AbstractSource::Instance()->GetState());
    TW_IDENTITY identity = {};
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_SEQERROR,
                 app.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity));
    TW_IDENTITY other = app.AppIdentity();
    other.Id = 9;
    EXPECT_EQ(TWRC_FAILURE, DS_Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity));
    EXPECT_EQ(TWCC_MAXCONNECTIONS, app.ConditionCode());
    TW_IDENTITY source = app.SourceIdentity();
    EXPECT_EQ(TWRC_FAILURE, DS_Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source));
    EXPECT_EQ(TWCC_OPERATIONERROR, app.ConditionCode());
    // The first application keeps its open source, undisturbed.
    ASSERT_NE(nullptr, AbstractSource::Instance());
    EXPECT_TRUE(AbstractSource::Instance()->IsOpen());
    EXPECT_EQ(4, AbstractSource::Instance()->GetState());
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
}

TEST_F(EntryTest, PixelTypesFollowTheServersColourModes) {
    AbstractSource source(false);
    const struct {
        std::vector<std::string> modes;
        int current;
        std::vector<unsigned short> types;
        TW_UINT16 expected;
    } table[] = {
        {{"COLOR", "BLACK_WHITE"}, 0, {2, 0}, 2},
        {{"COLOR", "BLACK_WHITE"}, 1, {2, 0}, 0},
        {{"AUTO", "GREYSCALE", "GRAYSCALE"}, 1, {1, 1}, 1},
        {{"AUTO", "COLOR"}, 0, {2}, 0},
        {{"COLOR"}, 5, {2}, 0},
        {{}, 0, {}, 0},
    };
    for (const auto& row : table) {
        source.LoadPixelTypes(row.modes, row.current);
        const SourceState& state = source.GetSourceState();
        EXPECT_EQ(row.types, Values(state.pixelTypesAvailable));
        EXPECT_EQ(row.types, Values(state.pixelTypesSupported));
        EXPECT_EQ(row.expected, state.pixelTypeCurrent);
        EXPECT_EQ(row.expected, state.pixelTypeDefault);
    }
}

TEST_F(EntryTest, RememberedValuesOfTheApplicationAreLoadedWhenValid) {
    OpenScriptedSource();
    AbstractSource* source = AbstractSource::Instance();
    DataArg_Identity* identity = source->GetIdentityArg();
    CommonCpp::XGPreferencesIntf* store = source->GetPreferences();
    const auto check = [&](int mechanism, int flavor, int format, int units, TW_UINT16 mechanismOut,
                           TW_UINT16 flavorOut, TW_UINT16 formatOut, TW_UINT16 unitsOut) {
        store->SetInt(identity->GetKey(ICAP_XFERMECH), mechanism);
        store->SetInt(identity->GetKey(ICAP_PIXELFLAVOR), flavor);
        store->SetInt(identity->GetKey(ICAP_IMAGEFILEFORMAT), format);
        store->SetInt(identity->GetKey(ICAP_UNITS), units);
        source->LoadApplicationPreferences();
        EXPECT_EQ(mechanismOut, source->GetTransferMechanismCurrent());
        EXPECT_EQ(flavorOut, source->GetPixelFlavorCurrent());
        EXPECT_EQ(formatOut, source->GetImageFileFormatCurrent());
        EXPECT_EQ(unitsOut, source->GetUnitsCurrent());
    };
    check(2, 1, TWFF_TIFF, TWUN_PIXELS, 2, 1, TWFF_TIFF, TWUN_PIXELS);
    EXPECT_EQ("2", StoredValue("103;2;1Twain Test App;Tests;Test Maker;"));
    // Out of range: the mechanism and flavor stay, file format and units fall back.
    check(3, 2, TWFF_JFIF, 9, 2, 1, TWFF_BMP, TWUN_INCHES);
}

TEST_F(EntryTest, AnAllocationFailureWhileBuildingLeavesNoSource) {
    // Building once first: one-time set-up in the libraries must not shift the count.
    delete new AbstractSource(true);
    FailingAllocator::Count(true);
    delete new AbstractSource(true);
    const long allocations = FailingAllocator::Count();
    ASSERT_GT(allocations, 10);
    // Every early point, a spread over the wrapper and the handlers, and the last tables (each
    // wrapper built costs its 150 ms close).
    std::vector<long> failPoints;
    for (long failAt = 0; failAt < allocations - 3; failAt += (failAt < 40 ? 1 : 29)) {
        failPoints.push_back(failAt);
    }
    for (long failAt = allocations - 3; failAt < allocations; ++failAt) {
        failPoints.push_back(failAt);
    }
    for (long failAt : failPoints) {
        TW_IDENTITY identity = {};
        FailingAllocator::FailAfter(failAt);
        const TW_UINT16 rc = app.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity);
        FailingAllocator::Disarm();
        EXPECT_EQ(TWRC_FAILURE, rc) << failAt;
        EXPECT_EQ(nullptr, AbstractSource::Instance()) << failAt;
        EXPECT_EQ(nullptr, AbstractSource::GetStatusHandler()) << failAt;
        EXPECT_EQ(nullptr, AbstractSource::GetUserInterfaceHandler()) << failAt;
    }
    // The entry point still works afterwards.
    TW_IDENTITY identity = {};
    EXPECT_EQ(TWRC_SUCCESS, app.Call(DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity));
    EXPECT_STREQ("Nimbrel 5", identity.ProductName);
}

TEST_F(EntryTest, AnAllocationFailureInsideATripletIsLowMemory) {
    OpenScriptedSource();
    TW_CAPABILITY capability = {};
    g_script = [] { return static_cast<TW_UINT16>(std::string(64, 'x').size() == 64 ? 0 : 1); };
    FailingAllocator::FailAfter(0);
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_LOWMEMORY,
                 app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability));
    FailingAllocator::Disarm();
}

TEST_F(EntryTest, TheSourceCountsTheScanCommandsPagesAsPendingTransfers) {
    ShowSimulatedServers();
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    AbstractSource* const source = AbstractSource::Instance();
    ASSERT_NE(nullptr, source);
    EXPECT_EQ(source, TransferSourceIntf::Current()) << "the image files' data source";

    Scanner* const scanner = source->GetScanner();
    ASSERT_TRUE(scanner->RefreshJobs());
    zylImageFile* const image = scanner->FindImageFileByJobID(103); // three pages
    ASSERT_NE(nullptr, image);
    image->BeginTransfer();
    ScanCommandIntf* const command = scanner->GetScanCommand();
    command->AttachImageFile(image);
    EXPECT_EQ(0, source->GetPendingTransferCount()) << "state 4";
    source->SetState(6);
    EXPECT_EQ(3, source->GetPendingTransferCount());
    EXPECT_EQ(3, TransferSourceIntf::PendingTransferCount());
    command->Reset();
    EXPECT_EQ(0, source->GetPendingTransferCount());
    source->SetState(4);

    Unload();
    EXPECT_EQ(nullptr, TransferSourceIntf::Current());
}

TEST_F(EntryTest, TheUserInterfaceHandlerKeepsTheAcquisitionsState) {
    ShowSimulatedServers();
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    AbstractSource* const source = AbstractSource::Instance();
    DataArg_UserInterface* const ui = AbstractSource::GetUserInterfaceHandler();
    ASSERT_NE(nullptr, ui);
    ScannerUiIntf* const scanModelView = ui;
    EXPECT_FALSE(scanModelView->IsAcquireActive()) << "nobody stopped";
    ui->RequestClose();
    EXPECT_TRUE(scanModelView->IsAcquireActive());
    ui->ClearCloseRequest();
    EXPECT_FALSE(scanModelView->IsAcquireActive());

    // No source manager opened this source: DAT_EVENT reports the notices.
    source->SetState(5);
    ui->NotifyTransferReady();
    EXPECT_EQ(6, source->GetState());
    EXPECT_TRUE(source->IsTransferReadyPending());
    EXPECT_FALSE(ui->IsPageDone());
    source->SetState(7);
    ui->NotifyCloseRequest();
    EXPECT_EQ(6, source->GetState());
    EXPECT_TRUE(source->IsCloseRequestPending());
    source->SetState(4);
}

// Without a window implementation the source cannot show its windows.
TEST_F(EntryTest, EnablingIsRefusedWithoutWindows) {
    DataArg_UserInterface::SetWindowFactory(nullptr);
    ShowSimulatedServers();
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.OpenSource("Nimbrel 5"));
    TW_USERINTERFACE ui = {};
    ui.ShowUI = TRUE;
    ui.hParent = app.Window();
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADPROTOCOL,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_CAPBADOPERATION,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, &ui));
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, nullptr));
    EXPECT_EQ(4, AbstractSource::Instance()->GetState());
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
}

TEST_F(EntryTest, AFailedTripletLeavesTheAnnouncedPageAlone) {
    OpenScriptedSource();
    DataArg_UserInterface* const ui = AbstractSource::GetUserInterfaceHandler();
    ASSERT_NE(nullptr, ui);
    ui->NotifyTransferReady();
    ASSERT_FALSE(ui->IsPageDone());
    // No progress window is shown, so the failure has nothing to close.
    g_script = []() -> TW_UINT16 { throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE); };
    TW_CAPABILITY capability = {};
    EXPECT_TWAIN(app, TWRC_FAILURE, TWCC_BADVALUE,
                 app.Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &capability));
    EXPECT_FALSE(ui->IsPageDone());
    AbstractSource::Instance()->SetState(4);
}

TEST_F(EntryTest, DeletingAnOpenSourceSavesTheServersAndDisconnects) {
    ShowSimulatedServers();
    {
        AbstractSource source(true);
        ASSERT_TRUE(source.Open());
        EXPECT_EQ("<missing>", StoredValue("numservers"));
        OrvexSim_ClearLog();
    }
    EXPECT_EQ("1", StoredValue("numservers"));
    EXPECT_EQ("127.0.0.1", StoredValue("ipaddress_0"));
    EXPECT_EQ(1u, LogLinesOf("SCAN_closeSession").size());
    EXPECT_EQ(1u, LogLinesOf("INIT_disconnectFromServer").size());
}
