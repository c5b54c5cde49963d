// Resource ids shared by the programs and their .rc files.
#pragma once

// Menus by language; 2 is also the document template's resource (English).
#define IDR_MENU_ENGLISH 2
#define IDR_MENU_SWEDISH 137
#define IDR_MENU_GERMAN 138
#define IDR_MENU_FRENCH 139
#define IDR_MENU_ITALIAN 141
#define IDR_MENU_SPANISH 145
#define IDR_MENU_FINNISH 146
#define IDR_MENU_PORTUGUESE 148

#define IDB_TOOLBAR 2
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_VERSION 3099
#define IDC_ABOUT_MORE 3140

// Connect / Disconnect labels: 170/171 English, 172/173 French, 174/175 German,
// 176/177 Swedish, 178/179 Italian, 180/181 Finnish, 182/183 Portuguese.
#define IDS_CONNECT_EN 170

// Commands.
#define ID_CONNECT_DISCONNECT 256
#define ID_MODEM_TYPE 118
#define ID_AUTO_LOGIN 119
#define ID_SCALE_VIEW_TO_FONT 32768
#define ID_CONFIG_GENERAL 32769
#define ID_CONFIG_COLORS 32770
#define ID_CONFIG_FONT 32771
#define ID_CONFIG_TERMINAL 32772
#define ID_CONFIG_KEYBOARD_MAP 32773
#define ID_PREFS_VIEW 32774
#define ID_PREFS_FILES 32775
#define ID_CONFIG_PHONE 32776
#define ID_DOS_BOX 32778
#define ID_CONFIG_RESET 32779
#define ID_CAPTURE 32786
#define ID_CONFIG_BOXES 32791
#define ID_PLAY_RECORDING 32800
#define ID_COPY_TABLE 32810
#define ID_VIEW_MENU 32813
#define ID_VIEW_TITLEBAR 32814
#define ID_CONFIG_MOUSE 32820
#define ID_FILE_TRANSFER 32821
#define ID_XFER_KERMIT 32822
#define ID_XFER_XYMODEM 32823
#define ID_XFER_ZMODEM 32824
#define ID_HISTORY_SCROLLBACK 32837
#define ID_FILE_OPEN 57601
// The recent-file entries of the File menu: four commands from here.
#define ID_FILE_MRU_FIRST 57616
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT 57607
#define ID_EDIT_COPY 57634
#define ID_EDIT_PASTE 57637
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_INDEX 57667
#define ID_CONTEXT_HELP 57669
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
