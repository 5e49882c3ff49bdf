#pragma once
// Templates of the acquire window's stand-in panes (ids far from the product's).
#define IDD_TEST_RETRIEVE_PANE  9611
#define IDD_TEST_INITIATE_PANE  9612
#define IDC_TEST_PANE_BUTTON    9621
