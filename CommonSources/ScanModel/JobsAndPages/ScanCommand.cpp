#include "ScanCommand.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "BinaryFileException.h"
#include "JpegReader.h"
#include "ResourceLoader.h"
#include "ScannerIntf.h"
#include "ScannerUiIntf.h"
#include "StringTable_rc.h"
#include "TempPageFiles.h"
#include "TiffReader.h"
#include "TransferSourceIntf.h"

namespace {

// The busy display runs while a page is fetched and converted, however that ends.
class BusyAnimation {
public:
    BusyAnimation(ScannerUiIntf* ui, const std::string& text) : m_ui(ui) {
        if (m_ui) {
            m_ui->StartBusyAnimation(text);
        }
    }
    BusyAnimation(const BusyAnimation&) = delete;
    BusyAnimation& operator=(const BusyAnimation&) = delete;
    ~BusyAnimation() {
        if (m_ui) {
            m_ui->StopBusyAnimation();
        }
    }

private:
    ScannerUiIntf* m_ui;
};

bool OneOf(const std::string& format, const char* first, const char* second) {
    return format == first || format == second;
}

} // namespace

ScanCommand::ScanCommand(ScannerIntf* scanner, QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui)
    : m_scanner(scanner), m_wrapper(wrapper), m_ui(ui) {}

ScanCommand::~ScanCommand() {
    m_pending.clear();
    DropPageFiles();
    m_image.reset();
}

bool ScanCommand::IsPageReady() {
    return m_pageReady;
}

bool ScanCommand::StartPage(std::int32_t page) {
    if (!m_image) {
        return false;
    }
    // A page that fails to arrive must not leave the previous one looking ready.
    m_pageReady = false;
    m_currentPage = page;
    if (!IsPageFileRead(page)) {
        return true;
    }
    const BusyAnimation busy(m_ui, ResourceLoader::Instance()->LoadString(IDS_PLEASE_WAIT));
    if (!DownloadPage(page)) {
        return false;
    }
    if (m_conversionMode == ConvertJpeg) {
        ConvertJpegPage();
    } else if (m_conversionMode == ConvertTiff) {
        ConvertTiffPage();
    }
    m_pageReady = true;
    return true;
}

bool ScanCommand::NextPage() {
    // Both files go: the raw one is still there when no conversion was chosen.
    DropPageFiles();
    m_pageReady = false;
    ++m_currentPage;
    if (HasMorePages()) {
        return StartPage(m_currentPage);
    }
    return false;
}

std::FILE* ScanCommand::GetPageFile() {
    return m_pageFile.get();
}

void ScanCommand::Reset() {
    m_jobId = 0;
    m_outputValue1 = 0;
    m_outputValue2 = 0;
    m_currentPage = 0;
    m_conversionMode = ConvertNone;
    DropPageFiles();
    m_rawFile.Clear();
    m_convertedFile.Clear();
    m_pageReady = false;
    if (!m_image) {
        return;
    }
    m_image->ResetTransferState();
    m_image->ResetPageCounters();
    if (!m_pending.empty()) {
        // The oldest queued image is the one just acquired; the window takes the next.
        m_pending.pop_front();
        if (!m_pending.empty() && m_ui) {
            m_ui->PostToCurrentWindow(m_pending.front()->GetStartPage());
        }
    }
    m_image.reset();
}

void ScanCommand::ReadData(void* buffer, std::int32_t* size) {
    if (!size) {
        return;
    }
    const std::int32_t asked = *size;
    // Past the end, and without a page file, nothing is delivered: never an old count.
    *size = 0;
    if (asked <= 0 || !buffer || !OpenPageFile() || std::feof(m_pageFile.get())) {
        return;
    }
    *size = static_cast<std::int32_t>(
        std::fread(buffer, 1, static_cast<std::size_t>(asked), m_pageFile.get()));
}

void ScanCommand::ReadDataAt(std::int32_t offset, void* buffer, std::int32_t* size) {
    if (!size) {
        return;
    }
    if (offset < 0 || !OpenPageFile() || std::fseek(m_pageFile.get(), offset, SEEK_SET) != 0) {
        *size = 0;
        return;
    }
    ReadData(buffer, size);
}

