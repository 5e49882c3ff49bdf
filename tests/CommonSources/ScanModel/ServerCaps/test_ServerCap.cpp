// Capability items read from attribute tables held in memory: lists, ranges, fallbacks,
// current values, the resolution and e-mail fax kinds, flags, and malformed server values.

#include <gtest/gtest.h>

#include <stdexcept>

#include "BooleanServerCap.h"
#include "CapsTestSupport.h"
#include "EmFaxResolutionCap.h"
#include "IntServerCap.h"
#include "ResolutionServerCap.h"
#include "ScanServerCapException.h"
#include "ServerCap.h"
#include "SimpleServerCap.h"

namespace {

TEST(ServerCap, ListedValuesKeepTheirPlacesAndDisplayTexts) {
    MarkingLocalizer localizer;
    const auto table = Table(
        {{"N_PAGESIZE", "3"}, {"PAGESIZE:1", "A4R"}, {"PAGESIZE:3", "A3"}, {"PAGESIZE", "A3"}});
    ServerCap item("PAGESIZE");
    item.LoadFromServer(*table, &localizer);
    EXPECT_EQ((Texts{"A4R", "", "A3"}), Values(item));
    EXPECT_EQ((Texts{"<A4R>", "<>", "<A3>"}), Localized(item));
    EXPECT_EQ(2, item.GetCurrentIndex());
    EXPECT_TRUE(item.HasValue("A4R"));
    EXPECT_FALSE(item.HasValue("a4r"));

    // A second load replaces, never adds.
    item.LoadFromServer(*Table({}), &localizer);
    EXPECT_EQ(0, item.GetCount());
    EXPECT_EQ(0, item.GetCurrentIndex());
}

TEST(ServerCap, ListsAndRangesFromTheServer) {
    MarkingLocalizer localizer;
    struct Case {
        const char* what;
        std::initializer_list<std::pair<const char*, const char*>> pairs;
        Texts values;
        int32_t current;
    };
    const Case cases[] = {
        {"count 0", {{"N_X", "0"}, {"X:1", "a"}}, {}, 0},
        {"negative count", {{"N_X", "-2"}, {"X:1", "a"}}, {}, 0},
        {"count not a number", {{"N_X", "two"}, {"X:1", "a"}}, {}, 0},
        {"count beyond any list", {{"N_X", "2000000000"}, {"X:1", "a"}}, {}, 0},
        {"range only",
         {{"MIN_X", "100"}, {"MAX_X", "600"}, {"STEP_X", "100"}, {"X", "300"}},
         {"100", "200", "300", "400", "500", "600"},
         2},
        {"step 0", {{"MIN_X", "1"}, {"MAX_X", "5"}, {"STEP_X", "0"}}, {}, 0},
        {"max below min", {{"MIN_X", "5"}, {"MAX_X", "1"}, {"STEP_X", "1"}}, {}, 0},
        {"range without a step", {{"MIN_X", "1"}, {"MAX_X", "5"}}, {}, 0},
        {"list then range",
         {{"N_X", "1"}, {"X:1", "AUTO"}, {"MIN_X", "1"}, {"MAX_X", "3"}, {"STEP_X", "1"}},
         {"AUTO", "1", "2", "3"},
         0},
        {"current not among the values",
         {{"N_X", "2"}, {"X:1", "a"}, {"X:2", "b"}, {"X", "c"}},
         {"a", "b"},
         0},
        {"range of more values than can be offered",
         {{"MIN_X", "0"}, {"MAX_X", "2147483647"}, {"STEP_X", "1"}},
         {},
         0},
        {"bounds at the ends of the number range",
         {{"MIN_X", "-2147483648"}, {"MAX_X", "2147483647"}, {"STEP_X", "1000000000"}},
         {"-2147483648", "-1147483648", "-147483648", "852516352", "1852516352"},
         0},
        {"numbers too large saturate",
         {{"MIN_X", "99999999999"}, {"MAX_X", "99999999999"}, {"STEP_X", "1"}},
         {"2147483647"},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto table = Table(c.pairs);
        ServerCap item("X");
        item.LoadFromServer(*table, &localizer);
        EXPECT_EQ(c.values, Values(item));
        // Listed values go through the localizer; range values are their own display texts.
        for (int32_t i = 0; i < item.GetCount(); ++i) {
            const std::string value = item.GetValueAt(i);
            const bool listed = table->GetAttribute(item.GetValueKey(i)) == value &&
                                !table->GetAttribute("N_X").empty();
            EXPECT_EQ(listed ? "<" + value + ">" : value, item.GetLocalizedValueAt(i));
        }
        EXPECT_EQ(c.current, item.GetCurrentIndex());
    }
}

TEST(ServerCap, FallbackValuesOnlyWhenTheServerOffersNone) {
    MarkingLocalizer localizer;
    ServerCap item("COLOR_MODE");
    item.LoadFromServerWithDefaults({"COLOR", "BLACK_WHITE"}, "BLACK_WHITE", *Table({}),
                                    &localizer);
    EXPECT_EQ((Texts{"COLOR", "BLACK_WHITE"}), Values(item));
    EXPECT_EQ((Texts{"<COLOR>", "<BLACK_WHITE>"}), Localized(item));
    EXPECT_EQ(1, item.GetCurrentIndex());

    item.LoadFromServerWithDefaults({"COLOR", "BLACK_WHITE"}, "BLACK_WHITE",
                                    *Table({{"N_COLOR_MODE", "1"}, {"COLOR_MODE:1", "GRAY"}}),
                                    &localizer);
    EXPECT_EQ((Texts{"GRAY"}), Values(item));
    EXPECT_EQ(0, item.GetCurrentIndex());
}

TEST(ServerCap, NumericFallbackFillsWhatTheServerLeavesOut) {
    ServerCap item("BRIGHTLEVEL");
    item.LoadNumericFromServer(0, 0, 1, 0, *Table({}), nullptr);
    EXPECT_EQ((Texts{"0"}), Values(item));
    item.LoadNumericFromServer(0, 0, 1, 0, *Table({{"MAX_BRIGHTLEVEL", "2"}}), nullptr);
    EXPECT_EQ((Texts{"0", "1", "2"}), Values(item));
    // With a list, only a complete range of the server's is added.
    item.LoadNumericFromServer(
        0, 0, 1, 0,
        *Table({{"N_BRIGHTLEVEL", "1"}, {"BRIGHTLEVEL:1", "5"}, {"MAX_BRIGHTLEVEL", "9"}}),
        nullptr);
    EXPECT_EQ((Texts{"5"}), Values(item));
}

TEST(ServerCap, BadIndexes) {
    ServerCap item("X");
    item.LoadFromServer(*Table({{"N_X", "1"}, {"X:1", "a"}}), nullptr);
    EXPECT_EQ("a", item.GetLocalizedValueAt(0)) << "without a localizer the value itself";
    EXPECT_EQ("-1 is bad index to ListServerCap::GetLocalizedValueAt",
              item.GetLocalizedValueAt(-1));
    EXPECT_EQ("7 is bad index to ListServerCap::GetLocalizedValueAt", item.GetLocalizedValueAt(7));
    try {
        item.GetValueAt(1);
        FAIL() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ("invalid vector<T> subscript", error.what());
    }
    EXPECT_THROW(item.GetValueAt(-1), std::out_of_range);
}

TEST(ServerCap, KeysAndCopies) {
    ServerCap item("SCAN_SOURCE");
    EXPECT_EQ("N_SCAN_SOURCE", item.GetCountKey());
    EXPECT_EQ("SCAN_SOURCE:1", item.GetValueKey(0));
    EXPECT_EQ("MIN_SCAN_SOURCE", item.GetMinKey());
    EXPECT_EQ("MAX_SCAN_SOURCE", item.GetMaxKey());
    EXPECT_EQ("STEP_SCAN_SOURCE", item.GetStepKey());
    EXPECT_EQ(6, item.GetStepCount(0, 10, 2));
    EXPECT_EQ(-2, item.GetStepCount(10, 0, 5)) << "a negative quotient is the answer";

    item.LoadFromServer(
        *Table({{"N_SCAN_SOURCE", "2"}, {"SCAN_SOURCE:1", "PLATEN"}, {"SCAN_SOURCE:2", "ADF"}}),
        nullptr);
    ServerCap copy(item);
    copy.SetCurrentByName("ADF");
    EXPECT_EQ(1, copy.GetCurrentIndex());
    EXPECT_EQ(0, item.GetCurrentIndex());
    EXPECT_EQ(Values(item), Values(copy));
    EXPECT_EQ("SCAN_SOURCE", copy.GetName());
}

TEST(IntServerCap, LargestAndSmallestValue) {
    IntServerCap item("X");
    item.LoadFromServer(
        *Table({{"N_X", "4"}, {"X:1", "300"}, {"X:2", "100"}, {"X:3", "600dpi"}, {"X:4", "abc"}}),
        nullptr);
    EXPECT_EQ(600, item.GetMaxIntValue());
    EXPECT_EQ(0, item.GetMinIntValue()) << "text without digits reads as 0";
    EXPECT_EQ(600, item.GetIntValueAt(2));
}

TEST(ResolutionServerCap, MaximumAndStepUnderOlderKeys) {
    struct Case {
        const char* what;
        std::initializer_list<std::pair<const char*, const char*>> pairs;
        Texts values;
    };
    const Case cases[] = {
        {"engine resolution",
         {{"ENG_RESOLUTION", "1200"}},
         {"100", "200", "300", "400", "500", "600", "700", "800", "900", "1000", "1100", "1200"}},
        {"engine resolution and step size",
         {{"ENG_RESOLUTION", "1200"}, {"RES_STEP_SIZE", "300"}},
         {"100", "400", "700", "1000"}},
        {"maximum X resolution", {{"MAX_X_RESOLUTION", "300"}}, {"100", "200", "300"}},
        {"MAX_RESOLUTION first",
         {{"MAX_RESOLUTION", "200"}, {"ENG_RESOLUTION", "1200"}},
         {"100", "200"}},
        {"STEP_RESOLUTION first",
         {{"ENG_RESOLUTION", "400"}, {"STEP_RESOLUTION", "150"}, {"RES_STEP_SIZE", "300"}},
         {"100", "250", "400"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResolutionServerCap item("RESOLUTION");
        item.LoadNumericFromServer(100, 600, 100, 100, *Table(c.pairs), nullptr);
        EXPECT_EQ(c.values, Values(item));
        EXPECT_EQ(0, item.GetCurrentIndex());
    }
}

TEST(EmFaxResolutionCap, TwoHundredWhenTheServerNamesNone) {
    EmFaxResolutionCap item("EMFAX_RES");
    item.LoadFromServer(*Table({}), nullptr);
    EXPECT_EQ((Texts{"200"}), Values(item));
    EXPECT_EQ(0, item.GetCurrentIndex());
    item.LoadFromServer(*Table({{"N_EMFAX_RES", "2"},
                                {"EMFAX_RES:1", "200"},
                                {"EMFAX_RES:2", "400"},
                                {"EMFAX_RES", "400"}}),
                        nullptr);
    EXPECT_EQ((Texts{"200", "400"}), Values(item));
    EXPECT_EQ(1, item.GetCurrentIndex());
    EXPECT_EQ(400, item.GetResolutionAt(1));
}

TEST(BooleanServerCap, OnlyYesIsTrue) {
    const auto table = Table({{"A", "YES"}, {"B", "yes"}, {"C", "NO"}});
    const struct {
        const char* key;
        bool defaultValue;
        bool found;
        bool value;
    } cases[] = {
        {"A", false, true, true}, {"B", true, true, false},   {"C", true, true, false},
        {"D", true, false, true}, {"D", false, false, false}, {"", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        BooleanServerCap flag(c.defaultValue);
        EXPECT_EQ(c.found, flag.LoadFromServer(c.key, *table));
        EXPECT_EQ(c.value, flag.GetValue());
    }
    SimpleServerCap text;
    EXPECT_TRUE(text.LoadFromServer("B", *table));
    EXPECT_FALSE(text.LoadFromServer("D", *table));
    EXPECT_EQ("yes", text.GetValue());
}

TEST(ScanServerCapException, Messages) {
    EXPECT_STREQ("ScanServerCapException: MAX_RESOLUTION has invalid value",
                 ScanServerCapException(__FILE__, __LINE__, 1).what());
    EXPECT_STREQ("ScanServerCapException: Unknown Problem",
                 ScanServerCapException(__FILE__, __LINE__, 10).what());
    EXPECT_STREQ("ScanServerCapException: N_PAGESIZE has invalid value",
                 ScanServerCapException(__FILE__, __LINE__, 13).what());
    EXPECT_STREQ("ScanServerCapException: Unknown Problem",
                 ScanServerCapException(__FILE__, __LINE__, 0).what());
    EXPECT_STREQ("ScanServerCapException: Unknown Problem",
                 ScanServerCapException(__FILE__, __LINE__, 15).what());
    const ScanServerCapException named(__FILE__, 42, 14, "COLOR_MODE", "100%s");
    EXPECT_STREQ("ScanServerCapException 'COLOR_MODE' should not have '100%s' as value.",
                 named.what());
    const ScanServerCapException copy(named);
    EXPECT_STREQ(named.what(), copy.what());
    EXPECT_EQ(42, copy.GetLine());
    EXPECT_EQ(14, copy.GetCode());
}

} // namespace
