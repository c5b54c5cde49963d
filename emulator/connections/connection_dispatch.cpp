#include "connections/connection_dispatch.h"

#include <cstdlib>
#include <cstring>

#include "connections/autodial_store.h"
#include "connections/connection_view.h"
#include "connections/emulation_hooks.h"
#include "engine/screen_actions.h"
#include "connections/session_services.h"
#include "connections/transport.h"
#include "connections/variable_expander.h"
#include "engine/screen_planes.h"
#include "engine/vt/vt_interpreter.h"
#include "session/host_address.h"
#include "session/session_record.h"

namespace {

constexpr int kUserHungUp = 1;
constexpr int kHostHungUp = 2;

// The pending paste: a heap copy and how much of it the transport has accepted.
uint8_t* pasteText = nullptr;
int pasteLength = 0;
int pasteAccepted = 0;

ViewWindow WindowOr(ViewWindow window) { return window ? window : ConnView().Window(); }

Transport* Current() { return TransportFor(Rec->ComType); }

// Telnet in tn3270 mode has no ring-based receive, pending or flush operations.
bool Telnet3270() { return Rec->ComType == kTelnet && Rec->TerminalFamily3270; }

// After a successful connect or reconnect: matchers back to the start, automatic log-on armed.
void StartSession() {
    Services().ResetPromptMatch();
    if (Rec->AutoLogin && !Rec->TerminalFamily3270) {
        Services().ArmAutoLogin();
        // Without an enable text nothing could ever end the blank screen.
        Rec->ScreenFrozen = Rec->BlankAutoLogin && Rec->EnableDisplay[0] != '\0';
        ConnView().RefreshTitle();
    }
    Services().ResetReceivedCount();
}

}  // namespace

int OpenConnection(ViewWindow window) {
    window = WindowOr(window);
    Transport* transport = Current();
    if (!transport) return 0;
    // A connection that ended inside an escape sequence or a string leaves its half-parsed state
    // behind: the new host's first bytes start from a clean parser (the screen stays).
    ResetParserState(*Rec);
    Rec->Connecting = 1;
    ConnView().RefreshTitle();
    int result = 0;
    switch (Rec->ComType) {
    case kSerial:
        result = transport->Open(window);
        if (!result) Rec->Connecting = 0;
        break;
    case kNetbios:
        result = transport->Open(window);
        Rec->Connecting = 0;
        break;
    case kTelnet: {
        AutodialSuppressor autodial(Rec->TcpipAutodial == 2 ? InstalledAutodialStore() : nullptr);
        result = transport->Open(window);
        if (!result) {
            Rec->Connecting = 0;
            Rec->HangupReason = 0;
            if (Rec->ExitPending) ConnView().PostCloseMainWindow();
        }
        break;
    }
    }
    ConnView().RefreshTitle();
    return result;
}

int CloseConnection(ViewWindow window) {
    window = WindowOr(window);
    if (Rec->Recording) Services().RecordExitAndClose();
    if (Services().HostPrintingActive()) Services().EndPrint();
    if (Rec->HangupReason == 0) Rec->HangupReason = kHostHungUp;
    Services().DisarmAutoLogin();
    Rec->ScreenFrozen = 0;
    DropPendingPaste();
    Transport* transport = Current();
    if (!transport) return 0;
    int result = transport->Close(window);
    ConnView().RefreshTitle();
    if (transport->IsBusy()) return result;
    if (!Rec->Connecting) AfterDisconnect(window);
    return result;
}

void AfterDisconnect(ViewWindow window) {
    window = WindowOr(window);
    int reason = Rec->HangupReason;
    bool byHost = (reason & kHostHungUp) != 0;
    bool byUser = (reason & kUserHungUp) != 0;
    if ((byHost && Rec->HostHangupClearScreen) || (byUser && Rec->PCHangupClearScreen)) {
        DirtyRect dirty = kEmptyDirtyRect;
        ClearScreen(window, *Rec, dirty);
        ConnView().InvalidateScreen();
    }
    if ((byHost && Rec->WhenHostHungup == 1) || (byUser && Rec->WhenPCHungup == 1) ||
        Rec->ExitPending) {
        Rec->HangupReason = 0;
        ConnView().PostCloseMainWindow();
    } else if ((byHost && Rec->WhenHostHungup == 2) || (byUser && Rec->WhenPCHungup == 2)) {
        Rec->HangupReason = 0;
        if (OpenConnection(window)) StartSession();
        else Rec->Connecting = 0;
    }
    Rec->HangupReason = 0;
}

