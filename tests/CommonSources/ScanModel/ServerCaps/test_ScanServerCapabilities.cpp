// The capability model loaded from the simulated servers' profiles: the fallback set, copier
// types, resolutions, scan-initiation keys, sources and the directory flags.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "CapsTestSupport.h"
#include "OrvexSimControl.h"
#include "QuorMemoryAllocator.h"
#include "QuorvelWrapper.h"
#include "ScanServerCapabilities.h"

namespace {

// Each profile is read once for the whole suite: every wrapper costs a pause when it goes.
class ScanServerCapabilitiesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        OrvexSim_Reset();
        for (const char* server : {"caps-bare", "caps-color", "caps-bw", "caps-bw-lists-color",
                                   "caps-unknown-copier", "localhost"}) {
            s_profiles[server] = Load(server);
        }
        s_heapBlocks = OrvexSim_HeapBlocks();
        OrvexSim_Reset();
    }
    static void TearDownTestSuite() { s_profiles.clear(); }

    static const ScanServerCapabilities& Profile(const std::string& server) {
        return *s_profiles.at(server);
    }

    static std::unique_ptr<ScanServerCapabilities> Load(const char* server) {
        auto capabilities = std::make_unique<ScanServerCapabilities>();
        const std::unique_ptr<QuorvelWrapperIntf> wrapper(QuorvelWrapper::Create());
        EXPECT_EQ(QUORVEL_OK, wrapper->InitConnectToNonStandardServer(server, "guest", ""));
        EXPECT_EQ(QUORVEL_OK, wrapper->ScanOpenSession());
        ServerAttributeList* list = nullptr;
        EXPECT_EQ(QUORVEL_OK, wrapper->ScanServerAttributes(&list));
        {
            const ScanAttributeWrapper attributes(wrapper.get(), list);
            capabilities->LoadFromServerAttributes(attributes, &s_localizer);
        }
        capabilities->LoadLdapCapability(wrapper.get());
        dynamic_cast<QuorMemoryAllocator&>(*wrapper).FreeAttributeList(&list, true);
        return capabilities;
    }

    static MarkingLocalizer s_localizer;
    static std::map<std::string, std::unique_ptr<ScanServerCapabilities>> s_profiles;
    static int s_heapBlocks;
};

MarkingLocalizer ScanServerCapabilitiesTest::s_localizer;
std::map<std::string, std::unique_ptr<ScanServerCapabilities>>
    ScanServerCapabilitiesTest::s_profiles;
int ScanServerCapabilitiesTest::s_heapBlocks = -1;

Texts ColorModes(const ScanServerCapabilities& caps) {
    Texts values;
    for (int32_t i = 0; i < caps.GetColorModeCount(); ++i) {
        values.push_back(caps.GetColorModeValueAt(i));
    }
    return values;
}

Texts Resolutions(const ScanServerCapabilities& caps) {
    Texts values;
    for (int32_t i = 0; i < caps.GetResolutionCount(); ++i) {
        values.push_back(caps.GetResolutionValueAt(i));
    }
    return values;
}

TEST_F(ScanServerCapabilitiesTest, EveryAttributeListIsFreed) {
    EXPECT_EQ(0, s_heapBlocks);
}

