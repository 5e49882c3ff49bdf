// Capability negotiation run inside the test program through DS_Entry, against a source open on
// the simulated server of this machine; and the value holder of capabilities remembered per
// application.

#include "AppCapId.h"
#include "CapPreference_TW_UINT16.h"
#include "CapabilityCases.h"
#include "CapabilityHandlerTable.h"
#include "ServerCapabilityCases.h"
#include "SourceFixture.h"
#include "TwainException.h"

#include <cstring>
#include <set>

namespace {

class CapabilityTest : public SourceFixture {
protected:
    void Open(TwainTestApp& application) {
        ShowSimulatedServers();
        EXPECT_TWAIN(application, TWRC_SUCCESS, TWCC_SUCCESS, application.OpenSource("Nimbrel 5"));
    }
};

// The TWQC bits MSG_QUERYSUPPORT answers for a capability.
TW_UINT32 QuerySupport(TwainTestApp& application, TW_UINT16 cap) {
    CapAnswer answer;
    EXPECT_EQ(TWRC_SUCCESS, CallCapability(application, cap, MSG_QUERYSUPPORT, Empty(), answer));
    EXPECT_EQ(TWTY_INT32, answer.itemType);
    return answer.items.empty() ? 0 : answer.items[0];
}

// Keys "<cap>@app" of one application.
class FixedKey : public AppCapId {
public:
    std::string GetKey(TW_UINT16 capabilityId) const override {
        return std::to_string(capabilityId) + "@app";
    }
};

class CapPreferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductKey();
        store = std::make_unique<CommonCpp::XGPreferences>(
            "Halcyra", "Nimbrel", "5", CommonCpp::XGPreferences::ScopeCurrentUser);
        units.SetStore(store.get());
        units.SetAppCapId(&key);
        for (TW_UINT16 value : {3, 1, 0, 5}) {
            units.AddValue(value);
        }
    }
    void TearDown() override {
        store.reset();
        RemoveProductKey();
    }

    std::vector<unsigned short> Available() const {
        const CommonTwain::SimpleValArray<unsigned short> values = units.GetAvailable();
        std::vector<unsigned short> list;
        for (std::uint32_t i = 0; i < values.GetCount(); ++i) {
            list.push_back(values.GetAt(i));
        }
        return list;
    }

    static CommonTwain::SimpleValArray<unsigned short> List(std::vector<unsigned short> values) {
        CommonTwain::SimpleValArray<unsigned short> list;
        for (unsigned short value : values) {
            list.Append(value);
        }
        return list;
    }

    // The condition code a call fails with; TWCC_SUCCESS when it does not fail.
    template <typename Call> static TW_UINT16 ConditionOf(Call call) {
        try {
            call();
        } catch (const TwainException& e) {
            return e.GetConditionCode();
        }
        return TWCC_SUCCESS;
    }

    std::unique_ptr<CommonCpp::XGPreferences> store;
    FixedKey key;
    CapPreference_TW_UINT16 units{ICAP_UNITS, 0};
};

} // namespace

TEST_F(CapabilityTest, TheNegotiationTableHoldsThroughTheEntry) {
    Open(app);
    RunCapabilityCases(app, CapabilityNegotiationCases(), [](TW_UINT16 state) {
        AbstractSource::Instance()->SetState(state);
        return true;
    });
}

