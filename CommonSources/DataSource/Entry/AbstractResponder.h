#pragma once
// Routes the triplets of one data group to the handler of their data argument type.

#include "TwainDefs.h"

class AbstractResponder {
public:
    AbstractResponder() = default;
    AbstractResponder(const AbstractResponder&) = delete;
    AbstractResponder& operator=(const AbstractResponder&) = delete;
    virtual ~AbstractResponder();

    virtual bool IsGroup(TW_UINT32 dg) const;
    // A data argument type the group does not know fails without a condition code.
    virtual TW_UINT16 Respond(pTW_IDENTITY pOrigin, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF pData);
};
