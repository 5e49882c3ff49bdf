#pragma once
// The small windows of the data source stay above hosts that would otherwise hide them.

#include <windows.h>

// Whether the host application's product name contains "PaperPort" or "eCopy" (exact case).
bool IsTopmostHost();
// Makes the window topmost, without moving, sizing or activating it, in such a host only.
void ApplyHostTopmostRule(HWND window);
