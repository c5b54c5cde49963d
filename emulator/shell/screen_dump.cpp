#include "shell/screen_dump.h"

#include <cstring>
#include <string>

#include "session/messages.h"
#include "session/session_record.h"
#include "shell/view_selection.h"

namespace {

bool printScreenRunning = false;
int waitingHostRequests = 0;

bool KeepOpenForAppend(const PrintJob& job)
{
    if (!Rec->ScreenDumpAppend) return false;
    return job.toFile || job.currentLine + Rec->MaxRows < job.linesPerPage;
}

// A file job asks for its file; true when the file opened (the job is then open).
bool OpenDumpFileJob(ViewWindow window, PrintJob& job)
{
    std::string path;
    if (!JobPrinters().AskDumpFile(window, job.fileName[0] ? job.fileName : "Tolvi", path)) return false;
    if (path.size() >= sizeof job.fileName) {
        ShowMessage(0, kMsgOk | kMsgIconExclamation, "The file name is too long (at most %d characters): %s",
                    static_cast<int>(sizeof job.fileName) - 1, path.c_str());
        return false;
    }
    std::memcpy(job.fileName, path.c_str(), path.size() + 1);
    if (!OpenDumpFile(job.fileName)) return false;
    job.open = 1;
    return true;
}

void RunPrintScreen(ViewWindow window, bool hostAsked)
{
    PrintJob& job = ScreenDumpJob();
    if (job.open) {
        std::string question = "Append screendump to: ";
        question += job.toFile ? std::string(job.fileName)
                               : std::string(job.printerName) + " at " + job.printerPort;
        if (Prompts().Ask(0, question, kMsgYesNo | kMsgIconQuestion) != kAnswerYes) FlushScreenDump();
    }
    if (!job.open) {
        job.fromScreen = 1;
        PrintJobOpen(window, job, hostAsked, !Selection.IsEmpty());
        if (job.toFile && !OpenDumpFileJob(window, job)) return;
    }
    if (!job.open) return;
    DumpScreen(job);
    if (job.open && !KeepOpenForAppend(job)) FlushScreenDump();
}

}  // namespace

PrintJob& ScreenDumpJob()
{
    static PrintJob job;
    return job;
}

void PrintScreen(ViewWindow window, bool hostAsked)
{
    if (printScreenRunning) {
        if (hostAsked) ++waitingHostRequests;
        return;
    }
    printScreenRunning = true;
    RunPrintScreen(window, hostAsked);
    while (waitingHostRequests > 0) {
        --waitingHostRequests;
        RunPrintScreen(window, true);
    }
    printScreenRunning = false;
}

int FlushScreenDump()
{
    PrintJob& job = ScreenDumpJob();
    const int wasOpen = job.open;
    if (job.toFile) {
        CloseDumpFile();
        job.ClearLine();
        job.open = 0;
    } else {
        PrintJobClose(job);
    }
    return wasOpen;
}

void DumpScreen(PrintJob& job)
{
    if (!Rec->CharsScreen || !Rec->FlagsScreen || !Rec->FgScreen || !Rec->BgScreen) return;
    CellRect rect{0, 0, Rec->MaxCols, Rec->MaxRows};
    if (job.selectionOnly && !Selection.IsEmpty()) rect = ClampToPlanes(*Rec, Selection);
    const int width = rect.right - rect.left;
    if (width <= 0) return;
    for (int row = rect.top; row < rect.bottom && job.open; ++row) {
        // Negative rows reach into the history above the screen.
        const int offset = row * Rec->MaxCols + rect.left;
        PrintJobAddCells(job, Rec->CharsScreen + offset, Rec->FlagsScreen + offset, width, offset,
                         Rec->FgScreen + offset, Rec->BgScreen + offset);
    }
}
