#pragma once
// What an image file needs of the data source that transfers it: the transfers still pending,
// the memory-transfer buffer size, the pixel flavour, and how the application takes the pages
// (mechanism and file format). The data source registers itself as the current one; while
// none is registered nothing is pending, buffers are 1 MB, the flavour is TWPF_CHOCOLATE and
// pages go as native transfers.

#include "TwainDefs.h"

class TransferSourceIntf {
public:
    TransferSourceIntf() = default;
    TransferSourceIntf(const TransferSourceIntf&) = delete;
    TransferSourceIntf& operator=(const TransferSourceIntf&) = delete;
    virtual ~TransferSourceIntf();

    // 0 outside TWAIN states 6 and 7.
    virtual TW_UINT16 GetPendingTransferCount() = 0;
    virtual TW_UINT32 GetMaxBufferSize() = 0;
    virtual TW_UINT16 GetPixelFlavorCurrent() const = 0;
    // ICAP_XFERMECH and ICAP_IMAGEFILEFORMAT; by default native transfers and BMP files.
    virtual TW_UINT16 GetTransferMechanismCurrent() const;
    virtual TW_UINT16 GetImageFileFormatCurrent() const;

    // Null while no data source is registered. Application thread only.
    static TransferSourceIntf* Current();
    static void SetCurrent(TransferSourceIntf* source);

    // The current source's answers, or the defaults above.
    static TW_UINT16 PendingTransferCount();
    static TW_UINT32 MaxBufferSize();
    static TW_UINT16 PixelFlavor();
    static TW_UINT16 TransferMechanism();
    static TW_UINT16 ImageFileFormat();
};
