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
#define ID_CONFIG_GENERAL 32775
#define ID_CONFIG_COLORS 32770
#define ID_CONFIG_FONT 32771
#define ID_CONFIG_TERMINAL 32772
#define ID_CONFIG_KEYBOARD_MAP 32773
#define ID_CONFIG_PHONE 32776
#define ID_DOS_BOX 32778
#define ID_CONFIG_RESET 32788
#define ID_CAPTURE 32786
#define ID_CONFIG_BOXES 32791
#define ID_PLAY_RECORDING 32800
#define ID_COPY_TABLE 32810
#define ID_VIEW_MENU 32813
#define ID_VIEW_TITLEBAR 32814
#define ID_CONFIG_MOUSE 32820
// Config/Preferences: View, File names and Terminal Printers.
#define ID_PREFS_VIEW 32818
#define ID_PREFS_FILES 32819
#define ID_PREFS_TERMINAL_PRINTERS 32824
#define ID_FILE_TRANSFER 32821
// Session/One More, Special/Record Comm and the Help menu's two documents.
#define ID_ONE_MORE 32781
#define ID_RECORD_COMM 32799
#define ID_HELP_PROGREF 32835
#define ID_HELP_README 32836
// Config/Preferences/Asynch filetransfer (commands of the view), and Config/Preferences/DDE.
#define ID_XFER_KERMIT 32827
#define ID_XFER_XYMODEM 32828
#define ID_XFER_ZMODEM 32830
#define ID_XFER_GENERAL 32833
#define ID_PREFS_DDE 32834
#define ID_PREFS_DYN_HOTSPOTS 32838
#define ID_HISTORY_SCROLLBACK 32837
// The terminal view's own commands (Edit, View, Config/Font and Special).
#define ID_TRACE_KEYBOARD 110
#define ID_TRACE_VIRTUAL_KEYS 32782
#define ID_RESET_EMULATOR 32787
#define ID_SET_TITLE 32792
#define ID_SHOW_IMAGE 32802
#define ID_TRACE_HOTSPOTS 32806
#define ID_CLEAR_HOTSPOTS 32807
#define ID_TRACE_TELNET 32808
#define ID_FUNCTION_BUTTONS 32812
#define ID_FONT_132 32825
#define ID_FONT_80 32826
#define ID_SCALE_FONT_TO_VIEW 32839
#define ID_TRACE_NET_FILE 32842
#define ID_SELECT_ALL 32847
#define ID_CLEAR_SELECTION 32848
// "Change all settings to default configuration values" (no menu entry; Reset to Default posts it).
#define ID_FILE_NEW 57600
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
#define ID_HELP 57670
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// ---- File-transfer dialogs.
#define IDD_KERMIT_SETTINGS 131
#define IDD_START_TRANSFER 132
#define IDD_ASYNC_TRANSFER 133
#define IDD_ZMODEM_SETTINGS 134
#define IDD_XYMODEM_SETTINGS 135

// Start Async Filetransfer; its buttons' ids are also its end codes.
#define IDC_XFER_SEND_FILE 3212
#define IDC_XFER_SEND_BROWSE 3064
#define IDC_XFER_RECEIVE_FILE 3213
#define IDC_XFER_RECEIVE_BROWSE 3065
#define IDC_XFER_TRACE 3216
#define IDC_XFER_REMOTE_FILE 3217
#define IDC_XFER_SEND 3211
#define IDC_XFER_RECEIVE 3210
#define IDC_XFER_GET 3214
#define IDC_XFER_FINISH_SERVER 3275
#define IDC_XFER_ABORT 3215
#define IDC_XFER_SETTINGS 3247
#define IDC_XFER_DIRECTORY 3276
#define IDC_XFER_REMOTE_LABEL 3273
#define IDC_XFER_REMOTE_FRAME 3274

// General Async Transfer.
#define IDC_ASYNC_KERMIT 3218  // first of the six protocol radio buttons, 3218-3223
#define IDC_ASYNC_ZMODEM 3223
#define IDC_ASYNC_DIRECTORY 3226
#define IDC_ASYNC_AUTODETECT 3217
#define IDC_ASYNC_ACL_CODES 3338
#define IDC_ASYNC_CONFIRM_ERRORS 3337
#define IDC_ASYNC_PROTOCOL_SETTINGS 3248

