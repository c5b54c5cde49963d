// The exported functions of Drosk (first stand-ins until the engines are in).
#include <cstring>

#include "drosk.h"

namespace {
DroskParms parms[kPexlaMaxPort];
bool Valid(int port) { return port >= 1 && port <= kPexlaMaxPort; }
}  // namespace

DROSK_API int KmSetDebugFile(int port, const char*) { return Valid(port) ? 1 : -1; }
DROSK_API int KmGetParms(int port, DroskParms* block) {
    if (!Valid(port) || !block) return -1;
    *block = parms[port - 1];
    return 1;
}
DROSK_API int KmSetParms(int port, const DroskParms* block) {
    if (!Valid(port) || !block) return -1;
    parms[port - 1] = *block;
    return 1;
}
DROSK_API int KmReceiveStart(int) { return kDroskFailed; }
DROSK_API int KmGetStart(int, const char*) { return kDroskFailed; }
DROSK_API int KmReceiveNext(int) { return kDroskFailed; }
DROSK_API int KmSendStart(int, const char*) { return kDroskFailed; }
DROSK_API int KmSendNext(int) { return kDroskFailed; }
DROSK_API int KmAbort(int) { return kDroskCancelled; }
