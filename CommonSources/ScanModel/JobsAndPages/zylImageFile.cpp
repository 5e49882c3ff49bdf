#include "zylImageFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "Exception.h"
#include "QuorMemoryAllocator.h"
#include "QuorvelWrapperIntf.h"
#include "ScanAttributeWrapper.h"
#include "ScannerIntf.h"
#include "TW_Fix32.h"
#include "TransferSourceIntf.h"
#include "TwainDateTime.h"

namespace {

constexpr std::uint16_t kUnset = 0xFFFF;
constexpr std::int32_t kDefaultWidth = 2304;
constexpr std::int32_t kDefaultHeight = 3264;
constexpr double kDefaultResolution = 600.0;
constexpr double kNoResolution = -1.0;
constexpr const char* kDumpPath = "C:\\ScanAttributeToAcquire.txt";

enum class ColourMode { BlackWhite, Grey, Colour };

// The text as a decimal integer (leading blanks, a sign, then digits; what follows the digits
// is not looked at). False for no digits or a value beyond 32 bits.
bool ReadInt(const char* text, std::int32_t& value) {
    if (!text) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || read < INT32_MIN || read > INT32_MAX) {
        return false;
    }
    value = static_cast<std::int32_t>(read);
    return true;
}

// A text field of a job entry, which need not end in a NUL.
std::string FieldText(const char* field, size_t size) {
    const void* const nul = std::memchr(field, '\0', size);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : size);
}

bool Is(const char* text, const char* expected) {
    return text && std::strcmp(text, expected) == 0;
}

// The TWAIN file format of a format name; false for a name without one.
bool FileFormatOf(const std::string& name, std::uint16_t& format) {
    static const struct {
        const char* name;
        std::uint16_t format;
    } kFormats[] = {{"TIFF", TWFF_TIFFMULTI}, {"PICT", TWFF_PICT}, {"BMP", TWFF_BMP},
                    {"XBM", TWFF_XBM},        {"JFIF", TWFF_JFIF}, {"JPEG", TWFF_JFIF},
                    {"FPX", TWFF_FPX},        {"PNG", TWFF_PNG},   {"SPIFF", TWFF_SPIFF},
                    {"EXIF", TWFF_EXIF}};
    for (const auto& known : kFormats) {
        if (name == known.name) {
            format = known.format;
            return true;
        }
    }
    return false;
}

bool InPage(std::int32_t page, size_t count) {
    return page >= 1 && static_cast<size_t>(page) <= count;
}

} // namespace

zylImageFile::zylImageFile(zylDirectory* parent) : zylFileObj(parent) {
    SetClassName("zylImageFile");
    SetFileType(TWFY_IMAGE);
}

zylImageFile::zylImageFile(ScanJobEntry* entry, ScannerIntf* scanner, QuorvelWrapperIntf* wrapper,
                           zylDirectory* parent)
    : zylFileObj(parent), m_scanner(scanner), m_wrapper(wrapper) {
    SetClassName("zylImageFile");
    SetFileType(TWFY_IMAGE);
    LoadFromAttributes(entry);
}

zylImageFile::zylImageFile(std::shared_ptr<ScanJobEntry> entry, ScannerIntf* scanner,
                           QuorvelWrapperIntf* wrapper, zylDirectory* parent)
    : zylImageFile(entry.get(), scanner, wrapper, parent) {
    m_ownedEntry = std::move(entry);
}

zylImageFile::zylImageFile(const zylImageFile& source, zylDirectory* parent)
    : zylFileObj(source, parent), m_startPage(source.m_startPage),
      m_transferCount(source.m_transferCount), m_currentPage(source.m_currentPage),
      m_pagesLeft(source.m_pagesLeft), m_pageCount(source.m_pageCount),
      m_transferActive(source.m_transferActive), m_xResolution(source.m_xResolution),
      m_yResolution(source.m_yResolution), m_width(source.m_width), m_height(source.m_height),
      m_samplesPerPixel(source.m_samplesPerPixel), m_bitsPerPixel(source.m_bitsPerPixel),
      m_pixelType(source.m_pixelType), m_compression(source.m_compression),
      m_fileFormat(source.m_fileFormat), m_fileSize(source.m_fileSize), m_entry(source.m_entry),
      m_ownedEntry(source.m_ownedEntry), m_firstTransfer(source.m_firstTransfer),
      m_bytesSent(source.m_bytesSent), m_bytesInPage(source.m_bytesInPage), m_emFax(source.m_emFax),
      m_mixedSizes(source.m_mixedSizes), m_pageWidths(source.m_pageWidths),
      m_pageHeights(source.m_pageHeights), m_scanner(source.m_scanner), m_wrapper(source.m_wrapper),
      m_defaultFormat(source.m_defaultFormat), m_flags(source.m_flags),
      m_pageSamples(source.m_pageSamples), m_pagePixelTypes(source.m_pagePixelTypes),
      m_pageBitsPerPixel(source.m_pageBitsPerPixel) {
    SetClassName("zylImageFile");
    std::memcpy(m_bitsPerSample, source.m_bitsPerSample, sizeof(m_bitsPerSample));
}

