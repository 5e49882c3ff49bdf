// Delivers an A4 page at 300 dpi and 24 bits (job 1 of the simulated "bench" server) through
// the memory and the native transfer, and prints each time next to a plain copy of the same
// bytes made in the same run, with their ratio (copy time / transfer time; 1.0 is copy speed).
// A native transfer hands out a new global block, so its time is also set against a plain copy
// into a new block of the page's size.
//
// Two servers are measured: the simulated one, as a TWAIN application meets it, and the same
// page answered from memory, which leaves only the transfer code's own cost. Every time is the
// best of several runs after one run that warms up and checks the pixels.
//
// Last, a job of 20 colour A4 pages (job 4) is acquired as the acquire window does it (each
// page fetched and converted into a local page file, then handed over natively, the next page
// prepared as one ends): the time per page and the bytes fetched per page against the bytes
// of the page itself, beside a plain read of the same pages from the simulated server.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "MainEntry.h"
#include "OrvexSimControl.h"
#include "QuorMemoryAllocator.h"
#include "QuorvelWrapper.h"
#include "ScanAttributeWrapper.h"
#include "ScanCommand.h"
#include "Scanner.h"
#include "ScannerUiIntf.h"
#include "TransferSourceIntf.h"
#include "zylImageFile.h"

namespace {

constexpr int kJobId = 1;
constexpr int kWidth = 2480;
constexpr int kHeight = 3508;
constexpr double kDpi = 300.0;
constexpr std::uint32_t kMemoryBuffer = 1048576;
constexpr int kRuns = 5;
constexpr int kAcquiredJobId = 4;
constexpr int kAcquiredPages = 20;

double Seconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A native transfer's DIB (bottom-up, blue-green-red rows padded to four bytes) holds the
// page's red-green-blue rows.
bool DibMatches(HGLOBAL handle, const std::string& page) {
    const auto* dib = static_cast<const unsigned char*>(GlobalLock(handle));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    const size_t stride = (static_cast<size_t>(kWidth) * 24 + 31) / 32 * 4;
    bool right = header->biWidth == kWidth && header->biHeight == kHeight;
    for (int y = 0; right && y < kHeight; ++y) {
        const unsigned char* row = dib + header->biSize + stride * (kHeight - 1 - y);
        const auto* raw = reinterpret_cast<const unsigned char*>(page.data()) + 3 * kWidth * y;
        for (int x = 0; right && x < kWidth; ++x) {
            right = row[3 * x] == raw[3 * x + 2] && row[3 * x + 1] == raw[3 * x + 1] &&
                    row[3 * x + 2] == raw[3 * x];
        }
    }
    GlobalUnlock(handle);
    return right;
}

// A memory strip holds the page's bytes from the offset on.
bool StripMatches(const std::string& page, size_t at, const char* strip, std::uint32_t written) {
    return at + written <= page.size() && std::memcmp(page.data() + at, strip, written) == 0;
}

// The best time of kRuns runs, in milliseconds.
double Best(const std::function<void()>& run) {
    double best = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        const double start = Seconds();
        run();
        best = std::min(best, Seconds() - start);
    }
    return best * 1000.0;
}

// A data source in state 6 with one page pending per page left in the scan command.
class BenchSource : public TransferSourceIntf {
public:
    ScanCommandIntf* command = nullptr;
    BenchSource() { SetCurrent(this); }
    ~BenchSource() override { SetCurrent(nullptr); }
    TW_UINT16 GetPendingTransferCount() override {
        const std::int16_t left = command ? command->GetPagesLeft() : 0;
        return left > 0 ? static_cast<TW_UINT16>(left) : 0;
    }
    TW_UINT32 GetMaxBufferSize() override { return kMemoryBuffer; }
    TW_UINT16 GetPixelFlavorCurrent() const override { return TWPF_CHOCOLATE; }
};

