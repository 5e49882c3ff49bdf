#pragma once
// The owner window of the Send and FTP destination window tests.
#define IDD_SEND_TEST_OWNER 9600
