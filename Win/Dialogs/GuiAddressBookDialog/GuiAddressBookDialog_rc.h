#pragma once
// Dialog and control ids of the address-book window.
#define IDD_ADDRESS_BOOK            1150
#define IDC_BOOK_TO_BUTTON          1151
#define IDC_BOOK_TO_FIELD           1152
#define IDC_BOOK_CC_BUTTON          1153
#define IDC_BOOK_CC_FIELD           1154
#define IDC_BOOK_BCC_BUTTON         1155
#define IDC_BOOK_BCC_FIELD          1156
#define IDC_BOOK_LIST               1157
#define IDC_BOOK_GO                 1158
#define IDC_BOOK_RESET              1159
#define IDC_BOOK_BLANK              384
#define IDC_BOOK_SEPARATOR          385
#define IDC_BOOK_HINT               386
#define IDC_BOOK_SEARCH             387
#define IDC_BOOK_CHOICE             388
#define IDC_BOOK_SEARCH_LABEL       389
#define IDC_BOOK_STATUS             449
