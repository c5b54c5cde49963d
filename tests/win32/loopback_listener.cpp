#include "loopback_listener.h"

SOCKET ListenOnLoopback(int backlog, unsigned short& port)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 || listen(listener, backlog) != 0) {
        if (listener != INVALID_SOCKET) closesocket(listener);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return listener;
}
