// Opening, logging on to and closing the control connection.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#include "ftp_engine.h"
#include "ftp_log.h"
#include "ftp_wait.h"

namespace {

// A decimal port number of 1..65535, 0 otherwise.
std::uint16_t ParsePort(const char* text)
{
    if (text == nullptr || *text == '\0')
        return 0;
    char* end = nullptr;
    const long port = std::strtol(text, &end, 10);
    if (*end != '\0' || port <= 0 || port > 65535)
        return 0;
    return static_cast<std::uint16_t>(port);
}

}  // namespace

FtpSocket ftp_socket_open(const char* hostText, const char* service, const char* protocol)
{
    FtpSessionState& ftp = Ftp();
    FtpNet& net = *ftp.net;
    std::string host = hostText;
    std::uint16_t hostPort = 0;
    const std::size_t colon = host.find(':');
    if (colon != std::string::npos) {
        hostPort = ParsePort(host.c_str() + colon + 1);
        host.erase(colon);
    }

    ftp_debug_printf("Doing getservbyname(%s,%s)...", service, protocol);
    std::uint16_t port = net.ServicePort(service, protocol);
    if (port == 0)
        port = ParsePort(service);
    if (port == 0) {
        ftp_log_printf("can't get \"%s\" service entry, will use default", service);
        if (strcasecmp(service, "ftp") == 0)
            port = 21;
    }
    if (hostPort != 0)
        port = hostPort;
    if (ftp.portOverride > 0 && ftp.portOverride <= 65535)
        port = static_cast<std::uint16_t>(ftp.portOverride);

    std::uint32_t ip = 0;
    ftp_debug_printf("Doing gethostbyname(%s)...", host.c_str());
    if (!net.Resolve(host.c_str(), ip)) {
        ftp_log_printf("can't get \"%s\" host entry", host.c_str());
        return kNoSocket;
    }
    ftp_debug_printf("Doing getprotobyname(%s)...", protocol);
    if (strcasecmp(protocol, "tcp") != 0) {
        ftp_log_printf("can't get \"%s\" protocol entry, will use default", protocol);
        return kNoSocket;
    }
    ftp_debug_printf("Doing socket (AF_INET, SOCK_STREAM, IPPROTO_TCP)...");
    const FtpSocket s = net.OpenStream();
    if (s == kNoSocket) {
        ftp_print_error("create socket", net.LastError());
        return kNoSocket;
    }
    const std::string address = FormatIp(ip);
    ftp_debug_printf("Doing connect() to %s, port %u ...", address.c_str(), port);
    int error = net.StartConnect(s, NetAddress{ip, port});
    if (error == kNetInProgress || error == kNetWouldBlock) {
        const int w = ftp_wait(s, NetWait::Write, ftp.timeoutMs);
        error = w == kWaitReady ? net.ConnectResult(s) : (w == kWaitFailed ? net.LastError() : kNetTimedOut);
    }
    if (error != 0) {
        ftp_log_printf("Can't connect to %s %s service.", host.c_str(), service);
        ftp_log_line(winsock_error_text(error).c_str());
        net.Close(s);
        return kNoSocket;
    }
    ftp_log_printf("Connected to %s port %u", address.c_str(), port);
    ftp.serverIp = ip;
    return s;
}

FtpSocket ftp_close_socket(FtpSocket s)
{
    if (s == kNoSocket)
        return kNoSocket;
    if (Ftp().net->Close(s) == 0) {
        ftp_log_printf("[%u] Socket closed.", static_cast<unsigned>(s));
        return kNoSocket;
    }
    ftp_print_error("CloseSocket", Ftp().net->LastError());
    ftp_log_printf("[%u] Failed to close socket.", static_cast<unsigned>(s));
    return s;
}

void ftp_drop_control(const char* why)
{
    FtpSessionState& ftp = Ftp();
    if (ftp.control == kNoSocket)
        return;
    ftp_info_line(why);
    ftp.net->Close(ftp.control);
    ftp.control = kNoSocket;
    ftp.loggedIn = 0;
}

