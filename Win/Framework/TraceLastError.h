#pragma once
// Reads the thread's last error and formats its system text, which goes nowhere: kept at the
// Win32 calls of the windows so that a debugger has the text at hand.

void TraceLastError();
