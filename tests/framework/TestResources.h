// Resource ids of the framework tests.
#pragma once

#define IDD_EXCHANGE    100
#define IDC_TEXT        1001
#define IDC_NUMBER      1002
#define IDC_DECIMAL     1003
#define IDC_CHECK       1004
#define IDC_RADIO_A     1005
#define IDC_RADIO_B     1006
#define IDC_RADIO_C     1007
#define IDC_AFTER_GROUP 1008
#define IDC_UNSIGNED    1009

#define IDD_PAGE_ONE  110
#define IDD_PAGE_TWO  111
#define IDC_PAGE_EDIT 1101

#define IDR_MAINFRAME     128
#define IDS_CAPTION       129
#define IDS_LONG          130
#define IDS_FORMAT        131
#define IDS_SHEET_CAPTION 132

#define ID_FILE_NEW      32781
#define ID_FILE_OPEN     32782
#define ID_VIEW_A        32790
#define ID_VIEW_B        32791
#define ID_VIEW_C        32792
#define ID_TOOL_GO       32793
#define ID_APP_EXIT_TEST 57665
