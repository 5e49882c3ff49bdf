#pragma once
// Names the calling application's remembered value of one capability in the preferences store.

#include "TwainDefs.h"

#include <string>

class AppCapId {
public:
    virtual ~AppCapId() = default;
    virtual std::string GetKey(TW_UINT16 capabilityId) const = 0;

protected:
    AppCapId() = default;
    AppCapId(const AppCapId&) = default;
    AppCapId& operator=(const AppCapId&) = default;
};
