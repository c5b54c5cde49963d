// The parameter exports: every one finds (or makes) the port's context first.
#include <cstring>

#include "xy_context.h"

using namespace kestrix;

namespace {

template <typename Fn>
int WithContext(int port, Fn fn) {
    XferPortContext* c = GetContext(port);
    if (!c) return -1;
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    return fn(*c);
}

}  // namespace

KESTRIX_API int ComGetXYModemParms(int port, XYModemParms* parms) {
    return WithContext(port, [&](XferPortContext& c) {
        if (!parms) return -1;
        std::memcpy(parms, &c.parms, sizeof c.parms);
        return 1;
    });
}

KESTRIX_API int ComSetXYModemParms(int port, const XYModemParms* parms) {
    return WithContext(port, [&](XferPortContext& c) {
        if (!parms) return -1;
        std::memcpy(&c.parms, parms, sizeof c.parms);
        return 1;
    });
}

KESTRIX_API int ComSetXYModemParmXmodemTime(int port, int value) {
    return WithContext(port, [&](XferPortContext& c) { c.parms.xmodemTime = value; return 1; });
}
KESTRIX_API int ComSetXYMaxerrors(int port, int value) {
    return WithContext(port, [&](XferPortContext& c) { c.parms.maxErrors = value; return 1; });
}
KESTRIX_API int ComSetXYPadchar(int port, int value) {
    return WithContext(port, [&](XferPortContext& c) { c.parms.padChar = static_cast<uint8_t>(value); return 1; });
}
KESTRIX_API int ComSetXYRetries(int port, int value) {
    return WithContext(port, [&](XferPortContext& c) { c.parms.retries = value; return 1; });
}
KESTRIX_API int ComSetXYForceLow(int port, int value) {
    return WithContext(port, [&](XferPortContext& c) { c.parms.forceLow = value; return 1; });
}
KESTRIX_API int ComGetXYModemParmXmodemTime(int port) {
    return WithContext(port, [](XferPortContext& c) { return c.parms.xmodemTime; });
}
KESTRIX_API int ComGetXYMaxerrors(int port) {
    return WithContext(port, [](XferPortContext& c) { return c.parms.maxErrors; });
}
KESTRIX_API int ComGetXYRetries(int port) {
    return WithContext(port, [](XferPortContext& c) { return c.parms.retries; });
}
KESTRIX_API int ComGetXYPadchar(int port) {
    XferPortContext* c = GetContext(port);
    return c ? c->parms.padChar : 0xFF;
}

KESTRIX_API int ComSetXYDebugFile(int port, const char* file) {
    return WithContext(port, [&](XferPortContext&) {
        const char* name = file ? file : "";
        SetDebugFileName(port, name);
        return PxDebugOpen(port, name, "XMODEM/YMODEM") < 0 ? -1 : 1;
    });
}

KESTRIX_API const char* ComGetXYDebugFile(int port) {
    return GetContext(port) ? DebugFileName(port) : "";
}
