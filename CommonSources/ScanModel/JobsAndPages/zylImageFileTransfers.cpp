// zylImageFile: page data and the three TWAIN transfers of the current page.
//
// The server sends pixel rows without padding: 1 bit per pixel with a set bit black, 8 bits
// with 0 black, 24 bits as red, green, blue. The transfers turn them into what the pixel
// flavour asks for.

#include "zylImageFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "Exception.h"
#include "FileSpec.h"
#include "QuorvelWrapperException.h"
#include "SafeHandle.h"
#include "ScannerIntf.h"
#include "ScannerUiIntf.h"
#include "ServerDownException.h"
#include "TW_Fix32.h"
#include "TransferSourceIntf.h"
#include "TwainException.h"
#include "zylDIB.h"

namespace {

// Native transfers move the page in blocks of whole rows of at most this many bytes.
constexpr std::uint32_t kNativeBlockLimit = 65535;
// A page read gives up after this many answers in a row that brought no byte.
constexpr int kMaxEmptyAnswers = 4;
// The largest page a transfer counts in 32 bits and one global block holds.
constexpr std::uint64_t kMaxPageBytes = 0x7FFFFFFF;
constexpr std::int16_t kRawFormat = -1;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::uint32_t RowLength(std::int16_t bitsPerPixel, std::int32_t width) {
    return static_cast<std::uint32_t>(
        (static_cast<std::uint64_t>(bitsPerPixel) * static_cast<std::uint64_t>(width) + 7) / 8);
}

// The page's bytes of rows; TwainException when there are none or too many.
std::uint32_t PageBytes(std::uint32_t rowLength, std::int32_t length) {
    const std::uint64_t total = static_cast<std::uint64_t>(rowLength) * length;
    if (total == 0) {
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    if (total > kMaxPageBytes) {
        throw TwainException(__FILE__, __LINE__, TWCC_LOWMEMORY);
    }
    return static_cast<std::uint32_t>(total);
}

bool ZeroIsWhite() {
    return TransferSourceIntf::PixelFlavor() == TWPF_VANILLA;
}

// The server's 1-bit rows are 0-is-white and its grey rows 0-is-black; the other flavour
// gets them inverted.
bool NeedsInversion(std::int16_t bitsPerPixel, bool zeroIsWhite) {
    return (bitsPerPixel == 1 && !zeroIsWhite) || (bitsPerPixel == 8 && zeroIsWhite);
}

void Invert(void* bytes, std::uint32_t n) {
    auto* const data = static_cast<std::uint8_t*>(bytes);
    for (std::uint32_t i = 0; i < n; ++i) {
        data[i] = static_cast<std::uint8_t>(~data[i]);
    }
}

bool StopRequested(ScannerUiIntf* ui) {
    return ui && ui->IsAcquireActive();
}

void ShowProgress(ScannerUiIntf* ui, unsigned long total) {
    if (ui) {
        ui->ShowProgress(total);
    }
}

void SetProgressPos(ScannerUiIntf* ui, unsigned long position) {
    if (ui) {
        ui->SetProgressPos(position);
    }
}

void EndProgress(ScannerUiIntf* ui) {
    if (ui) {
        ui->EndProgress();
    }
}

// Runs one native or file transfer: a failure is noted and ends the page's counters and
// progress before it goes on to the caller. A failed data call ends only the progress: the page
// stays pending, for the application to try again or end.
template <typename Body> void EndPageOnFailure(zylImageFile& image, ScannerUiIntf* ui, Body body) {
    try {
        body();
    } catch (QuorvelWrapperException& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        EndProgress(ui);
        throw;
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        image.ResetPageCounters();
        EndProgress(ui);
        throw;
    }
}

} // namespace

void zylImageFile::GetOutputSize(double xResolution, double yResolution, std::int32_t& width,
                                 std::int32_t& length) {
    if (!(xResolution > 0) || !(yResolution > 0)) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    const double pageWidth = GetImageWidth();
    const double pageLength = GetImageLength();
    const double jobX = CommonTwain::Fix32ToDouble(m_xResolution);
    const double jobY = CommonTwain::Fix32ToDouble(m_yResolution);
    if (!(pageWidth > 0) || !(pageLength > 0) || !(jobX > 0) || !(jobY > 0)) {
        // The server described the page without a size.
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    const double outWidth = std::floor(pageWidth * xResolution / jobX + 0.5);
    const double outLength = std::floor(pageLength * yResolution / jobY + 0.5);
    if (outWidth < 1 || outLength < 1) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    if (outWidth > kMaxPageBytes || outLength > kMaxPageBytes) {
        throw TwainException(__FILE__, __LINE__, TWCC_LOWMEMORY);
    }
    width = static_cast<std::int32_t>(outWidth);
    length = static_cast<std::int32_t>(outLength);
}

ServerAttributeList* zylImageFile::RequestList(const PageRequest::Values& values) {
    if (!m_request || !(m_request->GetValues() == values)) {
        m_request.reset();
        m_request = std::make_unique<PageRequest>(m_wrapper, GetJobAttributes(), values);
    }
    return m_request->GetList();
}

void zylImageFile::SavePageToFile(ScannerUiIntf* ui, CommonCpp::FileSpec* file,
                                  const PageRequest::Values& values) {
    const std::uint32_t bufferSize =
        std::max<std::uint32_t>(TransferSourceIntf::MaxBufferSize(), 1);
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[bufferSize]());
    if (!buffer) {
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    const std::unique_ptr<std::FILE, FileCloser> out(file ? file->Open("wb") : nullptr);
    if (!out) {
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    const auto jobId = static_cast<std::int32_t>(GetJobID());
    std::int32_t offset = 0;
    std::int32_t size = 0;
    do {
        if (StopRequested(ui)) {
            break;
        }
        SetProgressPos(ui, static_cast<unsigned long>(offset));
        size = static_cast<std::int32_t>(bufferSize);
        if (m_scanner) {
            m_scanner->ReadData(jobId, RequestList(values), offset, buffer.get(), &size);
        } else {
            size = 0;
        }
        // Never more than was asked for, whatever the answer says.
        size = std::min(std::max(size, 0), static_cast<std::int32_t>(bufferSize));
        if (size > 0) {
            if (std::fwrite(buffer.get(), 1, static_cast<std::size_t>(size), out.get()) !=
                static_cast<std::size_t>(size)) {
                throw TwainException(__FILE__, __LINE__, TWCC_FILEWRITEERROR);
            }
            offset += size;
        }
    } while (size > 0);
    if (std::fflush(out.get()) != 0) {
        throw TwainException(__FILE__, __LINE__, TWCC_FILEWRITEERROR);
    }
}

std::uint32_t zylImageFile::ReadPageData(ScannerUiIntf* ui, void* buffer, std::uint32_t offset,
                                         std::uint32_t length, const PageRequest::Values& values) {
    try {
        return ReadBlocks(ui, buffer, offset, length, values);
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        throw;
    }
}

std::uint32_t zylImageFile::ReadBlocks(ScannerUiIntf* ui, void* buffer, std::uint32_t offset,
                                       std::uint32_t length, const PageRequest::Values& values) {
    auto* const bytes = static_cast<char*>(buffer);
    const auto jobId = static_cast<std::int32_t>(GetJobID());
    std::uint32_t received = 0;
    int emptyAnswers = 0;
    while (received < length) {
        if (StopRequested(ui)) {
            return received;
        }
        SetProgressPos(ui, offset + received);
        const std::uint32_t wanted = length - received;
        std::int32_t size = static_cast<std::int32_t>(wanted);
        if (m_scanner) {
            m_scanner->ReadData(jobId, RequestList(values),
                                static_cast<std::int32_t>(offset + received), bytes + received,
                                &size);
        } else {
            size = 0;
        }
        if (size <= 0) {
            // The page is not over, yet the server has nothing more: it will not change its mind.
            if (++emptyAnswers >= kMaxEmptyAnswers) {
                throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
            }
            continue;
        }
        emptyAnswers = 0;
        received += std::min(static_cast<std::uint32_t>(size), wanted);
    }
    return received;
}

void zylImageFile::TransferNative(const PageTransferRequest& request, HGLOBAL* handle) {
    if (handle) {
        *handle = nullptr;
    }
    ScannerUiIntf* const ui = request.ui;
    bool stopped = false;
    EndPageOnFailure(*this, ui, [&] {
        if (!m_transferActive) {
            BeginTransfer();
        }
        std::int32_t width = 0;
        std::int32_t length = 0;
        GetOutputSize(request.xResolution, request.yResolution, width, length);
        const std::int32_t page = GetPageIndex(true);
        if (request.pixelType > TWPT_PALETTE || request.bitsPerPixel <= 0) {
            throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
        }
        const std::int16_t bitsPerPixel = request.bitsPerPixel;
        const std::uint32_t rowLength = RowLength(bitsPerPixel, width);
        const std::uint32_t total = PageBytes(rowLength, length);
        ShowProgress(ui, total);

        // Whole rows per block; a row longer than a block is read in several pieces.
        const std::uint32_t rowsPerBlock =
            rowLength < kNativeBlockLimit ? kNativeBlockLimit / rowLength : 1;
        const std::uint32_t blockSize = rowsPerBlock * rowLength;
        std::vector<std::uint8_t> block(blockSize);

        const bool zeroIsWhite = ZeroIsWhite();
        const bool invert = NeedsInversion(bitsPerPixel, zeroIsWhite);
        const bool swapRedBlue = bitsPerPixel >= 24;
        zylDIB dib(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(length),
                   static_cast<std::uint16_t>(bitsPerPixel), request.xResolution,
                   request.yResolution, zeroIsWhite);
        const PageRequest::Values values{page,
                                         request.xResolution,
                                         request.yResolution,
                                         bitsPerPixel,
                                         static_cast<std::int16_t>(request.pixelType),
                                         0,
                                         kRawFormat,
                                         width,
                                         length};

        std::uint32_t offset = 0;
        std::uint32_t row = 0;
        while (offset < total) {
            if (StopRequested(ui)) {
                stopped = true;
                return;
            }
            SetProgressPos(ui, offset);
            const std::uint32_t n = std::min(blockSize, total - offset);
            for (std::uint32_t done = 0; done < n;) {
                const std::uint32_t piece = std::min(n - done, kNativeBlockLimit);
                if (ReadPageData(ui, block.data() + done, offset + done, piece, values) < piece) {
                    stopped = true;
                    return;
                }
                done += piece;
            }
            offset += n;
            for (std::uint32_t at = 0; at + rowLength <= n; at += rowLength) {
                std::uint8_t* const bytes = block.data() + at;
                if (invert) {
                    Invert(bytes, rowLength);
                }
                if (swapRedBlue) {
                    dib.SetRowSwapRB(row, bytes, rowLength);
                } else {
                    dib.SetRow(row, bytes, rowLength);
                }
                ++row;
            }
        }
        if (StopRequested(ui)) {
            stopped = true;
            return;
        }
        const HGLOBAL picture = dib.Detach();
        if (handle) {
            *handle = picture;
        } else {
            GlobalFree(picture);
        }
    });
    if (!stopped) {
        m_request.reset();
    }
}

void zylImageFile::TransferFile(const PageTransferRequest& request) {
    ScannerUiIntf* const ui = request.ui;
    EndPageOnFailure(*this, ui, [&] {
        if (!m_transferActive) {
            BeginTransfer();
        }
        CommonCpp::FileSpec file(request.fileName);
        if (request.fileFormat == TWFF_BMP) {
            try {
                HGLOBAL picture = nullptr;
                TransferNative(request, &picture);
                if (!picture) {
                    throw std::bad_alloc(); // stopped by the user
                }
                const CommonCpp::SafeHandle block(picture, 0);
                const zylDIB dib(block, request.xResolution, request.yResolution);
                dib.SaveAsBmp(file);
            } catch (ServerDownException&) {
                // The session must learn that its server is gone, not that a file failed.
                file.Delete();
                throw;
            } catch (QuorvelWrapperException&) {
                // A failed read keeps the page pending; the file holds nothing of it.
                file.Delete();
                throw;
            } catch (CommonCpp::Exception& e) {
                file.Delete();
                throw TwainException(e.GetSourceFile(), e.GetLine(), TWCC_FILEWRITEERROR);
            } catch (std::exception&) {
                file.Delete();
                throw TwainException(__FILE__, __LINE__, TWCC_FILEWRITEERROR);
            }
        } else if (request.fileFormat == TWFF_TIFF || request.fileFormat == TWFF_TIFFMULTI) {
            ShowProgress(ui, GetSize());
            const bool wholeJob = m_startPage == -1;
            const PageRequest::Values values{
                wholeJob ? -1 : m_startPage,
                request.xResolution,
                request.yResolution,
                request.bitsPerPixel,
                static_cast<std::int16_t>(request.pixelType),
                static_cast<std::uint16_t>(wholeJob ? request.compression : 0),
                request.fileFormat,
                m_width,
                m_height};
            try {
                SavePageToFile(ui, &file, values);
            } catch (...) {
                // A part of a page is no page.
                file.Delete();
                throw;
            }
        } else {
            // Writing nothing and answering success would hand the application no file.
            throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
        }
    });
    m_request.reset();
}

void zylImageFile::TransferMemory(const PageTransferRequest& request,
                                  MemoryTransferResult& result) {
    result = MemoryTransferResult();
    if (!m_transferActive) {
        BeginTransfer();
    }
    const std::int16_t bitsPerPixel = request.bitsPerPixel;
    if (bitsPerPixel <= 0 || !request.buffer) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    ScannerUiIntf* const ui = request.ui;
    const bool zeroIsWhite = ZeroIsWhite();
    std::int32_t width = 0;
    std::int32_t length = 0;
    GetOutputSize(request.xResolution, request.yResolution, width, length);
    const std::uint32_t rowLength = RowLength(bitsPerPixel, width);
    const std::uint32_t pageBytes = PageBytes(rowLength, length);
    result.bytesPerRow = rowLength;
    if (m_firstTransfer) {
        ResetTransferState();
    }
    if (m_bytesInPage == 0) {
        m_bytesInPage = pageBytes;
        ShowProgress(ui, m_bytesInPage);
    }
    const std::uint32_t inRow = m_bytesSent % rowLength;
    result.yOffset = m_bytesSent / rowLength;
    result.xOffset = static_cast<std::uint32_t>(static_cast<std::uint64_t>(inRow) * 8 /
                                                static_cast<std::uint32_t>(bitsPerPixel));

    const bool wholeRows = request.bufferLength >= rowLength;
    // Parts of a row are cut in whole pixels (whole bytes below 8 bits).
    const std::uint32_t pixelBytes = bitsPerPixel >= 8 ? (bitsPerPixel + 7) / 8 : 1;
    std::uint32_t block = 0;
    if (wholeRows) {
        block = request.bufferLength / rowLength * rowLength;
    } else {
        // Halves, quarters ... of a row, never across the row's end.
        block = rowLength;
        while (block > request.bufferLength) {
            block /= 2;
        }
        block -= block % pixelBytes;
        if (block == 0) {
            throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
        }
        block = std::min(block, rowLength - inRow);
    }
    block = std::min(block, m_bytesInPage - m_bytesSent);

    if (block > 0) {
        const PageRequest::Values values{GetPageIndex(true),
                                         request.xResolution,
                                         request.yResolution,
                                         bitsPerPixel,
                                         static_cast<std::int16_t>(request.pixelType),
                                         request.compression,
                                         kRawFormat,
                                         width,
                                         length};
        const std::uint32_t received = ReadPageData(ui, request.buffer, m_bytesSent, block, values);
        if (received < block) {
            // Stopped: hand over only whole rows (or whole pixels of the row) that arrived.
            result.stopped = true;
            block = wholeRows ? received - received % rowLength : received - received % pixelBytes;
        }
        if (NeedsInversion(bitsPerPixel, zeroIsWhite)) {
            Invert(request.buffer, block);
        }
    }
    m_bytesSent += block;
    result.bytesWritten = block;
    if (m_bytesSent == m_bytesInPage) {
        result.lastBlock = true;
        m_request.reset();
    }
    if (block == 0) {
        result.rows = 0;
        result.columns = 0;
    } else if (wholeRows) {
        result.rows = block / rowLength;
        result.columns = static_cast<std::uint32_t>(width);
    } else {
        result.rows = 1;
        result.columns = static_cast<std::uint32_t>(static_cast<std::uint64_t>(block) * 8 /
                                                    static_cast<std::uint32_t>(bitsPerPixel));
    }
}