void DisconnectCommand(ViewWindow window) {
    Rec->HangupReason = kUserHungUp;
    CloseConnection(window);
}

void ConnectDisconnectCommand(ViewWindow window) {
    window = WindowOr(window);
    if (Rec->Connected) {
        DisconnectCommand(window);
        return;
    }
    if (Rec->Connecting) {
        ConnView().IdlePass();
        if (ConnView().ConfirmAbortConnect()) DisconnectCommand(window);
        else Rec->ExitPending = 0;
        return;
    }
    if (Rec->ComType != kSerial && (Rec->HostNameMissing || Rec->PromptForHost)) {
        char host[sizeof(Rec->HostName)];
        std::memcpy(host, Rec->HostName, sizeof(host));
        host[sizeof(host) - 1] = '\0';
        if (!ConnView().AskHostName(host, sizeof(host))) return;
        // "name:port" on Telnet: the name and the port go to their own settings, which then say
        // what the connection uses.
        std::string name = host;
        int port = 0;
        if (Rec->ComType == kTelnet && SplitHostPort(name, name, port)) Rec->TelnetPort = port;
        std::strncpy(Rec->HostName, name.c_str(), sizeof(Rec->HostName) - 1);
        Rec->HostName[sizeof(Rec->HostName) - 1] = '\0';
    }
    if (Rec->UnixEnvEnable) {
        char scratch[256];
        ExpandVariables(Rec->UnixEnv, scratch, sizeof(scratch));
    }
    Rec->Connecting = 1;
    ConnView().IdlePass();
    ResetTerminal(*Rec);
    if (OpenConnection(window)) {
        StartSession();
    } else {
        Rec->ScreenFrozen = 0;
        Rec->Connecting = 0;
    }
}

int SendToHost(ViewWindow window, const uint8_t* bytes, int n) {
    window = WindowOr(window);
    Transport* transport = Current();
    if (!transport) return -1;
    int accepted = transport->Send(window, bytes, n);
    // Echo what the transport took (a paste's rest is echoed when it is sent), and never the
    // bytes of a running file transfer. The live mode counts: a host may switch echo off (SRM).
    if (Rec->LocalEchoNow && !Rec->TerminalFamily3270 && !Rec->TransferActive && accepted > 0)
        FeedEmulation(window, bytes, accepted);
    return accepted;
}

int ReceiveFromHost(ViewWindow window, uint8_t* buffer, int n) {
    Transport* transport = Current();
    if (!transport || Telnet3270()) return 0;
    return transport->Receive(WindowOr(window), buffer, n);
}

int PendingInput(ViewWindow window) {
    Transport* transport = Current();
    if (!transport || Telnet3270()) return 0;
    return transport->PendingInput(WindowOr(window));
}

int PendingOutput(ViewWindow window) {
    Transport* transport = Current();
    if (!transport || Telnet3270()) return 0;
    return transport->PendingOutput(WindowOr(window));
}

int FlushConnection(int which) {
    Transport* transport = Current();
    if (!transport || Telnet3270()) return 0;
    transport->Flush(which);
    return 0;
}

int SendBreak(ViewWindow window) {
    Transport* transport = Current();
    return transport ? transport->Break(WindowOr(window)) : 0;
}

int ClearBreak() {
    Transport* transport = Current();
    return transport ? transport->ClearBreak() : 0;
}

int ApplyLineSettings(ViewWindow window) {
    Transport* transport = Current();
    return transport ? transport->ApplyLineSettings(WindowOr(window)) : 0;
}

