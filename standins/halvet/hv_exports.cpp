// Halvet's exported start, step and abort calls.
#include "halvet.h"

HALVET_API int HvRecvStart(int, int, int) { return kHvFailed; }
HALVET_API int HvRecvNext(int) { return kHvFailed; }
HALVET_API int HvRecvAbort(int) { return kHvFailed; }
HALVET_API int HvSendStart(int, int, int, int, int, int, int, int, int, int, const char*) { return kHvFailed; }
HALVET_API int HvSendNext(int) { return kHvFailed; }
HALVET_API int HvSendAbort(int) { return kHvFailed; }
