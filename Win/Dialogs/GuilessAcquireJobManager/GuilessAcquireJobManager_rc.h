#pragma once
// The hidden window of the window-less acquisition; it has no controls.
#define IDD_GUILESS_ACQUIRE     209
