#include "EmailMsg.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// A table that is never exported needs no server access.
class AttributeKeysTest : public ::testing::Test {
protected:
    ScanAttributeWrapper table{nullptr, nullptr};

    void ExpectKeys(const std::vector<std::pair<std::string, std::string>>& pairs) const {
        for (const auto& [key, value] : pairs) {
            EXPECT_TRUE(table.HasAttribute(key)) << key;
            EXPECT_EQ(value, table.GetAttribute(key)) << key;
        }
    }
    void ExpectAbsent(const std::vector<std::string>& keys) const {
        for (const std::string& key : keys) {
            EXPECT_FALSE(table.HasAttribute(key)) << key;
        }
    }
};

EmailMsg Message(const std::string& to, const std::string& subject, const std::string& body) {
    EmailMsg message;
    message.SetToFromString(to);
    message.SetSubject(subject);
    message.SetBody(body);
    return message;
}

} // namespace

TEST_F(AttributeKeysTest, AddersNumberDestinationsFromOne) {
    EXPECT_EQ(1, table.AddHoldQueueDestination());
    EXPECT_EQ(2, table.AddEmailDestination());
    EXPECT_EQ(3, table.AddFtpDestination());
    EXPECT_EQ(4, table.AddCallerDestination());
    EXPECT_EQ(5, table.AddMailboxDestination());
    EXPECT_EQ(6, table.AddEmFaxDestination());
    ExpectKeys({{"DEST:1", "HOLDQ"},
                {"DEST:2", "EMAIL"},
                {"DEST:3", "FTP"},
                {"DEST:4", "CALLER"},
                {"DEST:5", "MAILBOX"},
                {"DEST:6", "EMFAX"},
                {"N_DEST", "6"}});
    table.SetDestinationFormat(3, "PDF");
    table.SetDestinationPage(3, "1-2");
    ExpectKeys({{"DEST_FORMAT:3", "PDF"}, {"DEST_PAGE:3", "1-2"}});
}

TEST_F(AttributeKeysTest, AddersContinueFromTheStoredCount) {
    struct Case {
        const char* stored;
        int next;
    };
    for (const Case& c :
         {Case{"5", 6}, Case{" +2x", 3}, Case{"none", 1}, Case{"", 1}, Case{"-3", -2}}) {
        table.Clear();
        table.SetDestinationCount(c.stored);
        EXPECT_EQ(c.next, table.AddEmailDestination()) << c.stored;
        EXPECT_EQ(std::to_string(c.next), table.GetAttribute("N_DEST"));
    }
    table.SetDestinationCountInt(1);
    table.SetDestination(9, "FTP"); // any number; the count stays
    EXPECT_EQ("1", table.GetAttribute("N_DEST"));
}

TEST_F(AttributeKeysTest, ReusedDestinationNumberDropsItsOldSettings) {
    const int n = table.AddHoldQueueDestination();
    table.SetDestinationPage(n, "3");
    table.SetDestinationFormat(n, "PDF");
    table.SetDestinationCountInt(0);
    EXPECT_EQ(n, table.AddFtpDestination());
    EXPECT_EQ("FTP", table.GetAttribute("DEST:1"));
    ExpectAbsent({"DEST_PAGE:1", "DEST_FORMAT:1"});
}

