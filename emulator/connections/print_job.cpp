#include "connections/print_job.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "connections/capture_file.h"
#include "engine/charsets.h"
#include "engine/colors.h"
#include "engine/ibm3270/field_model.h"
#include "session/messages.h"
#include "session/session_record.h"

namespace {

PrinterJobs quietPrinters;
PrinterJobs* installedPrinters = nullptr;

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr int kOemCharset = 255;
constexpr int kLowestColor = 2;
constexpr int kHighestColor = 19;
constexpr int kNonDisplayBits = 0x0C;
constexpr int kLargestFontHeight = 29999;

std::FILE* dumpFile = nullptr;

// Messages of a capture job come from received data: shown after the block.
void ReportPrintFailure(const PrintJob& job)
{
    if (job.fromScreen) ShowMessage(kCouldNotStartPrintJob, kMsgOk | kMsgIconExclamation, "%s", "");
    else ShowHostMessage(kCouldNotStartPrintJob, kMsgOk | kMsgIconExclamation, "%s", "");
}

void ReleasePrinter(PrintJob& job)
{
    if (job.printer) job.printer->Release();
    job.printer = nullptr;
}

// A printer job that failed: the line dropped, the printer released, message 61702.
void DropPrinterJob(PrintJob& job)
{
    job.ClearLine();
    ReleasePrinter(job);
    job.open = 0;
    job.pageStarted = 0;
    ReportPrintFailure(job);
}

bool InColorRange(int color) { return color >= kLowestColor && color <= kHighestColor; }

char LineDrawingCharacter(uint8_t c)
{
    switch (c) {
    case '-':
    case 'q': return '-';
    case '_': return '_';
    case 'j': case 'k': case 'l': case 'm': case 'n':
    case 't': case 'u': case 'v': case 'w': return '+';
    case 'x': return '|';
    default: return '#';
    }
}

void PrintRuns(PrintJob& job)
{
    const int y = (job.currentLine * job.lineHeight + job.topOrigin) * job.verticalFactor;
    for (int start = 0; start < job.text.length;) {
        int end = start + 1;
        while (end < job.text.length && job.foreground.data[end] == job.foreground.data[start] &&
               job.background.data[end] == job.background.data[start])
            ++end;
        const auto fg = static_cast<uint8_t>(job.foreground.data[start]);
        const auto bg = static_cast<uint8_t>(job.background.data[start]);
        if (!job.printer->PrintText(job.leftOrigin + start * job.charWidth, y, job.text.data + start, end - start,
                                  Rec->ColorPalette[fg % kColorIndices], Rec->ColorPalette[bg % kColorIndices]))
            job.error |= 1;
        start = end;
    }
}

}  // namespace

bool PrintLineBuffer::Append(char c) {
    // One byte is always kept free for the terminator.
    if (length + 1 >= capacity) {
        int grown = capacity ? capacity * 2 : 256;
        char* larger = static_cast<char*>(std::realloc(data, static_cast<std::size_t>(grown)));
        if (!larger) return false;
        data = larger;
        capacity = grown;
    }
    data[length++] = c;
    data[length] = '\0';
    return true;
}

void PrintLineBuffer::Release() {
    std::free(data);
    data = nullptr;
    length = capacity = 0;
}

PrintJob::~PrintJob() {
    text.Release();
    foreground.Release();
    background.Release();
}

void PrintJob::ClearLine() {
    text.Clear();
    foreground.Clear();
    background.Clear();
}

PrinterJobs& JobPrinters() { return installedPrinters ? *installedPrinters : quietPrinters; }
void SetPrinterJobs(PrinterJobs* printers) { installedPrinters = printers; }

