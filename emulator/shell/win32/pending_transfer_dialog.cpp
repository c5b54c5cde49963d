// Stand-in for the Start Async Filetransfer dialog until it lands: Cancel, nothing changed.
#include "transfer_dialog_calls.h"

int RunStartTransferDialog(HWND, StartTransferFields&, bool) { return 2; }
