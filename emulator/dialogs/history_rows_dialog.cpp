#include "dialogs/history_rows_dialog.h"

const char* const kHistoryRowsNote =
    "History scrollback buffer must be configured.  You can do it now or later in "
    "\"Terminal Emulation Configuration\".";