bool ScanCommand::ReadLocalPage(const PageRead& read, std::int32_t offset, void* buffer,
                                std::int32_t* size) {
    if (!m_pageReady || read.jobId != m_jobId || read.page != m_currentPage || !size) {
        return false;
    }
    if (read.format != "RAW") {
        if (!HoldsFormat(read.format)) {
            return false;
        }
        ReadDataAt(offset, buffer, size);
        return true;
    }
    const PagePixels* const pixels = Pixels();
    if (!pixels || pixels->GetBitsPerPixel() != read.bitsPerPixel ||
        pixels->GetWidth() != read.width || pixels->GetHeight() != read.height) {
        return false;
    }
    const std::string& rows = pixels->GetRows();
    std::int32_t delivered = 0;
    if (offset >= 0 && static_cast<std::size_t>(offset) < rows.size() && *size > 0 && buffer) {
        delivered = static_cast<std::int32_t>(std::min(
            static_cast<std::size_t>(*size), rows.size() - static_cast<std::size_t>(offset)));
        std::memcpy(buffer, rows.data() + offset, static_cast<std::size_t>(delivered));
    }
    *size = delivered;
    return true;
}

const PagePixels* ScanCommand::Pixels() {
    if (!m_pixelsTried) {
        m_pixelsTried = true;
        const CommonCpp::FileSpec& file = m_convertedFile.IsSet() ? m_convertedFile : m_rawFile;
        auto pixels = std::make_unique<PagePixels>();
        if (file.IsSet() && pixels->Load(file.GetPath())) {
            m_pixels = std::move(pixels);
        }
    }
    return m_pixels.get();
}

bool ScanCommand::IsPageFileRead(std::int32_t page) const {
    // The application's mechanism and file format are settled before a page is announced.
    if (TransferSourceIntf::TransferMechanism() != TWSX_FILE) {
        return true;
    }
    switch (TransferSourceIntf::ImageFileFormat()) {
    case TWFF_BMP:
        return true;
    case TWFF_TIFF:
    case TWFF_TIFFMULTI:
        // Only the start page itself comes as a TIFF of that page; without one the server
        // makes the whole job's.
        return m_conversionMode == ConvertTiff && m_image && m_image->GetStartPage() == page;
    default:
        return false;
    }
}

bool ScanCommand::HoldsFormat(const std::string& format) const {
    switch (m_conversionMode) {
    case ConvertJpeg:
        return OneOf(format, "JPEG", "JFIF");
    case ConvertTiff:
        return OneOf(format, "TIFF", "TIFFMULTI");
    default:
        // The page in the job's own format: what an empty format asks for.
        return format.empty();
    }
}

void ScanCommand::SetSaveRequest(std::int32_t jobId) {
    m_jobId = jobId;
}

void ScanCommand::SelectJpegConversion() {
    m_conversionMode = ConvertJpeg;
}

void ScanCommand::SelectTiffConversion() {
    m_conversionMode = ConvertTiff;
}

void ScanCommand::MakePageFileNames() {
    m_rawFile.Clear();
    m_convertedFile.Clear();
    std::string folder;
    std::uint64_t freeBytes = 0;
    GetTempDirectory(folder, freeBytes);
    const std::string base = folder + MakeTempFileName(nullptr, nullptr);
    if (m_conversionMode == ConvertJpeg) {
        m_convertedFile.SetPath(base + ".jpg");
    } else if (m_conversionMode == ConvertTiff) {
        m_convertedFile.SetPath(base + ".tif");
    }
    m_rawFile.SetPath(base + ".raw");
}

bool ScanCommand::DownloadPage(std::int32_t page) {
    if (!m_image || !m_scanner) {
        return false;
    }
    const bool needsConverted = m_conversionMode != ConvertNone;
    if (!m_rawFile.IsSet() || (needsConverted && !m_convertedFile.IsSet())) {
        MakePageFileNames();
    }
    const char* const format = m_conversionMode == ConvertJpeg   ? "JPEG"
                               : m_conversionMode == ConvertTiff ? "TIFF"
                                                                 : "";
    return m_scanner->SaveASCanJobToDisk(m_jobId, m_rawFile, format, page, m_image.get());
}

