// Identifiers of the test resource script (test_resources.rc), shared by the script and the tests.
#pragma once

#define IDS_TITLE 103
#define IDS_CLASS 109
#define IDS_JAPANESE 110
#define IDS_EMPTY 111
#define IDS_FAR 1000

#define IDI_TEST 107
#define IDM_MAIN 109
#define IDA_MAIN 109
#define IDA_VIRTUAL 110
#define IDD_ABOUT 103
#define IDD_CHOICE 104

#define IDC_EXIT 105
#define IDC_ABOUT 104
#define IDC_EARTH 200
#define IDC_OUTLINE 205
#define IDC_HELP 210
#define IDC_LONGITUDE 220
#define IDC_LATITUDE 230
#define IDC_GRAYED 240
#define IDC_DEEP 250
#define IDC_F2 260
#define IDC_CTRL_F3 261
#define IDC_PLAIN_A 262
#define IDC_RETRY 4
