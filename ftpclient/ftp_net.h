// The FTP engine's door to the network: TCP sockets over IPv4, always non-blocking. POSIX sockets
// implement it natively, WinSock in the Windows programs; the engine waits through Wait() so that
// the client's messages keep flowing while a call "blocks".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using FtpSocket = std::intptr_t;
constexpr FtpSocket kNoSocket = -1;

// WinSock error numbers; every implementation reports its errors in this numbering.
enum NetError : int {
    kNetInterrupted = 10004,
    kNetInvalid = 10022,
    kNetWouldBlock = 10035,
    kNetInProgress = 10036,
    kNetNotSocket = 10038,
    kNetAddressInUse = 10048,
    kNetDown = 10050,
    kNetReset = 10052,
    kNetConnAborted = 10053,
    kNetConnReset = 10054,
    kNetNotConnected = 10057,
    kNetShutdown = 10058,
    kNetTimedOut = 10060,
    kNetRefused = 10061,
    kNetHostUnreachable = 10065,
    kNetHostNotFound = 11001,
};

struct NetAddress {
    std::uint32_t ip = 0;    // host byte order
    std::uint16_t port = 0;
};

// "a.b.c.d" of an address.
std::string FormatIp(std::uint32_t ip);

enum class NetWait { Read, Write };

class FtpNet {
public:
    virtual ~FtpNet() = default;

    // Starts the socket layer: 0, or an error number. `description` and `status` name it.
    virtual int Startup(std::string& description, std::string& status) = 0;
    virtual void Cleanup() = 0;
    // The error of the last failed call of this thread.
    virtual int LastError() = 0;

    // A dotted address or a host name; false when it cannot be resolved.
    virtual bool Resolve(const char* host, std::uint32_t& ip) = 0;
    // The port of a service name ("ftp"), 0 when unknown.
    virtual std::uint16_t ServicePort(const char* service, const char* protocol) = 0;
    virtual bool LocalHostName(std::string& name) = 0;
    virtual bool HostAddresses(const char* host, std::vector<std::uint32_t>& ips) = 0;

    // A non-blocking TCP socket, or kNoSocket.
    virtual FtpSocket OpenStream() = 0;
    // 0 connected, kNetInProgress while the connection is under way, else an error number.
    virtual int StartConnect(FtpSocket s, const NetAddress& to) = 0;
    // After Wait(Write): 0 when the connection stands, else its error number.
    virtual int ConnectResult(FtpSocket s) = 0;
    virtual int Bind(FtpSocket s, const NetAddress& local) = 0;   // 0 or -1
    virtual int Listen(FtpSocket s, int backlog) = 0;             // 0 or -1
    // The accepted (non-blocking) socket or kNoSocket; LastError() kNetWouldBlock when none waits.
    virtual FtpSocket Accept(FtpSocket s, NetAddress* peer) = 0;
    virtual int LocalAddress(FtpSocket s, NetAddress& address) = 0;  // 0 or -1
    virtual int SetOobInline(FtpSocket s) = 0;                       // 0 or -1

    // Bytes moved, 0 for end of stream (Recv), -1 on error (kNetWouldBlock when nothing is ready).
    virtual long Send(FtpSocket s, const void* bytes, std::size_t count) = 0;
    virtual long Recv(FtpSocket s, void* bytes, std::size_t count, bool peek) = 0;
    virtual int Shutdown(FtpSocket s) = 0;  // both directions; 0 or -1
    virtual int Close(FtpSocket s) = 0;     // 0 or -1

    // Waits at most `ms` milliseconds: 1 ready, 0 not yet, -1 error.
    virtual int Wait(FtpSocket s, NetWait what, int ms) = 0;
};

// The system's sockets: POSIX natively, WinSock in the Windows programs.
FtpNet* SystemNet();
