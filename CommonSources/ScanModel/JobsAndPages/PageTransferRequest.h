#pragma once
// One TWAIN transfer of the current page as the application asked for it, and the block a
// memory transfer delivered. The transfer handlers fill one request; the page-transfer machine
// and the image file pass it on unchanged.

#include <cstdint>
#include <string>

class ScannerUiIntf;

struct PageTransferRequest {
    // Progress and the user's stop; may be null.
    ScannerUiIntf* ui = nullptr;
    double xResolution = 0;
    double yResolution = 0;
    std::int16_t bitsPerPixel = 0;
    std::uint16_t pixelType = 0;
    std::uint16_t compression = 0;
    // File transfers.
    std::string fileName;
    std::int16_t fileFormat = 0;
    // Memory transfers: the application's buffer.
    void* buffer = nullptr;
    std::uint32_t bufferLength = 0;
};

struct MemoryTransferResult {
    std::uint32_t bytesWritten = 0;
    std::uint32_t bytesPerRow = 0;
    std::uint32_t rows = 0;
    std::uint32_t columns = 0;
    std::uint32_t xOffset = 0;
    std::uint32_t yOffset = 0;
    bool lastBlock = false;
    // The user stopped during the block: only what arrived is counted, and the transfer ends.
    bool stopped = false;
};
