// Conversion between our NetAddress (host byte order) and the socket layer's IPv4 address, the same
// for POSIX sockets and WinSock.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

#include "ftp_net.h"

inline sockaddr_in ToSockaddr(const NetAddress& a)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(a.ip);
    sa.sin_port = htons(a.port);
    return sa;
}

inline NetAddress FromSockaddr(const sockaddr_in& sa)
{
    NetAddress a;
    a.ip = ntohl(sa.sin_addr.s_addr);
    a.port = ntohs(sa.sin_port);
    return a;
}
