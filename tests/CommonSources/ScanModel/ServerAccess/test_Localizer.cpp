// Server keywords in the interface language: server first, then the string table, then the key.

#include "Localizer.h"
#include "ResourceLoader.h"
#include "ServerAccessTestSupport.h"
#include "StringTable_rc.h"

namespace {

class LocalizerTest : public ServerAccessTest {
protected:
    void SetUp() override {
        ServerAccessTest::SetUp();
        m_savedLanguage = ResourceLoader::Instance()->GetLanguageIndex();
        ResourceLoader::Instance()->SetLanguageIndex(0);
    }
    void TearDown() override {
        ResourceLoader::Instance()->SetLanguageIndex(m_savedLanguage);
        ServerAccessTest::TearDown();
    }

    int m_savedLanguage = 0;
};

TEST_F(LocalizerTest, WithoutAServerTheTableOrTheKeyAnswers) {
    QuorvelWrapperIntf& unconnected = Fresh();
    Localizer withTable(&unconnected, true);
    EXPECT_EQ("Letter-R", withTable.GetString("LETTER-R"));
    EXPECT_EQ(ResourceLoader::Instance()->LoadString(IDS_PAGE_LETTER_R),
              withTable.GetString("LetR"));
    EXPECT_EQ("Black and White", withTable.GetString("BLACK_WHITE"));
    EXPECT_EQ("Grayscale", withTable.GetString("GREYSCALE"));
    EXPECT_EQ("B5", withTable.GetString("B5"));
    EXPECT_EQ("", withTable.GetString(""));
    EXPECT_EQ("letter-r", withTable.GetString("letter-r")) << "keywords keep their case";

    Localizer withoutTable(&unconnected, false);
    EXPECT_EQ("LETTER-R", withoutTable.GetString("LETTER-R"));
}

TEST_F(LocalizerTest, TheServerAnswersFirst) {
    QuorvelWrapperIntf& wrapper = Connected();
    Localizer localizer(&wrapper, true);
    EXPECT_EQ("\"en\"", LogValue(LogLinesOf("LOCL_openSession")[0], "language"));
    EXPECT_EQ("\"ISO8859_1\"", LogValue(LogLinesOf("LOCL_openSession")[0], "encoding"));
    EXPECT_EQ("Document Feeder", localizer.GetString("ADF"));
    EXPECT_EQ("Tabloid (11x17)", localizer.GetString("Tabloid")) << "found in the PageSize context";
    EXPECT_EQ("Letter-R", localizer.GetString("LETTER-R")) << "unknown to the server";
    EXPECT_EQ("90", localizer.GetString("90"));
}

TEST_F(LocalizerTest, EncodingFollowsTheInterfaceLanguage) {
    QuorvelWrapperIntf& wrapper = Connected();
    struct Case {
        int languageIndex;
        const char* language;
        const char* encoding;
    };
    const Case cases[] = {{1, "\"ja\"", "\"SJIS\""},
                          {4, "\"de\"", "\"ISO8859_1\""},
                          {9, "\"zh_GBK\"", "\"ISO8859_1\""}};
    for (const Case& c : cases) {
        ResourceLoader::Instance()->SetLanguageIndex(c.languageIndex);
        OrvexSim_ClearLog();
        Localizer localizer(&wrapper, true);
        const std::string line = LogLinesOf("LOCL_openSession")[0];
        EXPECT_EQ(c.language, LogValue(line, "language"));
        EXPECT_EQ(c.encoding, LogValue(line, "encoding"));
        if (c.languageIndex == 1) {
            EXPECT_EQ("\x83\x4A\x83\x89\x81\x5B", localizer.GetString("COLOR"));
        }
        if (c.languageIndex == 9) {
            // The default server has no Chinese texts: the string table answers.
            EXPECT_TRUE(Contains(line, "-> -34")) << line;
            EXPECT_EQ(ResourceLoader::Instance()->LoadString(IDS_COLOR),
                      localizer.GetString("COLOR"));
        }
    }
}

TEST_F(LocalizerTest, ASecondLocalizerTakesOverTheSession) {
    QuorvelWrapperIntf& wrapper = Connected();
    auto first = std::make_unique<Localizer>(&wrapper, true);
    {
        Localizer second(&wrapper, false);
        EXPECT_EQ("Document Feeder", second.GetString("ADF"));
    }
    // The second one closed the wrapper's only session: the first falls back to its table.
    EXPECT_EQ("ADF", first->GetString("ADF"));
    EXPECT_EQ("Letter", first->GetString("Letter.Transverse"));
    first.reset();
    EXPECT_EQ(1u, LogLinesOf("LOCL_closeSession").size());
}

} // namespace
