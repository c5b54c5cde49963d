#include "connections/print_job.h"

#include <cstdlib>

#include "connections/capture_file.h"

namespace {

PrinterJobs quietPrinters;
PrinterJobs* installedPrinters = nullptr;

constexpr char kCr = '\r';
constexpr char kLf = '\n';

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

int PrintJobAddBytes(PrintJob& job, const uint8_t* bytes, int n) {
    if (!job.open) return 0;
    if (!job.toFile) {
        JobPrinters().AddBytes(job, bytes, n);
        return job.open;
    }
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
