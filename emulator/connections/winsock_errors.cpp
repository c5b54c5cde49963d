#include "connections/winsock_errors.h"

namespace {

struct ErrorText {
    int code;
    const char* text;
};

const ErrorText kErrors[] = {
    {10063, "Name too long"},
    {10093, "Not initialized"},
    {10091, "System not ready"},
    {10092, "Version is not supported"},
    {10058, "Can't send after socket shutdown"},
    {10004, "Interrupted system call"},
    {11001, "Host not found"},
    {11002, "Try again"},
    {11003, "Non-recoverable error"},
    {11004, "No data record available"},
    {10009, "Bad file number"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10014, "Bad address"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10046, "Protocol family not supported"},
    {10066, "Directory not empty"},
    {10067, "EPROCLIM returned"},
    {10068, "EUSERS returned"},
    {10069, "Disk quota exceeded"},
    {10070, "ESTALE returned"},
    {10022, "Invalid argument"},
    {10013, "Access denied"},
    {10071, "The object is remote"},
    {10038, "Socket operation on non-socket"},
    {10049, "Can't assign requested address"},
    {10048, "Address already in use"},
    {10047, "Address family not supported by protocol family"},
    {10044, "Socket type not supported"},
    {10043, "Protocol not supported"},
    {10055, "No buffer space is supported"},
    {10060, "Connection timed out"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10042, "Bad protocol option"},
    {10054, "Connection reset by peer"},
    {10053, "Software caused connection abort"},
    {10050, "Network is down"},
    {10052, "Network was reset"},
    {10061, "Connection refused"},
    {10064, "Host is down"},
    {10065, "Host is unreachable"},
    {10041, "Protocol is wrong type for socket"},
    {10045, "Operation not supported on socket"},
    {10051, "ICMP network unreachable"},
    {10059, "Too many references"},
    {10024, "Too many open files"},
    {10062, "Too many levels of symbolic links"},
};

}  // namespace

const char* WinsockErrorText(int code) {
    for (const ErrorText& e : kErrors)
        if (e.code == code) return e.text;
    return "Unknown error code";
}
