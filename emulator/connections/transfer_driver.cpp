// The transfer driver; see transfer_driver.h. The step results and what they mean live in
// transfer_steps.*, the progress texts in transfer_progress.*.
#include "connections/transfer_driver.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/transfer_host.h"
#include "connections/transfer_libraries.h"
#include "connections/transfer_progress.h"
#include "connections/transfer_steps.h"
#include "session/session_record.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNetbiosComType = 1;
constexpr int kBufferSize = 0x3000;
constexpr int kMaxVirtualIndex = 9;
constexpr int kPortNameSize = 260;
constexpr int kKermitShortPacket = 94;
constexpr int kKermitBlockUsed = 66;
constexpr int kKermitPacketLengthAt = 25;
constexpr int kKermitLongPacketAt = 43;

constexpr uint8_t kKermitFinishPacket[] = {0x01, '$', ' ', 'G', 'F', '4', 0x0D};
constexpr uint8_t kKermitAbortPacket[] = {0x01, '+', '!', 'A', 'b', 'o', 'r', 't', 'i', 'n', 'g', '*', 0x0D};

// Library-specific codes of a receive file that cannot be opened.
constexpr int kKermitReceiveOpen = 105;
constexpr int kZmodemReceiveOpen = 100;
constexpr int kXYReceiveOpen = 12;

TransferState state;

TransferLibraries& Libs() { return *InstalledTransferLibraries(); }

// The port callbacks are plain functions; the table is filled once.
const TransferPortCallbacks kCallbacks = {TransferPortRead,    TransferPortWrite,   TransferPortInCount,
                                          TransferPortOutCount, TransferPortFlushIn, TransferPortFlushOut};

TransferStepArgs StepArgs(int operation)
{
    TransferStepArgs a;
    a.protocol = Rec->AProtocol;
    a.receiveFile = state.receiveFile;
    a.remoteFile = state.remoteFile;
    a.sendFiles = state.sendFiles;
    a.get = operation == kTransferGet;
    a.debugLog = state.debugLog;
    int flags = 0x800;
    if (state.debugLog) flags |= 0x40;
    if (Rec->EscCtl) flags |= 0x01;
    if (Rec->NoCrc32) flags |= 0x04;
    if (Rec->Unlink) flags |= 0x08;
    a.zmodem = ZmodemSendOptions{Rec->Manag, Rec->Conv + 7, Rec->FnManag ? Rec->FnManag + 11 : 0, flags,
                                 Rec->Splen, Rec->Acklen, Rec->Wsize, Rec->ZTimeout};
    return a;
}

std::string Title(int operation)
{
    std::string title = ProtocolName(Rec->AProtocol);
    switch (operation) {
    case kTransferSend: title += " Send"; break;
    case kTransferReceive: title += " Receive"; break;
    case kTransferGet: title += " Get"; break;
    case kTransferFinishServer: title += " Stopping Server"; break;
    default: break;
    }
    if (operation != kTransferFinishServer) title += " starting. (ESC to Abort)";
    return title;
}

bool KnownOperation(int operation)
{
    return operation == kTransferReceive || operation == kTransferSend || operation == kTransferGet ||
           operation == kTransferFinishServer;
}

// A failure before the loop: the transfer did not start.
void NotStarted() { state.lastError = -1; }

bool OpenPort()
{
    if (!state.portOpen) {
        for (int index = 1; index <= kMaxVirtualIndex && state.port == -1; ++index)
            state.port = Libs().OpenVirtualPort(index, kBufferSize, kBufferSize);
        XferHost().DelayMs(1);
        if (state.port >= 0) Libs().SetPortCallbacks(state.port, kCallbacks);
        if (state.port >= 0) {
            if (Rec->AProtocol == kKermit) Libs().KermitDebugFile(state.port, state.debugLog ? "kermit.log" : "");
            else if (IsXYModem(Rec->AProtocol)) Libs().XYDebugFile(state.port, state.debugLog ? "xymodem.log" : "");
        }
    }
    if (state.port < 0) {
        char text[64];
        std::snprintf(text, sizeof text, "Com Open failed, error %d", state.port);
        XferHost().ShowMessage(0, text, false);
        state.port = -1;
        return false;
    }
    state.portOpen = true;
    return true;
}

