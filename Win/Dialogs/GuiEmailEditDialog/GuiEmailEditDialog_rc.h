#pragma once
// Dialog and control ids of the e-mail and internet-fax editor.
#define IDD_EMAIL_EDIT              1250
#define IDC_EDIT_TO_BUTTON          1251
#define IDC_EDIT_TO_FIELD           1252
#define IDC_EDIT_CC_BUTTON          1253
#define IDC_EDIT_CC_FIELD           1254
#define IDC_EDIT_BCC_BUTTON         1255
#define IDC_EDIT_BCC_FIELD          1256
#define IDC_EDIT_SUBJECT            1257
#define IDC_EDIT_BODY               1258
