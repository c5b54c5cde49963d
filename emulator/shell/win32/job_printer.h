// The printer side of print jobs (the screen dump and the capture of received data): the print
// dialog or the default printer, the job font per ScreenDumpType scaled to the page, the
// printer's device context, and the save dialogs of a capture file and a screen-dump file.
#pragma once

#include "connections/print_job.h"

class Win32JobPrinter : public PrinterJobs {
public:
    PrinterChoice Choose(ViewWindow window, const PrintJob& job, bool hostAsked, bool offerSelection) override;
    bool AskCaptureFile(ViewWindow window, const char* initial, char* path, std::size_t size) override;
    bool AskDumpFile(ViewWindow window, const char* initial, std::string& path) override;
};

// Installs one printer side for the program's jobs.
void InstallJobPrinterWin32();