int SetParameters(int port)
{
    if (Rec->AProtocol == kKermit) {
        uint8_t block[kKermitBlockSize] = {};
        Libs().KermitGetParms(port, block);
        static_assert(sizeof(Rec->KermitSpare) >= sizeof(kKermitFinishPacket) + 1, "finish packet room");
        std::memcpy(Rec->KermitSpare, kKermitFinishPacket, sizeof(kKermitFinishPacket));
        Rec->KermitSpare[sizeof(kKermitFinishPacket)] = 0;
        std::memcpy(block, &Rec->KermitParms, sizeof(Rec->KermitParms));
        std::memcpy(block + sizeof(Rec->KermitParms), Rec->KermitSpare, kKermitBlockUsed - sizeof(Rec->KermitParms));
        const int32_t length = Rec->KermitParms.PacketLength;
        const int32_t shortLength = length < kKermitShortPacket ? length : kKermitShortPacket;
        const int32_t longLength = length > kKermitShortPacket ? length : 0;
        std::memcpy(block + kKermitPacketLengthAt, &shortLength, sizeof shortLength);
        std::memcpy(block + kKermitLongPacketAt, &longLength, sizeof longLength);
        return Libs().KermitSetParms(port, block);
    }
    if (IsXYModem(Rec->AProtocol)) return Libs().XYSetParms(port, &Rec->XYModemParms);
    return 0;
}

// Makes the transfer folder current; the folder that was current is kept in `saved` (empty when
// it could not be read, and then it is not restored). False when the transfer must not run.
bool EnterTransferDirectory(const std::string& directory, fs::path& saved)
{
    if (directory.empty()) return true;
    std::error_code error;
    saved = fs::current_path(error);
    if (error) {
        saved.clear();
        XferHost().ShowMessage(46, "_getdcwd error: " + std::to_string(error.value()), true);
        return false;
    }
    fs::current_path(fs::path(directory), error);
    if (error) {
        XferHost().ShowMessage(82, "Working directory not found: " + directory, true);
        return false;
    }
    return true;
}

void LeaveTransferDirectory(const fs::path& saved)
{
    if (saved.empty()) return;
    std::error_code error;
    fs::current_path(saved, error);
}

void SendPacket(const uint8_t* bytes, int n) { SendToHost(nullptr, bytes, n); }

// The port's current file name, at most 259 bytes of it.
std::string PortFileName(int port)
{
    const char* name = Libs().PortFileName(port);
    if (!name) return "";
    return std::string(name, strnlen(name, kPortNameSize - 1));
}

// The pump of a loop: true when the loop must end because of Esc or a closing window (the
// protocol has then been aborted).
bool PumpAborts(int port, const TransferStepArgs& args, bool receive)
{
    const TransferPump pumped = XferHost().PumpMessages(receive);
    if (pumped == TransferPump::kGoOn) return false;
    XferHost().SetStatus(0, "Aborting ...");
    if (receive) AbortReceive(Libs(), port, args);
    else AbortSend(Libs(), port, args);
    XferHost().SetStatus(0, "Aborted");
    if (state.lastError == 0) state.lastError = -1;
    return true;
}

// The transfer dialog asked for an abort: the protocol's abort, whose result ends the loop (as a
// failure whatever the library answers).
int RequestedAbort(int port, const TransferStepArgs& args, bool receive)
{
    state.abortRequested = false;
    if (state.lastError == 0) state.lastError = -1;
    const int code = receive ? AbortReceive(Libs(), port, args) : AbortSend(Libs(), port, args);
    const StepOutcome outcome = receive ? ReceiveOutcome(code) : SendOutcome(code);
    return outcome == StepOutcome::kFailed ? code : kStepCancelled;
}