// The page's rows answered from memory, as fast as a server could hand them over.
// Pages are described, when a describer is given, by the server that holds them.
class MemoryPageServer : public QuorvelWrapperIntf, public QuorMemoryAllocator {
public:
    explicit MemoryPageServer(const std::string& page, QuorvelWrapperIntf* describer = nullptr)
        : m_page(page), m_describer(describer) {}
    int ScanGetScanPageInfo(int32_t jobId, int32_t page, ScanPageInfo** info) override {
        return m_describer ? m_describer->ScanGetScanPageInfo(jobId, page, info)
                           : QuorvelWrapperIntf::ScanGetScanPageInfo(jobId, page, info);
    }
    int ScanGetDataEx(int32_t, ServerAttributeList*, int32_t offset, void* buffer,
                      int32_t* size) override {
        const size_t left =
            offset < static_cast<int32_t>(m_page.size()) ? m_page.size() - offset : 0;
        const size_t n = std::min(static_cast<size_t>(std::max(*size, 0)), left);
        std::memcpy(buffer, m_page.data() + offset, n);
        *size = static_cast<int32_t>(n);
        return 0;
    }

private:
    const std::string& m_page;
    QuorvelWrapperIntf* m_describer;
};

std::string RawPage(QuorvelWrapperIntf& wrapper) {
    ScanAttributeWrapper request(&wrapper, nullptr);
    request.SetAttribute("PAGE", "1");
    request.SetAttribute("FILE_FORMAT", "RAW");
    request.SetAttribute("BITS_PER_PIXEL", "24");
    request.SetAttribute("WIDTH_PIXELS", std::to_string(kWidth));
    request.SetAttribute("HEIGHT_PIXELS", std::to_string(kHeight));
    std::string page(static_cast<size_t>(kWidth) * 3 * kHeight, '\0');
    int32_t size = static_cast<int32_t>(page.size());
    if (wrapper.ScanGetDataEx(kJobId, request.GetServerList(), 0, &page[0], &size) != 0 ||
        size != static_cast<int32_t>(page.size())) {
        return std::string();
    }
    return page;
}

struct Result {
    double nativeMs = 0;
    double memoryMs = 0;
    int strips = 0;
    bool pixelsRight = false;
};

// A transfer of an A4 page at its own resolution and depth.
PageTransferRequest PageRequestOf(ScannerUiIntf& ui) {
    PageTransferRequest request;
    request.ui = &ui;
    request.xResolution = kDpi;
    request.yResolution = kDpi;
    request.bitsPerPixel = 24;
    request.pixelType = TWPT_RGB;
    return request;
}

// Both transfers of page 1 of the job through the scanner's scan command.
Result Measure(Scanner& scanner, zylImageFile& job, BenchSource& source, const std::string& page) {
    ScanCommandIntf* const command = scanner.GetScanCommand();
    source.command = command;
    ScannerUiIntf ui;
    const PageTransferRequest request = PageRequestOf(ui);
    auto attach = [&] {
        job.SetStartPage(-1);
        job.BeginTransfer();
        command->Reset();
        command->AttachImageFile(&job);
    };
    auto native = [&](bool check) {
        attach();
        HGLOBAL handle = nullptr;
        command->TransferNative(request, &handle);
        bool right = handle != nullptr;
        if (check && handle) {
            right = DibMatches(handle, page);
        }
        GlobalFree(handle);
        return right;
    };
    std::vector<char> buffer(kMemoryBuffer);
    PageTransferRequest memoryRequest = request;
    memoryRequest.buffer = buffer.data();
    memoryRequest.bufferLength = kMemoryBuffer;
    int strips = 0;
    auto memory = [&](bool check) {
        attach();
        size_t at = 0;
        bool right = true;
        strips = 0;
        for (;;) {
            MemoryTransferResult block;
            command->TransferMemory(memoryRequest, block);
            const std::uint32_t written = block.bytesWritten;
            const bool last = block.lastBlock;
            ++strips;
            if (check) {
                right = right && StripMatches(page, at, buffer.data(), written);
            }
            at += written;
            if (last || written == 0) {
                break;
            }
        }
        command->ResetTransfer();
        return right && at == page.size();
    };

    Result result;
    result.pixelsRight = native(true) && memory(true);
    result.nativeMs = Best([&] { native(false); });
    result.memoryMs = Best([&] { memory(false); });
    result.strips = strips;
    command->Reset();
    return result;
}

