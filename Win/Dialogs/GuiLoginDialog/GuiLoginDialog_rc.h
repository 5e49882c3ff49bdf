#pragma once
// Dialog and control ids of the log-in dialog (OK is IDOK, Cancel IDCANCEL).
#define IDD_LOGIN 217
#define IDC_LOGIN_USER_NAME 408
#define IDC_LOGIN_PASSWORD 409
#define IDC_LOGIN_PROMPT 1652
