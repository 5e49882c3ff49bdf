#pragma once
// The source's own capabilities, in the custom range.

#include "TwainDefs.h"

// The address of the server the source works with (TWTY_STR255).
constexpr TW_UINT16 zyl_CAP_SourceIpAddr_id = 0x8001;
// Whether the acquire window hands pages to the application (TWTY_BOOL); the scan application
// clears it and only sends pages on.
constexpr TW_UINT16 zyl_CAP_ShowAcquireGUI = 0x8002;
