// Resource ids of the small session dialogs, the one-line prompt, the product-information page
// and lock administration.
#pragma once

// Commands of these dialogs (the Config menu).
#define ID_UNIX_ENV 120
#define ID_FILE_TRANSFER_CMD 32822
#define ID_PREFS_MULTIMEDIA 32843
#define ID_LOCK_SETTINGS 32840

// Strings: the Play Recording prompt and the lock passwords.
#define IDS_PLAY_PROMPT 85
#define IDS_PLAY_FILTER 86
#define IDS_PLAY_EXTENSION 89
#define IDS_LOCK_PASSWORD_PROMPT 90
#define IDS_LOCK_INVALID_PASSWORD 91
#define IDS_LOCK_PASSWORDS_DIFFER 92
#define IDS_LOCK_REENTER_PASSWORD 93

// Automatic Login.
#define IDD_AUTO_LOGIN 110
#define IDC_AUTO_SERVICE_WAIT 1050
#define IDC_AUTO_SERVICE_REPLY 1051
#define IDC_AUTO_LOGIN_WAIT 1040
#define IDC_AUTO_LOGIN_REPLY 1041
#define IDC_AUTO_PASSWORD_WAIT 1042
#define IDC_AUTO_PASSWORD_REPLY 1043
#define IDC_AUTO_PROGRAM_WAIT 1045
#define IDC_AUTO_PROGRAM_REPLY 1047
#define IDC_AUTO_SECTION_WAIT 1048
#define IDC_AUTO_SECTION_REPLY 1049
#define IDC_AUTO_SECTION2_WAIT 1053
#define IDC_AUTO_SECTION2_REPLY 1054
#define IDC_AUTO_SECTION3_WAIT 1055
#define IDC_AUTO_SECTION3_REPLY 1056
#define IDC_AUTO_ENABLE 1087
#define IDC_AUTO_SEND_CR 1057
#define IDC_AUTO_WAKEUP 1089
#define IDC_AUTO_LOCK_KEYBOARD 1052
#define IDC_AUTO_BLANK 1046
#define IDC_AUTO_DISPLAY_ON 1044

// Host environment table.
#define IDD_HOST_ENV 111
#define IDC_HOST_ENV_ENABLE 1046
#define IDC_HOST_ENV_TABLE 1088

// File transfer command.
#define IDD_FILE_TRANSFER_CMD 129
#define IDC_FTP_COMMAND 3174
#define IDC_FTP_DIRECTORY 3175
#define IDC_FTP_ENABLE 3176
#define IDC_XFER_AUTOMATIC 3334  // first of the three radio buttons (3334-3336)
#define IDC_XFER_FTP 3335
#define IDC_XFER_PROTOCOL 3336

// Multimedia.
#define IDD_MULTIMEDIA 610
#define IDC_MCI_ERROR_REPLY 3106
#define IDC_MCI_OK_REPLY 3107
#define IDC_MCI_DATA_REPLY 3108
#define IDC_MCI_SHOW_ERROR 3109
#define IDC_MCI_WAIT_IF_BUSY 3141

// The one-line prompt.
#define IDD_KEYIN 105
#define IDC_KEYIN_ANSWER 110
#define IDC_KEYIN_PROMPT 111
#define IDC_KEYIN_BROWSE 3064

// More on TCP/IP: two placeholders where the pictures are drawn.
#define IDD_MORE_INFO 126
#define IDC_MORE_INFO_PICTURE1 3146
#define IDC_MORE_INFO_PICTURE2 3148
#define IDB_MORE_INFO1 128  // the logo
#define IDB_MORE_INFO2 129

// Lock administration (the padlocks' ids: kLockButtonIds, dialogs/lock_admin_values.h).
#define IDD_LOCK_ADMIN 147
#define IDC_LOCK_ALL 3325
#define IDC_OPEN_ALL 3326
#define IDC_LOCK_PASSWORD 3324
