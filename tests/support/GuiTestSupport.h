#pragma once
// Helpers of the tests that open windows: taking the thread's waiting messages, pumping until
// something holds, and writing a window's picture as a PNG file.

#include <windows.h>

#include <functional>
#include <string>

namespace guitest {

// Dispatches every message waiting in the thread's queue.
void PumpPending();
// Pumps until done() holds, for at most the given time; whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds = 10000);
// The window as it is on screen (brought to the front and repainted first), as a PNG file;
// false with a reason when it could not be written.
bool SaveWindowPng(HWND window, const std::string& path, std::string* error = nullptr);
// Folder of the build tree where the window tests put their pictures (made when missing).
std::string ScreenshotFolder();

} // namespace guitest
