#include "ftp_api.h"

const char* FtpErrorText(int code)
{
    static const struct {
        int code;
        const char* text;
    } table[] = {
        {0, "OK"},
        {1, "userid need a password"},
        {2, "user/pass OK but account required"},
        {1000, "Error in parameters"},
        {1001, "User has already a FTP session"},
        {1002, "FtpInit has not been call"},
        {1003, "User is not connected to a server"},
        {1004, "can not open specified file"},
        {1005, "can't write into file (disk full?)"},
        {1006, "FtpRelease without FtpInit"},
        {1007, "FtpRelease without any Close"},
        {1008, "file action not taken"},
        {1009, "Server rejects usrid/passwd"},
        {1010, "server can not open file"},
        {1011, "Host refused the transfer"},
        {1012, "A winsock.DLL ver 1.1 is required"},
        {1013, "Close failed (cmd is in progress)"},
        {1014, "file name has no form in the other character set"},
        {2001, "can not resolve host adress"},
        {2002, "host does not send an answer"},
        {2003, "Error during connection"},
        {2004, "host has no FTP server"},
        {2005, "can't send data (network down)"},
        {2006, "connection on data-port failed"},
        {2007, "timeout occured"},
        {3001, "answer was not expected"},
        {3002, "host rejects the TYPE command"},
        {5002, "Insufficent free resources"},
        {5003, "Insuffisent Heap memory"},
        {5004, "no more sockets"},
        {5005, "bind failed"},
        {-1, "Transfer aborted by user FtpAbort"},
    };
    for (const auto& e : table)
        if (e.code == code)
            return e.text;
    return "Unknown";
}