// Ends a loop: a done transfer shows its final line, a failed one reports.
void EndLoop(int port, StepOutcome outcome)
{
    if (outcome == StepOutcome::kDone) TransferProgress(port, true);
    else TransferError(port, 0, nullptr);
}

}  // namespace

TransferState& Transfer() { return state; }

void RunTransfer(int operation)
{
    if (Rec->TransferActive) {
        state.lastError = -1;
        return;
    }
    XferHost().ShowProgress(2, 0, "");
    XferHost().SetStatus(0, Title(operation).c_str());
    if (!KnownOperation(operation)) return;
    if (!InstalledTransferLibraries()) {
        NotStarted();
        return;
    }

    if (Rec->ComType == kNetbiosComType) {
        XferHost().ShowMessage(0, "File transfers need a serial or Telnet connection; "
                                  "they do not run over a NetBIOS session.", true);
        NotStarted();
        return;
    }
    Rec->TransferActive = 1;
    state.abortRequested = false;
    XferHost().TransferCursor(true);

    if (!OpenPort()) {
        NotStarted();
    } else {
        const int port = state.port;
        if (SetParameters(port) == -1) {
            XferHost().ShowMessage(0, "Internal problem: Failed to set Parameters", false);
            NotStarted();
        } else {
            fs::path saved;
            if (!EnterTransferDirectory(XferHost().TransferDirectory(), saved)) {
                NotStarted();
            } else {
                switch (operation) {
                case kTransferFinishServer:
                    // Sent while the transfer is still marked, so that local echo leaves it out.
                    SendPacket(kKermitFinishPacket, sizeof kKermitFinishPacket);
                    break;
                case kTransferSend: TransferSendLoop(port); break;
                default: TransferReceiveLoop(port, operation); break;
                }
                LeaveTransferDirectory(saved);
            }
        }
        state.abortRequested = false;
        Rec->TransferActive = 0;
        Libs().CloseVirtualPort(port);
        state.portOpen = false;
        state.port = -1;
        ResumeReceive(nullptr);
    }
    Rec->TransferActive = 0;
    XferHost().TransferCursor(false);
    XferHost().TransferEnded();
}

void TransferReceiveLoop(int port, int operation)
{
    state.lastError = 0;
    bool firstFile = true;
    std::string lastName;
    const TransferStepArgs args = StepArgs(operation);
    const bool imposeName = !state.receiveFile.empty() &&
                            (args.protocol == kKermit || args.protocol == kYmodem || args.protocol == kZmodem);

    int code = StartReceive(Libs(), port, args);
    if (code == kStepFailed) {
        TransferError(port, -1, ("Receive open error: " + state.receiveFile).c_str());
        return;
    }
    state.startTick = XferHost().TickCount();
    for (;;) {
        const StepOutcome outcome = ReceiveOutcome(code);
        if (outcome != StepOutcome::kGoOn) {
            EndLoop(port, outcome);
            return;
        }
        if (PumpAborts(port, args, true)) return;
        if (imposeName && Libs().NameWanted(port)) Libs().ImposeName(port, state.receiveFile.c_str());
        const std::string name = PortFileName(port);
        if (firstFile || name != lastName) {
            if (!firstFile) TransferProgress(port, false);
            if (!name.empty()) {
                lastName = name;
                firstFile = false;
            }
        }
        if (!firstFile) TransferProgress(port, false);
        code = state.abortRequested ? RequestedAbort(port, args, true) : NextReceive(Libs(), port, args);
    }
}

