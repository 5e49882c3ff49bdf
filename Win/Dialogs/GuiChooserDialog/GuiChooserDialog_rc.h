#pragma once
// Dialog, control and bitmap ids of the server chooser.
#define IDD_CHOOSER                 1200
#define IDC_CHOOSER_SERVER_NAME     1201
#define IDC_CHOOSER_USE_NICKNAME    1202
#define IDC_CHOOSER_NICKNAME        1203
#define IDC_CHOOSER_DEVICE          1204
#define IDC_CHOOSER_ADD             1205
#define IDC_CHOOSER_TAB             1206
#define IDC_CHOOSER_LIST            1207
#define IDC_CHOOSER_COPY            1208
#define IDC_CHOOSER_MODIFY          1209
#define IDC_CHOOSER_REMOVE          1210
#define IDC_CHOOSER_SERVER_LABEL    392

#define IDB_ADD_PRESSED             200
#define IDB_ADD_DISABLED            201
#define IDB_ADD_NORMAL              202
