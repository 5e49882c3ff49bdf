#pragma once
// An image file of the file-system tree: one job held on the server. It reads the job's
// attributes (format, compression, pages, size, resolutions, colour mode, name, file size, fax
// flag, mixed page sizes, default format), fetches per-page sizes and colour values from the
// server when first asked, and keeps the page counters of a running TWAIN transfer. Its page
// data and the three TWAIN transfers are in zylImageFileTransfers.cpp.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PageRequest.h"
#include "PageTransferRequest.h"
#include "TwainDefs.h"
#include "quorvel_api.h"
#include "zylFileObj.h"

class QuorvelWrapperIntf;
class ScannerIntf;
class ScannerUiIntf;
namespace CommonCpp {
class FileSpec;
}

class zylImageFile : public zylFileObj {
public:
    // Flag bits (SetFlags): per-page sizes asked by job id rather than by image; bit 1 read by
    // HasFlagBit1; bit 2 (the preview's) makes sizes per page even without mixed sizes, counts
    // a set start page from the pending transfers and makes the colour values the job's.
    static constexpr std::uint32_t kFlagPageInfoByJob = 1;
    static constexpr std::uint32_t kFlagBit1 = 2;
    static constexpr std::uint32_t kFlagBit2 = 4;
    // "N_PAGES" must lie in 1..kMaxPages; any other count is refused.
    static constexpr std::int32_t kMaxPages = 32767;

    // An image file without a job (job id 0).
    explicit zylImageFile(zylDirectory* parent);
    // The image of one entry of the server's job list, which must outlive it; registers in the
    // parent and reads the job's attributes. Scanner and wrapper are not owned.
    zylImageFile(ScanJobEntry* entry, ScannerIntf* scanner, QuorvelWrapperIntf* wrapper,
                 zylDirectory* parent);
    // The image of an entry of its own, not one of the server's list (a page queued while the
    // copier scans): the entry lives as long as this image or a copy of it.
    zylImageFile(std::shared_ptr<ScanJobEntry> entry, ScannerIntf* scanner,
                 QuorvelWrapperIntf* wrapper, zylDirectory* parent);
    // A deep copy under parent (not registered); entry, scanner and wrapper are shared.
    zylImageFile(const zylImageFile& source, zylDirectory* parent);
    ~zylImageFile() override;

    zylImageFile* Clone(zylDirectory* parent) const override;

    virtual TW_FIX32 GetXResolution() const;
    virtual TW_FIX32 GetYResolution() const;
    // Of the current page: per page (fetched once) with mixed sizes or flag bit 2, else the
    // job's; a page the server gives no size for has the job's.
    virtual std::int32_t GetImageWidth();
    virtual std::int32_t GetImageLength();
    // Of the current page while a transfer runs (fetched once), else the job's; 0xFFFF for a
    // page the server describes without the value.
    virtual std::uint16_t GetSamplesPerPixel();
    // The job's, index 0..7; 0 for any other index.
    virtual std::int16_t GetBitsPerSample(int index) const;
    virtual std::uint16_t GetBitsPerPixel();
    virtual std::uint16_t GetPixelType();
    virtual std::int16_t GetStartPage() const;
    // -1: the transfer follows the pending transfers.
    virtual void SetStartPage(std::int16_t page);
    virtual std::int16_t GetNumPages() const;
    virtual std::uint16_t GetXferCount() const;
    virtual void SetXferCount(std::uint16_t count);
    virtual void BeginTransfer();
    virtual void ResetPageCounters();
    virtual int ResetTransferState();
    virtual bool ShouldTransferNextPage() const;
    virtual std::int16_t GetCurrentPage() const;
    // 0 while no transfer runs.
    virtual std::int16_t GetNumPagesLeftToXfer() const;
    virtual void PageTransferred();
    virtual void LoadFromAttributes(ScanJobEntry* entry);
    // The job's values; the compression is always TWCP_GROUP4.
    virtual void GetImageInfo(TW_IMAGEINFO* info) const;
    // The entry's job id; 0 without an entry.
    virtual std::uint32_t GetJobID() const;
    virtual bool IsEmFaxFormat() const;
    virtual std::string GetFileSize() const;
    virtual std::string GetDefaultFormat() const;
    // The job's attributes, one pair a line, in "C:\ScanAttributeToAcquire.txt".
    virtual void DumpAttributes() const;
    // Pages left and the page size tables follow the new count; a count below 1 is refused.
    virtual void SetNumPages(std::int16_t count);

