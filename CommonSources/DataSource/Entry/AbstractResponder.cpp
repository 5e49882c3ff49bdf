#include "AbstractResponder.h"

AbstractResponder::~AbstractResponder() = default;

bool AbstractResponder::IsGroup(TW_UINT32) const {
    return false;
}

TW_UINT16 AbstractResponder::Respond(pTW_IDENTITY, TW_UINT16, TW_UINT16, TW_MEMREF) {
    return TWRC_FAILURE;
}
