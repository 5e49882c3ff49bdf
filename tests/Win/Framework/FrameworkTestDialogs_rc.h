#pragma once
// Templates of the framework's tests (ids far from the product's).
#define IDD_TEST_PLAIN      9001
#define IDD_TEST_FRAME      9002
#define IDD_TEST_PANE_A     9003
#define IDD_TEST_PANE_B     9004
#define IDD_TEST_CONTROLS   9005

#define IDC_PASSWORD        1653
#define IDC_PLAIN_EDIT      9101
#define IDC_RANGE_1         9102
#define IDC_RANGE_2         9103
#define IDC_RANGE_3         9104
#define IDC_RANGE_4         9105
#define IDC_RANGE_5         9106
#define IDC_PLAIN_CHECK     9107

#define IDC_FRAME_TABS      9201
#define IDC_FRAME_BUTTON    9202

#define IDC_PANE_A_BUTTON   9301
#define IDC_PANE_A_EDIT     9302
#define IDC_PANE_A_OFF      9303
#define IDC_PANE_B_TEXT     9401

#define IDC_LIST            9501
#define IDC_COMBO_LIST      9502
#define IDC_COMBO_EDIT      9503
#define IDC_SPIN_EDIT       9504
#define IDC_SPIN            9505
#define IDC_PROGRESS        9506
#define IDC_NARROW_LIST     9507
#define IDC_FILTER_EDIT     9508
#define IDC_COMBO_LIST_2    9509
