#include "connections/capture_file.h"

#include <cstdio>
#include <cstring>

#include "connections/automation_view.h"
#include "host_messages.h"
#include "host_platform.h"
#include "session/session_record.h"

namespace {

std::FILE* captureStream = nullptr;

const char* const kWriteFailed =
    "The capture file could not be written. Capturing has stopped.";
const char* const kCloseFailed =
    "The capture file could not be completed. Its end may be missing.";

}  // namespace

PrintJob& CaptureJob() {
    static PrintJob job;
    return job;
}

int OpenCaptureFile(ViewWindow window, const char* name) {
    if (captureStream) CloseCapture();
    PrintJob& job = CaptureJob();
    captureStream = name && name[0] ? std::fopen(name, "w+") : nullptr;
    if (captureStream) {
        job.ClearLine();
        job.open = 1;
        Rec->CaptureRunning = 1;
    }
    return Rec->CaptureRunning;
}

int CloseCapture() {
    PrintJob& job = CaptureJob();
    job.open = 0;
    Rec->CaptureRunning = 0;
    if (!captureStream) return 0;
    bool failed = false;
    if (job.text.length &&
        std::fwrite(job.text.data, 1, static_cast<std::size_t>(job.text.length), captureStream) !=
            static_cast<std::size_t>(job.text.length))
        failed = true;
    job.ClearLine();
    int result = std::fclose(captureStream);
    captureStream = nullptr;
    if (failed && result == 0) result = EOF;
    if (result != 0) Platform().ShowMessage(0, kCloseFailed);
    return result;
}

int CaptureWriteLine(const char* text) {
    if (!captureStream) return Rec->CaptureRunning;
    if (std::fputs(text, captureStream) == EOF || std::fputc('\n', captureStream) == EOF) {
        // What is buffered cannot be trusted either; the file is closed without another message.
        std::fclose(captureStream);
        captureStream = nullptr;
        CaptureJob().ClearLine();
        CaptureJob().open = 0;
        Rec->CaptureRunning = 0;
        // Received data caused it: shown after the block, not inside the receive path.
        if (!PostHostMessage(0, 0, kWriteFailed)) Platform().ShowMessage(0, kWriteFailed);
    }
    return Rec->CaptureRunning;
}

int CaptureFeed(const uint8_t* bytes, int n) {
    PrintJob& job = CaptureJob();
    PrintJobAddBytes(job, bytes, n);
    Rec->CaptureRunning = job.open;
    return Rec->CaptureRunning;
}

void CaptureToFileCommand(ViewWindow window) {
    PrintJob& job = CaptureJob();
    job.fromScreen = 0;
    if (Rec->CaptureRunning) {
        if (Rec->CaptureToFile || job.toFile) {
            CloseCapture();
        } else {
            PrintJobClose(job);
            Rec->CaptureRunning = 0;
        }
        return;
    }
    if (Rec->CaptureToFile) {
        OpenCaptureFile(window, AutoView().DocumentString("CaptureFile"));
        job.toFile = 1;
        return;
    }
    PrintJobOpen(window, job, false, false);
    Rec->CaptureRunning = job.open;
    if (!job.toFile) return;
    char path[sizeof(job.fileName)];
    if (!JobPrinters().AskCaptureFile(window, job.fileName[0] ? job.fileName : "Tolvi", path, sizeof(path)))
        return;
    path[sizeof(path) - 1] = '\0';
    std::memcpy(job.fileName, path, sizeof(path));
    OpenCaptureFile(window, job.fileName);
}
