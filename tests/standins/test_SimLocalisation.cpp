// Localisation sessions of the simulated server: languages, encodings, contexts, decoding.

#include "SimTestSupport.h"

namespace {

class SimLocalisationTest : public SimTest {};

TEST_F(SimLocalisationTest, PlainLookupsAndTheirContext) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle locl = OpenLocalisation(server, "en", "ISO8859_1");
    char* text = nullptr;
    ASSERT_EQ(QUORVEL_OK, LOCL_getString(&locl, "ADF", &text, 0));
    EXPECT_STREQ("Document Feeder", text);
    // Paper sizes are known only in the context "PageSize".
    EXPECT_EQ(QUORVEL_LOCL_UNKNOWN_KEY, LOCL_getString(&locl, "LetR", &text, 0));
    EXPECT_EQ(nullptr, text);
    ASSERT_EQ(QUORVEL_OK, LOCL_getStringWithContext(&locl, "PageSize", "LetR", &text, 0));
    EXPECT_STREQ("Letter-R", text);
    EXPECT_EQ(QUORVEL_LOCL_UNKNOWN_KEY,
              LOCL_getStringWithContext(&locl, "PageSize", "ADF", &text, 0));
    EXPECT_EQ(QUORVEL_LOCL_UNKNOWN_KEY,
              LOCL_getStringWithContext(&locl, "NoSuchContext", "ADF", &text, 0));
    EXPECT_EQ(QUORVEL_LOCL_UNKNOWN_KEY,
              LOCL_getStringWithContext(&locl, "..\\..\\default", "ADF", &text, 0));
    EXPECT_EQ(QUORVEL_LOCL_UNKNOWN_KEY, LOCL_getString(&locl, "adf", &text, 0))
        << "keywords are compared exactly";
    EXPECT_EQ(QUORVEL_LOCL_PARMERR, LOCL_getString(&locl, nullptr, &text, 0));
    EXPECT_EQ(QUORVEL_LOCL_PARMERR, LOCL_getString(&locl, "ADF", nullptr, 0));
    EXPECT_EQ(QUORVEL_LOCL_PARMERR, LOCL_getStringWithContext(&locl, nullptr, "ADF", &text, 0));
    EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "texts stay the library's";
    EXPECT_EQ(QUORVEL_OK, LOCL_closeSession(&locl, 0));
    EXPECT_EQ(QUORVEL_LOCL_INVALID_HANDLE, LOCL_getString(&locl, "ADF", &text, 0));
    EXPECT_EQ(QUORVEL_LOCL_INVALID_HANDLE, LOCL_closeSession(&locl, 0));
}

TEST_F(SimLocalisationTest, TextsComeInTheSessionsEncoding) {
    QuorvelServerHandle server = Connect();
    char* text = nullptr;

    QuorvelSessionHandle japanese = OpenLocalisation(server, "ja", "SJIS");
    ASSERT_EQ(QUORVEL_OK, LOCL_getString(&japanese, "COLOR", &text, 0));
    EXPECT_STREQ("\x83\x4A\x83\x89\x81\x5B", text); // カラー in Shift-JIS

    QuorvelSessionHandle german = OpenLocalisation(server, "de", "ISO8859_1");
    ASSERT_EQ(QUORVEL_OK, LOCL_getString(&german, "BLACK_WHITE", &text, 0));
    EXPECT_STREQ("Schwarzwei\xDF", text);

    QuorvelSessionHandle japaneseLatin = OpenLocalisation(server, "ja", "ISO8859_1");
    ASSERT_EQ(QUORVEL_OK, LOCL_getString(&japaneseLatin, "COLOR", &text, 0));
    EXPECT_STREQ("???", text) << "characters the encoding cannot hold";

    QuorvelSessionHandle utf8 = OpenLocalisation(server, "fr", "UTF8");
    ASSERT_EQ(QUORVEL_OK, LOCL_getString(&utf8, "HIGH", &text, 0));
    EXPECT_STREQ("\xC3\x89lev\xC3\xA9"
                 "e",
                 text);
}

TEST_F(SimLocalisationTest, UnknownLanguagesAndEncodingsAreRefused) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle session = {};
    // The default server has no Chinese texts: clients fall back on their own table.
    EXPECT_EQ(QUORVEL_LOCL_INVALID_LOCALE,
              LOCL_openSession(&server, 0, "zh_GBK", "ISO8859_1", &session, 0));
    EXPECT_EQ(QUORVEL_LOCL_INVALID_LOCALE,
              LOCL_openSession(&server, 0, "..", "ISO8859_1", &session, 0));
    EXPECT_EQ(QUORVEL_LOCL_INVALID_LOCALE,
              LOCL_openSession(&server, 0, "", "ISO8859_1", &session, 0));
    EXPECT_EQ(QUORVEL_LOCL_INVALID_ENCODING,
              LOCL_openSession(&server, 0, "en", "EBCDIC", &session, 0));
    EXPECT_EQ(QUORVEL_LOCL_PARMERR, LOCL_openSession(&server, 0, nullptr, "SJIS", &session, 0));
    EXPECT_EQ(QUORVEL_LOCL_PARMERR, LOCL_openSession(&server, 0, "en", "SJIS", nullptr, 0));
    QuorvelServerHandle none = {};
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, LOCL_openSession(&none, 0, "en", "SJIS", &session, 0));
}

TEST_F(SimLocalisationTest, DecodingHandsOutAHeapBlock) {
    QuorvelServerHandle server = Connect();
    QuorvelSessionHandle locl = OpenLocalisation(server, "ja", "SJIS");
    char* decoded = nullptr;
    ASSERT_EQ(QUORVEL_OK, LOCL_decodeString(&locl, "SJIS", "\x83\x4A\x83\x89\x81\x5B", "UTF8NOBOM",
                                            &decoded, 0));
    EXPECT_STREQ("\xE3\x82\xAB\xE3\x83\xA9\xE3\x83\xBC", decoded);
    EXPECT_EQ(1, OrvexSim_HeapBlocks());
    quorvel_free(decoded);
    ASSERT_EQ(QUORVEL_OK,
              LOCL_decodeString(&locl, "ISO8859_1", "caf\xE9", "UTF8NOBOM", &decoded, 0));
    EXPECT_STREQ("caf\xC3\xA9", decoded);
    quorvel_free(decoded);
    EXPECT_EQ(QUORVEL_LOCL_INTERNAL_ERROR,
              LOCL_decodeString(&locl, "UTF8", "\xC3", "ISO8859_1", &decoded, 0));
    EXPECT_EQ(nullptr, decoded);
    EXPECT_EQ(QUORVEL_LOCL_INVALID_ENCODING,
              LOCL_decodeString(&locl, "KOI8", "x", "UTF8NOBOM", &decoded, 0));
    EXPECT_EQ(QUORVEL_LOCL_PARMERR,
              LOCL_decodeString(&locl, "SJIS", nullptr, "UTF8NOBOM", &decoded, 0));
}

} // namespace
