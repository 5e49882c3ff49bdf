#pragma once
// The capabilities the source serves: one handler per row with the ids it answers for, in the
// order they are built. A capability in no row is unknown to the source.

#include "TwainCapInfo.h"

#include <memory>
#include <vector>

struct CapabilityHandlerTable {
    struct Row {
        std::vector<TW_UINT16> ids;
        std::unique_ptr<TwainCapInfo> handler;
    };

    // Fresh handlers, one per row.
    static std::vector<Row> Build();
};