TEST_F(ScanServerCapabilitiesTest, AServerThatSaysNothingGetsEveryFallback) {
    const ScanServerCapabilities& caps = Profile("caps-bare");
    const Texts pageSizes = {"Letter.Transverse", "LetR", "Tabloid", "A4.Transverse", "A4R", "A3"};
    ASSERT_EQ(6, caps.GetPageSizeCount());
    for (int32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(pageSizes[i], caps.GetPageSizeValueAt(i));
        EXPECT_EQ("<" + pageSizes[i] + ">", caps.GetPageSizeLocalizedValueAt(i));
    }
    EXPECT_EQ(0, caps.GetPageSizeCurrentIndex());
    EXPECT_FALSE(caps.SupportsAutoPageSize());
    EXPECT_FALSE(caps.SupportsCustomPageSize());
    EXPECT_EQ((Texts{"BLACK_WHITE"}), ColorModes(caps));
    EXPECT_FALSE(caps.IsColorAvailable());
    EXPECT_EQ((Texts{"100", "200", "300", "400", "500", "600"}), Resolutions(caps));
    EXPECT_EQ(0, caps.GetResolutionCurrentIndex());
    EXPECT_EQ(600, caps.GetMaxResolution());
    EXPECT_EQ(100, caps.GetMinResolution());
    EXPECT_EQ(1, caps.GetBrightLevelCount());
    EXPECT_EQ("0", caps.GetBrightLevelValueAt(0));
    EXPECT_EQ(1, caps.GetEmFaxResolutionCount());
    EXPECT_EQ(200, caps.GetEmFaxResolutionAt(0));
    EXPECT_EQ(3, caps.GetDefaultFormatCount());
    EXPECT_EQ("PDF", caps.GetDefaultFormatValueAt(caps.GetDefaultFormatCurrentIndex()));
    EXPECT_EQ("JPEG", caps.GetDefaultFormatValueAt(2));
    for (ServerCap list : {caps.GetFileFormatCapability(), caps.GetCompressionCapability(),
                           caps.GetScanSourceCapability(), caps.GetBindDirectionCapability(),
                           caps.GetOrientationCapability(), caps.GetCompressLevelCapability(),
                           caps.GetBackgroundRemoveCapability()}) {
        EXPECT_EQ(0, list.GetCount()) << list.GetName();
    }

    const bool on[] = {caps.IsScanRemoteSendEnabled(), caps.IsScanRemoteGetEnabled(),
                       caps.CanScanToEmail(),          caps.CanScanToHoldQueue(),
                       caps.IsResAllowAny(),           caps.IsMailAllowUrls(),
                       caps.IsScanEnabled(),           caps.IsScanInitAllowed()};
    for (const bool flag : on) {
        EXPECT_TRUE(flag);
    }
    const bool off[] = {caps.CanScanToFtp(),
                        caps.CanScanToEmFax(),
                        caps.SupportsOcr(),
                        caps.HasMkEmFaxable(),
                        caps.IsStringMailboxNamesEnabled(),
                        caps.IsMailboxPasswordEnabled(),
                        caps.SupportsAdf(),
                        caps.SupportsDuplex(),
                        caps.IsBindDirectionEnabled(),
                        caps.IsOrientationEnabled(),
                        caps.IsImageModeEnabled(),
                        caps.IsCompressLevelEnabled(),
                        caps.IsBackgroundRemoveEnabled(),
                        caps.IsBrightLevelEnabled(),
                        caps.IsMixedPageSizeEnabled(),
                        caps.IsDropColorEnabled(),
                        caps.IsDropRangeEnabled(),
                        caps.IsSplitOriginalEnabled(),
                        caps.IsEraseModeSupported(),
                        caps.IsDuplexLayoutSupported(),
                        caps.IsMailFromSupported(),
                        caps.IsMailFromEnabled(),
                        caps.IsCorpMailFromEnabled(),
                        caps.IsThinMediaEnabled(),
                        caps.IsDuplexOddPageEnabled(),
                        caps.IsInitiateDisabled(),
                        caps.IsSharpnessEnabled(),
                        caps.IsBackgroundAdjustEnabled(),
                        caps.IsExposureEnabled(),
                        caps.IsImageRotateEnabled(),
                        caps.IsUtf8MailboxEnabled(),
                        caps.IsDuplexPassSupported(),
                        caps.IsDuplexPassEnabled(),
                        caps.HasSelectableScanSource(),
                        caps.IsLdapEnabled()};
    for (size_t i = 0; i < sizeof(off) / sizeof(off[0]); ++i) {
        EXPECT_FALSE(off[i]) << "flag " << i;
    }
    EXPECT_EQ("", caps.GetMixedPageSizeName());
    EXPECT_EQ("0", caps.GetSplitTimeoutMin());
    EXPECT_EQ("999", caps.GetSplitTimeoutMax());
    EXPECT_EQ("60", caps.GetSplitTimeoutDefault());
    EXPECT_EQ("0", caps.GetEraseBorderMin());
    EXPECT_EQ("99", caps.GetEraseBorderMax());
    EXPECT_EQ("10", caps.GetEraseBorderDefault());
}

