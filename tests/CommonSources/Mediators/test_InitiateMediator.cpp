// The initiate pane's answers as the job attributes of a new scan: exactly the groups that
// apply, with the keywords the pane chose, whatever the interface language.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ExportedAttributes.h"
#include "InitiateMediator.h"
#include "OrvexSimControl.h"
#include "QuorvelWrapper.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "ScriptedInitiateClient.h"

namespace {

// What every scan carries: sides, resolution, colour mode and the erase mode.
const ScanAttributeMap kAlwaysWritten = {
    {"SCAN_DOUBLE_SIDE", "NO"}, {"Duplex", "0"},         {"RAW_X_RES", "300"},
    {"RAW_Y_RES", "300"},       {"COLOR_MODE", "COLOR"}, {"ERASE_MODE", "OFF"},
};

InitiateAnswers PlainScan() {
    InitiateAnswers answers;
    answers.resolution = "300";
    answers.colorMode = "COLOR";
    return answers;
}

struct ApplyCase {
    const char* name;
    std::function<void(InitiateAnswers&)> choose;
    // Held by the job before the mediator runs.
    ScanAttributeMap before;
    // Over kAlwaysWritten and the keys held before; a key here replaces their value.
    ScanAttributeMap written;
};

ScanAttributeMap Expected(const ApplyCase& c) {
    ScanAttributeMap expected = kAlwaysWritten;
    for (const auto& pair : c.before) {
        expected[pair.first] = pair.second;
    }
    for (const auto& pair : c.written) {
        expected[pair.first] = pair.second;
    }
    return expected;
}

class InitiateMediatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvexSim_Reset();
        m_wrapper.reset(QuorvelWrapper::Create());
    }
    void TearDown() override {
        m_wrapper.reset();
        EXPECT_EQ(0, OrvexSim_HeapBlocks());
        OrvexSim_Reset();
    }

    // The attributes ApplyAll leaves for the pane's answers, over the pairs held before.
    ScanAttributeMap Apply(const InitiateAnswers& answers, const ScanAttributeMap& before = {}) {
        ScanAttributeWrapper job(m_wrapper.get(), nullptr);
        for (const auto& pair : before) {
            job.SetAttribute(pair.first, pair.second);
        }
        ScriptedInitiateClient pane(answers);
        InitiateMediator(&job, &pane).ApplyAll();
        return ExportedAttributes(job);
    }

    std::unique_ptr<QuorvelWrapperIntf> m_wrapper;
};