TEST_F(AttributeKeysTest, TypedSettersWriteTheirKeys) {
    using Setter = std::function<void(ScanAttributeWrapper&)>;
    struct Row {
        Setter set;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {[](ScanAttributeWrapper& t) { t.SetScanOcr(true); }, "SCAN_OCR", "YES"},
        {[](ScanAttributeWrapper& t) { t.SetScanSource(true); }, "SCAN_SOURCE", "PLATEN"},
        {[](ScanAttributeWrapper& t) { t.SetScanSource(false); }, "SCAN_SOURCE", "ADF"},
        {[](ScanAttributeWrapper& t) { t.SetRawXRes("600"); }, "RAW_X_RES", "600"},
        {[](ScanAttributeWrapper& t) { t.SetRawXResInt(-1); }, "RAW_X_RES", "-1"},
        {[](ScanAttributeWrapper& t) { t.SetRawYRes("300"); }, "RAW_Y_RES", "300"},
        {[](ScanAttributeWrapper& t) { t.SetRawYResInt(200); }, "RAW_Y_RES", "200"},
        {[](ScanAttributeWrapper& t) { t.SetPageSize("A4R"); }, "PAGESIZE", "A4R"},
        {[](ScanAttributeWrapper& t) { t.SetColorMode("COLOR"); }, "COLOR_MODE", "COLOR"},
        {[](ScanAttributeWrapper& t) { t.SetMailbox("7"); }, "MAILBOX", "7"},
        {[](ScanAttributeWrapper& t) { t.SetFileName("scan"); }, "FILENAME", "scan"},
        {[](ScanAttributeWrapper& t) { t.SetFileFormat("TIFF"); }, "FILE_FORMAT", "TIFF"},
        {[](ScanAttributeWrapper& t) { t.SetBindDirection("LEFT"); }, "BIND_DIRECTION", "LEFT"},
        {[](ScanAttributeWrapper& t) { t.SetImageMode("TEXT"); }, "IMAGE_MODE", "TEXT"},
        {[](ScanAttributeWrapper& t) { t.SetBitsPerPixel("8"); }, "BITS_PER_PIXEL", "8"},
        {[](ScanAttributeWrapper& t) { t.SetBitsPerPixelInt(24); }, "BITS_PER_PIXEL", "24"},
        {[](ScanAttributeWrapper& t) { t.SetPixelType("RGB"); }, "PIXEL_TYPE", "RGB"},
        {[](ScanAttributeWrapper& t) { t.SetFtpServer("ftp.example"); }, "FTP_SERVER",
         "ftp.example"},
        {[](ScanAttributeWrapper& t) { t.SetFtpRemoteDir("/in"); }, "FTP_REMOTE_DIR", "/in"},
        {[](ScanAttributeWrapper& t) { t.SetFtpPort("21"); }, "FTP_PORT", "21"},
        {[](ScanAttributeWrapper& t) { t.SetFtpTimeout("30"); }, "FTP_TIMEOUT", "30"},
        {[](ScanAttributeWrapper& t) { t.SetFtpUser("anonymous"); }, "FTP_USER", "anonymous"},
        {[](ScanAttributeWrapper& t) { t.SetFtpPassword("p w"); }, "FTP_PASSWORD", "p w"},
        {[](ScanAttributeWrapper& t) { t.SetProxyFtpServer("proxy"); }, "PFTP_SERVER", "proxy"},
        {[](ScanAttributeWrapper& t) { t.SetProxyFtpPort("2121"); }, "PFTP_PORT", "2121"},
        {[](ScanAttributeWrapper& t) { t.SetProxyFtpUser("pu"); }, "PFTP_USER", "pu"},
        {[](ScanAttributeWrapper& t) { t.SetProxyFtpPassword("pp"); }, "PFTP_PASSWORD", "pp"},
        {[](ScanAttributeWrapper& t) { t.SetMailToCount("4"); }, "N_MAIL_TO", "4"},
        {[](ScanAttributeWrapper& t) { t.SetMailTo(-1, "x@y"); }, "MAIL_TO:-1", "x@y"},
        {[](ScanAttributeWrapper& t) { t.SetEmFaxToCount("2"); }, "N_EMFAX_TO", "2"},
        {[](ScanAttributeWrapper& t) { t.SetEmFaxCcCountInt(3); }, "N_EMFAX_CC", "3"},
        {[](ScanAttributeWrapper& t) { t.SetEmFaxCc(2, "c@x"); }, "EMFAX_CC:2", "c@x"},
        {[](ScanAttributeWrapper& t) { t.SetEmFaxMessageLine(10, ""); }, "EMFAX_MSG:10", ""},
        {[](ScanAttributeWrapper& t) { t.SetMailForceUrl(false); }, "MAIL_FORCE_URL", "NO"},
        {[](ScanAttributeWrapper& t) { t.SetPage("3"); }, "PAGE", "3"},
        {[](ScanAttributeWrapper& t) { t.SetPageInt(4); }, "PAGE", "4"},
        {[](ScanAttributeWrapper& t) { t.SetOrientation("PORTRAIT"); }, "ORIENTATION", "PORTRAIT"},
        {[](ScanAttributeWrapper& t) { t.SetCompressLevel("STANDARD"); }, "COMPRESS_LEVEL",
         "STANDARD"},
        {[](ScanAttributeWrapper& t) { t.SetBRemove("2"); }, "BREMOVE", "2"},
        {[](ScanAttributeWrapper& t) { t.SetBrightness("5"); }, "BRIGHTNESS", "5"},
        {[](ScanAttributeWrapper& t) { t.SetDropColor("RED"); }, "DROP_COLOR", "RED"},
        {[](ScanAttributeWrapper& t) { t.SetDropRange("1"); }, "DROP_RANGE", "1"},
        {[](ScanAttributeWrapper& t) { t.SetSplitOrig(true); }, "SPLIT_ORIG", "YES"},
        {[](ScanAttributeWrapper& t) { t.SetSplitMode("BOOK"); }, "SPLIT_MODE", "BOOK"},
        {[](ScanAttributeWrapper& t) { t.SetSm1PageTo("60"); }, "SM_1PAGE_TO", "60"},
        {[](ScanAttributeWrapper& t) { t.SetEraseMode("ALL"); }, "ERASE_MODE", "ALL"},
        {[](ScanAttributeWrapper& t) { t.SetMailFrom("me@x"); }, "MAIL_FROM", "me@x"},
        {[](ScanAttributeWrapper& t) { t.SetMailFromDisplayName(""); }, "MAIL_FROM_D", ""},
        {[](ScanAttributeWrapper& t) { t.SetThinMedia(true); }, "THIN_MEDIA", "YES"},
        {[](ScanAttributeWrapper& t) { t.SetDuplexOddPage(false); }, "DUPLEX_ODDPAGE", "NO"},
        {[](ScanAttributeWrapper& t) { t.SetSharpnessLevel("3"); }, "SHARPNESS_LEVEL", "3"},
        {[](ScanAttributeWrapper& t) { t.SetBackgroundAdjLevel("2"); }, "BACKGROUND_ADJ_LEVEL",
         "2"},
        {[](ScanAttributeWrapper& t) { t.SetExposureLevel("1"); }, "EXPOSURE_LEVEL", "1"},
        {[](ScanAttributeWrapper& t) { t.SetImageRotate("90"); }, "IMAGE_ROTATE", "90"},
        {[](ScanAttributeWrapper& t) { t.SetDuplexPass("2"); }, "DUPLEX_PASS", "2"},
        {[](ScanAttributeWrapper& t) { t.SetMixedPageSize(true); }, "MIXED_PAGESIZE", "ON"},
        {[](ScanAttributeWrapper& t) { t.SetMixedPageSize(false); }, "MIXED_PAGESIZE", "OFF"},
        {[](ScanAttributeWrapper& t) { t.SetMakeEmFaxable(true); }, "MKEMFAXABLE", "YES"},
    };
    for (const Row& row : rows) {
        table.Clear();
        row.set(table);
        EXPECT_EQ(row.value, table.GetAttribute(row.key)) << row.key;
        EXPECT_TRUE(table.HasAttribute(row.key)) << row.key;
    }

    table.Clear();
    table.SetDoubleSided(false);
    ExpectKeys({{"SCAN_DOUBLE_SIDE", "NO"}, {"Duplex", "0"}});
    table.SetDoubleSided(true);
    ExpectKeys({{"SCAN_DOUBLE_SIDE", "YES"}, {"Duplex", "1"}});
    table.SetPageSizeDimensions(85, -110);
    ExpectKeys({{"PAGESIZE_DIM_X", "85"}, {"PAGESIZE_DIM_Y", "-110"}});
}

