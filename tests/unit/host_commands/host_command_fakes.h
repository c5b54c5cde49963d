// Recording stand-ins for everything host commands, multimedia and host printing call outside
// the engine: screen buttons, playback, file commands, the trace and HotScreen, the system
// (programs, windows, timers, multimedia), the printer devices, the status bar and the host
// connection. Every call lands in one log, in
// order, as a short text ("ShowCaption 0", "WinExec 3 notepad", "escape 19 [5]hello").
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "connections/transport.h"
#include "engine/host_commands/host_application.h"
#include "engine/host_commands/host_system.h"
#include "engine/host_commands/print_device.h"
#include "engine/view_port.h"
#include "fake_platform.h"

std::vector<std::string>& HostLog();
void LogHost(const std::string& entry);

// What the stand-ins of the outside calls answer.
struct OutsideAnswers {
    std::map<std::string, std::string> documentStrings;
    std::string documentTitle = "session";
    std::vector<std::string> buttonNames;           // DynButtonMap, in map order
    std::map<std::string, int> buttonHotspotFlags;  // missing: 0
    int openPlayFileResult = 1;
    int aclResult = 0;
};
OutsideAnswers& Answers();

// The main frame and the session document, logging what is asked of them.
class FakeHostApplication : public HostApplication {
public:
    int SetFullScreen(int on) override;
    void ShowCaption(bool on) override;
    void ShowSystemMenu(bool on) override;
    void ShowMinMaxBoxes(bool on) override;
    void ShowFrameControlBar(bool show, int barId) override;
    void ToggleMenuBar() override;
    void SendFrameSysCommand(unsigned command) override;
    void DelayMs(unsigned milliseconds) override;
    std::string GetDocumentString(const char* member) override;
    void SetDocumentString(const char* member, const std::string& value) override;
    std::string GetDocumentTitle() override;
    void RefreshDocumentTitle() override;
};

class FakeHostSystem : public HostSystem {
public:
    int WinExec(const char* commandLine, int showMode) override;
    int ShellExecute(ViewWindow window, const char* verb, const char* file, const char* parameters,
                     const char* directory, int showMode) override;
    uint32_t WindowsVersion() override { return version; }
    void ShowMainWindow(int showMode) override;
    bool HasView() override { return hasView; }
    bool SetViewTimer(int id, int milliseconds) override;
    void KillViewTimer(int id) override;
    int MciSend(const char* command, char* reply, int replySize) override;
    bool MciErrorText(int code, char* text, int size) override;

    int winExecResult = 33;
    int shellExecuteResult = 42;
    uint32_t version = 0;
    bool hasView = true;
    bool timersAvailable = true;
    // The multimedia interface's answers, taken in order (the last one repeats): error and reply.
    struct MciAnswer {
        int error;
        std::string reply;
    };
    std::vector<MciAnswer> mciAnswers{{0, ""}};
    std::size_t mciCalls = 0;
    std::map<int, std::string> mciErrorTexts;
};

class FakePrintDevice : public PrintDevice {
public:
    std::string DefaultPrinter() override { return defaultPrinter; }
    bool OpenPrinter(const std::string& name) override;
    bool StartRawDocument(const std::string& documentName) override;
    bool StartRawPage() override;
    int WritePrinter(const uint8_t* bytes, int length) override;
    bool EndRawPage() override;
    bool EndRawDocument() override;
    void ClosePrinter() override;
    bool CreateContext(const std::string& driver, const std::string& device, const std::string& port) override;
    bool HasContext() override { return context; }
    bool SupportsEscape(int escape) override;
    int Escape(int escape, const void* data, int length) override;
    bool StartContextDocument(const std::string& documentName) override;
    void DeleteContext() override;
    bool PassthroughNtPlatform() override { return ntPlatform; }
    bool OldPlatform() override { return oldPlatform; }

    std::string defaultPrinter;
    bool openResult = true;
    bool documentResult = true;
    bool pageResult = true;
    bool endPageResult = true;
    bool createResult = true;
    bool passthrough = true;
    bool epsPrinting = false;
    bool ntPlatform = false;
    bool oldPlatform = false;
    bool context = false;
    bool printerOpen = false;
    std::string printed;  // WritePrinter and pass-through data, joined
};

// Records the status panes.
class PaneView : public ViewPort {
public:
    void SetStatusPane(const char* text, int pane, uint32_t textColor, uint32_t backColor) override;
};

// Takes what is sent to the host (Telnet).
class HostTransport : public Transport {
public:
    int Open(ViewWindow) override { return 1; }
    int Close(ViewWindow) override { return 1; }
    int Send(ViewWindow, const uint8_t* bytes, int n) override;
    std::string sent;
};

// Installs the fakes on a zeroed record (Telnet connection, identity translate tables) and takes
// them away again.
class HostFakes {
public:
    HostFakes();
    ~HostFakes();
    HostFakes(const HostFakes&) = delete;
    HostFakes& operator=(const HostFakes&) = delete;

    FakePlatform platform;
    FakeHostSystem system;
    FakeHostApplication application;
    FakePrintDevice printers;
    PaneView view;
    HostTransport host;
};