TEST_F(ScanServerCapabilitiesTest, CopierTypes) {
    const struct {
        const char* server;
        Texts modes;
        int32_t current;
        bool color;
    } cases[] = {
        {"caps-bare", {"BLACK_WHITE"}, 0, false},
        {"caps-color", {"COLOR", "GRAYSCALE", "BLACK_WHITE"}, 0, true},
        {"caps-bw", {"BLACK_WHITE"}, 0, false},
        // Listed colour wins over the copier type, and becomes the current mode.
        {"caps-bw-lists-color", {"GRAYSCALE", "COLOR"}, 1, true},
        // An unknown type leaves the colour modes out, and nothing else.
        {"caps-unknown-copier", {}, 0, false},
        {"localhost", {"COLOR", "GRAYSCALE", "BLACK_WHITE"}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        const ScanServerCapabilities& caps = Profile(c.server);
        EXPECT_EQ(c.modes, ColorModes(caps));
        EXPECT_EQ(c.current, caps.GetColorModeCurrentIndex());
        EXPECT_EQ(c.color, caps.IsColorAvailable());
    }
    const ScanServerCapabilities& unknown = Profile("caps-unknown-copier");
    EXPECT_EQ(2, unknown.GetFileFormatCount());
    EXPECT_EQ(1, unknown.GetFileFormatCurrentIndex());
    EXPECT_EQ("GROUP4", unknown.GetCompressionValueAt(unknown.GetCompressionCurrentIndex()));
    EXPECT_EQ(400, unknown.GetEmFaxResolutionAt(unknown.GetEmFaxResolutionCurrentIndex()));
    EXPECT_FALSE(unknown.IsScanEnabled());
    EXPECT_TRUE(unknown.IsUtf8MailboxEnabled());
}

TEST_F(ScanServerCapabilitiesTest, Resolutions) {
    const struct {
        const char* server;
        Texts values;
        int32_t current;
        bool anyResolution;
        int32_t max;
    } cases[] = {
        {"caps-bare", {"100", "200", "300", "400", "500", "600"}, 0, true, 600},
        {"caps-color",
         {"100", "200", "300", "400", "500", "600", "700", "800", "900", "1000", "1100", "1200"},
         0,
         true,
         1200},
        {"caps-bw", {"200", "300", "600"}, 1, false, 600},
        {"caps-bw-lists-color", {"100", "400", "700", "1000"}, 0, true, 1000},
        {"caps-unknown-copier", {"75", "150", "300", "600"}, 3, true, 600},
        {"localhost", {"100", "200", "300", "400", "500", "600"}, 2, true, 600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        const ScanServerCapabilities& caps = Profile(c.server);
        EXPECT_EQ(c.values, Resolutions(caps));
        EXPECT_EQ(c.current, caps.GetResolutionCurrentIndex());
        EXPECT_EQ(c.anyResolution, caps.IsResAllowAny());
        EXPECT_EQ(c.max, caps.GetMaxResolution());
    }
}

TEST_F(ScanServerCapabilitiesTest, ScanInitiationTakesTheFirstKeyPresent) {
    const struct {
        const char* server;
        bool allowed;
    } cases[] = {
        {"caps-bare", true},            // no key: allowed
        {"caps-color", true},           // SCAN_REMOTE_INIT = REMOTE before REMOTE_SCAN_INIT
        {"caps-bw", false},             // only REMOTE_SCAN_INIT = CUSTOM
        {"caps-bw-lists-color", false}, // SCAN_INIT_LOCKBY = CUSTOM before SCAN_REMOTE_INIT
        {"localhost", true},            // SCAN_INIT_LOCKBY = NONE
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        EXPECT_EQ(c.allowed, Profile(c.server).IsScanInitAllowed());
    }
}

TEST_F(ScanServerCapabilitiesTest, SourcesAndFeeder) {
    const ScanServerCapabilities& color = Profile("caps-color");
    EXPECT_TRUE(color.SupportsAdf());
    EXPECT_TRUE(color.HasSelectableScanSource());
    EXPECT_TRUE(color.SupportsAdfSource());
    EXPECT_TRUE(color.SupportsPlatenSource());
    EXPECT_TRUE(color.IsPlatenSourceAt(0));
    EXPECT_TRUE(color.IsAdfSourceAt(1));
    EXPECT_EQ(1, color.GetScanSourceCurrentIndex());
    EXPECT_EQ("<DF>", color.GetScanSourceLocalizedValueAt(1));
    EXPECT_THROW(color.IsAdfSourceAt(2), std::out_of_range);

    const ScanServerCapabilities& bw = Profile("caps-bw");
    EXPECT_FALSE(bw.SupportsAdf());
    EXPECT_FALSE(bw.HasSelectableScanSource()) << "two sources, but no feeder said";
    EXPECT_TRUE(bw.SupportsAdfSource());
}

TEST_F(ScanServerCapabilitiesTest, FlagsAndNames) {
    EXPECT_EQ("<FS_MIXED>", Profile("caps-color").GetMixedPageSizeName());
    EXPECT_TRUE(Profile("caps-color").IsMixedPageSizeEnabled());
    EXPECT_EQ("", Profile("caps-bw").GetMixedPageSizeName());
    EXPECT_FALSE(Profile("caps-bw").CanScanToFtp()) << "\"yes\" is not \"YES\"";
    EXPECT_FALSE(Profile("caps-bw").CanScanToEmail());

    const ScanServerCapabilities& full = Profile("localhost");
    EXPECT_TRUE(full.SupportsAutoPageSize());
    EXPECT_TRUE(full.SupportsCustomPageSize());
    EXPECT_TRUE(full.IsAutoPageSizeAt(0));
    EXPECT_EQ(1, full.GetPageSizeCurrentIndex());
    EXPECT_EQ(7, full.GetBrightLevelCount());
    EXPECT_EQ("0", full.GetBrightLevelValueAt(full.GetBrightLevelCurrentIndex()));
    EXPECT_EQ(10, full.GetExposureLevelCount()) << "AUTO, then 1 to 9";
    EXPECT_EQ(4, full.GetDropColorCount());
    EXPECT_FALSE(full.IsDropRangeEnabled());
    EXPECT_EQ(3, full.GetDropRangeCount());
    EXPECT_TRUE(full.IsDuplexPassSupported());
    EXPECT_EQ("TWO_PASS", full.GetDuplexPassValueAt(1));
}

TEST_F(ScanServerCapabilitiesTest, DirectoryFlags) {
    const struct {
        const char* server;
        bool enabled;
    } cases[] = {
        {"caps-bare", false}, // no attribute defaults at all
        {"caps-color", true}, // "yes" and "yes"
        {"caps-bw", false},   // "yes" and "YES"
        {"localhost", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        EXPECT_EQ(c.enabled, Profile(c.server).IsLdapEnabled());
    }
}

TEST(ScanServerCapabilitiesAlone, LoadsNothingWithoutAnAttributeSource) {
    ScanServerCapabilities caps;
    caps.LoadColorModes(nullptr);
    caps.LoadPageSizes(nullptr);
    EXPECT_EQ(0, caps.GetColorModeCount());
    EXPECT_EQ(0, caps.GetPageSizeCount());

    const auto table = Table({{"COPIER_TYPE", "COLOR"}});
    caps.SetAttributeSource(table.get());
    caps.LoadColorModes(nullptr);
    caps.SetAttributeSource(nullptr);
    EXPECT_EQ(3, caps.GetColorModeCount());
    EXPECT_EQ(0, caps.GetResolutionCount());
    EXPECT_TRUE(caps.IsScanInitAllowed());
}

} // namespace