TEST_F(AttributeKeysTest, NamesAndSubjectsAreWrittenOnlyWhenNotEmpty) {
    using Setter = std::function<void(ScanAttributeWrapper&, const std::string&)>;
    const std::pair<Setter, const char*> rows[] = {
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetMailToDisplayName(3, v); },
         "MAIL_TO_D:3"},
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetMailCcDisplayName(3, v); },
         "MAIL_CC_D:3"},
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetMailBccDisplayName(3, v); },
         "MAIL_BCC_D:3"},
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetMessageSubject(v); }, "MSGSUB"},
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetEmFaxToDisplayName(3, v); },
         "EMFAX_TO_D:3"},
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetEmFaxCcDisplayName(3, v); },
         "EMFAX_CC_D:3"},
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetEmFaxBccDisplayName(3, v); },
         "EMFAX_BCC_D:3"},
        {[](ScanAttributeWrapper& t, const std::string& v) { t.SetEmFaxSubject(v); },
         "EMFAX_MSGSUB"},
    };
    for (const auto& [set, key] : rows) {
        table.Clear();
        set(table, "");
        EXPECT_FALSE(table.HasAttribute(key)) << key;
        set(table, "earlier");
        set(table, "");
        EXPECT_EQ("earlier", table.GetAttribute(key)) << key;
    }
}

