#pragma once
// Dialog and control ids of the acquire window (Acquire is IDOK, Close IDCANCEL).
#define IDD_ACQUIRE_JOBS        1100
#define IDC_STATUS_LINE         1101
#define IDC_CHOOSE_DEVICE       1102
#define IDC_SELECTED_SERVER     1103
#define IDC_ABOUT_LOGO          1104
#define IDC_PANE_FRAME          1105
#define IDC_SEND                1106
#define IDC_PREVIEW_PAGE        1107
#define IDC_BUSY_ANIMATION      1108
#define IDC_BUSY_TEXT           1109
#define IDC_HELP_BUTTON         391