namespace {

// FEAT after the log-on: a server that lists UTF8 gets OPTS UTF8 ON, and its names are converted
// from then on (also when it refuses the OPTS: it announced that its names are UTF-8). The
// feature lines are read here, at most kMaxFeatureLines of them.
void AskForUtf8(FtpSocket s)
{
    constexpr int kMaxFeatureLines = 200;
    FtpSessionState& ftp = Ftp();
    ftp.utf8 = 0;
    ftp_log_line("FEAT");
    ftp_log_protocol("FEAT");
    if (ftp_send_line(s, "FEAT") < 0)
        return;
    bool announced = false;
    for (int i = 0; i < kMaxFeatureLines && ftp.control == s; ++i) {
        const int code = ftp_read_line(s);
        ftp_log_line(ftp.replyText.c_str());
        std::string feature = ftp.replyText;
        while (!feature.empty() && feature.front() == ' ')
            feature.erase(0, 1);
        for (char& c : feature)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (feature == "UTF8" || feature.rfind("UTF8 ", 0) == 0)
            announced = true;
        // The last line: the code and a blank (a refusal is one such line).
        if (code >= 100 && ftp.replyText.size() >= 4 && ftp.replyText[3] == ' ')
            break;
        if (ftp.abortFlag)
            return;
    }
    if (!announced || ftp.control != s)
        return;
    ftp_send_command(s, "OPTS UTF8 ON");
    ftp.utf8 = ftp.control == s ? 1 : 0;
}

}  // namespace

FtpSocket ftp_connect_login(const char* host)
{
    FtpSessionState& ftp = Ftp();
    if (ftp.loggedIn) {
        ftp_log_line("Already connected!");
        return kNoSocket;
    }
    ftp.crTerminated = 0;
    ftp.hostTypeDetected = 0;
    // A new connection starts in ASCII, whatever the last one was switched to.
    ftp.currentType = 'A';
    ftp_debug_printf("FTP Connecting...");
    ++ftp.busy;
    const FtpSocket s = ftp_socket_open(host, "ftp", "tcp");
    if (s == kNoSocket) {
        ftp_log_printf("Connection to %s failed", host);
        --ftp.busy;
        return kNoSocket;
    }
    ftp.control = s;
    if (ftp.net->LocalAddress(s, ftp.localControl) != 0) {
        ftp_print_error("getsockname", ftp.net->LastError());
        --ftp.busy;
        ftp_drop_control("Connection closed");
        return kNoSocket;
    }
    ftp_log_printf("[%u] from %s port %u", static_cast<unsigned>(s), FormatIp(ftp.localControl.ip).c_str(),
                   ftp.localControl.port);
    int result = ftp_read_reply(s);
    while (result == kReplyPrelim) {
        if (ftp.replyText.find("(EXOS") != std::string::npos)
            ftp.crTerminated = 1;
        result = ftp_read_reply(s);
    }
    if (result != kReplyComplete) {
        ftp_log_printf("Unknown open msg \"%s\" %u", ftp.replyText.c_str(), static_cast<unsigned>(ftp.lastCode));
        --ftp.busy;
        if (ftp.control == s)
            ftp_drop_control("Connection closed");
        return kNoSocket;
    }
    if (ftp.net->SetOobInline(s) != 0)
        ftp_print_error("setsockopt", ftp.net->LastError());
    --ftp.busy;

    ftp_debug_printf("FTP UserName");
    result = ftp_command(s, "USER %s", ftp.user.c_str());
    if (result == kReplyContinue) {
        ftp_debug_printf("FTP Password");
        result = ftp_command(s, "PASS %s", ftp.password.c_str());
    }
    if (result == kReplyComplete) {
        ftp.loggedIn = 1;
        AskForUtf8(s);
        if (ftp.control != s)
            return kNoSocket;
        const std::string title = std::string("FTP: ") + host;
        ftp.host->SetTitle(title.c_str());
        return s;
    }
    ftp_log_printf("Could not log on to remote host %s", host);
    const std::string text = ftp.replyText.size() > 4 ? ftp.replyText.substr(4) : std::string();
    if (ftp.control == s) {
        ftp.net->Close(s);
        ftp.control = kNoSocket;
    }
    ftp.host->LoginFailed(text.c_str());
    return kNoSocket;
}

void ftp_local_host_info()
{
    FtpNet& net = *Ftp().net;
    std::string name;
    if (!net.LocalHostName(name)) {
        ftp_print_error("GetHostName", net.LastError());
        return;
    }
    ftp_log_printf("Local Host: %s", name.c_str());
    std::vector<std::uint32_t> ips;
    if (!net.HostAddresses(name.c_str(), ips)) {
        ftp_print_error("gethostbyname", net.LastError());
        return;
    }
    for (std::uint32_t ip : ips)
        ftp_log_printf("Local Address: %s", FormatIp(ip).c_str());
}
