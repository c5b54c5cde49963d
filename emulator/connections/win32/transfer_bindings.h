// The transfer libraries of Tolvi: Pexla, Kestrix, Halvet and Drosk, each bound through a
// delay-load import library by ordinal and loaded at its first call.
#pragma once

class TransferLibraries;

// The bound libraries (one object for the program).
TransferLibraries& BoundTransferLibraries();
