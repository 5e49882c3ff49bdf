#pragma once
// Every pair of a job attribute table, as its export to the server library holds them. The
// table must be built over a QuorvelWrapper (the allocator of the export).

#include "ScanAttributeWrapper.h"

ScanAttributeMap ExportedAttributes(ScanAttributeWrapper& table);
