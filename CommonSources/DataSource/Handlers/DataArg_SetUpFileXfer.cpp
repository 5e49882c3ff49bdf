#include "DataArg_SetUpFileXfer.h"

#include "AbstractSource.h"
#include "STR_value255.h"
#include "TwainException.h"

#include <cstring>
#include <string>

namespace {

void CopyName(const std::string& name, TW_SETUPFILEXFER& setup) {
    CommonTwain::STR_value255(name).CopyTo(setup.FileName, sizeof(setup.FileName));
}

} // namespace

DataArg_SetUpFileXfer::~DataArg_SetUpFileXfer() = default;

bool DataArg_SetUpFileXfer::IsDat(TW_UINT16 dat) const {
    return dat == DAT_SETUPFILEXFER;
}

TW_UINT16 DataArg_SetUpFileXfer::MsgGet(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    auto& setup = *static_cast<TW_SETUPFILEXFER*>(pData);
    setup.Format = source.GetImageFileFormatCurrent();
    CopyName(source.IsFileNameGiven() ? source.GetTransferFileName()
                                      : source.GetDefaultTransferFileName(),
             setup);
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_SetUpFileXfer::MsgGetDefault(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    auto& setup = *static_cast<TW_SETUPFILEXFER*>(pData);
    CopyName(source.GetDefaultTransferFileName(), setup);
    setup.Format = source.GetImageFileFormatDefault();
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_SetUpFileXfer::MsgSet(pTW_IDENTITY, TW_MEMREF pData) {
    if (pData == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    AbstractSource& source = AbstractSource::Required(__FILE__, __LINE__);
    const auto& setup = *static_cast<const TW_SETUPFILEXFER*>(pData);
    source.SetImageFileFormatCurrent(setup.Format);
    // The application's text need not end inside the field.
    const char* const name = setup.FileName;
    source.SetTransferFileName(std::string(name, strnlen(name, sizeof(setup.FileName) - 1)));
    source.SetFileNameGiven(true);
    return TWRC_SUCCESS;
}

TW_UINT16 DataArg_SetUpFileXfer::MsgReset(pTW_IDENTITY pOrigin, TW_MEMREF pData) {
    AbstractSource::Required(__FILE__, __LINE__).ResetFileTransferSetup();
    MsgGetDefault(pOrigin, pData);
    return TWRC_SUCCESS;
}
