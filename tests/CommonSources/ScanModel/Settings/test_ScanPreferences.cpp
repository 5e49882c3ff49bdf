#include "ScanPreferences.h"
#include "TestRegistryStore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ScanPreferencesTest : public ::testing::Test {
protected:
    ScanPreferencesTest() { prefs.SetStore(&registry.Store()); }

    TestRegistryStore registry;
    ScanPreferences prefs;
};

using TextGetter = std::string (ScanPreferences::*)() const;
using TextSetter = void (ScanPreferences::*)(const std::string&);
using FlagGetter = bool (ScanPreferences::*)() const;
using FlagSetter = void (ScanPreferences::*)(bool);

struct TextRow {
    const char* name;
    TextGetter get;
    TextSetter set;
    const char* defaultValue;
};

#define TEXT_ROW(name, fn, def)                                                                    \
    { name, &ScanPreferences::Get##fn, &ScanPreferences::Set##fn, def }
const TextRow kTextRows[] = {
    TEXT_ROW("ScanSource", ScanSource, ""),
    TEXT_ROW("ScanSide", ScanSide, ""),
    TEXT_ROW("ScanBindDirection", ScanBindDirection, ""),
    TEXT_ROW("ScanColorMode", ScanColorMode, ""),
    TEXT_ROW("ScanPaperSize", ScanPaperSize, ""),
    TEXT_ROW("ScanEmailFileFormat", ScanEmailFileFormat, ""),
    TEXT_ROW("ScanToDiskFileFormat", ScanToDiskFileFormat, "PDF"),
    TEXT_ROW("SaveToDiskPath", SaveToDiskPath, ""),
    TEXT_ROW("ScanFilename", ScanFilename, ""),
    TEXT_ROW("ScanMailbox", ScanMailbox, ""),
    TEXT_ROW("ScanMailSubject", ScanMailSubject, ""),
    TEXT_ROW("ScanIFaxSubject", ScanIFaxSubject, ""),
    TEXT_ROW("currentmailbox", CurrentMailbox, ""),
    TEXT_ROW("ScanFTPFileFormat", ScanFTPFileFormat, ""),
    TEXT_ROW("ScanFTPServerName", ScanFTPServerName, ""),
    TEXT_ROW("ScanFTPPortNumber", ScanFTPPortNumber, "21"),
    TEXT_ROW("ScanFTPRemoteDir", ScanFTPRemoteDir, ""),
    TEXT_ROW("ScanFTPUserName", ScanFTPUserName, "anonymous"),
    TEXT_ROW("ScanProxyAddress", ScanProxyAddress, ""),
    TEXT_ROW("ScanProxyPortNumber", ScanProxyPortNumber, "21"),
    TEXT_ROW("ScanProxyUserName", ScanProxyUserName, ""),
    TEXT_ROW("ScanOrientation", ScanOrientation, ""),
    TEXT_ROW("ScanJpegCompressLevel", ScanJpegCompressLevel, ""),
    TEXT_ROW("ScanBrightLevel", ScanBrightLevel, ""),
    TEXT_ROW("ScanBackgroundRemove", ScanBackgroundRemove, ""),
    TEXT_ROW("ScanImageMode", ScanImageMode, ""),
    TEXT_ROW("ScanDropoutColor", ScanDropoutColor, ""),
    TEXT_ROW("ScanColorRange", ScanColorRange, ""),
    TEXT_ROW("ScanSplitMode", ScanSplitMode, ""),
    TEXT_ROW("ScanSplitTimeout", ScanSplitTimeout, ""),
    TEXT_ROW("ScanSharpness", ScanSharpness, ""),
    TEXT_ROW("ScanBackgroundAdjust", ScanBackgroundAdjust, ""),
    TEXT_ROW("ScanExposure", ScanExposure, ""),
    TEXT_ROW("ScanImageRotate", ScanImageRotate, ""),
};

struct FlagRow {
    const char* name;
    FlagGetter get;
    FlagSetter set;
};

#define FLAG_ROW(name, fn)                                                                         \
    { name, &ScanPreferences::Get##fn, &ScanPreferences::Set##fn }
const FlagRow kFlagRows[] = {
    FLAG_ROW("SaveToDiskCheck", SaveToDiskCheck),
    FLAG_ROW("ScanSendTrelliq", ScanSendTrelliq),
    FLAG_ROW("ScanSendMailbox", ScanSendMailbox),
    FLAG_ROW("ScanSendEmail", ScanSendEmail),
    FLAG_ROW("ScanSendAsURL", ScanSendAsURL),
    FLAG_ROW("ScanSendToInternetFax", ScanSendToInternetFax),
    FLAG_ROW("ScanSendToFTP", ScanSendToFTP),
    FLAG_ROW("ScanEnableProxy", ScanEnableProxy),
    FLAG_ROW("ScanEraseBorder", ScanEraseBorder),
    FLAG_ROW("ScanBusy", ScanBusy),
    FLAG_ROW("ScanOCR", ScanOCR),
    FLAG_ROW("ScanThinPaper", ScanThinPaper),
    FLAG_ROW("ScanDuplexOddPage", ScanDuplexOddPage),
};

} // namespace

TEST_F(ScanPreferencesTest, EmptyStoreGivesDefaults) {
    for (const TextRow& row : kTextRows) {
        EXPECT_EQ(row.defaultValue, (prefs.*row.get)()) << row.name;
    }
    EXPECT_EQ("30", prefs.GetScanFTPTimeOut());
    EXPECT_EQ("", prefs.GetScanFTPPassword());
    EXPECT_EQ("", prefs.GetScanProxyPassword());
    for (const FlagRow& row : kFlagRows) {
        EXPECT_FALSE((prefs.*row.get)()) << row.name;
    }
    EXPECT_FALSE(prefs.GetDeveloperMode());
    EXPECT_EQ(0, prefs.GetScanResolution());
    EXPECT_EQ(0, prefs.GetScanPaperSizeUnit());
    EXPECT_EQ(0, prefs.GetNumEmailBodyLines());
    EXPECT_EQ(0, prefs.GetNumIFaxBodyLines());
    EXPECT_EQ(0.0, prefs.GetScanPaperSizeHeight());
    EXPECT_EQ(0.0, prefs.GetScanPaperSizeWidth());
    for (int list = 0; list < 6; ++list) {
        EXPECT_EQ(0, prefs.GetNumOfAddress(list));
        EXPECT_EQ("", prefs.GetAddress(list, 0));
    }
    EXPECT_EQ("", prefs.GetScanMailBody(0));
    EXPECT_EQ("", prefs.GetScanEraseBorderSide(0));
}

TEST_F(ScanPreferencesTest, TextValuesRoundTripUnderTheirNames) {
    // Longer than the 255 characters an older reader took.
    const std::string longText = "\xe3\x83\x86" + std::string(600, 'v') + " end";
    for (const TextRow& row : kTextRows) {
        SCOPED_TRACE(row.name);
        const std::string value = std::string(row.name) + "=" + longText;
        (prefs.*row.set)(value);
        EXPECT_EQ(value, registry.Raw(row.name));
        EXPECT_EQ(value, (prefs.*row.get)());
        // A present empty value is empty, not the default.
        (prefs.*row.set)("");
        EXPECT_EQ("", registry.Raw(row.name));
        EXPECT_EQ("", (prefs.*row.get)());
    }
    prefs.SetScanFTPTimeOut("120");
    EXPECT_EQ("120", registry.Raw("ScanFTPTimeOut"));
    EXPECT_EQ("120", prefs.GetScanFTPTimeOut());
}

TEST_F(ScanPreferencesTest, FlagsAreStoredAsTrueAndFalse) {
    for (const FlagRow& row : kFlagRows) {
        SCOPED_TRACE(row.name);
        (prefs.*row.set)(true);
        EXPECT_EQ("true", registry.Raw(row.name));
        EXPECT_TRUE((prefs.*row.get)());
        (prefs.*row.set)(false);
        EXPECT_EQ("false", registry.Raw(row.name));
        EXPECT_FALSE((prefs.*row.get)());
        for (const char* other : {"", "True", "1", "yes"}) {
            registry.Store().SetString(row.name, other);
            EXPECT_FALSE((prefs.*row.get)()) << other;
        }
    }
}

TEST_F(ScanPreferencesTest, NumbersAndReals) {
    prefs.SetScanResolution(600);
    EXPECT_EQ("600", registry.Raw("ScanResolution"));
    EXPECT_EQ(600, prefs.GetScanResolution());
    for (const char* bad : {"", "600dpi", "x"}) {
        registry.Store().SetString("ScanResolution", bad);
        EXPECT_EQ(0, prefs.GetScanResolution()) << bad;
    }
    prefs.SetNumEmailBodyLines(3);
    prefs.SetNumIFaxBodyLines(4);
    EXPECT_EQ("3", registry.Raw("NumEmailBodyLines"));
    EXPECT_EQ(4, prefs.GetNumIFaxBodyLines());

    prefs.SetScanPaperSizeUnit(static_cast<short>(-2));
    EXPECT_EQ("-2", registry.Raw("ScanPaperSizeUnit"));
    EXPECT_EQ(-2, prefs.GetScanPaperSizeUnit());

    prefs.SetScanPaperSizeHeight(11.0);
    prefs.SetScanPaperSizeWidth(8.5);
    EXPECT_EQ("11.000000", registry.Raw("ScanPaperSizeHeight"));
    EXPECT_EQ("8.500000", registry.Raw("ScanPaperSizeWidth"));
    EXPECT_DOUBLE_EQ(11.0, prefs.GetScanPaperSizeHeight());
    EXPECT_DOUBLE_EQ(8.5, prefs.GetScanPaperSizeWidth());
    registry.Store().SetString("ScanPaperSizeWidth", "4.25 inch");
    EXPECT_DOUBLE_EQ(4.25, prefs.GetScanPaperSizeWidth());
    registry.Store().SetString("ScanPaperSizeWidth", "wide");
    EXPECT_DOUBLE_EQ(0.0, prefs.GetScanPaperSizeWidth());
}

TEST_F(ScanPreferencesTest, DeveloperModeOnlyForExactYes) {
    registry.Store().SetString("developermode", "yes");
    EXPECT_TRUE(prefs.GetDeveloperMode());
    for (const char* other : {"Yes", "YES", "yes ", "true", ""}) {
        registry.Store().SetString("developermode", other);
        EXPECT_FALSE(prefs.GetDeveloperMode()) << other;
    }
}

TEST_F(ScanPreferencesTest, PasswordsAreStoredInBase64) {
    struct Row {
        const char* name;
        TextGetter get;
        TextSetter set;
    };
    const Row rows[] = {
        {"ScanFTPPassword", &ScanPreferences::GetScanFTPPassword,
         &ScanPreferences::SetScanFTPPassword},
        {"ScanProxyPassword", &ScanPreferences::GetScanProxyPassword,
         &ScanPreferences::SetScanProxyPassword},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        (prefs.*row.set)("hunter2");
        EXPECT_EQ("aHVudGVyMg==", registry.Raw(row.name));
        EXPECT_EQ("hunter2", (prefs.*row.get)());

        // Long enough that the encoded form passes 255 characters.
        const std::string longPassword(400, 'p');
        (prefs.*row.set)(longPassword);
        EXPECT_EQ(std::string::npos, registry.Raw(row.name).find('p'));
        EXPECT_EQ(longPassword, (prefs.*row.get)());

        (prefs.*row.set)("");
        EXPECT_EQ("", registry.Raw(row.name));
        EXPECT_EQ("", (prefs.*row.get)());
    }
    // A stored text that is not Base64 still reads without failing.
    registry.Store().SetString("ScanFTPPassword", "*");
    EXPECT_EQ("\xf8", prefs.GetScanFTPPassword());
}

TEST_F(ScanPreferencesTest, RecipientListsAndBodyLinesUseComposedNames) {
    prefs.SetNumOfAddress(1, 2);
    EXPECT_EQ("2", registry.Raw("NumOfAddressEm_Cc"));
    prefs.SetAddress(4, 0, "\"Fax\" <fax@example.com>");
    EXPECT_EQ("\"Fax\" <fax@example.com>", registry.Raw("AddressIF_Cc_0"));
    prefs.SetAddress(5, 2, "third");
    EXPECT_EQ("third", registry.Raw("AddressIF_Bcc_2"));

    const char* const lists[] = {"Em_To", "Em_Cc", "Em_Bcc", "IF_To", "IF_Cc", "IF_Bcc"};
    for (int list = 0; list < 6; ++list) {
        prefs.SetNumOfAddress(list, 10 + list);
        prefs.SetAddress(list, 11, lists[list]);
        EXPECT_EQ(std::to_string(10 + list),
                  registry.Raw(std::string("NumOfAddress") + lists[list]));
        EXPECT_EQ(lists[list], registry.Raw(std::string("Address") + lists[list] + "_11"));
        EXPECT_EQ(lists[list], prefs.GetAddress(list, 11));
    }

    // Shrinking a list leaves the entries above the count in place.
    for (int i = 0; i < 3; ++i) {
        prefs.SetAddress(0, i, "to" + std::to_string(i));
    }
    prefs.SetNumOfAddress(0, 3);
    prefs.SetNumOfAddress(0, 1);
    EXPECT_EQ(1, prefs.GetNumOfAddress(0));
    EXPECT_EQ("to2", registry.Raw("AddressEm_To_2"));

    // Indexes that name no list change nothing.
    prefs.SetNumOfAddress(6, 4);
    prefs.SetAddress(-1, 0, "x");
    EXPECT_EQ(0, prefs.GetNumOfAddress(6));
    EXPECT_EQ("", prefs.GetAddress(-1, 0));

    prefs.SetScanMailBody(0, "first line");
    prefs.SetScanMailBody(12, "line 12");
    prefs.SetScanIFaxBody(3, "fax line");
    EXPECT_EQ("first line", registry.Raw("ScanMailBody_0"));
    EXPECT_EQ("line 12", registry.Raw("ScanMailBody_12"));
    EXPECT_EQ("fax line", registry.Raw("ScanIFaxBody_3"));
    EXPECT_EQ("line 12", prefs.GetScanMailBody(12));
    EXPECT_EQ("fax line", prefs.GetScanIFaxBody(3));
}

TEST_F(ScanPreferencesTest, EraseBorderSides) {
    const char* const names[] = {"ScanEraseBorderTop", "ScanEraseBorderRight",
                                 "ScanEraseBorderBottom", "ScanEraseBorderLeft"};
    for (int side = 0; side < 4; ++side) {
        prefs.SetScanEraseBorderSide(side, std::to_string(side * 5));
        EXPECT_EQ(std::to_string(side * 5), registry.Raw(names[side]));
        EXPECT_EQ(std::to_string(side * 5), prefs.GetScanEraseBorderSide(side));
    }
    prefs.SetScanEraseBorderSide(4, "ignored");
    EXPECT_EQ("", prefs.GetScanEraseBorderSide(4));
}

TEST_F(ScanPreferencesTest, TwoViewsOfOneStoreAgree) {
    ScanPreferences other;
    other.SetStore(&registry.Store());
    prefs.SetScanColorMode("GRAYSCALE");
    EXPECT_EQ("GRAYSCALE", other.GetScanColorMode());
}
