#pragma once
// The server's scan vocabulary: paper, format, colour and limit keywords and default values as
// text, and the page-size table. A keyword that differs by one character is another value.
//
// Inline variables: a unit that includes this header before its own static objects sees them
// built first, whatever the order of units. Lists are built in the order A, C, B; list B and
// the table copy constants of list A.

#include <array>
#include <functional>
#include <string>

// List A.
namespace ScanConstStrings {
inline const std::string FtpTimeOutDefault = "30";
inline const std::string FtpPortDefault = "21";
inline const std::string ProxyFtpPortDefault = "21";
inline const std::string FtpAnonymousUser = "anonymous";
inline const std::string FormatPdf = "PDF";
inline const std::string FormatTiff = "TIFF";
inline const std::string FormatJpeg = "JPEG";
inline const std::string FormatRaw = "RAW";
inline const std::string ExtensionPdf = "pdf";
inline const std::string ExtensionTif = "tif";
inline const std::string ExtensionJpg = "jpg";
inline const std::string ExtensionRaw = "raw";
inline const std::string CompanyName = "Halcyra";
inline const std::string PaperLetterTransverse = "Letter.Transverse";
inline const std::string PaperLetR = "LetR";
inline const std::string PaperLetterR = "LetterR";
inline const std::string PaperLegal = "Legal";
inline const std::string PaperTabloid = "Tabloid";
inline const std::string PaperA3 = "A3";
inline const std::string PaperA4Transverse = "A4.Transverse";
inline const std::string PaperA4R = "A4R";
inline const std::string PaperB4Transverse = "B4.Transverse";
inline const std::string PaperB5Transverse = "B5.Transverse";
inline const std::string PaperB5R = "B5R";
inline const std::string PaperA5Transverse = "A5.Transverse";
inline const std::string PaperA5R = "A5R";
inline const std::string PaperA6R = "A6R";
inline const std::string PaperStatementR = "StatementR";
inline const std::string PaperB6R = "B6R";
inline const std::string PageSizeAuto = "AUTO_PAGESIZE";
inline const std::string PageSizeCustom = "CUSTOM_PAGESIZE";
inline const std::string PageSizeMixed = "FS_MIXED";
inline const std::string PaperStatement = "Statement";
inline const std::string AltPaperA3 = "A3";
inline const std::string AltPaperB4R = "B4R";
inline const std::string AltPaperA4 = "A4";
inline const std::string AltPaperA4R = "A4-R";
inline const std::string AltPaperB5 = "B5";
inline const std::string AltPaperB5R = "B5-R";
inline const std::string AltPaperA5 = "A5";
inline const std::string AltPaperA5R = "A5-R";
inline const std::string AltPaperTabloid = "Tabloid";
inline const std::string AltPaperLegal = "Legal";
inline const std::string AltPaperStatement = "Statement";
inline const std::string AltPaperStatementR = "STATEMENT-R";
inline const std::string AltPaperLetter = "Letter";
inline const std::string AltPaperLetterR = "LETTER-R";
} // namespace ScanConstStrings

// List C.
namespace ScanSettingStrings {
inline const std::string ModeAuto = "AUTO";
inline const std::string OrientationPortrait = "PORTRAIT";
inline const std::string OrientationLandscape = "LANDSCAPE";
inline const std::string ColorModeColor = "COLOR";
inline const std::string ColorModeGrayscale = "GRAYSCALE";
inline const std::string ColorModeGreyscale = "GREYSCALE";
inline const std::string ColorModeBlackWhite = "BLACK_WHITE";
inline const std::string LimitMin = "MIN";
inline const std::string LimitMax = "MAX";
inline const std::string CompressionStandard = "STANDARD";
inline const std::string EmptyText = "";
inline const std::string Text200 = "200";
inline const std::string SplitTimeOutMin = "0";
inline const std::string SplitTimeOutMax = "999";
inline const std::string SplitTimeOutDefault = "60";
inline const std::string EraseBorderMin = "0";
inline const std::string EraseBorderMax = "99";
inline const std::string EraseBorderDefault = "10";
} // namespace ScanSettingStrings

// List B: the format names an image file's format attribute is compared with.
namespace ImageFormatStrings {
inline const std::string ImageFormatTiff = ScanConstStrings::FormatTiff;
inline const std::string ImageFormatPict = "PICT";
inline const std::string ImageFormatBmp = "BMP";
inline const std::string ImageFormatXbm = "XBM";
inline const std::string ImageFormatJfif = "JFIF";
inline const std::string ImageFormatJpeg = ScanConstStrings::FormatJpeg;
inline const std::string ImageFormatFpx = "FPX";
inline const std::string ImageFormatPng = "PNG";
inline const std::string ImageFormatSpiff = "SPIFF";
inline const std::string ImageFormatExif = "EXIF";
} // namespace ImageFormatStrings

// One paper size in tenths of an inch, with the second keyword some servers use for it.
struct PageSizeEntry {
    PageSizeEntry(const std::string& name, const std::string& alternateName, double width,
                  double height)
        : name(name), alternateName(alternateName), width(width), height(height) {}

    std::string name;
    std::string alternateName;
    double width;
    double height;
};

// Ascending width, then height: the first row that holds a frame is the narrowest that does.
inline const std::array<PageSizeEntry, 15> PageSizeTable = {{
    {ScanConstStrings::PaperA6R, ScanConstStrings::PaperA6R, 58, 41},
    {ScanConstStrings::PaperA5Transverse, ScanConstStrings::AltPaperA5, 58, 82},
    {ScanConstStrings::PaperB6R, ScanConstStrings::PaperB6R, 71, 50},
    {ScanConstStrings::PaperB5Transverse, ScanConstStrings::AltPaperB5, 71, 101},
    {ScanConstStrings::PaperA5R, ScanConstStrings::AltPaperA5R, 82, 58},
    {ScanConstStrings::PaperA4Transverse, ScanConstStrings::AltPaperA4, 82, 116},
    {ScanConstStrings::PaperStatementR, ScanConstStrings::AltPaperStatementR, 85, 55},
    {ScanConstStrings::PaperLetterTransverse, ScanConstStrings::AltPaperLetter, 85, 110},
    {ScanConstStrings::PaperLegal, ScanConstStrings::AltPaperLegal, 85, 140},
    {ScanConstStrings::PaperB5R, ScanConstStrings::AltPaperB5R, 101, 71},
    {ScanConstStrings::PaperLetR, ScanConstStrings::AltPaperLetterR, 110, 85},
    {ScanConstStrings::PaperA4R, ScanConstStrings::AltPaperA4R, 116, 82},
    {ScanConstStrings::PaperB4Transverse, ScanConstStrings::AltPaperB4R, 143, 101},
    {ScanConstStrings::PaperA3, ScanConstStrings::AltPaperA3, 165, 116},
    {ScanConstStrings::PaperTabloid, ScanConstStrings::AltPaperTabloid, 170, 110},
}};

// The first row of exactly this size, or null.
const PageSizeEntry* FindPageSizeExact(double width, double height);
// The first row at least as wide and as high as the frame, or null.
const PageSizeEntry* FindPageSizeHolding(double width, double height);

// The server paper keyword for a frame in tenths of an inch: of the exactly matching row, its
// name or else its alternate name, whichever the server lists; failing that, when the server
// takes no custom sizes, the name of the first row that holds the frame, or "Tabloid" when
// none does. Empty when the server takes custom sizes and no listed keyword matches.
std::string LookUpPaperKeyword(double width, double height,
                               const std::function<bool(const std::string&)>& serverLists,
                               bool serverTakesCustomSizes);
