// Each method is one call of a library; the import libraries name ordinals only (see
// CMakeLists.txt), so the names below are only those of our declarations.
#include "connections/win32/transfer_bindings.h"

#include <windows.h>

#include <initializer_list>

#include "connections/transfer_libraries.h"
#include "drosk.h"
#include "halvet.h"
#include "kestrix.h"
#include "pexla.h"

namespace {

class BoundLibraries final : public TransferLibraries {
public:
    int OpenVirtualPort(int index, int inSize, int outSize) override { return PxOpenVirtual(index, inSize, outSize); }
    void SetPortCallbacks(int port, const TransferPortCallbacks& cb) override
    {
        PxSetReadFn(port, cb.read);
        PxSetWriteFn(port, cb.write);
        PxSetInCountFn(port, cb.inCount);
        PxSetOutCountFn(port, cb.outCount);
        PxSetFlushInFn(port, cb.flushIn);
        PxSetFlushOutFn(port, cb.flushOut);
    }
    int CloseVirtualPort(int port) override { return PxCloseVirtual(port); }
    int ClosePort(int port) override { return PxClosePort(port); }
    const char* PortFileName(int port) override
    {
        PexlaPortStatus* status = PxPortStatus(port);
        return status ? status->fileName : nullptr;
    }
    void ShortFileName(int port, char* buffer20) override { PxFileNameShort(port, buffer20); }
    int64_t Bytes(int port) override { return static_cast<uint32_t>(PxBytes(port)); }
    int64_t Blocks(int port) override { return static_cast<uint32_t>(PxBlocks(port)); }
    int Retries(int port) override { return PxRetries(port); }
    int LastError(int port) override { return PxLastError(port); }
    int64_t FileSize(int port) override { return static_cast<uint32_t>(PxFileSizeGiven(port)); }
    int NameWanted(int port) override { return PxNameWanted(port); }
    void ImposeName(int port, const char* name) override { PxSetShownName(port, name); }

    void XYDebugFile(int port, const char* file) override { ComSetXYDebugFile(port, file); }
    int XYSetParms(int port, const void* parms17) override
    {
        return ComSetXYModemParms(port, static_cast<const XYModemParms*>(parms17));
    }
    int XYReceiveStart(int port, const char* file, const char* mode) override { return CInitRcvPktTxfr(port, file, mode); }
    int XYReceiveNext(int port, const char* mode) override { return ComRXY_Next(port, mode); }
    int XYSendStart(int port, const char* files, const char* mode) override { return CInitSndPktTxfr(port, files, mode); }
    int XYSendNext(int port, const char* mode) override { return ComSXY_Next(port, mode); }
    int XYAbort(int port) override { return ComRXY_Abort(port); }

    void KermitDebugFile(int port, const char* file) override { KmSetDebugFile(port, file); }
    int KermitGetParms(int port, void* block) override { return KmGetParms(port, static_cast<DroskParms*>(block)); }
    int KermitSetParms(int port, const void* block) override
    {
        return KmSetParms(port, static_cast<const DroskParms*>(block));
    }
    int KermitReceive(int port) override { return KmReceiveStart(port); }
    int KermitGet(int port, const char* remoteName) override { return KmGetStart(port, remoteName); }
    int KermitReceiveNext(int port) override { return KmReceiveNext(port); }
    int KermitSend(int port, const char* files) override { return KmSendStart(port, files); }
    int KermitSendNext(int port) override { return KmSendNext(port); }
    int KermitAbort(int port) override { return KmAbort(port); }

    int ZReceiveStart(int port, int protocol, int options) override { return HvRecvStart(port, protocol, options); }
    int ZReceiveNext(int port) override { return HvRecvNext(port); }
    int ZReceiveAbort(int port) override { return HvRecvAbort(port); }
    int ZSendStart(int port, const ZmodemSendOptions& o, const char* files) override
    {
        return HvSendStart(port, o.management, o.conversion, o.nameOption, o.flags, o.subpacketLength, o.ackLength,
                           o.windowSize, o.timeout, kHvZmodem, files);
    }
    int ZSendNext(int port) override { return HvSendNext(port); }
    int ZSendAbort(int port) override { return HvSendAbort(port); }
};

static_assert(sizeof(DroskParms) <= kKermitBlockSize, "room for the Kermit parameter block");

}  // namespace

TransferLibraries& BoundTransferLibraries()
{
    static BoundLibraries libraries;
    return libraries;
}

void PreloadTransferLibraries()
{
    for (const char* name : {"Pexla.dll", "Kestrix.dll", "Halvet.dll", "Drosk.dll"}) LoadLibraryA(name);
}
