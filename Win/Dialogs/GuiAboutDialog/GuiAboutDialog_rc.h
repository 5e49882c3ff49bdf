#pragma once
// Dialog, control and bitmap ids of the about box.
#define IDD_ABOUT                   1000
#define IDC_ABOUT_PICTURE           393
#define IDB_ABOUT                   214
#define IDB_ABOUT_BRANDED           215