TEST_F(AttributeKeysTest, EmailMessageBecomesNumberedKeys) {
    EmailMsg message = Message("a@x; \"Bee\" <b@x>", "Hello", "one\n\nthree");
    message.AddCc("\"Cee\" <c@x>");
    message.AddBcc("d@x");
    table.SetEmailMessage(message);
    ExpectKeys({{"N_MAIL_TO", "2"},
                {"MAIL_TO:1", "a@x"},
                {"MAIL_TO:2", "b@x"},
                {"MAIL_TO_D:2", "Bee"},
                {"N_MAIL_CC", "1"},
                {"MAIL_CC:1", "c@x"},
                {"MAIL_CC_D:1", "Cee"},
                {"N_MAIL_BCC", "1"},
                {"MAIL_BCC:1", "d@x"},
                {"MSGSUB", "Hello"},
                {"N_MSGLINE", "4"},
                {"MSGLINE:1", "one"},
                {"MSGLINE:2", ""},
                {"MSGLINE:3", ""},
                {"MSGLINE:4", "three"}});
    ExpectAbsent({"MAIL_TO_D:1", "MAIL_BCC_D:1", "N_EMFAX_TO", "MAIL_ENCODING"});
}

TEST_F(AttributeKeysTest, EmptySubjectAndBodyOnAFreshTable) {
    table.SetEmailMessage(Message("a@x", "", ""));
    ExpectAbsent({"MSGSUB"});
    ExpectKeys({{"N_MSGLINE", "1"}, {"MSGLINE:1", ""}, {"N_MAIL_CC", "0"}, {"N_MAIL_BCC", "0"}});
}

TEST_F(AttributeKeysTest, ReusedTableHoldsOnlyTheNewMessage) {
    table.SetMailFrom("me@x");
    table.SetMailForceUrl(true);
    table.SetMailEncoding();
    EmailMsg first = Message("\"A\" <a@x>; \"B\" <b@x>; c@x", "Old subject", "1\n2");
    first.AddCc("\"Cee\" <c@x>");
    table.SetEmailMessage(first);
    table.SetEmailMessage(Message("z@x", "", "new"));
    ExpectKeys({{"N_MAIL_TO", "1"},
                {"MAIL_TO:1", "z@x"},
                {"N_MAIL_CC", "0"},
                {"N_MSGLINE", "1"},
                {"MSGLINE:1", "new"},
                // Set by their own calls, not part of the message.
                {"MAIL_FROM", "me@x"},
                {"MAIL_FORCE_URL", "YES"}});
    EXPECT_TRUE(table.HasAttribute("MAIL_ENCODING"));
    ExpectAbsent({"MAIL_TO:2", "MAIL_TO:3", "MAIL_TO_D:1", "MAIL_TO_D:2", "MAIL_CC:1",
                  "MAIL_CC_D:1", "MSGSUB", "MSGLINE:2", "MSGLINE:3"});
}

TEST_F(AttributeKeysTest, FaxMessageUsesItsOwnKeys) {
    table.SetEmailMessage(Message("\"Mail\" <m@x>", "Mail subject", "mail"));
    EmailMsg fax = Message("\"Fax\" <f@x>; g@x", "Fax subject", "fax line");
    fax.AddBcc("\"Hidden\" <h@x>");
    table.SetEmFaxMessage(fax);
    ExpectKeys({{"N_EMFAX_TO", "2"},
                {"EMFAX_TO:1", "f@x"},
                {"EMFAX_TO_D:1", "Fax"},
                {"EMFAX_TO:2", "g@x"},
                {"N_EMFAX_CC", "0"},
                {"N_EMFAX_BCC", "1"},
                {"EMFAX_BCC:1", "h@x"},
                {"EMFAX_BCC_D:1", "Hidden"},
                {"EMFAX_MSGSUB", "Fax subject"},
                {"N_EMFAX_MSG", "1"},
                {"EMFAX_MSG:1", "fax line"},
                // The e-mail message stays as it was.
                {"MAIL_TO_D:1", "Mail"},
                {"MSGSUB", "Mail subject"}});
    ExpectAbsent({"EMFAX_TO_D:2"});

    table.SetEmFaxMessage(Message("k@x", "", "x"));
    ExpectAbsent({"EMFAX_TO_D:1", "EMFAX_TO:2", "EMFAX_BCC:1", "EMFAX_BCC_D:1", "EMFAX_MSGSUB"});
    ExpectKeys({{"MSGSUB", "Mail subject"}});
}

