// Capability negotiation run inside the test program through DS_Entry, against a source open on
// the simulated server of this machine; and the value holder of capabilities remembered per
// application.

#include "AppCapId.h"
#include "CapPreference_TW_UINT16.h"
#include "CapabilityCases.h"
#include "CapabilityHandlerTable.h"
#include "SourceFixture.h"
#include "TwainException.h"

#include <cstring>

namespace {

class CapabilityTest : public SourceFixture {
protected:
    void Open(TwainTestApp& application) {
        ShowSimulatedServers();
        EXPECT_TWAIN(application, TWRC_SUCCESS, TWCC_SUCCESS, application.OpenSource("Nimbrel 5"));
    }
};

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
// message that then succeeds, and every message that succeeds must have its bit.
TEST_F(CapabilityTest, QuerySupportNamesExactlyTheOperationsThatSucceed) {
    Open(app);
    const struct {
        TW_INT32 bit;
        TW_UINT16 msg;
    } reads[] = {{TWQC_GET, MSG_GET},
                 {TWQC_GETCURRENT, MSG_GETCURRENT},
                 {TWQC_GETDEFAULT, MSG_GETDEFAULT},
                 {TWQC_RESET, MSG_RESET}};
    int served = 0;
    for (const CapabilityHandlerTable::Row& row : CapabilityHandlerTable::Build()) {
        for (TW_UINT16 cap : row.ids) {
            SCOPED_TRACE("cap " + std::to_string(cap));
            CapAnswer answer;
            ASSERT_EQ(TWRC_SUCCESS, CallCapability(app, cap, MSG_QUERYSUPPORT, Empty(), answer));
            ASSERT_EQ(TWTY_INT32, answer.itemType);
            const TW_UINT32 mask = answer.items.at(0);
            EXPECT_EQ(0u, mask & ~0x1fu) << "bits of no message";
            served += mask != 0;
            for (const auto& read : reads) {
                EXPECT_EQ((mask & read.bit) != 0,
                          CallCapability(app, cap, read.msg, Empty(), answer) == TWRC_SUCCESS)
                    << "msg " << read.msg;
            }
            // Setting the current value again changes nothing and must succeed when promised.
            CapContainer value = OneValue(TWTY_UINT16, 0);
            if ((mask & TWQC_SET) != 0) {
                ASSERT_EQ(TWRC_SUCCESS, CallCapability(app, cap, MSG_GETCURRENT, Empty(), answer))
                    << "a settable capability tells its current value";
                value = OneValue(answer.itemType, answer.items.at(0));
            }
            EXPECT_EQ((mask & TWQC_SET) != 0,
                      CallCapability(app, cap, MSG_SET, value, answer) == TWRC_SUCCESS);
        }
    }
    EXPECT_GT(served, 0);
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
