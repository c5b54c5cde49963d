// The capture of received host data: the File menu's Capture to Printer/File command switches it
// on and off; while it runs, every received block also goes to the capture job, whose lines are
// written to the capture file ("w+": rewritten from empty each time capturing starts) or printed.
#pragma once

#include <cstdint>

#include "connections/print_job.h"
#include "engine/engine_types.h"

// The capture job (one for the program, constructed at start and destroyed at exit).
PrintJob& CaptureJob();

// The command: switches capturing off when it runs; otherwise on, straight into the document's
// CaptureFile when CaptureToFile is set, else through a printer job (whose print-to-file choice
// asks for a file name).
void CaptureToFileCommand(ViewWindow window);

// Opens name for capturing; sets the job open and CaptureRunning when it opened. Returns
// CaptureRunning.
int OpenCaptureFile(ViewWindow window, const char* name);
// Writes a line not yet ended, closes the capture file, clears the job's open flag and
// CaptureRunning. Returns 0 when no file was open or it closed cleanly, else the failing close
// result (the user is told that the end of the capture may be missing).
int CloseCapture();
// A received block for the capture job; returns CaptureRunning (a job that failed ends it).
int CaptureFeed(const uint8_t* bytes, int n);
// One finished line of a file job, written with a line end. A write that fails closes the
// capture and tells the user so. Returns CaptureRunning.
int CaptureWriteLine(const char* text);
