// Language choice, look-up fall-back and code-page conversion of the resource loader, against
// the look-up cases of ResourceLoaderFixture.rc compiled into this executable.

#include "ResourceLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records the LANGIDs the fall-back chain asks for; answers only for one LANGID.
class RecordingLoader : public ResourceLoader {
public:
    explicit RecordingLoader(int answeringLangId) : m_answeringLangId(answeringLangId) {}
    mutable std::vector<LANGID> asked;

protected:
    HRSRC FindResourceInLanguage(LPCSTR, LPCSTR, LANGID langId) const override {
        asked.push_back(langId);
        return langId == m_answeringLangId ? reinterpret_cast<HRSRC>(1) : nullptr;
    }

private:
    int m_answeringLangId;
};

constexpr LANGID MakeLang(WORD primary, WORD sub) {
    return MAKELANGID(primary, sub);
}

class ResourceLoaderTest : public ::testing::Test {
protected:
    void TearDown() override {
        ResourceLoader::SetLanguagePreferenceSource(nullptr);
        ResourceLoader::SetSystemLangIdSource(nullptr);
    }

    static void Prefer(int testl) {
        ResourceLoader::SetLanguagePreferenceSource([testl] { return testl; });
    }
    static void SystemLanguage(LANGID langId) {
        ResourceLoader::SetSystemLangIdSource([langId] { return langId; });
    }

    // The fixture resource's text, or "(none)" when the look-up finds nothing.
    static std::string FindData(const ResourceLoader& loader, int id) {
        const HRSRC found = loader.FindResource(MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(id));
        if (!found) {
            return "(none)";
        }
        const HGLOBAL data = LoadResource(loader.GetModule(), found);
        return std::string(static_cast<const char*>(LockResource(data)),
                           SizeofResource(loader.GetModule(), found));
    }
};

struct LanguageCase {
    int testl;
    LANGID system;
    int index;
    const char* code;
    LANGID langId;
};