zylImageFile::~zylImageFile() = default;

zylImageFile* zylImageFile::Clone(zylDirectory* parent) const {
    return new zylImageFile(*this, parent);
}

void zylImageFile::LoadFromAttributes(ScanJobEntry* entry) {
    if (!entry) {
        return;
    }
    std::string formatText;
    std::uint16_t compression = 0;
    std::int32_t pageCount = 1;
    std::int32_t width = kDefaultWidth;
    std::int32_t height = kDefaultHeight;
    double resolution = kNoResolution;
    double xResolution = kNoResolution;
    double yResolution = kNoResolution;
    ColourMode colourMode = ColourMode::BlackWhite;
    std::string fileName;
    const ServerAttributeList& attributes = entry->attributes;
    for (std::int32_t i = 0; attributes.keys && attributes.values && i < attributes.count; ++i) {
        const char* const key = attributes.keys[i];
        const char* const value = attributes.values[i];
        if (!key || !value) {
            continue;
        }
        std::int32_t number = 0;
        if (Is(key, "FILE_FORMAT")) {
            formatText = value;
        } else if (Is(key, "COMPRESSION")) {
            if (Is(value, "GROUP4")) {
                compression = TWCP_GROUP4;
            } else if (Is(value, "JPEG")) {
                compression = TWCP_JPEG;
            }
        } else if (Is(key, "N_PAGES")) {
            if (ReadInt(value, number)) {
                // An int16 count cannot hold more, and a job has at least one page.
                if (number >= 1 && number <= kMaxPages) {
                    pageCount = number;
                } else {
                    CommonCpp::DebugTrace("zylImageFile: job %u: N_PAGES %d refused\n",
                                          static_cast<unsigned>(entry->jobId),
                                          static_cast<int>(number));
                }
            }
        } else if (Is(key, "WIDTH_PIXELS") || Is(key, "X_PIXELS")) {
            if (ReadInt(value, number)) {
                width = number;
            }
        } else if (Is(key, "HEIGHT_PIXELS") || Is(key, "Y_PIXELS")) {
            if (ReadInt(value, number)) {
                height = number;
            }
        } else if (Is(key, "RESOLUTION") || Is(key, "X_RESOLUTION") || Is(key, "Y_RESOLUTION")) {
            if (ReadInt(value, number) && number != 0) {
                (Is(key, "RESOLUTION")     ? resolution
                 : Is(key, "X_RESOLUTION") ? xResolution
                                           : yResolution) = number;
            }
        } else if (Is(key, "FILENAME")) {
            fileName = value;
        } else if (Is(key, "COLOR_MODE")) {
            colourMode = Is(value, "COLOR") ? ColourMode::Colour
                         : Is(value, "GRAYSCALE") || Is(value, "GREYSCALE")
                             ? ColourMode::Grey
                             : ColourMode::BlackWhite;
        } else if (Is(key, "FILESIZE")) {
            m_fileSize = value;
        } else if (Is(key, "EMFAX_FORMAT")) {
            m_emFax = Is(value, "YES");
        } else if (Is(key, "PAGESIZE_KEY")) {
            m_mixedSizes = Is(value, "FS_MIXED");
        } else if (Is(key, "DEFAULT_FORMAT")) {
            m_defaultFormat = value;
        }
    }

    m_entry = entry;
    const std::string name = FieldText(entry->name, sizeof(entry->name));
    SetName(name.empty() ? fileName : name);
    const CommonTwain::TwainDateTime time(FieldText(entry->date, sizeof(entry->date)));
    SetCreateTime(time);
    SetModifiedTime(time);
    SetSize(entry->size);

    m_compression = compression;
    auto pick = [](double first, double second, double third) {
        return first != kNoResolution    ? first
               : second != kNoResolution ? second
               : third != kNoResolution  ? third
                                         : kDefaultResolution;
    };
    m_xResolution = CommonTwain::DoubleToFix32(pick(xResolution, resolution, yResolution));
    m_yResolution = CommonTwain::DoubleToFix32(pick(yResolution, resolution, xResolution));
    m_width = width;
    m_height = height;
    m_pageCount = static_cast<std::int16_t>(pageCount);
    m_pageWidths.assign(pageCount, 0);
    m_pageHeights.assign(pageCount, 0);
    m_pageSamples.assign(pageCount, kUnset);
    m_pagePixelTypes.assign(pageCount, kUnset);
    m_pageBitsPerPixel.assign(pageCount, kUnset);

    m_samplesPerPixel = 1;
    m_bitsPerPixel = 1;
    const std::uint16_t bilevel[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    std::memcpy(m_bitsPerSample, bilevel, sizeof(m_bitsPerSample));
    if (colourMode == ColourMode::Colour) {
        const std::uint16_t colour[8] = {8, 8, 8, 0, 0, 0, 0, 0};
        m_samplesPerPixel = 3;
        m_pixelType = TWPT_RGB;
        m_bitsPerPixel = 24;
        std::memcpy(m_bitsPerSample, colour, sizeof(m_bitsPerSample));
    } else if (colourMode == ColourMode::Grey) {
        m_pixelType = TWPT_GRAY;
        m_bitsPerPixel = 8;
        m_bitsPerSample[0] = 8;
    }
    FileFormatOf(formatText, m_fileFormat);
}

TW_FIX32 zylImageFile::GetXResolution() const {
    return m_xResolution;
}

TW_FIX32 zylImageFile::GetYResolution() const {
    return m_yResolution;
}

std::int32_t zylImageFile::GetPageIndex(bool sizeRules) const {
    const std::int32_t pending = TransferSourceIntf::PendingTransferCount();
    if (m_startPage == -1) {
        return m_pageCount - pending + 1;
    }
    if (sizeRules && m_startPage >= 0 && HasFlagBit2()) {
        return m_pageCount + m_startPage - pending;
    }
    return m_startPage;
}

std::int32_t zylImageFile::GetImageWidth() {
    if (!m_mixedSizes && !HasFlagBit2()) {
        return m_width;
    }
    const std::int32_t page = GetPageIndex(true);
    if (!InPage(page, m_pageWidths.size())) {
        return m_width;
    }
    if (m_pageWidths[page - 1] == 0) {
        GetPagePixelSize(page);
    }
    return m_pageWidths[page - 1] != 0 ? static_cast<std::int32_t>(m_pageWidths[page - 1])
                                       : m_width;
}

std::int32_t zylImageFile::GetImageLength() {
    if (!m_mixedSizes && !HasFlagBit2()) {
        return m_height;
    }
    const std::int32_t page = GetPageIndex(true);
    if (!InPage(page, m_pageHeights.size())) {
        return m_height;
    }
    if (m_pageHeights[page - 1] == 0) {
        GetPagePixelSize(page);
    }
    return m_pageHeights[page - 1] != 0 ? static_cast<std::int32_t>(m_pageHeights[page - 1])
                                        : m_height;
}

std::uint16_t zylImageFile::GetSamplesPerPixel() {
    if (HasFlagBit2() || !m_transferActive) {
        return m_samplesPerPixel;
    }
    const std::int32_t page = GetPageIndex(false);
    if (!InPage(page, m_pageSamples.size())) {
        return m_samplesPerPixel;
    }
    if (m_pageSamples[page - 1] == kUnset) {
        LoadPageColorInfo(page);
    }
    return m_pageSamples[page - 1];
}

std::int16_t zylImageFile::GetBitsPerSample(int index) const {
    return index >= 0 && index < 8 ? static_cast<std::int16_t>(m_bitsPerSample[index]) : 0;
}

std::uint16_t zylImageFile::GetBitsPerPixel() {
    if (HasFlagBit2() || !m_transferActive) {
        return m_bitsPerPixel;
    }
    const std::int32_t page = GetPageIndex(false);
    if (!InPage(page, m_pageBitsPerPixel.size())) {
        return m_bitsPerPixel;
    }
    if (m_pageBitsPerPixel[page - 1] == kUnset) {
        LoadPageColorInfo(page);
    }
    return m_pageBitsPerPixel[page - 1];
}

std::uint16_t zylImageFile::GetPixelType() {
    if (HasFlagBit2() || !m_transferActive) {
        return m_pixelType;
    }
    const std::int32_t page = GetPageIndex(false);
    if (!InPage(page, m_pagePixelTypes.size())) {
        return m_pixelType;
    }
    if (m_pagePixelTypes[page - 1] == kUnset) {
        LoadPageColorInfo(page);
    }
    return m_pagePixelTypes[page - 1];
}

std::int16_t zylImageFile::GetStartPage() const {
    return m_startPage;
}

void zylImageFile::SetStartPage(std::int16_t page) {
    m_startPage = page;
}

std::int16_t zylImageFile::GetNumPages() const {
    return m_pageCount;
}

std::uint16_t zylImageFile::GetXferCount() const {
    return m_transferCount;
}

void zylImageFile::SetXferCount(std::uint16_t count) {
    m_transferCount = count;
}

void zylImageFile::BeginTransfer() {
    if (m_startPage == -1) {
        m_currentPage = 1;
        m_pagesLeft = m_pageCount;
    } else {
        m_currentPage = m_startPage;
        m_pagesLeft = static_cast<std::int16_t>(m_transferCount);
    }
    m_transferActive = true;
}

void zylImageFile::ResetPageCounters() {
    m_transferActive = false;
    m_currentPage = 0;
    m_pagesLeft = -1;
}

int zylImageFile::ResetTransferState() {
    m_firstTransfer = false;
    m_bytesSent = 0;
    m_bytesInPage = 0;
    return 0;
}

bool zylImageFile::ShouldTransferNextPage() const {
    return m_pagesLeft > 0;
}

std::int16_t zylImageFile::GetCurrentPage() const {
    return m_currentPage;
}

std::int16_t zylImageFile::GetNumPagesLeftToXfer() const {
    return m_transferActive ? m_pagesLeft : 0;
}

void zylImageFile::PageTransferred() {
    --m_pagesLeft;
    ++m_currentPage;
}

void zylImageFile::GetImageInfo(TW_IMAGEINFO* info) const {
    if (!info) {
        return;
    }
    info->XResolution = m_xResolution;
    info->YResolution = m_yResolution;
    info->ImageWidth = m_width;
    info->ImageLength = m_height;
    info->SamplesPerPixel = static_cast<TW_INT16>(m_samplesPerPixel);
    for (int i = 0; i < 8; ++i) {
        info->BitsPerSample[i] = static_cast<TW_INT16>(m_bitsPerSample[i]);
    }
    info->BitsPerPixel = static_cast<TW_INT16>(m_bitsPerPixel);
    info->Planar = 0;
    info->PixelType = static_cast<TW_INT16>(m_pixelType);
    info->Compression = TWCP_GROUP4;
}

std::uint32_t zylImageFile::GetJobID() const {
    return m_entry ? static_cast<std::uint32_t>(m_entry->jobId) : 0;
}

bool zylImageFile::IsEmFaxFormat() const {
    return m_emFax;
}

std::string zylImageFile::GetFileSize() const {
    return m_fileSize;
}

std::string zylImageFile::GetDefaultFormat() const {
    return m_defaultFormat;
}

void zylImageFile::DumpAttributes() const {
    ScanAttributeWrapper table(m_wrapper, GetJobAttributes());
    table.SaveToFile(kDumpPath);
}

void zylImageFile::SetNumPages(std::int16_t count) {
    if (count == m_pageCount) {
        return;
    }
    if (count < 1) {
        CommonCpp::DebugTrace("zylImageFile: page count %d refused\n", static_cast<int>(count));
        return;
    }
    const std::int32_t difference = count - m_pageCount;
    m_pagesLeft = static_cast<std::int16_t>(m_pagesLeft + difference);
    m_pageCount = count;
    auto grown = [difference](size_t size) {
        const std::int64_t wanted = static_cast<std::int64_t>(size) + difference;
        return wanted > 0 ? static_cast<size_t>(wanted) : size_t{0};
    };
    m_pageWidths.resize(grown(m_pageWidths.size()), 0);
    m_pageHeights.resize(grown(m_pageHeights.size()), 0);
}

ServerAttributeList* zylImageFile::GetJobAttributes() const {
    return m_entry ? &m_entry->attributes : nullptr;
}

void zylImageFile::SetFlags(std::uint32_t flags) {
    m_flags = flags;
}

bool zylImageFile::HasFlagBit1() const {
    return m_pagesLeft <= 0 && (m_flags & kFlagBit1) != 0;
}

bool zylImageFile::HasFlagBit2() const {
    return (m_flags & kFlagBit2) != 0;
}

void zylImageFile::ResizePageTables(std::int32_t count) {
    if (count < 0) {
        return;
    }
    m_pageWidths.resize(count, 0);
    m_pageHeights.resize(count, 0);
}

ScanPageInfo* zylImageFile::FetchPageInfo(std::int32_t page, bool byJobWhenFlagged) {
    if (!m_scanner) {
        return nullptr;
    }
    if (byJobWhenFlagged && (m_flags & kFlagPageInfoByJob)) {
        ScanPageInfo* info = nullptr;
        const bool failed =
            m_scanner->GetJobPageInfo(static_cast<std::int32_t>(GetJobID()), page, &info, true);
        if (failed && info) {
            ReleasePageInfo(info);
            return nullptr;
        }
        return info;
    }
    return m_scanner->GetPageInfo(this, page);
}

void zylImageFile::ReleasePageInfo(ScanPageInfo* info) const {
    if (!info) {
        return;
    }
    FreeReceivedAttributeList(m_wrapper, &info);
}

void zylImageFile::GetPagePixelSize(std::int32_t page) {
    ScanPageInfo* const info = FetchPageInfo(page, true);
    if (!info) {
        return;
    }
    bool width = false;
    bool height = false;
    for (std::int32_t i = 0; info->keys && info->values && i < info->count && !(width && height);
         ++i) {
        std::int32_t number = 0;
        if (Is(info->keys[i], "X_PIXELS") && InPage(page, m_pageWidths.size())) {
            width = true;
            if (ReadInt(info->values[i], number) && number > 0) {
                m_pageWidths[page - 1] = static_cast<std::uint32_t>(number);
            }
        } else if (Is(info->keys[i], "Y_PIXELS") && InPage(page, m_pageHeights.size())) {
            height = true;
            if (ReadInt(info->values[i], number) && number > 0) {
                m_pageHeights[page - 1] = static_cast<std::uint32_t>(number);
            }
        }
    }
    ReleasePageInfo(info);
}

void zylImageFile::LoadPageColorInfo(std::int32_t page) {
    ScanPageInfo* const info = FetchPageInfo(page, false);
    if (!info) {
        return;
    }
    for (std::int32_t i = 0; info->keys && info->values && i < info->count; ++i) {
        const char* const key = info->keys[i];
        const char* const value = info->values[i];
        if (!key || !value) {
            continue;
        }
        std::int32_t number = 0;
        if (Is(key, "COLOR_MODE_STR") || Is(key, "COLOR_MODE")) {
            if (!InPage(page, m_pagePixelTypes.size()) || m_pagePixelTypes[page - 1] != kUnset) {
                continue;
            }
            if (Is(value, "COLOR") || Is(value, "2")) {
                m_pagePixelTypes[page - 1] = TWPT_RGB;
                m_bitsPerSample[0] = m_bitsPerSample[1] = m_bitsPerSample[2] = 8;
            } else if (Is(value, "GRAYSCALE") || Is(value, "GREYSCALE") || Is(value, "8")) {
                m_pagePixelTypes[page - 1] = TWPT_GRAY;
                m_bitsPerSample[0] = 8;
                m_bitsPerSample[1] = m_bitsPerSample[2] = 0;
            } else {
                m_pagePixelTypes[page - 1] = TWPT_BW;
                m_bitsPerSample[0] = 1;
                m_bitsPerSample[1] = m_bitsPerSample[2] = 0;
            }
        } else if (Is(key, "BITS_PER_PIXEL") && InPage(page, m_pageBitsPerPixel.size())) {
            if (ReadInt(value, number)) {
                m_pageBitsPerPixel[page - 1] = static_cast<std::uint16_t>(number);
            }
        } else if (Is(key, "N_CHANNELS") && InPage(page, m_pageSamples.size())) {
            if (ReadInt(value, number)) {
                m_pageSamples[page - 1] = static_cast<std::uint16_t>(number);
            }
        }
    }
    ReleasePageInfo(info);
}
