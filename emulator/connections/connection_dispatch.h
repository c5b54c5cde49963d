// The connection dispatch: every send, receive, flush, break and connect of a session goes through
// these operations, which pick the transport by `ComType`; the connect and disconnect control with
// the after-disconnect policy; the pending paste; the receive path with its fixed order of
// consumers; and FeedEmulation. A null window means the active view's window.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

int OpenConnection(ViewWindow window);
int CloseConnection(ViewWindow window);
int SendToHost(ViewWindow window, const uint8_t* bytes, int n);
int ReceiveFromHost(ViewWindow window, uint8_t* buffer, int n);
int PendingInput(ViewWindow window);
int PendingOutput(ViewWindow window);
int FlushConnection(int which);
int SendBreak(ViewWindow window);
int ClearBreak();
int ApplyLineSettings(ViewWindow window);
void RearmReceive(ViewWindow window);
void ResumeReceive(ViewWindow window);
int IsTransportBusy();
int ShutdownTransport();

// Command 256 (Connect / Disconnect) and command 257 (Disconnect from Host).
void ConnectDisconnectCommand(ViewWindow window);
void DisconnectCommand(ViewWindow window);
void AfterDisconnect(ViewWindow window);

// The pending paste: BeginPaste takes the text over (refused, false, while one is pending), sends
// the first part and leaves the rest to the transport's send-complete events; SendPasteChunk
// sends the next part; PumpPaste sends parts for as long as the transport takes them without
// queueing output (for transports that have no such events).
bool BeginPaste(ViewWindow window, const uint8_t* text, int n);
bool PastePending();
void SendPasteChunk(ViewWindow window);
void PumpPaste(ViewWindow window);
void DropPendingPaste();

// Capture, the interpreter of the current emulation, HotScreen rules. Returns 1.
int FeedEmulation(ViewWindow window, const uint8_t* bytes, int n);

// The receive-side consumers before the emulation, in their fixed order, on a block as received.
// Returns the number of bytes at the end of the block that no consumer claimed.
enum class ReceiveSource { Serial, Netbios, Telnet };
int RunReceiveConsumers(ViewWindow window, ReceiveSource source, const uint8_t* bytes, int n);
