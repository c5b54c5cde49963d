// Ids of the framework test's own dialog template.
#pragma once

#define IDD_FW_TEST 900
#define IDC_T_NAME 1001
#define IDC_T_NUMBER 1002
#define IDC_T_LATER 1003
#define IDC_T_FLAG 1004
#define IDC_T_RADIO_A 1005
#define IDC_T_BESIDE 1006
#define IDC_T_RADIO_B 1007
#define IDC_T_COMBO 1008
#define IDC_T_LIST 1009
#define IDC_T_HIDDEN 1010
#define IDC_T_HELP 57670

// The second template: what the settings dialogs add (bitmap button, value lists, editable
// combo box, a number from 0 up).
#define IDD_FW_TEST_MORE 901
#define IDC_M_BITMAP 1101
#define IDC_M_VALUES 1102
#define IDC_M_EDITCOMBO 1103
#define IDC_M_UNSIGNED 1104
#define IDC_M_VALUECOMBO 1105
#define IDS_M_COLOURS 910  // three strings
