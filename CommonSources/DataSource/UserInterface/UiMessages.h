#pragma once
// Private window messages of the data source's windows.

#include <windows.h>

// A modeless child asks its owner to end it: wParam the child's dialog id, lParam its result
// (1 OK, 2 Cancel).
constexpr UINT WM_NIMBREL_CLOSE_REQUEST = WM_USER + 112;
// A long operation of the acquire window ended.
constexpr UINT WM_NIMBREL_OPERATION_ENDED = WM_USER + 113;
// A scan event: wParam the event type, lParam the job id.
constexpr UINT WM_NIMBREL_SCAN_EVENT = WM_USER + 114;
// A copier alert: wParam a copied ScanAlertEventRecord that the receiver frees.
constexpr UINT WM_NIMBREL_ALERT_EVENT = WM_USER + 115;
// Save a stored job to disk.
constexpr UINT WM_NIMBREL_SAVE_JOB = WM_USER + 116;
// Acquire a given job image (lParam).
constexpr UINT WM_NIMBREL_ACQUIRE_IMAGE = WM_USER + 117;
