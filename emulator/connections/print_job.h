// The record of a print or text-file job, shared by the screen dump and the capture of received
// data, and the door to the printer side of such jobs (print dialog, pages, fonts), which lives in
// the Win32 view. Received data given to a text-file job is laid out here in lines: CR is dropped,
// LF ends the line, which goes to the capture file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_types.h"

// One line being built; grows as needed.
struct PrintLineBuffer {
    char* data = nullptr;
    int length = 0;
    int capacity = 0;

    // False when no more memory can be had (the byte is then not stored).
    bool Append(char c);
    void Clear() { length = 0; }
    void Release();
};

// The printer document's name and output, passed when the printer document starts.
struct PrintDocumentInfo {
    char name[128] = "";
    const char* output = nullptr;
};

struct PrintJob {
    PrintJob() = default;
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    int open = 0;            // the job is running (output possible)
    int fromScreen = 0;      // a screen dump (whose cells carry flags); 0 for received data
    int toFile = 0;          // the lines go to a text file instead of a printer
    int selectionOnly = 0;   // the print dialog's selection choice
    int linesPerPage = 0;    // printable lines of a page
    int currentLine = 0;     // line number on the current page
    void* deviceContext = nullptr;  // the printer's device context
    int error = 0;           // a printer call failed
    int pageStarted = 0;     // a page is open
    PrintLineBuffer text;        // the characters of the line being built,
    PrintLineBuffer foreground;  // their foreground
    PrintLineBuffer background;  // and background colours
    void* printSettings = nullptr;  // the print settings holding the job's print dialog
    void* previousFont = nullptr;   // the font selected before the job's own
    void* font = nullptr;           // the job's printer font
    PrintDocumentInfo documentInfo;
    int lineHeight = 0;      // text height plus external leading of the font
    int charWidth = 0;       // average character width of the font
    int verticalFactor = 0;  // multiplies the vertical text position; 1 once the printer is set up
    int printerCounter = 0;  // cleared at each start; kept by the printer side
    char fileName[260] = "";  // the text file of a file job

    // Empties the three line buffers.
    void ClearLine();
};

class PrinterJobs {
public:
    virtual ~PrinterJobs() = default;
    // Starts a printer job with the print dialog. A print-to-file choice sets toFile and returns
    // with the job still closed; Cancel leaves the job closed.
    virtual void Start(ViewWindow window, PrintJob& job) {}
    // Ends a printer job: last page, end of document, fonts and device context released, closed.
    virtual void End(PrintJob& job) { job.open = 0; }
    // Adds received bytes to a printer job, page by page.
    virtual void AddBytes(PrintJob& job, const uint8_t* bytes, int n) {}
    // The save dialog of a capture file (initial name given); true on OK with the chosen path.
    virtual bool AskCaptureFile(ViewWindow window, const char* initial, char* path,
                                std::size_t size) { return false; }
};

PrinterJobs& JobPrinters();
// Installs the printer side (not owned); null puts the quiet default back (no printer).
void SetPrinterJobs(PrinterJobs* printers);

// Gives received bytes to a job: a text-file job lays them out in lines for the capture file, a
// printer job hands them to the printer side. Nothing when the job is not open. Returns open.
int PrintJobAddBytes(PrintJob& job, const uint8_t* bytes, int n);