void ScanCommand::ConvertJpegPage() {
    {
        JpegReader reader(m_rawFile);
        reader.Convert(m_convertedFile);
        m_outputValue1 = reader.GetOutputInfo2();
        m_outputValue2 = reader.GetOutputInfo1();
    }
    m_rawFile.Delete();
    OpenConverted(__LINE__);
}

void ScanCommand::ConvertTiffPage() {
    {
        TiffReader reader(m_rawFile);
        reader.Convert(m_convertedFile);
        m_outputValue1 = reader.GetOutputInfo2();
        m_outputValue2 = reader.GetOutputInfo1();
    }
    m_rawFile.Delete();
    OpenConverted(__LINE__);
}

void ScanCommand::OpenConverted(int line) {
    m_pageFile.reset();
    errno = 0;
    m_pageFile.reset(m_convertedFile.Open("rb"));
    if (!m_pageFile) {
        throw CommonCpp::BinaryFileException(__FILE__, line,
                                             CommonCpp::BinaryFileException::CantOpen,
                                             m_convertedFile.GetPath(), errno);
    }
}

bool ScanCommand::OpenPageFile() {
    if (m_pageFile) {
        return true;
    }
    // Without a conversion the downloaded page itself is the page file.
    const CommonCpp::FileSpec& file = m_convertedFile.IsSet() ? m_convertedFile : m_rawFile;
    if (!file.IsSet()) {
        return false;
    }
    m_pageFile.reset(file.Open("rb"));
    return m_pageFile != nullptr;
}

void ScanCommand::DropPageFiles() {
    m_pageFile.reset();
    m_pixels.reset();
    m_pixelsTried = false;
    if (m_rawFile.IsSet()) {
        m_rawFile.Delete();
    }
    if (m_convertedFile.IsSet()) {
        m_convertedFile.Delete();
    }
}

bool ScanCommand::HasMorePages() {
    return m_image && m_image->ShouldTransferNextPage();
}

void ScanCommand::TransferNative(const PageTransferRequest& request, HGLOBAL* handle) {
    if (m_image) {
        m_image->TransferNative(request, handle);
    }
}

void ScanCommand::TransferFile(const PageTransferRequest& request) {
    if (m_image) {
        m_image->TransferFile(request);
    }
}

void ScanCommand::TransferMemory(const PageTransferRequest& request, MemoryTransferResult& result) {
    if (m_image) {
        m_image->TransferMemory(request, result);
    }
}

void ScanCommand::ResetTransfer() {
    if (m_image) {
        m_image->ResetTransferState();
    }
}

void ScanCommand::EndPage() {
    if (!m_image) {
        return;
    }
    m_image->PageTransferred();
    if (m_ui) {
        m_ui->EndProgress();
    }
    m_lastPage = m_currentPage;
    if (HasMorePages()) {
        if (m_pageReady) {
            NextPage();
        }
        return;
    }
    m_lastPage = m_image->HasFlagBit1() ? m_currentPage : 0;
    m_image->ResetPageCounters();
    Reset();
}

void ScanCommand::AttachImageFile(zylImageFile* image) {
    m_image.reset();
    if (!image) {
        return;
    }
    zylDirectory* const parent = image->GetParent();
    m_home.SetName(parent ? parent->GetName() : std::string());
    m_image.reset(image->Clone(parent ? &m_home : nullptr));
}

std::int16_t ScanCommand::GetPagesLeft() {
    if (!m_image) {
        return 0;
    }
    const std::int16_t left = m_image->GetNumPagesLeftToXfer();
    return left < 0 ? static_cast<std::int16_t>(m_image->GetXferCount()) : left;
}

zylImageFile* ScanCommand::GetImageFile() {
    return m_image.get();
}

bool ScanCommand::HasImageFile() {
    return m_image != nullptr;
}

void ScanCommand::PushPending(zylImageFile* image) {
    if (image) {
        m_pending.emplace_back(image);
    }
}

void ScanCommand::DeletePending() {
    m_pending.clear();
}

std::int32_t ScanCommand::GetLastPage() {
    return m_lastPage;
}

void ScanCommand::SetLastPage(std::int32_t page) {
    m_lastPage = page;
}