TEST_F(ResourceLoaderTest, ChooseLanguageFromPreferenceOrSystem) {
    const LanguageCase cases[] = {
        // "testl" wins over the system and is used without a range test.
        {1, MakeLang(LANG_GERMAN, SUBLANG_GERMAN), 1, "ja", 1041},
        {7, MakeLang(LANG_ENGLISH, SUBLANG_ENGLISH_US), 7, "en", 1042},
        {8, MakeLang(LANG_ENGLISH, SUBLANG_ENGLISH_US), 8, "en", 1028},
        {42, MakeLang(LANG_JAPANESE, SUBLANG_DEFAULT), 42, "en", 1033},
        {0, MakeLang(LANG_JAPANESE, SUBLANG_DEFAULT), 0, "en", 1033},
        // Absent ("testl" -1): the primary language of the system decides.
        {-1, MakeLang(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 9, "zh_GBK", 2052},
        {-1, MakeLang(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 9, "zh_GBK", 2052},
        {-1, MakeLang(LANG_CHINESE, SUBLANG_CHINESE_HONGKONG), 9, "zh_GBK", 2052},
        {-1, MakeLang(LANG_KOREAN, SUBLANG_DEFAULT), 0, "en", 1033},
        {-1, MakeLang(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), 4, "de", 1031},
        {-1, MakeLang(LANG_SPANISH, SUBLANG_SPANISH_MEXICAN), 2, "es", 1034},
        {-1, MakeLang(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN), 3, "fr", 1036},
        {-1, MakeLang(LANG_ITALIAN, SUBLANG_ITALIAN), 5, "it", 1040},
        {-1, MakeLang(LANG_JAPANESE, SUBLANG_DEFAULT), 1, "ja", 1041},
        {-1, MakeLang(LANG_DUTCH, SUBLANG_DUTCH_BELGIAN), 10, "nl", 1043},
        {-1, MakeLang(LANG_PORTUGUESE, SUBLANG_PORTUGUESE), 6, "pt", 1046},
        {-1, MakeLang(LANG_RUSSIAN, SUBLANG_DEFAULT), 0, "en", 1033},
        {-1, MakeLang(LANG_ENGLISH, SUBLANG_ENGLISH_UK), 0, "en", 1033},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "testl " << c.testl << ", system " << c.system);
        Prefer(c.testl);
        SystemLanguage(c.system);
        ResourceLoader loader;
        loader.SetLanguageIndex(4); // a prior choice must not leak into the new one
        loader.ChooseLanguage();
        EXPECT_EQ(c.index, loader.GetLanguageIndex());
        EXPECT_EQ(c.code, loader.GetLanguageCode());
        EXPECT_EQ(c.langId, loader.GetLangId());
    }
}

TEST_F(ResourceLoaderTest, InstanceIsCreatedOnceWithTheSystemLanguage) {
    SystemLanguage(MakeLang(LANG_CHINESE, SUBLANG_CHINESE_SINGAPORE));
    ResourceLoader* const loader = ResourceLoader::Instance();
    ASSERT_NE(nullptr, loader);
    EXPECT_EQ(loader, ResourceLoader::Instance());
    EXPECT_EQ(9, loader->GetLanguageIndex());
    EXPECT_EQ("zh_GBK", loader->GetLanguageCode());
    EXPECT_EQ(GetModuleHandleA(nullptr), loader->GetModule());

    // The data source chooses again once its preference store exists.
    Prefer(1);
    loader->ChooseLanguage();
    EXPECT_EQ("ja", ResourceLoader::Instance()->GetLanguageCode());
}

TEST_F(ResourceLoaderTest, CodePageFollowsTheLanguage) {
    ResourceLoader loader;
    EXPECT_EQ(0u, loader.GetCodePage());
    const struct {
        int index;
        UINT codePage;
    } cases[] = {{1, 932}, {9, 936}, {7, 949}, {0, 1252}, {4, 1252}, {42, 1252}};
    for (const auto& c : cases) {
        loader.SetLanguageIndex(c.index);
        EXPECT_EQ(c.codePage, loader.GetCodePage()) << "index " << c.index;
    }
    // An unknown locale leaves code page 0, the system ANSI page.
    loader.SetLangId(MakeLang(0x3ff, 0x3f));
    EXPECT_EQ(0u, loader.GetCodePage());
}

TEST_F(ResourceLoaderTest, LoadStringFallsBackPerBlock) {
    ResourceLoader loader;
    const struct {
        int index;
        int id;
        std::string text;
    } cases[] = {
        {0, 60000, "English 60000"},
        {0, 60016, "English 60016"},
        {1, 60000, "English 60000"}, // no Japanese or neutral block: English
        {1, 60016, "Neutral 60016"}, // neutral before English
        {7, 60016, "Neutral 60016"}, // Korean has no resources of its own
        {7, 60000, "English 60000"},
        {1, 60033, ""}, // the Japanese block exists, its entry is empty
        {0, 60100, ""}, // no language has the block
        {0, 60001, ""}, // empty entry of the English block
        {0, -1, ""},
    };
    for (const auto& c : cases) {
        loader.SetLanguageIndex(c.index);
        EXPECT_EQ(c.text, loader.LoadString(c.id)) << "index " << c.index << ", id " << c.id;
    }
}

TEST_F(ResourceLoaderTest, LoadStringConvertsToTheLanguageCodePage) {
    ResourceLoader loader;
    loader.SetLanguageIndex(1);
    EXPECT_EQ("\x93\xfa\x96\x7b\x8c\xea", loader.LoadString(60032)); // Shift-JIS
    loader.SetLanguageIndex(9);
    EXPECT_EQ("\xd6\xd0\xce\xc4", loader.LoadString(60048)); // GBK
}

TEST_F(ResourceLoaderTest, FindResourceTriesCurrentThenNeutralThenEnglish) {
    ResourceLoader loader;
    const struct {
        int index;
        int id;
        const char* found;
    } cases[] = {
        {1, 101, "ja"},      {1, 102, "neutral"}, {1, 103, "en"},
        {7, 101, "neutral"}, {7, 103, "en"},      {0, 101, "en"},
        {0, 102, "en"},      {0, 105, "(none)"},  {1, 105, "(none)"},
    };
    for (const auto& c : cases) {
        loader.SetLanguageIndex(c.index);
        EXPECT_EQ(c.found, FindData(loader, c.id)) << "index " << c.index << ", id " << c.id;
    }
    // LANGID 0 tries the neutral resource, then English.
    loader.SetLangId(0);
    EXPECT_EQ("neutral", FindData(loader, 102));
    EXPECT_EQ("en", FindData(loader, 103));
}

TEST_F(ResourceLoaderTest, FindResourceAsksEachLanguageOnceAndStopsAtTheFirstFind) {
    const struct {
        LANGID current;
        int answering; // -1: no language has the resource
        std::vector<LANGID> asked;
    } cases[] = {
        {1041, -1, {1041, 0, 1033}}, {1033, -1, {1033, 0}}, {0, -1, {0, 1033}},
        {1041, 1041, {1041}},        {1042, 0, {1042, 0}},  {2052, 1033, {2052, 0, 1033}},
    };
    for (const auto& c : cases) {
        RecordingLoader loader(c.answering);
        loader.SetLangId(c.current);
        const HRSRC found = loader.FindResource(MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(1));
        EXPECT_EQ(c.answering != -1, found != nullptr) << "LANGID " << c.current;
        EXPECT_EQ(c.asked, loader.asked) << "LANGID " << c.current;
    }
}

TEST_F(ResourceLoaderTest, LoadResourceDataFindsDialogsWithFallBack) {
    ResourceLoader loader;
    loader.SetLanguageIndex(9);
    EXPECT_NE(nullptr, loader.LoadResourceData(300));
    EXPECT_EQ(nullptr, loader.LoadResourceData(4711));
    EXPECT_EQ(nullptr, loader.LoadBitmap(4711));
}

} // namespace
