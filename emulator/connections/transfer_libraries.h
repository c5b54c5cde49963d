// The outside libraries of a file transfer as the transfer driver calls them: the Pexla port and
// its status block, Kestrix (X/YMODEM), Halvet (ZMODEM) and Drosk (Kermit). The Windows program
// binds the DLLs by ordinal at their first call (win32/transfer_bindings.cpp); the native tests
// install a scripted fake. Each method is one call of a library.
#pragma once

#include <cstdint>

// The six functions behind a virtual port; each gets the port first.
struct TransferPortCallbacks {
    int (*read)(int port, char* buffer, int length);
    int (*write)(int port, const char* bytes, int length);
    int (*inCount)(int port);
    int (*outCount)(int port);
    void (*flushIn)(int port);
    void (*flushOut)(int port);
};

// The arguments of a ZMODEM send start beside the port and the file list.
struct ZmodemSendOptions {
    int management, conversion, nameOption, flags, subpacketLength, ackLength, windowSize, timeout;
};

class TransferLibraries {
public:
    virtual ~TransferLibraries() = default;

    // ---- Pexla.
    virtual int OpenVirtualPort(int index, int inSize, int outSize) = 0;   // 301
    virtual void SetPortCallbacks(int port, const TransferPortCallbacks& callbacks) = 0;
    virtual int CloseVirtualPort(int port) = 0;                            // 302
    virtual int ClosePort(int port) = 0;                                   // 265
    // The port's current file name (the first bytes of its data block); may lack a terminator
    // within the block's 260 name bytes.
    virtual const char* PortFileName(int port) = 0;                        // 45
    // The name as the progress line shows it, into a 20-byte buffer.
    virtual void ShortFileName(int port, char* buffer20) = 0;              // 36
    virtual int64_t Bytes(int port) = 0;                                   // 55
    virtual int64_t Blocks(int port) = 0;                                  // 56
    virtual int Retries(int port) = 0;                                     // 57
    virtual int LastError(int port) = 0;                                   // 58
    virtual int64_t FileSize(int port) = 0;                                // 61
    virtual int NameWanted(int port) = 0;                                  // 174
    virtual void ImposeName(int port, const char* name) = 0;               // 171

    // ---- Kestrix.
    virtual void XYDebugFile(int port, const char* file) = 0;
    virtual int XYSetParms(int port, const void* parms17) = 0;
    virtual int XYReceiveStart(int port, const char* file, const char* mode) = 0;
    virtual int XYReceiveNext(int port, const char* mode) = 0;
    virtual int XYSendStart(int port, const char* files, const char* mode) = 0;
    virtual int XYSendNext(int port, const char* mode) = 0;
    virtual int XYAbort(int port) = 0;

    // ---- Drosk.
    virtual void KermitDebugFile(int port, const char* file) = 0;          // 27
    virtual int KermitGetParms(int port, void* block) = 0;                 // 19
    virtual int KermitSetParms(int port, const void* block) = 0;           // 44
    virtual int KermitReceive(int port) = 0;                               // 21
    virtual int KermitGet(int port, const char* remoteName) = 0;           // 50
    virtual int KermitReceiveNext(int port) = 0;                           // 22
    virtual int KermitSend(int port, const char* files) = 0;               // 45
    virtual int KermitSendNext(int port) = 0;                              // 47
    virtual int KermitAbort(int port) = 0;                                 // 23

    // ---- Halvet.
    virtual int ZReceiveStart(int port, int protocol, int options) = 0;    // 2
    virtual int ZReceiveNext(int port) = 0;                                // 3
    virtual int ZReceiveAbort(int port) = 0;                               // 4
    virtual int ZSendStart(int port, const ZmodemSendOptions& options, const char* files) = 0;  // 6
    virtual int ZSendNext(int port) = 0;                                   // 7
    virtual int ZSendAbort(int port) = 0;                                  // 8
};

// Room for the Kermit parameter block that Drosk reads and takes (66 bytes are used).
constexpr int kKermitBlockSize = 256;

// The installed libraries (not owned); null until the program installs them.
TransferLibraries* InstalledTransferLibraries();
void InstallTransferLibraries(TransferLibraries* libraries);