// An application plans its negotiation by MSG_QUERYSUPPORT: every bit it answers must name a
// message that then succeeds, and every message that succeeds must have its bit; on every
// server, since what a server lacks cannot be negotiated.
TEST_F(CapabilityTest, QuerySupportNamesExactlyTheOperationsThatSucceed) {
    const struct {
        TW_INT32 bit;
        TW_UINT16 msg;
    } reads[] = {{TWQC_GET, MSG_GET},
                 {TWQC_GETCURRENT, MSG_GETCURRENT},
                 {TWQC_GETDEFAULT, MSG_GETDEFAULT},
                 {TWQC_RESET, MSG_RESET}};
    for (const ServerProfile& profile : ServerProfiles()) {
        SCOPED_TRACE(profile.server);
        ChooseServerForNextOpen(profile);
        Open(app);
        int served = 0;
        for (const CapabilityHandlerTable::Row& row : CapabilityHandlerTable::Build()) {
            for (TW_UINT16 cap : row.ids) {
                SCOPED_TRACE("cap " + std::to_string(cap));
                const TW_UINT32 mask = QuerySupport(app, cap);
                EXPECT_EQ(0u, mask & ~0x1fu) << "bits of no message";
                served += mask != 0;
                CapAnswer answer;
                for (const auto& read : reads) {
                    EXPECT_EQ((mask & read.bit) != 0,
                              CallCapability(app, cap, read.msg, Empty(), answer) == TWRC_SUCCESS)
                        << "msg " << read.msg;
                }
                // A settable capability takes its current value or one it lists; the others
                // take none of them.
                std::vector<CapContainer> values = {OneValue(TWTY_UINT16, 0)};
                if (CallCapability(app, cap, MSG_GETCURRENT, Empty(), answer) == TWRC_SUCCESS &&
                    !answer.items.empty()) {
                    values.push_back(OneValue(answer.itemType, answer.items[0]));
                }
                if (CallCapability(app, cap, MSG_GET, Empty(), answer) == TWRC_SUCCESS) {
                    for (TW_UINT32 item : answer.items) {
                        values.push_back(OneValue(answer.itemType, item));
                    }
                }
                bool set = false;
                for (const CapContainer& value : values) {
                    set = set || CallCapability(app, cap, MSG_SET, value, answer) == TWRC_SUCCESS;
                }
                EXPECT_EQ((mask & TWQC_SET) != 0, set);
            }
        }
        EXPECT_GT(served, 0);
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    }
}

// CAP_SUPPORTEDCAPS names each capability that MSG_QUERYSUPPORT promises something for, and no
// other, as the server and the application's own settings change what is served.
TEST_F(CapabilityTest, SupportedCapabilitiesAreExactlyTheServedOnes) {
    const auto expectExact = [&] {
        CapAnswer answer;
        ASSERT_EQ(TWRC_SUCCESS, CallCapability(app, CAP_SUPPORTEDCAPS, MSG_GET, Empty(), answer));
        ASSERT_EQ(TWON_ARRAY, answer.conType);
        std::set<TW_UINT32> listed(answer.items.begin(), answer.items.end());
        EXPECT_EQ(listed.size(), answer.items.size()) << "each id once";
        for (const CapabilityHandlerTable::Row& row : CapabilityHandlerTable::Build()) {
            for (TW_UINT16 cap : row.ids) {
                EXPECT_EQ(QuerySupport(app, cap) != 0, listed.count(cap) == 1) << "cap " << cap;
                listed.erase(cap);
            }
        }
        EXPECT_TRUE(listed.empty()) << "ids no handler serves";
    };
    for (const ServerProfile& profile : ServerProfiles()) {
        SCOPED_TRACE(profile.server);
        ChooseServerForNextOpen(profile);
        Open(app);
        expectExact();
        // The feeder's state and a size found by the server come and go with these.
        SetValue(app, CAP_FEEDERENABLED, TRUE);
        SetValue(app, ICAP_UNDEFINEDIMAGESIZE, TRUE);
        expectExact();
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    }
}

TEST_F(CapabilityTest, EachServerAnswersItsOwnTable) {
    for (const ServerProfile& profile : ServerProfiles()) {
        SCOPED_TRACE(profile.server);
        ChooseServerForNextOpen(profile);
        Open(app);
        ASSERT_EQ(profile.address, AbstractSource::Instance()->GetLastServerAddress());
        RunCapabilityCases(app, ServerCapabilityCases(profile), [](TW_UINT16 state) {
            AbstractSource::Instance()->SetState(state);
            return true;
        });
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    }
}

