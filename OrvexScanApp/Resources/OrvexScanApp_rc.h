#pragma once
// Resource ids of the scan application.

#define IDI_NIMBRELAPP       100
#define IDD_NIMBRELAPP_MAIN  1000

#define IDS_APP_NO_DSM       2002
#define IDS_APP_NO_SOURCE    2003
#define IDS_APP_DSM_NOT_OPEN 2004