TEST_F(AttributeKeysTest, EncodingFollowsTheInterfaceLanguage) {
    ResourceLoader* const loader = ResourceLoader::Instance();
    const int saved = loader->GetLanguageIndex();
    struct Case {
        int languageIndex; // 1 Japanese, 9 Simplified Chinese, 0 English
        const char* encoding;
    };
    for (const Case& c : {Case{1, "SJIS"}, Case{9, "ISO8859-1"}, Case{0, "ISO8859-1"}}) {
        loader->SetLanguageIndex(c.languageIndex);
        table.SetMailEncoding();
        table.SetEmFaxEncoding();
        EXPECT_EQ(c.encoding, table.GetAttribute("MAIL_ENCODING")) << c.languageIndex;
        EXPECT_EQ(c.encoding, table.GetAttribute("EMFAX_ENCODING")) << c.languageIndex;
    }
    loader->SetLanguageIndex(saved);
}

TEST_F(AttributeKeysTest, UserNameIsTheLogonName) {
    char expected[256] = {};
    DWORD size = sizeof expected;
    ASSERT_TRUE(GetUserNameA(expected, &size));
    table.SetUserName();
    EXPECT_EQ(expected, table.GetAttribute("USERNAME"));
    EXPECT_FALSE(table.GetAttribute("USERNAME").empty());
}

TEST_F(AttributeKeysTest, PageDescriptionKeepsPresentKeys) {
    const char* keys[] = {"COLOR_MODE", "FORMAT",       "PAGE",  "RESOLUTION",
                          "PIXEL_TYPE", "WIDTH_PIXELS", "OWNER", "JOB_NAME"};
    const char* values[] = {"GRAYSCALE", "JPEG", "9", "600", "BW", "1", "ann", "report"};
    const ServerAttributeList job = {const_cast<char**>(keys), const_cast<char**>(values), 8};

    table.SetColorMode("COLOR");
    table.SetPixelType("KEEP");
    table.SetImageAttributes(&job, 2, 299.9, 299.9, 24, 2, 6, 4, 2480, 3508);
    ExpectKeys({{"COLOR_MODE", "COLOR"}, // present keys keep their values
                {"PIXEL_TYPE", "KEEP"},
                {"OWNER", "ann"},
                {"JOB_NAME", "report"},
                {"PAGE", "2"},
                {"X_RESOLUTION", "299"},
                {"Y_RESOLUTION", "299.900000"},
                {"BITS_PER_PIXEL", "24"},
                {"COMPRESSION", "JPEG"},
                {"FORMAT", "JFIF"}, // the job names its format key "FORMAT"
                {"WIDTH_PIXELS", "2480"},
                {"HEIGHT_PIXELS", "3508"}});
    ExpectAbsent({"FILE_FORMAT", "RESOLUTION"});
}

TEST_F(AttributeKeysTest, PageDescriptionWithoutPageAndWithUnknownCodes) {
    const ServerAttributeList none = {nullptr, nullptr, 0};
    table.SetImageAttributes(&none, -1, 200.0, 100.5, 1, 42, 99, -1, 10, 20);
    ExpectAbsent({"PAGE", "FORMAT"});
    ExpectKeys({{"X_RESOLUTION", "200"},
                {"Y_RESOLUTION", "100.500000"},
                {"PIXEL_TYPE", ""},
                {"COMPRESSION", ""},
                {"FILE_FORMAT", "RAW"}});

    table.Clear();
    table.SetImageAttributes(&none, 1, 300, 300, 8, 1, 0, 77, 1, 1);
    ExpectKeys({{"PIXEL_TYPE", "GRAY"}, {"COMPRESSION", "NONE"}, {"FILE_FORMAT", ""}});
}
