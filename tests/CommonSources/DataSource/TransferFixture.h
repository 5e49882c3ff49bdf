#pragma once
// A source opened through DS_Entry on a simulated server, with the helpers the transfer tests
// share: a job announced the way the acquire window does it (its scan command takes the job,
// the user-interface handler sends MSG_XFERREADY), the page's rows asked of the server
// directly, the answers of the transfer triplets, and a bitmap read back row by row.

#include "CapabilityCases.h"
#include "DibRows.h"
#include "QuorvelWrapperIntf.h"
#include "ScanAttributeWrapper.h"
#include "ScanCommandIntf.h"
#include "Scanner.h"
#include "ServerInfo.h"
#include "ServerList.h"
#include "SourceFixture.h"
#include "zylImageFile.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The rows of a page as the server sends them: unpadded, 1 bit (set is black), 8 bits grey
// (0 is black) or 24 bits red, green, blue.
inline std::string ServerRows(QuorvelWrapperIntf& wrapper, int jobId, int page, int bits, int width,
                              int height) {
    ScanAttributeWrapper request(&wrapper, nullptr);
    request.SetAttribute("PAGE", std::to_string(page));
    request.SetAttribute("FILE_FORMAT", "RAW");
    request.SetAttribute("BITS_PER_PIXEL", std::to_string(bits));
    request.SetAttribute("WIDTH_PIXELS", std::to_string(width));
    request.SetAttribute("HEIGHT_PIXELS", std::to_string(height));
    std::string rows(static_cast<size_t>((bits * width + 7) / 8) * height, '\0');
    std::int32_t size = static_cast<std::int32_t>(rows.size());
    if (wrapper.ScanGetDataEx(jobId, request.GetServerList(), 0, &rows[0], &size) != 0) {
        return std::string();
    }
    rows.resize(static_cast<size_t>(size));
    return rows;
}

// A page file in one of the server's formats, byte for byte.
inline std::string ServerFile(QuorvelWrapperIntf& wrapper, int jobId, int page,
                              const std::string& format) {
    ScanAttributeWrapper request(&wrapper, nullptr);
    request.SetAttribute("PAGE", std::to_string(page));
    request.SetAttribute("FILE_FORMAT", format);
    std::string bytes;
    std::vector<char> block(65536);
    for (;;) {
        std::int32_t size = static_cast<std::int32_t>(block.size());
        if (wrapper.ScanGetDataEx(jobId, request.GetServerList(),
                                  static_cast<std::int32_t>(bytes.size()), block.data(),
                                  &size) != 0 ||
            size <= 0) {
            return bytes;
        }
        bytes.append(block.data(), static_cast<size_t>(size));
    }
}

inline std::string Inverted(std::string bytes) {
    for (char& c : bytes) {
        c = static_cast<char>(~c);
    }
    return bytes;
}

// One memory transfer of a whole page: the strips' bytes and answers.
struct MemoryPage {
    std::string bytes;
    std::vector<TW_IMAGEMEMXFER> strips;
    std::vector<TW_UINT16> answers;
};

class TransferFixture : public SourceFixture {
protected:
    // Opens the source on the server whose folder is given ("" for this machine's).
    void OpenOn(const std::string& server) {
        ShowSimulatedServers();
        if (!server.empty()) {
            StoreServerList(server, server);
        }
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        source = AbstractSource::Instance();
        ui = AbstractSource::GetUserInterfaceHandler();
        ASSERT_NE(nullptr, ui);
        ASSERT_TRUE(source->GetScanner()->IsConnected());
    }

    // What the acquire window does when the user acquires a stored job (startPage -1: all
    // pages), while the source is enabled (state 5).
    zylImageFile* Announce(int jobId, std::int16_t startPage = -1) {
        Scanner* const scanner = source->GetScanner();
        EXPECT_TRUE(scanner->RefreshJobs());
        zylImageFile* const job = scanner->FindImageFileByJobID(jobId);
        EXPECT_NE(nullptr, job) << "job " << jobId;
        if (job == nullptr) {
            return nullptr;
        }
        job->SetStartPage(startPage);
        job->SetXferCount(startPage == -1 ? static_cast<std::uint16_t>(job->GetNumPages()) : 1);
        job->BeginTransfer();
        ScanCommandIntf* const command = scanner->GetScanCommand();
        command->Reset();
        command->AttachImageFile(job);
        source->SetState(5);
        ui->NotifyTransferReady();
        EXPECT_EQ(6, source->GetState()) << "MSG_XFERREADY sent";
        return command->GetImageFile();
    }

    TW_UINT16 Native(HGLOBAL& handle) {
        handle = nullptr;
        return app.Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    }

    TW_UINT16 Strip(TW_IMAGEMEMXFER& strip, void* buffer, TW_UINT32 length,
                    TW_UINT32 flags = TWMF_APPOWNS | TWMF_POINTER) {
        strip = TW_IMAGEMEMXFER{};
        strip.Memory.Flags = flags;
        strip.Memory.Length = length;
        strip.Memory.TheMem = buffer;
        return app.Call(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
    }

    // Strips until one answers anything but TWRC_SUCCESS (or far too many came).
    MemoryPage MemoryTransfer(TW_UINT32 length) {
        MemoryPage page;
        std::vector<char> buffer(length);
        for (int i = 0; i < 100000; ++i) {
            TW_IMAGEMEMXFER strip;
            const TW_UINT16 rc = Strip(strip, buffer.data(), length);
            page.answers.push_back(rc);
            if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
                break;
            }
            page.strips.push_back(strip);
            page.bytes.append(buffer.data(), strip.BytesWritten);
            if (rc == TWRC_XFERDONE) {
                break;
            }
        }
        return page;
    }

    TW_UINT16 EndXfer(TW_PENDINGXFERS& pending) {
        pending = TW_PENDINGXFERS{0xAAAA, 0xAAAAAAAA};
        return app.Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    }

    TW_UINT16 State() const { return source->GetState(); }
    QuorvelWrapperIntf& Wrapper() { return *source->GetQuorvelWrapper(); }

    AbstractSource* source = nullptr;
    DataArg_UserInterface* ui = nullptr;
};
