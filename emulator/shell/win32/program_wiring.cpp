// The program's wiring: every service and hook that Tolvi.exe installs into the window-free
// layers, in one place. The terminal view calls it once its window exists.
#include "shell/win32/program_wiring.h"

#include "engine/screen_planes.h"
#include "shell/view_selection.h"

#include <memory>
#include <string>

#include "connections/automation_services.h"
#include "connections/connection_dispatch.h"
#include "connections/dde/dde_recorder.h"
#include "connections/dde/dde_commands.h"
#include "connections/session_replay.h"
#include "connections/session_services.h"
#include "connections/session_trace.h"
#include "connections/telnet_rings.h"
#include "connections/transfer_libraries.h"
#include "connections/vt_hookup.h"
#include "connections/win32/netbios_platform.h"
#include "connections/win32/serial_transport.h"
#include "connections/win32/transfer_bindings.h"
#include "connections/win32/win32_transfer_host.h"
#include "connections/win32/winsock_transport.h"
#include "engine/host_commands/host_commands.h"
#include "engine/view_port.h"
#include "engine/win32/win32_3270_hooks.h"
#include "engine/win32/win32_bell.h"
#include "engine/win32/win32_host_commands.h"
#include "engine/win32/win32_view_port.h"
#include "session/session_record.h"
#include "shell/document_services.h"
#include "shell/dyn_buttons.h"
#include "shell/hot_screen.h"
#include "shell/session_document.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/job_printer.h"
#include "shell/win32/view_automation.h"
#include "shell/win32/zolex_view.h"
#include "fw_dialog.h"
#include "win32_host_messages.h"

namespace {

// The engine's dirty rectangles count from the grid's corner; the view adds the margins.
class TerminalViewPort : public Win32ViewPort {
public:
    using Win32ViewPort::Win32ViewPort;
    void Invalidate(ViewWindow window, const DirtyRect& rect, bool erase) override
    {
        DirtyRect moved = rect;
        moved.left += Rec->LeftMargin;
        moved.right += Rec->LeftMargin;
        moved.top += Rec->TopMargin;
        moved.bottom += Rec->TopMargin;
        Win32ViewPort::Invalidate(window, moved, erase);
    }
};
TerminalViewPort terminalPort;

// The session services of the connection layer: automatic log-on, wait-for and capture, the
// HotScreen rules, plus the comm recording of the blocks sent and received.
class RecordingServices : public AutomationServices {
public:
    void HotScreenEvaluate() override { ::HotScreenEvaluate(); }
    void HotScreenLoad(const char* file) override { ::HotScreenLoad(file); }
    void HotScreenReload(const char* file) override { ::HotScreenReload(file); }
    void HotScreenFree() override { ::HotScreenFree(); }
    void RecordComm(const uint8_t* bytes, int n) override { TraceData(bytes, n, false); }
    void RecordSend(const uint8_t* bytes, int n) override { TraceData(bytes, n, true); }
    void RecordExitAndClose() override
    {
        TraceExit();
        CloseTraceFile();
    }
};
RecordingServices recordingServices;

// What the HotScreen rules reach: the terminal view, its emulation, DDE pokes, message boxes and
// the window title.
class ViewHotScreenHost : public HotScreenHost {
public:
    void Attach(CZolexView* view, CZolexDoc* doc)
    {
        view_ = view;
        doc_ = doc;
    }
    ViewWindow TerminalView() override { return view_ ? view_->Window() : nullptr; }
    void FeedEmulation(ViewWindow window, const uint8_t* bytes, int n) override { ::FeedEmulation(window, bytes, n); }
    void DdePoke(const char* service, const char* topic, const char* item, const char* data, int size) override
    {
        DdePokeTo(service, topic, item, data, size);
    }
    void MessageBox(ViewWindow, const std::string& text, const char* caption) override
    {
        // No caption given: the system's own.
        FwMessageBox(view_ ? view_->Handle() : nullptr, text, MB_OK, caption ? caption : "Error");
    }
    void RefreshTitle() override
    {
        if (doc_) doc_->SetTitle(nullptr);
    }

private:
    CZolexView* view_ = nullptr;
    CZolexDoc* doc_ = nullptr;
};
ViewHotScreenHost hotScreenHost;

// "tohostx" of the DDE server: the text runs as the action string of a key without a code.
int RunDdeAction(const char* text)
{
    CZolexView* view = CZolexView::Active();
    return view ? view->RunActionString(text) : 0;
}

std::unique_ptr<Win32TransferHost> transferHost;
Win32HostMessages hostMessages;

}  // namespace

void WireProgram(CZolexView& view, CZolexDoc* doc)
{
    AllocTelnetRings();
    InstallSerialTransport();
    InstallWin32NetbiosTransport();
    InstallWinsockTransport();
    terminalPort.SetFrame(GetParent(view.Handle()));
    SetViewPort(&terminalPort);
    SetConnectionView(&view);
    SetPlaybackHost(&view);
    SetSessionServices(&recordingServices);
    hotScreenHost.Attach(&view, doc);
    SetHotScreenHost(&hotScreenHost);
    SetButtonView(&view);
    InstallViewAutomation(doc, &view);
    // A change of the planes' geometry makes the selection stale.
    PlaneHooks.clearSelection = ForgetSelection;
    InstallVtInterpreter();
    Install3270ViewHooksWin32();
    InstallTerminalBellWin32();
    InstallJobPrinterWin32();
    InstallSessionServiceHooks();
    InstallHostCommandHooks();
    InstallWin32HostCommands(GetParent(view.Handle()), view.Handle());
    SetDdeActionRunner(RunDdeAction);
    hostMessages.Install(GetParent(view.Handle()), [](const std::string& text) {
        SetStatusPane(text.c_str(), 0, 0, 0);
    });
    transferHost = std::make_unique<Win32TransferHost>(GetParent(view.Handle()), [doc] {
        return doc ? doc->strings.AxDirectory : std::string();
    });
    SetTransferHost(transferHost.get());
    SetWin32TransferHost(transferHost.get());
    InstallTransferLibraries(&BoundTransferLibraries());
}

void UnwireProgram(CZolexView& view)
{
    SetViewPort(nullptr);
    SetConnectionView(nullptr);
    SetPlaybackHost(nullptr);
    // The rules go with the view that owns their buttons.
    Services().HotScreenFree();
    SetHotScreenHost(nullptr);
    hotScreenHost.Attach(nullptr, nullptr);
    SetSessionServices(nullptr);
    if (ActiveButtonView() == &view) SetButtonView(nullptr);
    RemoveViewAutomation();
    SetDdeActionRunner(nullptr);
    hostMessages.Remove();
    SetTransferHost(nullptr);
    SetWin32TransferHost(nullptr);
    transferHost.reset();
}
