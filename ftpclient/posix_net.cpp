// FtpNet over POSIX sockets, for the native builds.
#include "ftp_net.h"
#include "sockaddr_v4.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstring>

namespace {

int ToNetError(int e)
{
    switch (e) {
    case EINTR: return kNetInterrupted;
    case EAGAIN: return kNetWouldBlock;
    case EINPROGRESS: return kNetInProgress;
    case EBADF:
    case ENOTSOCK: return kNetNotSocket;
    case EADDRINUSE: return kNetAddressInUse;
    case ENETDOWN: return kNetDown;
    case ENETRESET: return kNetReset;
    case ECONNABORTED: return kNetConnAborted;
    case ECONNRESET: return kNetConnReset;
    case ENOTCONN: return kNetNotConnected;
    case EPIPE: return kNetShutdown;
    case ETIMEDOUT: return kNetTimedOut;
    case ECONNREFUSED: return kNetRefused;
    case EHOSTUNREACH: return kNetHostUnreachable;
    case EINVAL: return kNetInvalid;
    default: return e;
    }
}

bool MakeNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

class Posix final : public FtpNet {
public:
    int Startup(std::string& description, std::string& status) override
    {
        utsname u{};
        description = uname(&u) == 0 ? std::string("POSIX sockets on ") + u.sysname : "POSIX sockets";
        status.clear();
        return 0;
    }
    void Cleanup() override {}
    int LastError() override { return error_; }

    bool Resolve(const char* host, std::uint32_t& ip) override
    {
        in_addr a{};
        if (inet_pton(AF_INET, host, &a) == 1) {
            ip = ntohl(a.s_addr);
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
        return s != nullptr ? ntohs(static_cast<std::uint16_t>(s->s_port)) : 0;
    }

    bool LocalHostName(std::string& name) override
    {
        char buf[256] = {};
        if (gethostname(buf, sizeof buf - 1) != 0)
            return Fail(false);
        name = buf;
        return true;
    }

    bool HostAddresses(const char* host, std::vector<std::uint32_t>& ips) override
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        if (getaddrinfo(host, nullptr, &hints, &list) != 0) {
            error_ = kNetHostNotFound;
            return false;
        }
        ips.clear();
        for (addrinfo* p = list; p != nullptr; p = p->ai_next)
            ips.push_back(ntohl(reinterpret_cast<sockaddr_in*>(p->ai_addr)->sin_addr.s_addr));
        freeaddrinfo(list);
        return true;
    }

    FtpSocket OpenStream() override
    {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        if (fd < 0)
            return Fail(kNoSocket);
        if (!MakeNonBlocking(fd)) {
            Fail(0);
            close(fd);
            return kNoSocket;
        }
        return fd;
    }

    int StartConnect(FtpSocket s, const NetAddress& to) override
    {
        const sockaddr_in sa = ToSockaddr(to);
        if (connect(static_cast<int>(s), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
            return 0;
        Fail(0);
        return error_;
    }

    int ConnectResult(FtpSocket s) override
    {
        int err = 0;
        socklen_t len = sizeof err;
        if (getsockopt(static_cast<int>(s), SOL_SOCKET, SO_ERROR, &err, &len) != 0)
            return Fail(0), error_;
        error_ = ToNetError(err);
        return err == 0 ? 0 : error_;
    }

    int Bind(FtpSocket s, const NetAddress& local) override
    {
        const sockaddr_in sa = ToSockaddr(local);
        return bind(static_cast<int>(s), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 ? 0 : Fail(-1);
    }

    int Listen(FtpSocket s, int backlog) override
    {
        return listen(static_cast<int>(s), backlog) == 0 ? 0 : Fail(-1);
    }

    FtpSocket Accept(FtpSocket s, NetAddress* peer) override
    {
        sockaddr_in sa{};
        socklen_t len = sizeof sa;
        const int fd = accept4(static_cast<int>(s), reinterpret_cast<sockaddr*>(&sa), &len, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return Fail(kNoSocket);
        if (peer != nullptr)
            *peer = FromSockaddr(sa);
        return fd;
    }

    int LocalAddress(FtpSocket s, NetAddress& address) override
    {
        sockaddr_in sa{};
        socklen_t len = sizeof sa;
        if (getsockname(static_cast<int>(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
            return Fail(-1);
        address = FromSockaddr(sa);
        return 0;
    }

    int SetOobInline(FtpSocket s) override
    {
        const int on = 1;
        return setsockopt(static_cast<int>(s), SOL_SOCKET, SO_OOBINLINE, &on, sizeof on) == 0 ? 0 : Fail(-1);
    }

    long Send(FtpSocket s, const void* bytes, std::size_t count) override
    {
        const ssize_t n = send(static_cast<int>(s), bytes, count, MSG_NOSIGNAL);
        return n >= 0 ? static_cast<long>(n) : Fail(-1L);
    }

    long Recv(FtpSocket s, void* bytes, std::size_t count, bool peek) override
    {
        const ssize_t n = recv(static_cast<int>(s), bytes, count, peek ? MSG_PEEK : 0);
        return n >= 0 ? static_cast<long>(n) : Fail(-1L);
    }

    int Shutdown(FtpSocket s) override { return shutdown(static_cast<int>(s), SHUT_RDWR) == 0 ? 0 : Fail(-1); }
    int Close(FtpSocket s) override { return close(static_cast<int>(s)) == 0 ? 0 : Fail(-1); }

    int Wait(FtpSocket s, NetWait what, int ms) override
    {
        pollfd p{};
        p.fd = static_cast<int>(s);
        p.events = what == NetWait::Read ? POLLIN : POLLOUT;
        const int n = poll(&p, 1, ms);
        if (n < 0)
            return errno == EINTR ? 0 : Fail(-1);
        if (n > 0 && (p.revents & POLLNVAL) != 0) {
            error_ = kNetNotSocket;
            return -1;
        }
        return n > 0 ? 1 : 0;
    }

private:
    template <typename T>
    T Fail(T value)
    {
        error_ = ToNetError(errno);
        return value;
    }

    int error_ = 0;
};

}  // namespace

FtpNet* SystemNet()
{
    static Posix net;
    return &net;
}