void TransferSendLoop(int port)
{
    state.lastError = 0;
    bool firstFile = true;
    const TransferStepArgs args = StepArgs(kTransferSend);

    int code = StartSend(Libs(), port, args);
    // The host's Kermit waits for our packets: tell it that nothing comes (local echo leaves the
    // packet out, as every byte of a transfer).
    if (code == kStepFailed && args.protocol == kKermit) SendPacket(kKermitAbortPacket, sizeof kKermitAbortPacket);
    if (code == kStepFailed) {
        TransferError(port, -1, ("Send open error: " + state.sendFiles).c_str());
        return;
    }
    state.startTick = XferHost().TickCount();
    for (;;) {
        XferHost().DelayMs(1);
        const StepOutcome outcome = SendOutcome(code);
        if (outcome != StepOutcome::kGoOn) {
            EndLoop(port, outcome);
            return;
        }
        if (PumpAborts(port, args, false)) return;
        if (firstFile && !PortFileName(port).empty()) firstFile = false;
        if (!firstFile) TransferProgress(port, false);
        code = state.abortRequested ? RequestedAbort(port, args, false) : NextSend(Libs(), port, args);
    }
}

void TransferProgress(int port, bool complete)
{
    TransferLibraries& libs = Libs();
    TransferCounts counts;
    char shortName[20] = {};
    libs.ShortFileName(port, shortName);
    shortName[sizeof shortName - 1] = '\0';
    counts.name = shortName;
    counts.bytes = libs.Bytes(port);
    counts.packets = libs.Blocks(port);
    counts.size = libs.FileSize(port);
    counts.retries = libs.Retries(port);

    XferHost().SetStatus(1, ProgressLine(counts).c_str());
    if (counts.size != 0) XferHost().ShowProgress(2, ProgressPercent(counts), nullptr);

    const uint32_t now = XferHost().TickCount();
    if (counts.bytes == 0) state.startTick = now;
    int64_t elapsed = static_cast<int64_t>(static_cast<uint32_t>(now - state.startTick));
    if (elapsed == 0) elapsed = 1;
    XferHost().SetStatus(0, SpeedText(counts, elapsed, complete).c_str());
}

void TransferError(int port, int code, const char* text)
{
    if (code == 0) code = Libs().LastError(port);
    if (code == 0) {
        // The library failed without saying why: still a failure.
        if (state.lastError == 0) state.lastError = -1;
        return;
    }
    const int firstError = state.lastError;
    state.lastError = code;
    if (firstError != 0) state.lastError = firstError;
    if (!XferHost().HasStatusBar()) return;
    std::string message;
    const int protocol = Rec->AProtocol;
    if (text) {
        message = text;
    } else if ((protocol == kKermit && code == kKermitReceiveOpen) || (protocol == kZmodem && code == kZmodemReceiveOpen) ||
               (IsXYModem(protocol) && code == kXYReceiveOpen)) {
        message = "Receive open error: " + state.receiveFile;
    } else {
        message = "File transfer error: " + std::to_string(code);
    }
    XferHost().SetStatus(0, message.c_str());
    if (firstError == 0 && Rec->AXferConfirmError) XferHost().ShowMessage(0, message, false);
}

void CloseTransferPortAtExit()
{
    if (!state.portOpen || !InstalledTransferLibraries()) return;
    Libs().ClosePort(state.port);
    state.portOpen = false;
    state.port = -1;
}

bool TransferCommandsEnabled()
{
    return Rec->Connected && ((Rec->XferType == 0 && Rec->ComType == 0) || Rec->XferType == 2);
}

// ---- Port callbacks.

int TransferPortRead(int, char* buffer, int length)
{
    if (!ConnView().Window()) return 0;
    return ReceiveFromHost(nullptr, reinterpret_cast<uint8_t*>(buffer), length);
}

int TransferPortWrite(int, const char* bytes, int length)
{
    if (!ConnView().Window()) return 0;
    return SendToHost(nullptr, reinterpret_cast<const uint8_t*>(bytes), length);
}

int TransferPortInCount(int) { return ConnView().Window() ? PendingInput(nullptr) : 0; }
int TransferPortOutCount(int) { return ConnView().Window() ? PendingOutput(nullptr) : 0; }

void TransferPortFlushIn(int)
{
    if (ConnView().Window()) FlushConnection(0);
}

void TransferPortFlushOut(int)
{
    if (ConnView().Window()) FlushConnection(1);
}