    // Page data. The readers ask the server (through Scanner::ReadData) in blocks, report the
    // position to ui and stop quietly once ui says the user stopped (ui may be null). Failures
    // are TwainException, ServerDownException once the server is gone, or
    // QuorvelWrapperException when a data call fails; the transfers then keep the page
    // pending and hand out nothing of it (no block, no file).
    //
    // The page (page -1: the whole job) in a format into a file, in blocks of the data
    // source's largest memory buffer.
    virtual void SavePageToFile(ScannerUiIntf* ui, CommonCpp::FileSpec* file,
                                const PageRequest::Values& values);
    // length bytes from offset on into buffer; returns the bytes read, fewer only when the user
    // stopped. A server that answers nothing several times in a row fails the read
    // (TWCC_BUMMER).
    virtual std::uint32_t ReadPageData(ScannerUiIntf* ui, void* buffer, std::uint32_t offset,
                                       std::uint32_t length, const PageRequest::Values& values);
    // The current page at the requested resolutions as a packed DIB in a new global block,
    // which goes to the caller; no block (null) when the user stopped. Pixel types above
    // TWPT_PALETTE and sizes that come to nothing fail.
    virtual void TransferNative(const PageTransferRequest& request, HGLOBAL* handle);
    // TWFF_BMP: the native picture as a BMP file; TWFF_TIFF and TWFF_TIFFMULTI: the server's
    // TIFF of the start page (of the whole job without one), stored as it comes. Any other
    // format fails (TWCC_BADVALUE); a failed or stopped BMP leaves no file (TWCC_FILEWRITEERROR).
    virtual void TransferFile(const PageTransferRequest& request);
    // The next block of the current page's rows into the application's buffer: whole rows when
    // the buffer holds one, else parts of one row (halves, quarters ... in whole pixels). After
    // the last block a further call delivers nothing. A user stop during the block counts only
    // the whole rows (or pixels) that arrived and says so in the result.
    virtual void TransferMemory(const PageTransferRequest& request, MemoryTransferResult& result);

    // The output size of the native and memory transfers at the requested resolutions: the
    // current page's width scaled by the X resolutions, its length by the Y resolutions.
    // TwainException when the page or the request gives no size.
    void GetOutputSize(double xResolution, double yResolution, std::int32_t& width,
                       std::int32_t& length);

    // The entry's attribute list; null without an entry.
    ServerAttributeList* GetJobAttributes() const;
    void SetFlags(std::uint32_t flags);
    // No pages left and flag bit 1 set.
    bool HasFlagBit1() const;
    bool HasFlagBit2() const;
    // The page width and height tables get count entries (new ones 0).
    void ResizePageTables(std::int32_t count);
    // Fetch the page's description (1-based page) into the per-page tables.
    void GetPagePixelSize(std::int32_t page);
    void LoadPageColorInfo(std::int32_t page);
    // The 1-based page the transfer is at: from the pending transfers when no start page is
    // set; with sizeRules also the rule of flag bit 2; else the start page.
    std::int32_t GetPageIndex(bool sizeRules) const;

    // The job's values as read from its attributes.
    std::uint16_t GetCompression() const { return m_compression; }
    std::uint16_t GetFileFormat() const { return m_fileFormat; }
    bool HasMixedSizes() const { return m_mixedSizes; }
    const std::vector<std::uint32_t>& GetPageWidths() const { return m_pageWidths; }
    const std::vector<std::uint32_t>& GetPageHeights() const { return m_pageHeights; }

private:
    // The page's description from the server, released through the wrapper's allocator.
    ScanPageInfo* FetchPageInfo(std::int32_t page, bool byJobWhenFlagged);
    void ReleasePageInfo(ScanPageInfo* info) const;
    // The list of a page request with these values, built once and kept while they stay.
    ServerAttributeList* RequestList(const PageRequest::Values& values);
    // ReadPageData without its failure note.
    std::uint32_t ReadBlocks(ScannerUiIntf* ui, void* buffer, std::uint32_t offset,
                             std::uint32_t length, const PageRequest::Values& values);

    std::int16_t m_startPage = -1;
    std::uint16_t m_transferCount = 1;
    std::int16_t m_currentPage = 0;
    std::int16_t m_pagesLeft = -1;
    std::int16_t m_pageCount = 1;
    bool m_transferActive = false;
    TW_FIX32 m_xResolution = {0, 0};
    TW_FIX32 m_yResolution = {0, 0};
    std::int32_t m_width = -1;
    std::int32_t m_height = -1;
    std::uint16_t m_samplesPerPixel = 1;
    std::uint16_t m_bitsPerSample[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    std::uint16_t m_bitsPerPixel = 1;
    std::uint16_t m_pixelType = TWPT_BW;
    std::uint16_t m_compression = TWCP_GROUP4;
    std::uint16_t m_fileFormat = TWFF_TIFFMULTI;
    std::string m_fileSize;
    ScanJobEntry* m_entry = nullptr;
    // Set when the entry is the image's own; shared with its copies.
    std::shared_ptr<ScanJobEntry> m_ownedEntry;
    // Memory transfer state (first block, bytes sent, bytes of the page).
    bool m_firstTransfer = true;
    std::uint32_t m_bytesSent = 0;
    std::uint32_t m_bytesInPage = 0;
    bool m_emFax = false;
    bool m_mixedSizes = false;
    std::vector<std::uint32_t> m_pageWidths;
    std::vector<std::uint32_t> m_pageHeights;
    ScannerIntf* m_scanner = nullptr;
    QuorvelWrapperIntf* m_wrapper = nullptr;
    std::string m_defaultFormat;
    std::uint32_t m_flags = kFlagPageInfoByJob;
    std::vector<std::uint16_t> m_pageSamples;
    std::vector<std::uint16_t> m_pagePixelTypes;
    std::vector<std::uint16_t> m_pageBitsPerPixel;
    // The last page request; never copied with the image.
    std::unique_ptr<PageRequest> m_request;
};
