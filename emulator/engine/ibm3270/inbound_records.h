// Inbound records: the answers to Read Buffer and Read Modified and the record of an attention
// key, assembled and handed to the Telnet layer.
#pragma once

#include <cstdint>

// Builds and sends the Read Modified answer (command 0x06, 0xF6 or 0x6E) or the attention
// record (command 0x06) for PendingAid.
void Build3270Inbound(int command);
// Builds and sends the Read Buffer answer.
void Send3270ReadBuffer();
// Sends the record of an attention key, or what of it is still unsent. Returns 1 when nothing of
// it is left (AidPending is then cleared), else 0.
int Send3270PendingRecord();

// The assembly: bytes still queued, and appending one byte (sent on without end-of-record once
// kInboundBufferSize bytes wait; bytes the network cannot take stay queued, never dropped).
int Inbound3270Queued();
void Append3270Inbound(uint8_t byte);
// Sends the queued bytes, with end-of-record when endOfRecord. Returns 1 when all went out.
int Flush3270Inbound(int endOfRecord);
// Sends on what an earlier send left queued (called before each host record).
void Resume3270Inbound();
// Drops whatever is queued (reset).
void Discard3270Inbound();
