#include "TransferSourceIntf.h"

namespace {

constexpr TW_UINT32 kDefaultBufferSize = 1048576;

TransferSourceIntf* g_current = nullptr;

} // namespace

TransferSourceIntf::~TransferSourceIntf() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

TW_UINT16 TransferSourceIntf::GetTransferMechanismCurrent() const {
    return TWSX_NATIVE;
}

TW_UINT16 TransferSourceIntf::GetImageFileFormatCurrent() const {
    return TWFF_BMP;
}

TransferSourceIntf* TransferSourceIntf::Current() {
    return g_current;
}

void TransferSourceIntf::SetCurrent(TransferSourceIntf* source) {
    g_current = source;
}

TW_UINT16 TransferSourceIntf::PendingTransferCount() {
    return g_current ? g_current->GetPendingTransferCount() : 0;
}

TW_UINT32 TransferSourceIntf::MaxBufferSize() {
    return g_current ? g_current->GetMaxBufferSize() : kDefaultBufferSize;
}

TW_UINT16 TransferSourceIntf::PixelFlavor() {
    return g_current ? g_current->GetPixelFlavorCurrent() : TWPF_CHOCOLATE;
}

TW_UINT16 TransferSourceIntf::TransferMechanism() {
    return g_current ? g_current->GetTransferMechanismCurrent() : TWSX_NATIVE;
}

TW_UINT16 TransferSourceIntf::ImageFileFormat() {
    return g_current ? g_current->GetImageFileFormatCurrent() : TWFF_BMP;
}
