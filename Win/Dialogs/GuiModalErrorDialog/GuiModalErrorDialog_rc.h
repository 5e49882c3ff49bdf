#pragma once
// Dialog and control ids of the error dialog (OK is IDOK).
#define IDD_MODAL_ERROR 1350
#define IDC_MODAL_ERROR_TEXT 1351
