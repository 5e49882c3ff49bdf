#pragma once
// Dialog and control ids of the change-mailbox dialog (the password field has the framework's
// password id).
#define IDD_CHANGE_MAILBOX          1650
#define IDC_MAILBOX_NAME            1651
#define IDC_MAILBOX_PROMPT          1652
#define IDC_MAILBOX_PASSWORD        1653
