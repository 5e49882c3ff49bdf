#pragma once
// Dialog and control ids of the progress window (Cancel is IDCANCEL).
#define IDD_PROGRESS_WINDOW 1450
#define IDC_PROGRESS_WINDOW_BAR 1451
