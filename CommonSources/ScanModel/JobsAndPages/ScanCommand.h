#pragma once
// Carries one server job through a TWAIN acquisition page by page: downloads each page into a
// local raw file, has the image library convert it into a JPEG or TIFF page file, and hands the
// three TWAIN transfers on to its own copy of the job's image file. It also keeps the images
// the acquire window queued. Application thread only.
//
// Which transfer reads what (Scanner::ReadData asks ReadLocalPage): each page crosses the
// network once. Pixel rows (native and memory transfers, BMP files) are decoded from the page
// file when it holds them at the size and depth asked for; a file format is answered only by a
// page file of that format (a TIFF file transfer of a page converted to TIFF). Everything else,
// such as another resolution or the server's TIFF of a whole job, comes from the server, and no
// page is fetched here for a transfer that will not read it.

#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>

#include "FileSpec.h"
#include "PagePixels.h"
#include "ScanCommandIntf.h"
#include "zylDirectory.h"
#include "zylImageFile.h"

class QuorvelWrapperIntf;
class ScannerIntf;

class ScanCommand : public ScanCommandIntf {
public:
    enum ConversionMode : std::int32_t { ConvertNone = 0, ConvertTiff = 1, ConvertJpeg = 2 };

    // None of the three is owned.
    ScanCommand(ScannerIntf* scanner, QuorvelWrapperIntf* wrapper, ScannerUiIntf* ui);
    // Deletes the queued images, the current image and every page file.
    ~ScanCommand() override;

    bool IsPageReady() override;
    // False without an image or when the download fails; the library's and the files'
    // failures pass through as exceptions. True without fetching anything when the transfer
    // the application set up will not read the page file (it asks the server itself).
    bool StartPage(std::int32_t page) override;
    bool NextPage() override;
    std::FILE* GetPageFile() override;
    void Reset() override;
    void ReadData(void* buffer, std::int32_t* size) override;
    void SetSaveRequest(std::int32_t jobId) override;
    void SelectJpegConversion() override;
    void SelectTiffConversion() override;
    void MakePageFileNames() override;
    bool DownloadPage(std::int32_t page) override;
    void ConvertJpegPage() override;
    void ConvertTiffPage() override;
    bool HasMorePages() override;
    void TransferNative(const PageTransferRequest& request, HGLOBAL* handle) override;
    void TransferFile(const PageTransferRequest& request) override;
    void TransferMemory(const PageTransferRequest& request, MemoryTransferResult& result) override;
    void ResetTransfer() override;
    void EndPage() override;
    // Works on a copy of the image, which it owns.
    void AttachImageFile(zylImageFile* image) override;
    std::int16_t GetPagesLeft() override;
    zylImageFile* GetImageFile() override;
    bool HasImageFile() override;
    void PushPending(zylImageFile* image) override;
    void DeletePending() override;
    std::int32_t GetLastPage() override;
    void SetLastPage(std::int32_t page) override;

    // A page read as the server would get it: page (1-based) of a job in a server format:
    // "RAW" rows of bitsPerPixel at width x height, a file format such as "TIFF" or "JFIF",
    // or "" for the job's own.
    struct PageRead {
        std::int32_t jobId = 0;
        std::int32_t page = 0;
        std::string format;
        std::int32_t bitsPerPixel = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
    };
    // Answers the read from the prepared page when it holds that page in that form; size in:
    // bytes asked, out: bytes delivered (0 at the end). False, with nothing touched, leaves the
    // read to the server.
    bool ReadLocalPage(const PageRead& read, std::int32_t offset, void* buffer, std::int32_t* size);

    std::int32_t GetJobId() const { return m_jobId; }
    std::int32_t GetCurrentPage() const { return m_currentPage; }
    std::int32_t GetConversionMode() const { return m_conversionMode; }
    // The library's output values 1 and 2 of the last conversion.
    std::int32_t GetOutputValue1() const { return m_outputValue1; }
    std::int32_t GetOutputValue2() const { return m_outputValue2; }
    const CommonCpp::FileSpec& GetRawFile() const { return m_rawFile; }
    const CommonCpp::FileSpec& GetConvertedFile() const { return m_convertedFile; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using PageFile = std::unique_ptr<std::FILE, FileCloser>;

    // Whether the transfer the application set up reads the page file of this page.
    bool IsPageFileRead(std::int32_t page) const;
    // Whether the page file is in that file format.
    bool HoldsFormat(const std::string& format) const;
    // The page file's rows, decoded on first use; null when it does not decode.
    const PagePixels* Pixels();
    // The page file's bytes from offset on.
    void ReadDataAt(std::int32_t offset, void* buffer, std::int32_t* size);
    // Opens the page file when it is not open; false when it cannot be.
    bool OpenPageFile();
    // Closes the page file and deletes the raw and converted files.
    void DropPageFiles();
    // The converted file, opened as the page file; BinaryFileException (line given) otherwise.
    void OpenConverted(int line);

    ScannerIntf* m_scanner;
    QuorvelWrapperIntf* m_wrapper;
    ScannerUiIntf* m_ui;
    std::int32_t m_jobId = 0;
    bool m_pageReady = false;
    PageFile m_pageFile;
    // The page file's rows once a transfer asked for them; tried once per page.
    std::unique_ptr<PagePixels> m_pixels;
    bool m_pixelsTried = false;
    CommonCpp::FileSpec m_rawFile;
    CommonCpp::FileSpec m_convertedFile;
    std::int32_t m_outputValue1 = 0;
    std::int32_t m_outputValue2 = 0;
    std::int32_t m_currentPage = 0;
    std::int32_t m_conversionMode = ConvertNone;
    // Stands in for the mailbox directory of the current image: the copy keeps the mailbox's
    // name without pointing into a job tree that a reload may delete.
    zylDirectory m_home{nullptr};
    std::unique_ptr<zylImageFile> m_image;
    std::deque<std::unique_ptr<zylImageFile>> m_pending;
    std::int32_t m_lastPage = 0;
};