// The device goes offline as soon as the server is reported down, before any triplet meets
// the lost connection, and comes back with a new connection.
TEST_F(CapabilityTest, DeviceOnlineFollowsTheServer) {
    Open(app);
    AbstractSource* const source = AbstractSource::Instance();
    CapAnswer answer;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, CAP_DEVICEONLINE, MSG_GET, Empty(), answer));
    EXPECT_EQ(std::vector<TW_UINT32>{TRUE}, answer.items);

    EXPECT_LE(1, OrvexSim_SetServerDown("default", 1));
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT}) {
        EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                     CallCapability(app, CAP_DEVICEONLINE, msg, Empty(), answer));
        EXPECT_EQ(std::vector<TW_UINT32>{FALSE}, answer.items) << msg;
    }
    // Asking made no new session: the lost one is still there for the next triplet to meet.
    EXPECT_TRUE(source->IsConnected());

    // The source dropped the session; no server answers a plain reconnect.
    source->Disconnect();
    EXPECT_FALSE(source->Connect(true));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, CAP_DEVICEONLINE, MSG_GET, Empty(), answer));
    EXPECT_EQ(std::vector<TW_UINT32>{FALSE}, answer.items);

    OrvexSim_SetServerDown("default", 0);
    ASSERT_TRUE(source->Connect(true));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, CAP_DEVICEONLINE, MSG_GET, Empty(), answer));
    EXPECT_EQ(std::vector<TW_UINT32>{TRUE}, answer.items);
}

// Without a selected server there is no address to give; the source that answers is made for
// this one triplet.
TEST_F(CapabilityTest, ServerAddressIsEmptyBeforeAServerIsSelected) {
    CapAnswer answer;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, 0x8001, MSG_GET, Empty(), answer));
    EXPECT_EQ(TWTY_STR255, answer.itemType);
    EXPECT_EQ("", answer.text);
}

// A reset returns to what the connection chose from the server's colour modes; where that
// choice is a pixel type the server does not offer, to the first one it does.
TEST_F(CapabilityTest, PixelTypeResetNeverChoosesWhatTheServerLacks) {
    const struct {
        std::vector<std::string> modes;
        int current;
        TW_UINT16 connected;
        TW_UINT16 reset;
    } table[] = {
        {{"COLOR", "GRAYSCALE", "BLACK_WHITE"}, 1, TWPT_GRAY, TWPT_GRAY},
        {{"COLOR", "BLACK_WHITE"}, 1, TWPT_BW, TWPT_BW},
        {{"AUTO", "COLOR"}, 0, TWPT_BW, TWPT_RGB},
        {{"GRAYSCALE", "COLOR"}, 7, TWPT_BW, TWPT_GRAY},
        {{"AUTO"}, 0, TWPT_BW, TWPT_BW},
    };
    for (const auto& row : table) {
        AbstractSource source(false);
        source.LoadPixelTypes(row.modes, row.current);
        EXPECT_EQ(row.connected, source.GetPixelTypeCurrent());
        EXPECT_EQ(row.connected, source.GetPixelTypeDefault());
        source.SetPixelTypeEnumeration(CapSupport::ValueList());
        source.ResetPixelType();
        EXPECT_EQ(row.reset, source.GetPixelTypeCurrent()) << row.modes.front();
        EXPECT_EQ(row.reset, source.GetPixelTypeDefault());
        EXPECT_EQ(source.GetSourceState().pixelTypesSupported.GetCount(),
                  source.GetPixelTypeAvailable().GetCount());
    }
}

