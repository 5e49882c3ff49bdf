#pragma once
// Dialog and control ids of the warning window.
#define IDD_MODELESS_WARNING 1352
#define IDC_MODELESS_WARNING_TEXT 1353