TEST_F(InitiateMediatorTest, ApplyAllWritesExactlyTheGroupsThatApply) {
    const std::vector<ApplyCase> cases = {
        {"nothing enabled: only what every scan carries", [](InitiateAnswers&) {}, {}, {}},
        {"empty texts of the unconditional groups are written empty",
         [](InitiateAnswers& a) { a = InitiateAnswers(); },
         {},
         {{"RAW_X_RES", ""}, {"RAW_Y_RES", ""}, {"COLOR_MODE", ""}}},
        {"a group that does not apply leaves what the job held",
         [](InitiateAnswers& a) { a.orientation = "LANDSCAPE"; },
         {{"ORIENTATION", "PORTRAIT"}, {"RAW_X_RES", "600"}},
         {{"RAW_X_RES", "300"}}},
        {"every optional group",
         [](InitiateAnswers& a) {
             a.scanSourceEnabled = true;
             a.platen = true;
             a.pageSize = "A4";
             a.orientationEnabled = true;
             a.orientation = "LANDSCAPE";
             a.compressLevelEnabled = true;
             a.compressLevel = "HIGH";
             a.backgroundRemovalEnabled = true;
             a.backgroundRemoval = "AUTO";
             a.brightnessEnabled = true;
             a.brightness = "-2";
             a.imageModeEnabled = true;
             a.imageMode = "PHOTO";
             a.internetFaxEnabled = true;
             a.internetFax = true;
             a.ocrEnabled = true;
             a.ocr = false;
             a.dropOutColorEnabled = true;
             a.dropOutColor = "RED";
             a.colorRangeEnabled = true;
             a.colorRange = "WIDE";
             a.thinMediaEnabled = true;
             a.thinMedia = true;
             a.duplexOddPageEnabled = true;
             a.duplexOddPage = false;
             a.sharpnessEnabled = true;
             a.sharpness = "1";
             a.backgroundAdjustEnabled = true;
             a.backgroundAdjust = "2";
             a.exposureEnabled = true;
             a.exposure = "-1";
             a.imageRotateEnabled = true;
             a.imageRotate = "90";
         },
         {},
         {{"SCAN_SOURCE", "PLATEN"},
          {"PAGESIZE", "A4"},
          {"ORIENTATION", "LANDSCAPE"},
          {"COMPRESS_LEVEL", "HIGH"},
          {"COMPRESSION", "JPEG"},
          {"BREMOVE", "AUTO"},
          {"BRIGHTNESS", "-2"},
          {"IMAGE_MODE", "PHOTO"},
          {"MKEMFAXABLE", "YES"},
          {"SCAN_OCR", "NO"},
          {"DROP_COLOR", "RED"},
          {"DROP_RANGE", "WIDE"},
          {"THIN_MEDIA", "YES"},
          {"DUPLEX_ODDPAGE", "NO"},
          {"SHARPNESS_LEVEL", "1"},
          {"BACKGROUND_ADJ_LEVEL", "2"},
          {"EXPOSURE_LEVEL", "-1"},
          {"IMAGE_ROTATE", "90"}}},
        {"the feeder, and a drop-out colour without a range",
         [](InitiateAnswers& a) {
             a.scanSourceEnabled = true;
             a.dropOutColorEnabled = true;
             a.dropOutColor = "GREEN";
             a.colorRange = "WIDE";
         },
         {},
         {{"SCAN_SOURCE", "ADF"}, {"DROP_COLOR", "GREEN"}}},
        {"single-sided: no duplex pass or layout, even when both are enabled",
         [](InitiateAnswers& a) {
             a.duplexPassEnabled = true;
             a.duplexPass = "SINGLE";
             a.duplexLayoutEnabled = true;
             a.duplexLayout = "TOP_BOTTOM";
         },
         {},
         {}},
        {"double-sided with duplex pass and layout enabled: only the pass",
         [](InitiateAnswers& a) {
             a.doubleSided = true;
             a.duplexPassEnabled = true;
             a.duplexPass = "SINGLE";
             a.duplexLayoutEnabled = true;
             a.duplexLayout = "TOP_BOTTOM";
         },
         {},
         {{"SCAN_DOUBLE_SIDE", "YES"}, {"Duplex", "1"}, {"DUPLEX_PASS", "SINGLE"}}},
        {"double-sided with the layout",
         [](InitiateAnswers& a) {
             a.doubleSided = true;
             a.duplexLayoutEnabled = true;
             a.duplexLayout = "TOP_BOTTOM";
         },
         {},
         {{"SCAN_DOUBLE_SIDE", "YES"}, {"Duplex", "1"}, {"DUPLEX_LAYOUT", "TOP_BOTTOM"}}},
        {"double-sided with a binding direction: the direction, no layout",
         [](InitiateAnswers& a) {
             a.doubleSided = true;
             a.duplexLayoutEnabled = true;
             a.duplexLayout = "TOP_TOP";
             a.bindDirectionEnabled = true;
             a.bindDirection = "TOP";
         },
         {},
         {{"SCAN_DOUBLE_SIDE", "YES"}, {"Duplex", "1"}, {"BIND_DIRECTION", "TOP"}}},
        {"compression level NONE: no compression",
         [](InitiateAnswers& a) {
             a.compressLevelEnabled = true;
             a.compressLevel = "NONE";
         },
         {},
         {{"COMPRESS_LEVEL", "NONE"}}},
        {"black and white compresses as Group 4",
         [](InitiateAnswers& a) {
             a.colorMode = "BLACK_WHITE";
             a.compressLevelEnabled = true;
             a.compressLevel = "LOW";
         },
         {},
         {{"COLOR_MODE", "BLACK_WHITE"}, {"COMPRESS_LEVEL", "LOW"}, {"COMPRESSION", "GROUP4"}}},
        {"a compression the job holds stays",
         [](InitiateAnswers& a) {
             a.colorMode = "BLACK_WHITE";
             a.compressLevelEnabled = true;
             a.compressLevel = "LOW";
         },
         {{"COMPRESSION", "JPEG"}},
         {{"COLOR_MODE", "BLACK_WHITE"}, {"COMPRESS_LEVEL", "LOW"}}},
        {"keywords are compared exactly: \"none\" and \"black_white\" are not the server's",
         [](InitiateAnswers& a) {
             a.colorMode = "black_white";
             a.compressLevelEnabled = true;
             a.compressLevel = "none";
         },
         {},
         {{"COLOR_MODE", "black_white"}, {"COMPRESS_LEVEL", "none"}, {"COMPRESSION", "JPEG"}}},
        {"automatic page size with mixed sizes offered but not chosen",
         [](InitiateAnswers& a) {
             a.pageSize = "AUTO_PAGESIZE";
             a.mixedPageSizeEnabled = true;
         },
         {},
         {{"PAGESIZE", "AUTO_PAGESIZE"}, {"MIXED_PAGESIZE", "OFF"}}},
        {"automatic page size with mixed sizes chosen",
         [](InitiateAnswers& a) {
             a.pageSize = "AUTO_PAGESIZE";
             a.mixedPageSizeEnabled = true;
             a.mixedPageSize = true;
         },
         {},
         {{"PAGESIZE", "AUTO_PAGESIZE"}, {"MIXED_PAGESIZE", "ON"}}},
        {"any other page size writes no mixed sizes",
         [](InitiateAnswers& a) {
             a.pageSize = "Letter";
             a.mixedPageSizeEnabled = true;
             a.mixedPageSize = true;
         },
         {},
         {{"PAGESIZE", "Letter"}}},
        {"no split",
         [](InitiateAnswers& a) {
             a.splitModeEnabled = true;
             a.splitMode = InitiateClient::kSplitModeOff;
             a.splitTimeoutEnabled = true;
             a.splitTimeout = "10";
         },
         {},
         {{"SPLIT_ORIG", "NO"}}},
        {"split one page with its time-out",
         [](InitiateAnswers& a) {
             a.splitModeEnabled = true;
             a.splitMode = "1PAGE";
             a.splitTimeoutEnabled = true;
             a.splitTimeout = "10";
         },
         {},
         {{"SPLIT_ORIG", "YES"}, {"SPLIT_MODE", "1PAGE"}, {"SM_1PAGE_TO", "10"}}},
        {"a split mode without the time-out",
         [](InitiateAnswers& a) {
             a.splitModeEnabled = true;
             a.splitMode = "BOOK";
             a.splitTimeout = "10";
         },
         {},
         {{"SPLIT_ORIG", "YES"}, {"SPLIT_MODE", "BOOK"}}},
        {"erase border asked of a server without it: still OFF",
         [](InitiateAnswers& a) {
             a.eraseBorder = true;
             a.eraseSizes = {"1", "2", "3", "4"};
         },
         {{"ERASE_MODE", "CUSTOM"}},
         {{"ERASE_MODE", "OFF"}}},
        {"erase border offered but switched off",
         [](InitiateAnswers& a) {
             a.eraseBorderEnabled = true;
             a.eraseSizes = {"1", "2", "3", "4"};
         },
         {},
         {}},
        {"erase border with the four sides in order",
         [](InitiateAnswers& a) {
             a.eraseBorderEnabled = true;
             a.eraseBorder = true;
             a.eraseSizes = {"1", "2", "3", "4"};
         },
         {},
         {{"ERASE_MODE", "CUSTOM"},
          {"ERASE_SIZE_TOP", "1"},
          {"ERASE_SIZE_RIGHT", "2"},
          {"ERASE_SIZE_BOTTOM", "3"},
          {"ERASE_SIZE_LEFT", "4"}}},
    };
    for (const ApplyCase& c : cases) {
        InitiateAnswers answers = PlainScan();
        c.choose(answers);
        EXPECT_EQ(Expected(c), Apply(answers, c.before)) << c.name;
    }
}

