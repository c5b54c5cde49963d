// The printer side of the capture of received data: the print dialog, pages of text lines in the
// printer's fixed-pitch font, and the save dialog of a capture file when the user chose printing
// to a file.
#pragma once

#include "connections/print_job.h"

class Win32CapturePrinter : public PrinterJobs {
public:
    void Start(ViewWindow window, PrintJob& job) override;
    void End(PrintJob& job) override;
    void AddBytes(PrintJob& job, const uint8_t* bytes, int n) override;
    bool AskCaptureFile(ViewWindow window, const char* initial, char* path, std::size_t size) override;
};

// Installs one printer side for the program's jobs.
void InstallCapturePrinterWin32();
