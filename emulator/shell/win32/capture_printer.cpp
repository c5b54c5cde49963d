#include "shell/win32/capture_printer.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "engine/win32/win32_view_port.h"
#include "fw_file_dialog.h"
#include "fw_print_dialog.h"

namespace {

HDC Dc(const PrintJob& job) { return static_cast<HDC>(job.deviceContext); }

// Starts a page when none is open; false when the printer refused.
bool EnsurePage(PrintJob& job)
{
    if (job.pageStarted) return true;
    if (StartPage(Dc(job)) <= 0) return false;
    job.pageStarted = 1;
    job.currentLine = 0;
    // Some drivers reset the context's objects at each page.
    SelectObject(Dc(job), static_cast<HFONT>(job.font));
    SetBkMode(Dc(job), TRANSPARENT);
    return true;
}

bool EndCurrentPage(PrintJob& job)
{
    if (!job.pageStarted) return true;
    job.pageStarted = 0;
    return EndPage(Dc(job)) > 0;
}

// Prints the line being built and starts the next one; a full page goes out.
void PrintLine(PrintJob& job)
{
    if (job.error) return;
    if (!EnsurePage(job)) {
        job.error = 1;
        return;
    }
    if (job.text.length > 0)
        TextOutA(Dc(job), 0, job.currentLine * job.lineHeight * job.verticalFactor, job.text.data, job.text.length);
    job.ClearLine();
    if (++job.currentLine >= job.linesPerPage && !EndCurrentPage(job)) job.error = 1;
}

}  // namespace

void Win32CapturePrinter::Start(ViewWindow window, PrintJob& job)
{
    job.open = 0;
    job.error = 0;
    FwPrintDialog dialog;
    if (!dialog.DoModal(ViewHandle(window))) return;
    if (dialog.printToFile) {
        job.toFile = 1;
        return;
    }
    HDC dc = dialog.dc;
    std::strncpy(job.documentInfo.name, "Tolvi capture", sizeof job.documentInfo.name - 1);
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = job.documentInfo.name;
    info.lpszOutput = job.documentInfo.output;
    if (StartDocA(dc, &info) <= 0) {
        DeleteDC(dc);
        return;
    }
    job.deviceContext = dc;
    const int height = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    job.font = font;
    job.previousFont = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    job.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    job.charWidth = metrics.tmAveCharWidth;
    if (job.lineHeight <= 0) job.lineHeight = 1;
    job.linesPerPage = GetDeviceCaps(dc, VERTRES) / job.lineHeight;
    if (job.linesPerPage <= 0) job.linesPerPage = 1;
    job.verticalFactor = 1;
    job.currentLine = 0;
    job.pageStarted = 0;
    job.ClearLine();
    job.open = 1;
}

void Win32CapturePrinter::AddBytes(PrintJob& job, const uint8_t* bytes, int n)
{
    for (int i = 0; i < n && !job.error; ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r') continue;
        if (c == '\n') PrintLine(job);
        else if (c == '\f') {
            if (job.text.length) PrintLine(job);
            if (!EndCurrentPage(job)) job.error = 1;
        } else if (!job.text.Append(c)) {
            job.error = 1;
        }
    }
    // A printer that fails ends the capture.
    if (job.error) End(job);
}

void Win32CapturePrinter::End(PrintJob& job)
{
    HDC dc = Dc(job);
    if (dc) {
        if (!job.error && job.text.length) PrintLine(job);
        EndCurrentPage(job);
        if (job.error) AbortDoc(dc);
        else EndDoc(dc);
        if (job.previousFont) SelectObject(dc, static_cast<HGDIOBJ>(job.previousFont));
        DeleteDC(dc);
    }
    if (job.font) DeleteObject(static_cast<HFONT>(job.font));
    job.font = nullptr;
    job.previousFont = nullptr;
    job.deviceContext = nullptr;
    job.pageStarted = 0;
    job.ClearLine();
    job.open = 0;
}

bool Win32CapturePrinter::AskCaptureFile(ViewWindow window, const char* initial, char* path, std::size_t size)
{
    FwFileDialog dialog;
    dialog.open = false;
    dialog.fileName = initial;
    dialog.filter = "Capture Text files (*.cap)|*.cap|Text files (*.txt; *.text)|*.txt;*.text|Other files (*.*)|*.*||";
    dialog.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!dialog.DoModal(ViewHandle(window))) return false;
    std::string chosen = dialog.fileName;
    // The default extension "cap" for a name without one.
    const std::size_t slash = chosen.find_last_of("\\/:");
    if (chosen.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) chosen += ".cap";
    if (chosen.size() + 1 > size) return false;
    std::memcpy(path, chosen.c_str(), chosen.size() + 1);
    return true;
}

void InstallCapturePrinterWin32()
{
    static Win32CapturePrinter printer;
    SetPrinterJobs(&printer);
}