int PrintJobOpen(ViewWindow window, PrintJob& job, bool hostAsked, bool offerSelection)
{
    ReleasePrinter(job);
    job.open = 0;
    job.toFile = 0;
    job.selectionOnly = 0;
    job.linesPerPage = job.currentLine = 0;
    job.error = 0;
    job.pageStarted = 0;
    job.ClearLine();
    PrinterChoice choice = JobPrinters().Choose(window, job, hostAsked, offerSelection);
    if (choice.outcome == PrinterChoice::kCancelled) return 0;
    if (choice.outcome == PrinterChoice::kNoPrinter || (choice.outcome == PrinterChoice::kPrinter && !choice.device)) {
        ReportPrintFailure(job);
        return 0;
    }
    job.selectionOnly = choice.selection ? 1 : 0;
    if (choice.outcome == PrinterChoice::kToFile) {
        job.toFile = 1;
        return 0;
    }
    job.printer = choice.device;
    std::snprintf(job.documentInfo.name, sizeof job.documentInfo.name, "%s", choice.documentName.c_str());
    std::snprintf(job.printerName, sizeof job.printerName, "%s", choice.deviceName.c_str());
    std::snprintf(job.printerPort, sizeof job.printerPort, "%s", choice.port.c_str());
    const PrinterMetrics& m = choice.metrics;
    job.verticalFactor = 1;
    job.lineHeight = m.height + m.externalLeading;
    if (job.lineHeight < 1) job.lineHeight = 1;
    job.charWidth = m.averageWidth;
    job.topOrigin = job.lineHeight;
    job.leftOrigin = (m.horizontalResolution - m.averageWidth * Rec->MaxCols) / 2;
    job.printerCharset = m.charset;
    if (!job.printer->StartDocument(job.documentInfo.name)) {
        ReleasePrinter(job);
        ReportPrintFailure(job);
        return 0;
    }
    job.linesPerPage = (m.verticalResolution - job.topOrigin) / job.lineHeight;
    // A page always holds a line, however large the font came out.
    if (job.linesPerPage < 1) job.linesPerPage = 1;
    job.currentLine = job.linesPerPage;
    job.pageStarted = 0;
    job.open = 1;
    return 1;
}

PrintedCell PrintCell(uint8_t character, int flags, int foreground, int background, int printerCharset,
                      int fieldAttribute)
{
    const SettingsRecord& rec = *Rec;
    PrintedCell out;
    uint8_t c = character;
    if (rec.CurrentFont.CharSet != printerCharset) {
        uint8_t converted = c;
        if (!AnsiTypeFont(rec)) OemToAnsiLineDraw(c, converted, flags, rec, 0);
        else AnsiToOemLineDraw(c, converted, flags, rec, 0);
        c = converted;
    }
    if (c == 0) c = ' ';
    if (flags & kLineDrawingFlag) c = static_cast<uint8_t>(LineDrawingCharacter(c));
    if (fieldAttribute >= 0 && (fieldAttribute & kNonDisplayBits) == kNonDisplayBits) c = ' ';
    out.character = c;

    int fg = foreground, bg = background;
    if (rec.ScreenDumpFgColor != 0) fg = rec.ScreenDumpFgColor;
    if (rec.ScreenDumpBgColor > 1) bg = rec.ScreenDumpBgColor;
    else if (rec.ScreenDumpBgColor == 1 && bg == rec.AttrColors[kAttrNormal][kAttrBg]) bg = kHighestColor;
    if (!InColorRange(fg)) fg = kLowestColor;
    if (!InColorRange(bg)) bg = kHighestColor;
    if (fg == bg) fg = fg >= 10 ? fg - 10 : fg + 10;
    out.foreground = static_cast<uint8_t>(fg);
    out.background = static_cast<uint8_t>(bg);
    return out;
}

int PrintJobAddCells(PrintJob& job, const uint8_t* chars, const uint8_t* flags, int count, int position,
                     const uint8_t* foreground, const uint8_t* background)
{
    if (!job.open) return 0;
    const int charset = job.toFile ? kOemCharset : job.printerCharset;
    const int screenCells = Rec->MaxRows * Rec->MaxCols;
    for (int i = 0; i < count && job.open; ++i) {
        uint8_t c = chars[i];
        if (c == kCr) continue;
        if (c == kLf) {
            PrintJobPrintLine(job);
            continue;
        }
        int cellFlags = 0;
        if (flags) {
            cellFlags = flags[i];
        } else {
            int charClass = 0;
            TranslateChar(c, cellFlags, charClass, *Rec);
        }
        int fg = foreground ? foreground[i] : Rec->AttrColors[kAttrNormal][kAttrFg];
        int bg = background ? background[i] : Rec->ScreenDumpBgColor;
        int fieldAttribute = -1;
        const int address = position + i;
        if (Rec->TerminalFamily3270 && address >= 0 && address < screenCells) {
            uint8_t attribute = 0, colour = 0, highlight = 0;
            Get3270FieldAttribute(address, attribute, colour, highlight);
            int displayBits = 0;
            AttributeColors(*Rec, attribute, colour, highlight, fg, bg, displayBits);
            fieldAttribute = attribute;
        }
        const PrintedCell cell = PrintCell(c, cellFlags, fg, bg, charset, fieldAttribute);
        if (!job.text.Append(static_cast<char>(cell.character)) ||
            !job.foreground.Append(static_cast<char>(cell.foreground)) ||
            !job.background.Append(static_cast<char>(cell.background))) {
            // Out of memory for a very long line: what was built goes out as a line of its own.
            job.ClearLine();
        }
    }
    if (job.fromScreen && job.open) PrintJobPrintLine(job);
    return job.open;
}

