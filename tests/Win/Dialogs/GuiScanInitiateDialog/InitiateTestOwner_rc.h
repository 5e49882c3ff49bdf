#pragma once
// Templates of the initiate pane's test window (ids far from the product's).
#define IDD_INITIATE_OWNER      9601
#define IDD_INITIATE_OTHER_PANE 9602
#define IDC_OWNER_TABS          9611
#define IDC_OWNER_SEND          1106
#define IDC_OTHER_PANE_TEXT     9621