TEST_F(InitiateMediatorTest, AGroupRunsAloneAndReplacesWhatTheJobHeld) {
    ScanAttributeWrapper job(m_wrapper.get(), nullptr);
    job.SetAttribute("BRIGHTNESS", "3");
    InitiateAnswers answers;
    answers.brightnessEnabled = true;
    answers.brightness = "-1";
    ScriptedInitiateClient pane(answers);
    InitiateMediator mediator(&job, &pane);
    mediator.ApplyBrightness();
    EXPECT_EQ((ScanAttributeMap{{"BRIGHTNESS", "-1"}}), ExportedAttributes(job));
}

// The pane hands its own "no split" entry over as a keyword: in any interface language, and
// whatever the string table holds for the entry's display text, the copier is told not to split.
TEST_F(InitiateMediatorTest, NoSplitIsAKeywordNotADisplayText) {
    ResourceLoader* const loader = ResourceLoader::Instance();
    const int savedLanguage = loader->GetLanguageIndex();
    const HMODULE savedModule = loader->GetModule();
    // A module without string tables: every display text loads empty.
    loader->SetModule(GetModuleHandleA("quorvel10.dll"));
    for (const int language : {0, 1, 2, 3, 4, 5, 6, 9, 10}) {
        loader->SetLanguageIndex(language);
        InitiateAnswers answers = PlainScan();
        answers.splitModeEnabled = true;
        answers.splitMode = InitiateClient::kSplitModeOff;
        const ScanAttributeMap attributes = Apply(answers);
        EXPECT_EQ("NO", attributes.at("SPLIT_ORIG")) << "language " << language;
        EXPECT_EQ(0u, attributes.count("SPLIT_MODE")) << "language " << language;
    }
    loader->SetModule(savedModule);
    loader->SetLanguageIndex(savedLanguage);
}

} // namespace
