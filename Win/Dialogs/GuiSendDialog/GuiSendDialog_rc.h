#pragma once
// Dialog and control ids of the Send window and its two variants (Send is IDOK, Cancel
// IDCANCEL). The controls are created in id order; compaction walks them in that order.
#define IDD_SEND_DIALOG 1600
#define IDC_SEND_FILE_NAME 1601
#define IDC_SEND_HOLD_QUEUE 1602
#define IDC_SEND_MAILBOX_CHECK 1603
#define IDC_SEND_MAILBOX_NAME 1604
#define IDC_SEND_DISK_GROUP 1605
#define IDC_SEND_SAVE_TO_DISK 1606
#define IDC_SEND_SAVE_AS 1607
#define IDC_SEND_DISK_FORMAT 1608
#define IDC_SEND_EMAIL_GROUP 1609
#define IDC_SEND_EMAIL_CHECK 1610
#define IDC_SEND_EDIT_EMAIL 1611
#define IDC_SEND_AS_ATTACHMENT 1612
#define IDC_SEND_AS_URL 1613
#define IDC_SEND_EMAIL_FORMAT 1614
#define IDC_SEND_FTP_GROUP 1615
#define IDC_SEND_FTP_CHECK 1616
#define IDC_SEND_EDIT_FTP 1617
#define IDC_SEND_FTP_FORMAT 1618
#define IDC_SEND_FAX_GROUP 1619
#define IDC_SEND_FAX_CHECK 1620
#define IDC_SEND_EDIT_FAX 1621