// Kermit settings.
#define IDC_KERMIT_INITIAL_RETRY 3186
#define IDC_KERMIT_PACKET_RETRY 3187
#define IDC_KERMIT_IMAGE 3188
#define IDC_KERMIT_QUOTE8_NO 3189  // first of three radio buttons, 3189-3191
#define IDC_KERMIT_QUOTE8_PARITY 3190
#define IDC_KERMIT_QUOTE8_ALWAYS 3191
#define IDC_KERMIT_RUN_LENGTH 3117
#define IDC_KERMIT_INITIAL_TIMEOUT 3193
#define IDC_KERMIT_START_CHAR 3194
#define IDC_KERMIT_PACKET_SIZE 3195
#define IDC_KERMIT_TIMEOUT 3196
#define IDC_KERMIT_PADDING 3197
#define IDC_KERMIT_PAD_CHAR 3198
#define IDC_KERMIT_EOL 3199
#define IDC_KERMIT_QUOTE 3200
#define IDC_KERMIT_REPEAT 3201
#define IDC_KERMIT_QUOTE8 3202
#define IDC_KERMIT_WINDOW 3209
#define IDC_KERMIT_CHECK_6 3206  // first of three radio buttons, 3206-3208
#define IDC_KERMIT_CHECK_12 3207
#define IDC_KERMIT_CHECK_16 3208
#define IDC_RESET_DEFAULTS 3192  // Reset to defaults of the three protocol dialogs

// X/Y-Modem settings.
#define IDC_XYMODEM_TIMEOUT 3250
#define IDC_XYMODEM_MAX_ERRORS 3251
#define IDC_XYMODEM_PAD_CHAR 3252
#define IDC_XYMODEM_RETRIES 3254

// Z-Modem settings: three radio groups in tab order, then three check boxes.
#define IDC_ZMODEM_MANAG_NONE 3230
#define IDC_ZMODEM_MANAG_APPEND 3251
#define IDC_ZMODEM_MANAG_NEWER 3231
#define IDC_ZMODEM_MANAG_NEWER_LONGER 3232
#define IDC_ZMODEM_MANAG_PROTECT 3233
#define IDC_ZMODEM_MANAG_UPDATE 3234
#define IDC_ZMODEM_MANAG_OVERWRITE 3235
#define IDC_ZMODEM_CONV_LF 3236
#define IDC_ZMODEM_CONV_BINARY 3237
#define IDC_ZMODEM_CONV_RESUME 3238
#define IDC_ZMODEM_CONV_RESUME_COMPARE 3239
#define IDC_ZMODEM_FN_STRIP 3240
#define IDC_ZMODEM_FN_DOT 3241
#define IDC_ZMODEM_FN_FULL 3242
#define IDC_ZMODEM_ESC_CTL 3243
#define IDC_ZMODEM_NO_CRC32 3117
#define IDC_ZMODEM_UNLINK 3244

// ---- DDE Settings.
#define IDD_DDE_SETTINGS 200
#define IDC_DDE_SERVER_ENABLE 3186
#define IDC_DDE_SERVER_SERVICE 3187
#define IDC_DDE_SERVER_TOPIC 3197
#define IDC_DDE_CLIENT_ENABLE 3117
#define IDC_DDE_CLIENT_SERVICE 3190
#define IDC_DDE_START_RECORDING 3191
#define IDC_DDE_STOP_RECORDING 3192
#define IDC_DDE_DYNAMIC 3201  // first of the two destination radio buttons (3201, 3200)
#define IDC_DDE_DELIMITER 3196
#define IDC_DDE_FIXED 3200
#define IDC_DDE_SEND_SERVICE 3193
#define IDC_DDE_SEND_TOPIC 3194
#define IDC_DDE_SEND_ITEM 3195

// ---- Colors (character cells), Colors and Attributes (3270) and Boxes.
#define IDD_COLORS 103
#define IDD_COLORS_3270 612
#define IDD_BOXES 602
#define IDC_COLOR_BUTTON_FIRST 3000  // 32 colour buttons: foreground 3000-3015, background 3016-3031
#define IDC_COLOR_ATTRIBUTES 2991
#define IDC_COLOR_LOCAL 3038  // first of the two radio buttons (3038 local, 3037 host)
#define IDC_COLOR_HOST 3037
#define IDC_COLOR_TRUE_BOLD 3033
#define IDC_COLOR_TRUE_UNDERLINE 3032
#define IDC_COLOR_LINE_GRAPHICS 3034
#define IDC_COLOR_SPECIAL_GRAPHICS 3035
#define IDC_COLOR_HISTORY_LINES 3039
#define IDC_COLOR_USE_PALETTE 3329
#define IDC_COLOR_BRIGHTNESS 3330
#define IDC_SAMPLE_TEXT 2990
#define IDC_SAMPLE_FRAME 3036
#define IDC_BOX_NONE 3115
#define IDC_BOX_IN 3111
#define IDC_BOX_OUT 3112
#define IDC_BOX_EDIT 3327
#define IDC_BOX_ENABLE 3117
#define IDC_BOX_LINES 3118
#define IDC_BOX_3270 3119
#define IDC_BOX_RESET 3192