void RearmReceive(ViewWindow window) {
    Transport* transport = Current();
    if (transport && Rec->Connected) transport->Rearm(WindowOr(window));
}

void ResumeReceive(ViewWindow window) {
    Transport* transport = Current();
    if (transport && Rec->Connected) transport->Resume(WindowOr(window));
}

int IsTransportBusy() {
    Transport* transport = Current();
    return transport ? transport->IsBusy() : 0;
}

int ShutdownTransport() {
    Transport* transport = TransportFor(kTelnet);
    return transport ? transport->Shutdown() : 1;
}

// ---- Paste.

bool PastePending() { return pasteText != nullptr; }

void DropPendingPaste() {
    std::free(pasteText);
    pasteText = nullptr;
    pasteLength = pasteAccepted = 0;
}

bool BeginPaste(ViewWindow window, const uint8_t* text, int n) {
    if (pasteText || n <= 0) return false;
    pasteText = static_cast<uint8_t*>(std::malloc(static_cast<std::size_t>(n)));
    if (!pasteText) return false;
    std::memcpy(pasteText, text, static_cast<std::size_t>(n));
    pasteLength = n;
    pasteAccepted = 0;
    int accepted = SendToHost(window, pasteText, pasteLength);
    if (accepted <= 0) {
        DropPendingPaste();
        return true;
    }
    pasteAccepted = accepted;
    if (pasteAccepted >= pasteLength) DropPendingPaste();
    else if (Transport* transport = Current()) transport->PasteQueued(WindowOr(window));
    return true;
}

void SendPasteChunk(ViewWindow window) {
    if (!pasteText) return;
    if (Rec->TxBlockDelay) ConnView().DelayMs(Rec->TxBlockDelay);
    int accepted = SendToHost(window, pasteText + pasteAccepted, pasteLength - pasteAccepted);
    if (accepted < 0) {
        DropPendingPaste();
        return;
    }
    pasteAccepted += accepted;
    if (pasteAccepted >= pasteLength) DropPendingPaste();
}

void PumpPaste(ViewWindow window) {
    while (pasteText && PendingOutput(window) == 0) {
        int before = pasteAccepted;
        SendPasteChunk(window);
        if (pasteText && pasteAccepted == before) break;
    }
}

// ---- Receive side.

int FeedEmulation(ViewWindow window, const uint8_t* bytes, int n) {
    if (n <= 0) return 1;
    if (Rec->CaptureRunning) Services().CaptureBlock(bytes, n);
    // The interpreters share the parser state of the record: after a change of emulation nothing
    // half-parsed by the previous one may carry over.
    const EmulationFamily family = FamilyOfEmulation(Rec->Terminal);
    if (Rec->ParserFamily != static_cast<int>(family) + 1) {
        ResetParserState(*Rec);
        Rec->ParserFamily = static_cast<int>(family) + 1;
    }
    if (EmulationInterpreter interpreter = InterpreterOf(family))
        interpreter(WindowOr(window), bytes, n, *Rec);
    Services().HotScreenEvaluate();
    return 1;
}

int RunReceiveConsumers(ViewWindow window, ReceiveSource source, const uint8_t* bytes, int n) {
    window = WindowOr(window);
    if (Rec->Recording) Services().RecordComm(bytes, n);
    if (source == ReceiveSource::Serial && Rec->Connecting) {
        Services().DialReplyMatch(window, bytes, n);
        return n;
    }
    int start = 0;
    auto claim = [&](int claimed) {
        if (claimed > 0) start += claimed < n - start ? claimed : n - start;
    };
    if (source == ReceiveSource::Netbios && Rec->UnixEnvEnable)
        claim(Services().UnixEnvAnswer(window, bytes, n));
    if (Services().AutoLoginArmed())
        claim(Services().AutoLoginFeed(window, bytes + start, n - start));
    if (Rec->ScreenFrozen && Services().DisplayEnableMatch(bytes + start, n - start)) {
        Rec->ScreenFrozen = 0;
        ConnView().InvalidateScreen();
    }
    Services().DdeTap(bytes + start, n - start);
    return n - start;
}
