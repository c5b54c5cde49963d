// Print Screen: the screen, or the selection, as one job to a printer or to a text file. With
// ScreenDumpAppend the job stays open while another screen fits on the page (a file job always),
// and the next Print Screen asks whether to add to it.
#pragma once

#include "connections/print_job.h"
#include "engine/engine_types.h"

// The screen-dump job (one for the program).
PrintJob& ScreenDumpJob();

// File/Print Screen (hostAsked false: the print dialog) and a host's request (hostAsked true:
// the default printer, no dialog). A host's request that comes while a Print Screen is running
// (its dialogs pump messages) waits and runs after it.
void PrintScreen(ViewWindow window, bool hostAsked);

// Ends the screen-dump job (closes the dump file, or ends the printer job); returns whether it
// was open.
int FlushScreenDump();

// Feeds the screen, or the selection when the job is selection-only, row by row to the job.
void DumpScreen(PrintJob& job);
