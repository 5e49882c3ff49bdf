// Delivers an A4 page at 300 dpi and 24 bits (job 1 of the simulated "bench" server) through
// the memory and the native transfer, and prints each time next to a plain copy of the same
// bytes made in the same run, with their ratio (copy time / transfer time; 1.0 is copy speed).
// A native transfer hands out a new global block, so its time is also set against a plain copy
// into a new block of the page's size.
//
// Two servers are measured: the simulated one, as a TWAIN application meets it, and the same
// page answered from memory, which leaves only the transfer code's own cost. Every time is the
// best of several runs after one run that warms up and checks the pixels.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

double Seconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
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
class MemoryPageServer : public QuorvelWrapperIntf, public QuorMemoryAllocator {
public:
    explicit MemoryPageServer(const std::string& page) : m_page(page) {}
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

// Both transfers of page 1 of the job through the scanner's scan command.
Result Measure(Scanner& scanner, zylImageFile& job, BenchSource& source, const std::string& page) {
    ScanCommandIntf* const command = scanner.GetScanCommand();
    source.command = command;
    ScannerUiIntf ui;
    PageTransferRequest request;
    request.ui = &ui;
    request.xResolution = kDpi;
    request.yResolution = kDpi;
    request.bitsPerPixel = 24;
    request.pixelType = TWPT_RGB;
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
            const auto* dib = static_cast<const unsigned char*>(GlobalLock(handle));
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
            const size_t stride = (static_cast<size_t>(kWidth) * 24 + 31) / 32 * 4;
            right = header->biWidth == kWidth && header->biHeight == kHeight;
            for (int y = 0; right && y < kHeight; ++y) {
                const unsigned char* row = dib + header->biSize + stride * (kHeight - 1 - y);
                const unsigned char* raw =
                    reinterpret_cast<const unsigned char*>(page.data()) + 3 * kWidth * y;
                for (int x = 0; right && x < kWidth; ++x) {
                    right = row[3 * x] == raw[3 * x + 2] && row[3 * x + 1] == raw[3 * x + 1] &&
                            row[3 * x + 2] == raw[3 * x];
                }
            }
            GlobalUnlock(handle);
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
                right = right && at + written <= page.size() &&
                        std::memcmp(page.data() + at, buffer.data(), written) == 0;
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
    }
    if (list) {
        wrapper->ScanFreeScanJobList(list);
    }
    std::printf("target: ratio 0.5 or more for the transfer code alone\n");
    return 0;
}