// ---- General Settings (101), Terminal Configuration (601), 3270 Terminal Configuration (611)
// and the first-time setup (142); their lists' strings are in terminal_settings.rc.
#define IDD_GENERAL_SETTINGS 101
#define IDD_TERMINAL_SETTINGS 601
#define IDD_TERMINAL_3270 611
#define IDD_FIRST_TIME_SETUP 142
#define IDC_GEN_ASYNC 115  // first of the connection-type radios, in tab order 115, 114, 116
#define IDC_GEN_NETBIOS 114
#define IDC_GEN_TELNET 116
#define IDC_GEN_PORT 544
#define IDC_GEN_BAUD 545
#define IDC_GEN_DATA_BITS 546
#define IDC_GEN_PARITY 547
#define IDC_GEN_STOP_BITS 548
#define IDC_GEN_DTR_DSR 549
#define IDC_GEN_RTS_CTS 550
#define IDC_GEN_XON_XOFF 551
#define IDC_GEN_CHECK_ERROR 552
#define IDC_GEN_NETWORK 602
#define IDC_GEN_HOST_NAME 603
#define IDC_GEN_ADAPTER 604
#define IDC_GEN_PLATFORM 605
#define IDC_GEN_COUNTRY 606
#define IDC_GEN_LANGUAGE 607
#define IDC_GEN_TELNET_PORT 3128
#define IDC_GEN_TELNET_PORT_LABEL 3129
#define IDC_GEN_ADAPTER_LABEL 3130
#define IDC_GEN_FAMILY_3270 3117
#define IDC_GEN_ASYNC_GROUP 104
#define IDC_GEN_LAN_GROUP 1030
#define IDC_GEN_PORT_LABEL 1031
#define IDC_GEN_BAUD_LABEL 1032
#define IDC_GEN_DATA_BITS_LABEL 1033
#define IDC_GEN_PARITY_LABEL 1034
#define IDC_GEN_STOP_BITS_LABEL 1035
#define IDC_GEN_FLOW_LABEL 1036
#define IDC_GEN_CHECK_ERROR_LABEL 1037
#define IDC_GEN_NETWORK_LABEL 1038
#define IDC_GEN_HOST_NAME_LABEL 1039
#define IDC_TERM_EMULATION 601  // the emulation list (611: the 3270 model list; 142: the terminal list)
#define IDC_TERM_CHARSET 1047   // the character-set list (611: the national sets)
#define IDC_TERM_7BIT 1200      // first of the control-character radios (1200, 1201)
#define IDC_TERM_8BIT 1201
#define IDC_TERM_DECCNM_YES 1053  // first of the DECCNM radios (1053, 1054, 1055)
#define IDC_TERM_DECCNM_IGNORE 1054
#define IDC_TERM_DECCNM_BEEP 1055
#define IDC_TERM_CURSOR_BLOCK 1050  // first of the cursor-style radios (1050, 1052, 1056)
#define IDC_TERM_CURSOR_LINE 1052
#define IDC_TERM_CURSOR_UNDERLINE 1056
#define IDC_TERM_NEW_LINE 553
#define IDC_TERM_LOCAL_ECHO 554
#define IDC_TERM_COLS_80 3041  // first of the columns radios (3041, 3042)
#define IDC_TERM_COLS_132 3042
#define IDC_TERM_ROWS_24 3039  // first of the rows radios (3039, 3040)
#define IDC_TERM_ROWS_25 3040
#define IDC_TERM_AUTOWRAP 552
#define IDC_TERM_ANSWERBACK 3139
#define IDC_TERM_HISTORY_ROWS 3277
#define IDC_TERM_TABS 3140
#define IDC_TERM_UPDATE_HIDDEN 3328
#define IDC_TERM_PROTECTED_REVERSED 3339
#define IDC_FIRST_PLATFORM 605
#define IDC_FIRST_FAMILY_3270 3117
// ---- Connection and preference dialogs.
#include "preference_dialog_ids.h"
