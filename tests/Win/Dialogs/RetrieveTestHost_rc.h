#pragma once
// The host window of the retrieve pane's tests: a frame that holds the pane whole.
#define IDD_RETRIEVE_TEST_HOST      9601
#define IDC_RETRIEVE_TEST_FRAME     9602
