// The transfer libraries of Tolvi: Pexla, Kestrix, Halvet and Drosk, each bound through a
// delay-load import library by ordinal and loaded at its first call.
#pragma once

class TransferLibraries;

// The bound libraries (one object for the program).
TransferLibraries& BoundTransferLibraries();

// Loads the four DLLs now. A serial session needs this before its port opens: Wine's loader can
// fault when it loads a DLL with thread-local storage while the port's event-wait threads come
// and go, which they do for as long as a serial connection is open. The bindings still resolve
// each function by ordinal at its first call.
void PreloadTransferLibraries();
