// Host-controlled printing: the print channel of the interpreters' printer-controller and
// transparent-print modes. Opens the destination of terminal printer 1-3 (a file or port, a
// spooler printer in raw mode, or a printer context with pass-through escapes), converts the
// character set for the printer, writes the data and ends the job, in spooler mode optionally
// after a close delay (view timer 2025) so that several host print bursts become one job.
#pragma once

#include <cstdint>
#include <string>

#include "engine/screen_actions.h"

// HostPrintActive of an open file destination (no printer number equals it).
constexpr int kPrintingToFile = 0x10001;
// The pass-through block: a 16-bit count and up to this many bytes.
constexpr int kPassthroughBytes = 2048;
// Room of the held form feed and what follows it.
constexpr int kHeldFormFeedBytes = 1000;

// Opens terminal printer n (1-3): HostPrintActive, or 0 on failure.
int StartPrint(int printer);
// Ends the open job (immediate: no close delay). 1 when a job was ended; 0 when none was open or
// the end was deferred (then timer 2025 ends it).
int EndPrint(int immediate);
// Prints bytes to the open job (the caller's bytes are not changed); HostPrintActive.
int PrintData(const uint8_t* bytes, int length);
// The character conversion of the open job, in place.
void PrinterCharConvert(uint8_t* bytes, int length);
// Opens a file destination with an fopen mode: HostPrintActive (kPrintingToFile or 0).
int StartPrintFile(const char* name, const char* mode);
// Creates the printer context of printer n from its name or the default printer; false with a
// message when the name lacks a part or the context cannot be created.
bool CreatePrinterDC(int printer);
// Sends bytes as pass-through escapes, holding a final form feed back where that is asked. 1.
int PassthroughPrint(const uint8_t* bytes, int length);

// The interpreters' hooks: start and end of printer-controller mode, one printed byte, and the
// capture file of media copy 3 (CaptureFileName) opened with a mode (0 or the error number).
HostPrintHooks HostPrintingHooks();
// Plugs StartPrint and EndPrint into the screen actions' print hooks (StartHostPrint,
// StopHostPrint and media copy use them).
void InstallHostPrinting();
void PrintByte(uint8_t byte);
int StartCaptureFile(const char* mode);
