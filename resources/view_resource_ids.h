// Resource ids of the terminal view: its logo pictures and the host-name prompt.
#pragma once

#define IDB_LOGO 128
#define IDB_LOGO_ALT 155
#define IDD_HOST_NAME 605
#define IDC_HOST_NAME 3127