TEST_F(CapabilityTest, EachApplicationFindsTheValuesItLeft) {
    const std::string keyTail = ";2;1Twain Test App;Tests;Test Maker;";
    Open(app);
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, SetValue(app, ICAP_XFERMECH, TWSX_MEMORY));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, SetValue(app, ICAP_PIXELFLAVOR, TWPF_VANILLA));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, SetValue(app, ICAP_IMAGEFILEFORMAT, TWFF_TIFF));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, SetValue(app, ICAP_COMPRESSION, TWCP_NONE));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, SetValue(app, CAP_XFERCOUNT, 3));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    // The form of the stored values is what earlier versions wrote.
    EXPECT_EQ("2", StoredValue("103" + keyTail));
    EXPECT_EQ("1", StoredValue("111f" + keyTail));
    EXPECT_EQ("0", StoredValue("110c" + keyTail));
    EXPECT_EQ("0", StoredValue("100" + keyTail));
    EXPECT_EQ("<missing>", StoredValue("1" + keyTail)) << "the transfer count is not remembered";

    Open(app);
    EXPECT_EQ(TWSX_MEMORY, CurrentValue(app, ICAP_XFERMECH));
    EXPECT_EQ(TWPF_VANILLA, CurrentValue(app, ICAP_PIXELFLAVOR));
    EXPECT_EQ(TWFF_TIFF, CurrentValue(app, ICAP_IMAGEFILEFORMAT));
    EXPECT_EQ(0xffffffffu, CurrentValue(app, CAP_XFERCOUNT));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());

    // Another application starts from the defaults and leaves the first one's values alone.
    TwainTestApp other(DS_Entry);
    std::strcpy(other.AppIdentity().ProductName, "Other App");
    other.AppIdentity().Id = 2;
    Open(other);
    EXPECT_EQ(TWSX_NATIVE, CurrentValue(other, ICAP_XFERMECH));
    EXPECT_EQ(TWPF_CHOCOLATE, CurrentValue(other, ICAP_PIXELFLAVOR));
    EXPECT_EQ(TWFF_BMP, CurrentValue(other, ICAP_IMAGEFILEFORMAT));
    EXPECT_TWAIN(other, TWRC_SUCCESS, TWCC_SUCCESS, SetValue(other, ICAP_XFERMECH, TWSX_FILE));
    EXPECT_TWAIN(other, TWRC_SUCCESS, TWCC_SUCCESS, other.CloseSource());

    // A reset is remembered as well.
    Open(app);
    EXPECT_EQ(TWSX_MEMORY, CurrentValue(app, ICAP_XFERMECH));
    CapAnswer answer;
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS,
                 CallCapability(app, ICAP_XFERMECH, MSG_RESET, Empty(), answer));
    EXPECT_TWAIN(app, TWRC_SUCCESS, TWCC_SUCCESS, app.CloseSource());
    Open(app);
    EXPECT_EQ(TWSX_NATIVE, CurrentValue(app, ICAP_XFERMECH));
    EXPECT_EQ(TWPF_VANILLA, CurrentValue(app, ICAP_PIXELFLAVOR));
}

TEST_F(CapPreferenceTest, AnEnumerationNarrowsTheAllowedValuesOnly) {
    EXPECT_EQ((std::vector<unsigned short>{0, 1, 3, 5}), Available());
    units.SetEnumeration(List({3, 1, 3}));
    EXPECT_EQ((std::vector<unsigned short>{1, 3}), Available());
    EXPECT_EQ(0, units.GetCurrent()) << "the current value need not be allowed";
    // A value that is not supported refuses the whole list.
    EXPECT_EQ(TWCC_BADVALUE, ConditionOf([&] { units.SetEnumeration(List({5, 2})); }));
    EXPECT_EQ((std::vector<unsigned short>{1, 3}), Available());
    units.SetEnumeration(List({}));
    EXPECT_TRUE(Available().empty());
    EXPECT_TRUE(units.IsSupported(5));
    EXPECT_FALSE(units.IsSupported(2));
}

TEST_F(CapPreferenceTest, TheCurrentValueIsCheckedAgainstTheSupportedOnesAndRemembered) {
    units.SetEnumeration(List({1}));
    units.SetCurrent(5);
    EXPECT_EQ(5, units.GetCurrent());
    EXPECT_EQ("5", StoredValue("258@app"));
    EXPECT_EQ(TWCC_BADVALUE, ConditionOf([&] { units.SetCurrent(2); }));
    EXPECT_EQ(5, units.GetCurrent());
    EXPECT_EQ("5", StoredValue("258@app"));

    units.Reset();
    EXPECT_EQ(0, units.GetCurrent());
    EXPECT_EQ((std::vector<unsigned short>{0, 1, 3, 5}), Available());
    EXPECT_EQ("0", StoredValue("258@app"));
}

TEST_F(CapPreferenceTest, LoadingFallsBackToTheDefaultForWhatIsNotSupported) {
    const struct {
        const char* stored;
        TW_UINT16 loaded;
    } table[] = {{"3", 3}, {"9", 0}, {"-1", 0}, {"65539", 0}, {"x", 0}, {nullptr, 0}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.stored != nullptr ? row.stored : "<missing>");
        units.SetCurrent(5);
        if (row.stored != nullptr) {
            store->SetString("258@app", row.stored);
        } else {
            store->DeleteValue("258@app");
        }
        EXPECT_EQ(row.loaded, units.Revalidate("258@app"));
        EXPECT_EQ(5, units.GetCurrent()) << "revalidating changes nothing";
        units.Load();
        EXPECT_EQ(row.loaded, units.GetCurrent());
    }
}
