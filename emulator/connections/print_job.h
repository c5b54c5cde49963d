// The record of a print or text-file job, shared by the screen dump and the capture of received
// data, and the line and page rules of such jobs. Cells given to a job are laid out in lines
// (characters with one foreground and one background colour index each); a finished line goes to
// the job's text file or is printed, in runs of equal colours, on the printer's current page.
// Every full page is a spooler document of its own.
//
// The printer itself (print dialog, device context, fonts) is the Win32 view's: it is reached
// through PrinterJobs, which chooses a printer, and PrinterDevice, an open printer's calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

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

// The calls of an open printer (a printer device context with the job's font selected). Each
// returns false when the printer refused.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;
    virtual bool StartDocument(const char* documentName) = 0;
    virtual bool StartPage() = 0;
    virtual bool EndPage() = 0;
    virtual bool EndDoc() = 0;
    // Drops a document that got no page.
    virtual void AbortDoc() = 0;
    // Selects the job's font again (drivers may reset the context at each page).
    virtual void SelectJobFont() = 0;
    // Text in the colours (RGB values of the palette) at device position x, y.
    virtual bool PrintText(int x, int y, const char* text, int length, uint32_t foreground, uint32_t background) = 0;
    // The old font back, the job font deleted, the device context freed; the device is not used
    // again.
    virtual void Release() = 0;
};

// What the job font measures on the chosen printer.
struct PrinterMetrics {
    int horizontalResolution = 0;  // HORZRES
    int verticalResolution = 0;    // VERTRES
    int height = 0;                // tmHeight
    int externalLeading = 0;       // tmExternalLeading
    int averageWidth = 0;          // tmAveCharWidth
    int charset = 0;               // tmCharSet
};

// The outcome of choosing a printer for a job.
struct PrinterChoice {
    // kNoPrinter: the printer could not be had (no default printer for a host's request, or its
    // device context refused).
    enum Outcome { kCancelled, kToFile, kPrinter, kNoPrinter };
    Outcome outcome = kCancelled;
    bool selection = false;           // the print dialog's Selection choice
    PrinterDevice* device = nullptr;  // kPrinter: the open printer, released through the job
    PrinterMetrics metrics;
    std::string documentName;         // the session document's title
    std::string deviceName, port;     // for the question whether to append
};

struct PrintJob {
    PrintJob() = default;
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    int open = 0;            // the job accepts cells (printer job started, or its file open)
    int fromScreen = 0;      // a screen dump (whose cells carry flags); 0 for received data
    int toFile = 0;          // the lines go to a text file instead of a printer
    int selectionOnly = 0;   // the print dialog's selection choice
    int linesPerPage = 0;    // printable lines of a page
    int currentLine = 0;     // line number on the current page
    PrinterDevice* printer = nullptr;  // the open printer of a printer job
    int error = 0;           // a printer call failed (bit 0)
    int pageStarted = 0;     // a page is open
    PrintLineBuffer text;        // the characters of the line being built,
    PrintLineBuffer foreground;  // their foreground
    PrintLineBuffer background;  // and background colour indices
    PrintDocumentInfo documentInfo;
    int lineHeight = 0;      // text height plus external leading of the font
    int charWidth = 0;       // average character width of the font
    int verticalFactor = 0;  // multiplies the vertical text position; 1 once the printer is set up
    int topOrigin = 0;       // the page origin: one line height from the top,
    int leftOrigin = 0;      // and MaxCols characters centred across the page
    int printerCharset = 0;  // the character set of the job font
    char printerName[128] = "";  // the printer's device name
    char printerPort[128] = "";  // and its port
    char fileName[260] = "";  // the text file of a file job

    // Empties the three line buffers.
    void ClearLine();
};

class PrinterJobs {
public:
    virtual ~PrinterJobs() = default;
    // Chooses the printer of a job: the default printer without a dialog for a host's request,
    // else the print dialog (print to file shown, Selection offered and preselected only with
    // offerSelection). The quiet default has no printer.
    virtual PrinterChoice Choose(ViewWindow window, const PrintJob& job, bool hostAsked, bool offerSelection)
    {
        return {};
    }
    // The save dialogs of a capture file and of a screen-dump file (initial name given); true on
    // OK with the chosen path.
    virtual bool AskCaptureFile(ViewWindow window, const char* initial, char* path, std::size_t size) { return false; }
    virtual bool AskDumpFile(ViewWindow window, const char* initial, std::string& path) { return false; }
};

PrinterJobs& JobPrinters();
// Installs the printer side (not owned); null puts the quiet default back (no printer).
void SetPrinterJobs(PrinterJobs* printers);

// Message 61702 "Could not start print job.".
constexpr int kCouldNotStartPrintJob = 61702;

// Starts a job (fromScreen already set): the record is reset, a printer chosen; a print-to-file
// choice sets toFile and leaves the job closed (the caller opens the file). A printer job starts
// its document (refused: message 61702, the printer released) and becomes open with the first
// line due on a new page. Returns open.
int PrintJobOpen(ViewWindow window, PrintJob& job, bool hostAsked, bool offerSelection);

// Gives cells to an open job. flags null: received data (each character goes through the
// display translation, which gives its flags); foreground and background null: the normal
// colours. position is the screen position (row x MaxCols + column) of the first cell; 3270
// fields are looked up from it. A screen dump's call ends its line. Returns open.
int PrintJobAddCells(PrintJob& job, const uint8_t* chars, const uint8_t* flags, int count, int position,
                     const uint8_t* foreground, const uint8_t* background);

// Prints the line being built (to the job's file, or on the page in runs of equal colours).
void PrintJobPrintLine(PrintJob& job);

// Ends a job: the page and document of a printer job ended, the printer released; closed.
void PrintJobClose(PrintJob& job);

// Gives received bytes to a job: a text-file job lays them out in lines for the capture file, a
// printer job prints them through PrintJobAddCells. Nothing when the job is not open. Returns
// open.
int PrintJobAddBytes(PrintJob& job, const uint8_t* bytes, int n);

// The character a cell prints as and its colours, from the cell (character, flags, colours) and
// the settings: the printer character set, line drawing, the fixed dump colours, colours kept in
// 2..19 and never equal. fieldAttribute is the 3270 field attribute (-1 outside 3270 mode).
struct PrintedCell {
    uint8_t character = ' ';
    uint8_t foreground = 2;
    uint8_t background = 19;
};
PrintedCell PrintCell(uint8_t character, int flags, int foreground, int background, int printerCharset,
                      int fieldAttribute);

// The largest font height (1 to 29999) for which maxCols characters of the font's average width
// fit `width`, found by halving; `averageWidth` measures a height. The smallest when none fits.
int LargestFittingFontHeight(int maxCols, int width, const std::function<int(int)>& averageWidth);

// The screen-dump text file: opened "w+" (false, with the reason reported, when it cannot be);
// each line written with a line end. A failed write is reported once and closes the file.
bool OpenDumpFile(const char* name);
bool WriteDumpLine(const char* text);
// Closes the file; false when what was written could not be completed (reported).
bool CloseDumpFile();
bool DumpFileOpen();
