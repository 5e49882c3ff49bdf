#include "ScanStrings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// Built by this unit's static initialisation, which must find the vocabulary ready.
const std::string g_readAtLoad = ScanConstStrings::CompanyName + "/" +
                                 ImageFormatStrings::ImageFormatJpeg + "/" +
                                 PageSizeTable[13].alternateName;

auto Lists(std::set<std::string> keywords) {
    return [keywords](const std::string& k) { return keywords.count(k) != 0; };
}

} // namespace

TEST(ScanVocabulary, ReadyForOtherStaticInitialisers) {
    EXPECT_EQ("Halcyra/JPEG/A3", g_readAtLoad);
}

TEST(ScanVocabulary, Texts) {
    using namespace ScanConstStrings;
    using namespace ScanSettingStrings;
    using namespace ImageFormatStrings;
    const struct {
        const std::string& constant;
        const char* text;
    } cases[] = {
        {FtpTimeOutDefault, "30"},
        {FtpPortDefault, "21"},
        {ProxyFtpPortDefault, "21"},
        {FtpAnonymousUser, "anonymous"},
        {FormatPdf, "PDF"},
        {FormatRaw, "RAW"},
        {ExtensionTif, "tif"},
        {ExtensionJpg, "jpg"},
        {CompanyName, "Halcyra"},
        {PaperLetterTransverse, "Letter.Transverse"},
        {PaperLetR, "LetR"},
        {PaperLetterR, "LetterR"},
        {PageSizeAuto, "AUTO_PAGESIZE"},
        {PageSizeCustom, "CUSTOM_PAGESIZE"},
        {PageSizeMixed, "FS_MIXED"},
        {AltPaperA4R, "A4-R"},
        {AltPaperStatementR, "STATEMENT-R"},
        {AltPaperLetterR, "LETTER-R"},
        {ModeAuto, "AUTO"},
        {ColorModeGrayscale, "GRAYSCALE"},
        {ColorModeGreyscale, "GREYSCALE"},
        {ColorModeBlackWhite, "BLACK_WHITE"},
        {CompressionStandard, "STANDARD"},
        {EmptyText, ""},
        {Text200, "200"},
        {SplitTimeOutMax, "999"},
        {SplitTimeOutDefault, "60"},
        {EraseBorderMax, "99"},
        {EraseBorderDefault, "10"},
        {ImageFormatTiff, "TIFF"},
        {ImageFormatJfif, "JFIF"},
        {ImageFormatExif, "EXIF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, c.constant);
    }
    // Equal texts, distinct constants.
    EXPECT_NE(&FtpPortDefault, &ProxyFtpPortDefault);
    EXPECT_NE(&PaperA3, &AltPaperA3);
    EXPECT_EQ(PaperA3, AltPaperA3);
    EXPECT_EQ(PaperTabloid, AltPaperTabloid);
    EXPECT_EQ(FormatTiff, ImageFormatTiff);
    EXPECT_EQ(FormatJpeg, ImageFormatJpeg);
}

TEST(PageSizes, TableRows) {
    ASSERT_EQ(15u, PageSizeTable.size());
    EXPECT_EQ("A6R", PageSizeTable[0].name);
    EXPECT_EQ("A5", PageSizeTable[1].alternateName);
    EXPECT_EQ("B4R", PageSizeTable[12].alternateName);
    EXPECT_EQ(143.0, PageSizeTable[12].width);
    EXPECT_EQ(101.0, PageSizeTable[12].height);
    for (const int row : {0, 2, 8, 13, 14}) {
        EXPECT_EQ(PageSizeTable[row].name, PageSizeTable[row].alternateName) << row;
    }
    for (std::size_t row = 1; row < PageSizeTable.size(); ++row) {
        const PageSizeEntry& a = PageSizeTable[row - 1];
        const PageSizeEntry& b = PageSizeTable[row];
        EXPECT_TRUE(a.width < b.width || (a.width == b.width && a.height < b.height)) << row;
    }
}

TEST(PageSizes, LookUp) {
    const struct {
        double width, height;
        std::set<std::string> listed;
        bool custom;
        const char* keyword;
    } cases[] = {
        {85, 110, {"Letter.Transverse", "Letter"}, false, "Letter.Transverse"},
        {85, 110, {"Letter"}, false, "Letter"},
        {85, 110, {}, false, "Letter.Transverse"}, // nothing listed: the row that holds it
        {85, 110, {}, true, ""},                   // custom sizes: nothing chosen here
        {110, 85, {"LETTER-R"}, true, "LETTER-R"},
        {60, 60, {}, false, "B5.Transverse"}, // rows 0-2 too narrow or too short
        {58, 41, {"A6R"}, false, "A6R"},
        {171, 50, {"Tabloid"}, false, "Tabloid"}, // wider than every row
        {100, 200, {}, false, "Tabloid"},
        {143, 101, {"B4R"}, false, "B4R"},
        {144, 101, {}, false, "A3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.keyword, LookUpPaperKeyword(c.width, c.height, Lists(c.listed), c.custom))
            << c.width << " x " << c.height;
    }
    EXPECT_EQ(nullptr, FindPageSizeExact(60, 60));
    EXPECT_EQ(&PageSizeTable[3], FindPageSizeHolding(60, 60));
    EXPECT_EQ(nullptr, FindPageSizeHolding(171, 10));
}