void PrintJobPrintLine(PrintJob& job)
{
    if (!job.open) return;
    if (job.toFile) {
        const char* line = job.text.length ? job.text.data : "";
        if (job.fromScreen) {
            if (!WriteDumpLine(line)) job.open = 0;
        } else {
            CaptureWriteLine(line);
        }
        job.ClearLine();
        return;
    }
    if (!job.printer) return;
    if (job.currentLine >= job.linesPerPage) {
        if (!job.printer->StartPage()) job.error |= 1;
        job.currentLine = 0;
        job.pageStarted = 1;
        if (Rec->ScreenDumpType != 0) job.printer->SelectJobFont();
    }
    if (!job.error) PrintRuns(job);
    ++job.currentLine;
    if (job.currentLine >= job.linesPerPage) {
        // Every full page goes to the spooler as a document of its own.
        if (!job.printer->EndPage()) job.error |= 1;
        job.pageStarted = 0;
        if (!job.error && !job.printer->EndDoc()) job.error |= 1;
        if (job.error || !job.printer->StartDocument(job.documentInfo.name)) {
            DropPrinterJob(job);
            return;
        }
    }
    job.ClearLine();
}

void PrintJobClose(PrintJob& job)
{
    if (job.open && job.printer && !job.fromScreen && job.text.length) PrintJobPrintLine(job);
    if (job.printer) {
        if (job.pageStarted && !job.printer->EndPage()) job.error |= 1;
        // A document that got no page is dropped rather than spooled empty.
        if (job.pageStarted && !job.error) job.printer->EndDoc();
        else job.printer->AbortDoc();
        ReleasePrinter(job);
    }
    job.pageStarted = 0;
    job.ClearLine();
    job.open = 0;
}

int PrintJobAddBytes(PrintJob& job, const uint8_t* bytes, int n) {
    if (!job.open) return 0;
    if (!job.toFile) return PrintJobAddCells(job, bytes, nullptr, n, 0, nullptr, nullptr);
    for (int i = 0; i < n && job.open; ++i) {
        char c = static_cast<char>(bytes[i]);
        if (c == kCr) continue;
        if (c == kLf) {
            CaptureWriteLine(job.text.length ? job.text.data : "");
            job.ClearLine();
            continue;
        }
        if (c == '\0') c = ' ';
        if (!job.text.Append(c)) {
            // Out of memory for a very long line: what was built goes out as a line of its own.
            CaptureWriteLine(job.text.length ? job.text.data : "");
            job.ClearLine();
            if (!job.text.Append(c)) return job.open;
        }
    }
    return job.open;
}

int LargestFittingFontHeight(int maxCols, int width, const std::function<int(int)>& averageWidth)
{
    auto fits = [&](int height) {
        const long long line = static_cast<long long>(averageWidth(height)) * maxCols;
        return line <= width;
    };
    if (!fits(1)) return 1;
    int low = 1, high = kLargestFontHeight;  // low fits; the answer lies in low..high
    if (fits(high)) return high;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if (fits(middle)) low = middle;
        else high = middle;
    }
    return low;
}

bool OpenDumpFile(const char* name)
{
    if (dumpFile) CloseDumpFile();
    dumpFile = name && name[0] ? std::fopen(name, "w+") : nullptr;
    if (!dumpFile) {
        ShowMessage(0, kMsgOk | kMsgIconExclamation, "The screen dump file %s could not be opened: %s",
                    name ? name : "", std::strerror(errno));
        return false;
    }
    return true;
}

bool WriteDumpLine(const char* text)
{
    if (!dumpFile) return false;
    if (std::fputs(text, dumpFile) == EOF || std::fputc('\n', dumpFile) == EOF || std::fflush(dumpFile) != 0) {
        const int reason = errno;
        std::fclose(dumpFile);
        dumpFile = nullptr;
        ShowMessage(0, kMsgOk | kMsgIconExclamation, "The screen dump file could not be written: %s. The dump has stopped.",
                    std::strerror(reason));
        return false;
    }
    return true;
}

bool CloseDumpFile()
{
    if (!dumpFile) return true;
    const int result = std::fclose(dumpFile);
    dumpFile = nullptr;
    if (result != 0) {
        ShowMessage(0, kMsgOk | kMsgIconExclamation, "The screen dump file could not be completed: %s",
                    std::strerror(errno));
        return false;
    }
    return true;
}

bool DumpFileOpen() { return dumpFile != nullptr; }