void ReportFailure(TW_IDENTITY& application, const char* what, TW_UINT16 rc) {
    TW_STATUS status = {};
    DS_Entry(&application, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    std::fprintf(stderr, "%s: return code %u, condition code %u\n", what, rc, status.ConditionCode);
}

// The same page as an application meets it: opened through DS_Entry, the page announced
// (state 6), and both transfers asked for by triplets, with the page answered from memory.
// Every triplet pays DS_Entry's own cost, its one-millisecond pause included.
Result MeasureThroughEntry(ScanJobEntry& entry, const std::string& page,
                           QuorvelWrapperIntf& describer) {
    Result result;
    TW_IDENTITY application = {};
    application.Id = 1;
    std::strcpy(application.ProductName, "bench_transfers");
    TW_IDENTITY identity = {};
    if (DS_Entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity) != TWRC_SUCCESS) {
        std::fprintf(stderr, "the data source does not open\n");
        return result;
    }
    AbstractSource* const source = AbstractSource::Instance();
    MemoryPageServer memoryServer(page, &describer);
    // The source's scan session becomes one on the page in memory.
    source->GetSourceState().scanner =
        std::make_unique<Scanner>(&memoryServer, AbstractSource::GetUserInterfaceHandler());
    Scanner& scanner = *source->GetScanner();
    zylImageFile job(&entry, &scanner, &memoryServer, nullptr);
    // Announcing is not timed: the page is described (DAT_IMAGEINFO, as applications ask
    // before a transfer), and only the transfer's triplets count.
    const auto announce = [&] {
        job.SetStartPage(-1);
        job.BeginTransfer();
        scanner.GetScanCommand()->Reset();
        scanner.GetScanCommand()->AttachImageFile(&job);
        source->SetState(6);
        TW_IMAGEINFO info = {};
        DS_Entry(&application, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
    };
    double timed = 0;
    const auto timedBest = [&](const std::function<void()>& run) {
        double best = 1e30;
        for (int i = 0; i < kRuns; ++i) {
            timed = 0;
            run();
            best = std::min(best, timed);
        }
        return best * 1000.0;
    };
    TW_PENDINGXFERS pending = {};
    const auto native = [&](bool check) {
        announce();
        HGLOBAL handle = nullptr;
        const double start = Seconds();
        const TW_UINT16 rc =
            DS_Entry(&application, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
        timed += Seconds() - start;
        if (rc != TWRC_XFERDONE) {
            ReportFailure(application, "native transfer", rc);
        }
        bool right = rc == TWRC_XFERDONE && handle != nullptr;
        if (check && right) {
            right = DibMatches(handle, page);
        }
        GlobalFree(handle);
        DS_Entry(&application, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        return right;
    };
    std::vector<char> buffer(kMemoryBuffer);
    int strips = 0;
    const auto memory = [&](bool check) {
        announce();
        size_t at = 0;
        bool right = true;
        strips = 0;
        for (;;) {
            TW_IMAGEMEMXFER strip = {};
            strip.Memory.Flags = TWMF_APPOWNS | TWMF_POINTER;
            strip.Memory.Length = kMemoryBuffer;
            strip.Memory.TheMem = buffer.data();
            const double start = Seconds();
            const TW_UINT16 rc =
                DS_Entry(&application, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
            timed += Seconds() - start;
            if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
                ReportFailure(application, "memory transfer", rc);
                right = false;
                break;
            }
            ++strips;
            if (check) {
                right = right && StripMatches(page, at, buffer.data(), strip.BytesWritten);
            }
            at += strip.BytesWritten;
            if (rc == TWRC_XFERDONE) {
                break;
            }
        }
        DS_Entry(&application, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        return right && at == page.size();
    };
    result.pixelsRight = native(true) && memory(true);
    // What DS_Entry itself costs a triplet (its pause included), as many times as there are
    // strips.
    const double entryMs = Best([&] {
        for (int i = 0; i < strips; ++i) {
            TW_STATUS status = {};
            DS_Entry(&application, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
        }
    });
    std::printf("%d empty triplets (DAT_STATUS) through DS_Entry: %.2f ms\n", strips, entryMs);
    result.nativeMs = timedBest([&] { native(false); });
    result.memoryMs = timedBest([&] { memory(false); });
    result.strips = strips;

    scanner.GetScanCommand()->Reset();
    source->SetState(4);
    // The session on the page in memory goes before the page does.
    source->GetSourceState().scanner.reset();
    DS_Entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity);
    return result;
}

struct Acquisition {
    double msPerPage = 0;
    double fetchedPerPage = 0;
    double fetchesPerPage = 0;
    bool allPages = false;
};

// The job's pages acquired one after the other, as the acquire window and the application do
// it; what the server served is read from its counts.
Acquisition MeasureAcquisition(Scanner& scanner, BenchSource& source) {
    Acquisition result;
    zylImageFile* const job = scanner.FindImageFileByJobID(kAcquiredJobId);
    if (!job) {
        return result;
    }
    ScanCommandIntf* const command = scanner.GetScanCommand();
    source.command = command;
    ScannerUiIntf ui;
    const PageTransferRequest request = PageRequestOf(ui);
    OrvexSim_ClearLog();
    const double start = Seconds();
    job->SetStartPage(-1);
    job->BeginTransfer();
    command->Reset();
    command->AttachImageFile(job);
    command->SetSaveRequest(kAcquiredJobId);
    command->SelectJpegConversion();
    int pages = command->StartPage(1) ? 0 : -1;
    while (pages >= 0 && pages < kAcquiredPages) {
        HGLOBAL handle = nullptr;
        command->TransferNative(request, &handle);
        if (!handle) {
            break;
        }
        GlobalFree(handle);
        command->EndPage();
        ++pages;
    }
    result.msPerPage = (Seconds() - start) * 1000.0 / kAcquiredPages;
    command->Reset();
    long long bytes = OrvexSim_BytesServed(kAcquiredJobId, 0);
    int fetches = OrvexSim_FetchesServed(kAcquiredJobId, 0);
    for (int page = 1; page <= kAcquiredPages; ++page) {
        bytes += OrvexSim_BytesServed(kAcquiredJobId, page);
        fetches += OrvexSim_FetchesServed(kAcquiredJobId, page);
    }
    result.fetchedPerPage = static_cast<double>(bytes) / kAcquiredPages;
    result.fetchesPerPage = static_cast<double>(fetches) / kAcquiredPages;
    result.allPages = pages == kAcquiredPages;
    return result;
}

// The same pages as they are stored, read from the server in blocks of 1 MB: the time per page
// and the bytes of a page.
void PlainRead(QuorvelWrapperIntf& wrapper, double& msPerPage, double& bytesPerPage) {
    std::vector<char> buffer(kMemoryBuffer);
    long long bytes = 0;
    const double start = Seconds();
    for (int page = 1; page <= kAcquiredPages; ++page) {
        ScanAttributeWrapper request(&wrapper, nullptr);
        const int destination = request.AddCallerDestination();
        request.SetDestinationPage(destination, std::to_string(page));
        request.SetDestinationFormat(destination, "");
        for (int32_t offset = 0;;) {
            int32_t size = static_cast<int32_t>(buffer.size());
            if (wrapper.ScanGetDataEx(kAcquiredJobId, request.GetServerList(), offset,
                                      buffer.data(), &size) != 0 ||
                size <= 0) {
                break;
            }
            offset += size;
            bytes += size;
        }
    }
    msPerPage = (Seconds() - start) * 1000.0 / kAcquiredPages;
    bytesPerPage = static_cast<double>(bytes) / kAcquiredPages;
}

void Print(const char* server, const Result& result, double copyMs, double newBlockMs) {
    std::printf("%s:\n", server);
    std::printf("  native transfer            %8.2f ms   ratio %.2f (%.2f against a new block)\n",
                result.nativeMs, copyMs / result.nativeMs, newBlockMs / result.nativeMs);
    std::printf("  memory transfer (%d strips) %8.2f ms   ratio %.2f\n", result.strips,
                result.memoryMs, copyMs / result.memoryMs);
    std::printf("  pixels as the server's rows: %s\n", result.pixelsRight ? "yes" : "NO");
}

} // namespace

int main() {
    BenchSource source;
    std::unique_ptr<QuorvelWrapperIntf> wrapper(QuorvelWrapper::Create());
    ScannerUiIntf quietUi;
    std::unique_ptr<Scanner> scanner;
    try {
        scanner = std::make_unique<Scanner>(wrapper.get(), &quietUi, "bench", "bench");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot reach the bench server: %s\n", e.what());
        return 1;
    }
    zylImageFile* const job = scanner->IsConnected() && scanner->RefreshJobs()
                                  ? scanner->FindImageFileByJobID(kJobId)
                                  : nullptr;
    const std::string page = job ? RawPage(*wrapper) : std::string();
    if (page.empty()) {
        std::fprintf(stderr, "the bench server has no A4 page (were its pictures made?)\n");
        return 1;
    }

    // The plain copy: the page's bytes into a buffer of their own.
    std::string copy(page.size(), '\0');
    std::memcpy(&copy[0], page.data(), page.size());
    const double copyMs = Best([&] { std::memcpy(&copy[0], page.data(), page.size()); });
    // The same into a new block each time, as a native transfer must hand one out.
    const double newBlockMs = Best([&] {
        const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, page.size());
        std::memcpy(GlobalLock(block), page.data(), page.size());
        GlobalUnlock(block);
        GlobalFree(block);
    });
    std::printf("A4 page, 300 dpi, 24 bits: %d x %d pixels, %u bytes; best of %d runs\n", kWidth,
                kHeight, static_cast<unsigned>(page.size()), kRuns);
    std::printf("plain copy (memcpy)          %8.2f ms\n", copyMs);
    std::printf("plain copy into a new block  %8.2f ms\n", newBlockMs);

    Print("simulated bench server", Measure(*scanner, *job, source, page), copyMs, newBlockMs);
    // Measured while the scanner's user-interface handler is still the quiet one: the sessions
    // made below take the process-wide handler over.
    double plainMs = 0;
    double pageBytes = 0;
    PlainRead(*wrapper, plainMs, pageBytes);
    const Acquisition acquired = MeasureAcquisition(*scanner, source);

    // The same page and job answered from memory.
    ScanJobList* list = nullptr;
    ScanJobEntry* entry = nullptr;
    if (wrapper->ScanGetJobList(&list) == 0 && list) {
        for (int32_t i = 0; i < list->count; ++i) {
            if (list->entries[i].jobId == kJobId) {
                entry = &list->entries[i];
            }
        }
    }
    if (entry) {
        MemoryPageServer memoryServer(page);
        Scanner memoryScanner(&memoryServer, &quietUi);
        zylImageFile memoryJob(entry, &memoryScanner, &memoryServer, nullptr);
        Print("page answered from memory (the transfer code alone)",
              Measure(memoryScanner, memoryJob, source, page), copyMs, newBlockMs);
        Print("an application through DS_Entry, page answered from memory",
              MeasureThroughEntry(*entry, page, *wrapper), copyMs, newBlockMs);
    }
    if (list) {
        wrapper->ScanFreeScanJobList(list);
    }
    std::printf("target: ratio 0.5 or more for the transfer code alone\n");

    std::printf("%d colour A4 pages acquired (fetched, converted, handed over natively)%s:\n",
                kAcquiredPages, acquired.allPages ? "" : " - NOT ALL PAGES ARRIVED");
    std::printf("  time per page              %8.2f ms   (plain read of the page %.2f ms)\n",
                acquired.msPerPage, plainMs);
    std::printf("  bytes fetched per page     %10.0f   page %.0f bytes: %.2f times the page, "
                "%.2f fetches a page\n",
                acquired.fetchedPerPage, pageBytes,
                pageBytes > 0 ? acquired.fetchedPerPage / pageBytes : 0.0, acquired.fetchesPerPage);
    std::printf("target: each page fetched once (1.00 times the page)\n");
    return 0;
}
