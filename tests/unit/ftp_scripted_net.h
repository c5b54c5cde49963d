// An FtpNet whose one connection replays bytes given in advance, in chunks of a chosen size, and
// records what is sent: replies of any shape without a server (unit tests and the fuzz target).
#pragma once

#include <algorithm>
#include <string>

#include "ftp_net.h"

class ScriptedNet : public FtpNet {
public:
    static constexpr FtpSocket kSocket = 7;

    ScriptedNet(std::string incoming, std::size_t chunk) : incoming_(std::move(incoming)), chunk_(chunk ? chunk : 1) {}

    int Startup(std::string& description, std::string& status) override
    {
        description = "scripted";
        status.clear();
        return 0;
    }
    void Cleanup() override {}
    int LastError() override { return error_; }
    bool Resolve(const char*, std::uint32_t& ip) override { return ip = 0x7f000001, true; }
    std::uint16_t ServicePort(const char*, const char*) override { return 21; }
    bool LocalHostName(std::string& name) override { return name = "scripted", true; }
    bool HostAddresses(const char*, std::vector<std::uint32_t>& ips) override { return ips = {0x7f000001}, true; }
    FtpSocket OpenStream() override { return opened_++ == 0 ? kSocket : Fail(kNoSocket); }
    int StartConnect(FtpSocket, const NetAddress&) override { return 0; }
    int ConnectResult(FtpSocket) override { return 0; }
    int Bind(FtpSocket, const NetAddress&) override { return Fail(-1); }
    int Listen(FtpSocket, int) override { return Fail(-1); }
    FtpSocket Accept(FtpSocket, NetAddress*) override { return Fail(kNoSocket); }
    int LocalAddress(FtpSocket, NetAddress& a) override { return a = NetAddress{0x7f000001, 4000}, 0; }
    int SetOobInline(FtpSocket) override { return 0; }
    long Send(FtpSocket, const void* bytes, std::size_t count) override
    {
        sent.append(static_cast<const char*>(bytes), count);
        return static_cast<long>(count);
    }
    long Recv(FtpSocket, void* bytes, std::size_t count, bool peek) override
    {
        const std::size_t n = std::min({count, chunk_, incoming_.size() - at_});
        std::copy_n(incoming_.data() + at_, n, static_cast<char*>(bytes));
        if (!peek)
            at_ += n;
        return static_cast<long>(n);
    }
    int Shutdown(FtpSocket) override { return 0; }
    int Close(FtpSocket) override { return 0; }
    int Wait(FtpSocket, NetWait, int) override { return 1; }

    // Bytes not read yet.
    std::string Unread() const { return incoming_.substr(at_); }

    std::string sent;

private:
    template <typename T>
    T Fail(T value)
    {
        error_ = kNetInvalid;
        return value;
    }

    std::string incoming_;
    std::size_t chunk_;
    std::size_t at_ = 0;
    int opened_ = 0;
    int error_ = 0;
};
