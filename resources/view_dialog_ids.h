// Resource ids of the terminal view's own dialogs (Copy Table Settings, History Rows, window
// title) and of its mouse cursors.
#pragma once

#define IDD_COPY_TABLE 128
#define IDC_TABLE_SEPARATOR 3142
#define IDC_TABLE_REMOVE_LEADING 3146
#define IDC_TABLE_REMOVE_TRAILING 3143
#define IDC_TABLE_END_CRLF 3144       // first of two radio buttons: CR+LF, Field separator (3145)
#define IDC_TABLE_END_SEPARATOR 3145
#define IDC_TABLE_SINGLE_BEFORE 3147  // first of three radio buttons: 3147, 3148, 1144
#define IDC_TABLE_SINGLE_FIELD 3148
#define IDC_TABLE_SINGLE_SPACE 1144
#define IDC_TABLE_SPREADSHEET 4
#define IDC_TABLE_CPP 5

#define IDD_HISTORY_ROWS 144
#define IDC_HISTORY_ROWS 3277
#define IDC_HISTORY_ROWS_NOTE 3278

#define IDD_WINDOW_TITLE 603
#define IDC_WINDOW_TITLE 3126

// Mouse cursors: over a screen button, and while a file transfer runs.
#define IDC_CURSOR_BUTTON 127
#define IDC_CURSOR_TRANSFER 143
