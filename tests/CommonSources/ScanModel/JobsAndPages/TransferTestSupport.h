#pragma once
// Page transfers against the simulated servers: a Scanner connected to one of them with its
// job tree loaded, a stand-in for the data source that counts the scan command's pages as
// pending, a user-interface handler that records and can stop, and the server's own bytes of
// a page to compare with.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "OrvexSimControl.h"
#include "QuorvelWrapper.h"
#include "ScanAttributeWrapper.h"
#include "PageTransferRequest.h"
#include "ScanCommand.h"
#include "Scanner.h"
#include "ScannerUiIntf.h"
#include "TransferSourceIntf.h"
#include "zylImageFile.h"

// What a data source in state 6 answers: the scan command's pages still to come.
class CommandSource : public TransferSourceIntf {
public:
    ScanCommandIntf* command = nullptr;
    TW_UINT16 flavor = TWPF_CHOCOLATE;
    TW_UINT32 maxBuffer = 1048576;
    TW_UINT16 mechanism = TWSX_NATIVE;
    TW_UINT16 fileFormat = TWFF_BMP;

    CommandSource() { SetCurrent(this); }
    ~CommandSource() override { SetCurrent(nullptr); }
    TW_UINT16 GetPendingTransferCount() override {
        const std::int16_t left = command ? command->GetPagesLeft() : 0;
        return left > 0 ? static_cast<TW_UINT16>(left) : 0;
    }
    TW_UINT32 GetMaxBufferSize() override { return maxBuffer; }
    TW_UINT16 GetPixelFlavorCurrent() const override { return flavor; }
    TW_UINT16 GetTransferMechanismCurrent() const override { return mechanism; }
    TW_UINT16 GetImageFileFormatCurrent() const override { return fileFormat; }
};

class RecordingUi : public ScannerUiIntf {
public:
    // The user stops once this many progress positions were reported (-1: never).
    int stopAfterPositions = -1;
    bool stopped = false;
    std::vector<std::string> calls;
    int positions = 0;

    bool IsAcquireActive() override { return stopped; }
    void ShowProgress(unsigned long total) override {
        calls.push_back("ShowProgress " + std::to_string(total));
    }
    void SetProgressPos(unsigned long) override {
        if (++positions == stopAfterPositions) {
            stopped = true;
        }
    }
    void EndProgress() override { calls.push_back("EndProgress"); }
    void ShowErrorMessage(int id) override {
        calls.push_back("ShowErrorMessage " + std::to_string(id));
    }
    void NotifyCloseRequest() override { calls.push_back("NotifyCloseRequest"); }
    void StartBusyAnimation(const std::string&) override { calls.push_back("StartBusyAnimation"); }
    void StopBusyAnimation() override { calls.push_back("StopBusyAnimation"); }
    void PostToCurrentWindow(std::int32_t page) override {
        calls.push_back("PostToCurrentWindow " + std::to_string(page));
    }
    int CountOf(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
};

// A transfer request of the application's values.
inline PageTransferRequest Request(ScannerUiIntf* ui, double xRes, double yRes, std::int16_t bits,
                                   std::uint16_t pixelType, std::uint16_t compression = 0) {
    PageTransferRequest request;
    request.ui = ui;
    request.xResolution = xRes;
    request.yResolution = yRes;
    request.bitsPerPixel = bits;
    request.pixelType = pixelType;
    request.compression = compression;
    return request;
}

inline PageTransferRequest FileRequest(ScannerUiIntf* ui, const std::string& fileName, double xRes,
                                       double yRes, std::int16_t bits, std::uint16_t pixelType,
                                       std::uint16_t compression, std::int16_t fileFormat) {
    PageTransferRequest request = Request(ui, xRes, yRes, bits, pixelType, compression);
    request.fileName = fileName;
    request.fileFormat = fileFormat;
    return request;
}

inline PageTransferRequest MemoryRequest(ScannerUiIntf* ui, std::vector<char>& buffer, double xRes,
                                         double yRes, std::int16_t bits, std::uint16_t pixelType) {
    PageTransferRequest request = Request(ui, xRes, yRes, bits, pixelType);
    request.buffer = buffer.data();
    request.bufferLength = static_cast<std::uint32_t>(buffer.size());
    return request;
}

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override { OrvexSim_Reset(); }
    void TearDown() override {
        m_source.command = nullptr;
        m_scanner.reset();
        m_wrapper.reset();
        EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "blocks left on the library heap";
        OrvexSim_Reset();
    }

    Scanner& Connect(const std::string& server) {
        m_wrapper.reset(QuorvelWrapper::Create());
        m_scanner = std::make_unique<Scanner>(m_wrapper.get(), &m_ui, server, server);
        EXPECT_TRUE(m_scanner->IsConnected());
        EXPECT_TRUE(m_scanner->RefreshJobs());
        return *m_scanner;
    }

    ScanCommand& Command() {
        auto* const command = static_cast<ScanCommand*>(m_scanner->GetScanCommand());
        m_source.command = command;
        return *command;
    }

    // The job's image, started (start page -1: every page from the first) and attached to the
    // scan command, which works on its own copy.
    zylImageFile& Attach(int jobId, std::int16_t startPage = -1, std::uint16_t count = 1) {
        zylImageFile* const image = m_scanner->FindImageFileByJobID(jobId);
        EXPECT_NE(nullptr, image) << "job " << jobId;
        image->SetStartPage(startPage);
        image->SetXferCount(count);
        image->BeginTransfer();
        ScanCommand& command = Command();
        command.Reset();
        command.AttachImageFile(image);
        return *command.GetImageFile();
    }

    // What the server answers to requests for the whole of a page, answer after answer.
    std::string ServerBytes(int jobId,
                            const std::vector<std::pair<std::string, std::string>>& pairs) {
        ScanAttributeWrapper request(m_wrapper.get(), nullptr);
        for (const auto& pair : pairs) {
            request.SetAttribute(pair.first, pair.second);
        }
        std::string bytes(64u << 20, '\0');
        std::int32_t total = 0;
        for (std::int32_t size = 1; size > 0; total += size) {
            size = static_cast<std::int32_t>(bytes.size()) - total;
            EXPECT_EQ(0, m_wrapper->ScanGetDataEx(jobId, request.GetServerList(), total,
                                                  &bytes[total], &size));
            size = std::max(size, 0);
        }
        bytes.resize(static_cast<size_t>(total));
        return bytes;
    }

    // The page's rows as the server makes them (1-bit set bits black, 8-bit 0 black, 24-bit RGB).
    std::string RawRows(int jobId, int page, int bitsPerPixel, int width, int height) {
        return ServerBytes(jobId, {{"PAGE", std::to_string(page)},
                                   {"FILE_FORMAT", "RAW"},
                                   {"BITS_PER_PIXEL", std::to_string(bitsPerPixel)},
                                   {"WIDTH_PIXELS", std::to_string(width)},
                                   {"HEIGHT_PIXELS", std::to_string(height)}});
    }

    static std::string FileBytes(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    CommandSource m_source;
    RecordingUi m_ui;
    std::unique_ptr<QuorvelWrapperIntf> m_wrapper;
    std::unique_ptr<Scanner> m_scanner;
};
