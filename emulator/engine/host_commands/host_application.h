// What host commands ask of the application around the engine: the main frame's window styles and
// system commands, a busy wait, and the session document's strings and title.
//
// Like HostSystem, it is installed at run time: Tolvi installs its own (the main frame's helpers
// and the session document); until then, and in tests and tools, a quiet one does nothing.
#pragma once

#include <string>

class HostApplication {
public:
    virtual ~HostApplication() = default;

    // ---- The main frame.
    virtual int SetFullScreen(int on) { return 0; }
    virtual void ShowCaption(bool on) {}
    virtual void ShowSystemMenu(bool on) {}
    virtual void ShowMinMaxBoxes(bool on) {}
    virtual void ShowFrameControlBar(bool show, int barId) {}
    virtual void ToggleMenuBar() {}
    virtual void SendFrameSysCommand(unsigned command) {}
    // Busy wait on the calling thread.
    virtual void DelayMs(unsigned milliseconds) {}

    // ---- The session document.
    // A setting string the document holds ("MouseClick", "TraceFile", "Printer1" ...); empty
    // without a document.
    virtual std::string GetDocumentString(const char* member) { return std::string(); }
    virtual void SetDocumentString(const char* member, const std::string& value) {}
    // The name of terminal printer 1-3 that host printing prints to; empty for any other number.
    virtual std::string GetPrinterName(int printer)
    {
        static const char* const members[] = {"Printer1", "Printer2", "Printer3"};
        return printer >= 1 && printer <= 3 ? GetDocumentString(members[printer - 1]) : std::string();
    }
    // The document's title (the name of print jobs).
    virtual std::string GetDocumentTitle() { return std::string(); }
    // The document sets the main window's title again (after TitleText changed).
    virtual void RefreshDocumentTitle() {}
};

// The installed application (a quiet one until a program installs its own; not owned).
HostApplication& Application();
void SetHostApplication(HostApplication* application);
