// FtpNet over WinSock: non-blocking sockets and select().
#include <winsock2.h>
#include <cstring>
#include <vector>
#include <ws2tcpip.h>

#include "ftp_net.h"
#include "sockaddr_v4.h"

namespace {

SOCKET S(FtpSocket s) { return static_cast<SOCKET>(s); }

bool MakeNonBlocking(SOCKET s)
{
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

class WinSock final : public FtpNet {
public:
    int Startup(std::string& description, std::string& status) override
    {
        WSADATA data{};
        const int error = WSAStartup(MAKEWORD(1, 1), &data);
        if (error != 0)
            return error;
        description = data.szDescription;
        status = data.szSystemStatus;
        return 0;
    }
    void Cleanup() override { WSACleanup(); }
    int LastError() override { return WSAGetLastError(); }

    bool Resolve(const char* host, std::uint32_t& ip) override
    {
        const unsigned long dotted = inet_addr(host);
        if (dotted != INADDR_NONE) {
            ip = ntohl(dotted);
            return true;
        }
        std::vector<std::uint32_t> ips;
        if (!HostAddresses(host, ips) || ips.empty())
            return false;
        ip = ips.front();
        return true;
    }

    std::uint16_t ServicePort(const char* service, const char* protocol) override
    {
        const servent* s = getservbyname(service, protocol);
        return s != nullptr ? ntohs(static_cast<u_short>(s->s_port)) : 0;
    }

    bool LocalHostName(std::string& name) override
    {
        char buf[256] = {};
        if (gethostname(buf, sizeof buf - 1) != 0)
            return false;
        name = buf;
        return true;
    }

    bool HostAddresses(const char* host, std::vector<std::uint32_t>& ips) override
    {
        const hostent* h = gethostbyname(host);
        if (h == nullptr || h->h_addrtype != AF_INET)
            return false;
        ips.clear();
        for (char** p = h->h_addr_list; *p != nullptr; ++p) {
            in_addr a;
            std::memcpy(&a, *p, sizeof a);
            ips.push_back(ntohl(a.s_addr));
        }
        return true;
    }

    FtpSocket OpenStream() override
    {
        const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET)
            return kNoSocket;
        if (!MakeNonBlocking(s)) {
            const int error = WSAGetLastError();
            closesocket(s);
            WSASetLastError(error);
            return kNoSocket;
        }
        return static_cast<FtpSocket>(s);
    }

    int StartConnect(FtpSocket s, const NetAddress& to) override
    {
        const sockaddr_in sa = ToSockaddr(to);
        if (connect(S(s), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
            return 0;
        const int error = WSAGetLastError();
        return error == WSAEWOULDBLOCK ? kNetInProgress : error;
    }

    int ConnectResult(FtpSocket s) override
    {
        int err = 0;
        int len = sizeof err;
        if (getsockopt(S(s), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len) != 0)
            return WSAGetLastError();
        return err;
    }

    int Bind(FtpSocket s, const NetAddress& local) override
    {
        const sockaddr_in sa = ToSockaddr(local);
        return bind(S(s), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 ? 0 : -1;
    }

    int Listen(FtpSocket s, int backlog) override { return listen(S(s), backlog) == 0 ? 0 : -1; }

    FtpSocket Accept(FtpSocket s, NetAddress* peer) override
    {
        sockaddr_in sa{};
        int len = sizeof sa;
        const SOCKET a = accept(S(s), reinterpret_cast<sockaddr*>(&sa), &len);
        if (a == INVALID_SOCKET)
            return kNoSocket;
        // An accepted socket inherits the listener's mode; make sure.
        MakeNonBlocking(a);
        if (peer != nullptr)
            *peer = FromSockaddr(sa);
        return static_cast<FtpSocket>(a);
    }

    int LocalAddress(FtpSocket s, NetAddress& address) override
    {
        sockaddr_in sa{};
        int len = sizeof sa;
        if (getsockname(S(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
            return -1;
        address = FromSockaddr(sa);
        return 0;
    }

    int SetOobInline(FtpSocket s) override
    {
        const BOOL on = TRUE;
        return setsockopt(S(s), SOL_SOCKET, SO_OOBINLINE, reinterpret_cast<const char*>(&on), sizeof on) == 0 ? 0 : -1;
    }

    long Send(FtpSocket s, const void* bytes, std::size_t count) override
    {
        const int n = send(S(s), static_cast<const char*>(bytes), static_cast<int>(count > 0x40000000 ? 0x40000000 : count), 0);
        return n == SOCKET_ERROR ? -1 : n;
    }

    long Recv(FtpSocket s, void* bytes, std::size_t count, bool peek) override
    {
        const int n = recv(S(s), static_cast<char*>(bytes), static_cast<int>(count > 0x40000000 ? 0x40000000 : count),
                           peek ? MSG_PEEK : 0);
        return n == SOCKET_ERROR ? -1 : n;
    }

    int Shutdown(FtpSocket s) override { return shutdown(S(s), SD_BOTH) == 0 ? 0 : -1; }
    int Close(FtpSocket s) override { return closesocket(S(s)) == 0 ? 0 : -1; }

    int Wait(FtpSocket s, NetWait what, int ms) override
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(S(s), &set);
        fd_set failed;
        FD_ZERO(&failed);
        FD_SET(S(s), &failed);
        timeval tv;
        tv.tv_sec = ms / 1000;
        tv.tv_usec = (ms % 1000) * 1000;
        // A connect that fails is reported in the exception set.
        const int n = what == NetWait::Read ? select(0, &set, nullptr, nullptr, &tv)
                                            : select(0, nullptr, &set, &failed, &tv);
        if (n == SOCKET_ERROR)
            return -1;
        return n > 0 ? 1 : 0;
    }
};

}  // namespace

FtpNet* SystemNet()
{
    static WinSock net;
    return &net;
}
