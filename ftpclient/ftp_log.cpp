#include "ftp_log.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "ftp_session.h"

namespace {

std::string VFormat(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0)
        return std::string();
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

FtpHost& Host() { return Ftp().host != nullptr ? *Ftp().host : QuietFtpHost(); }

void DebugLine(const char* text)
{
    if (Ftp().debug)
        Host().Debug(text);
}

}  // namespace

void ftp_log_line(const char* text)
{
    if (text == nullptr || text[0] == '\0')
        return;
    const bool trace = text[0] == '[';
    if (!Ftp().verbose && !trace)
        return;
    if (trace)
        DebugLine(text);
    else
        Host().Info(text);
}

void ftp_log_printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    ftp_log_line(text.c_str());
}

void ftp_info_line(const char* text)
{
    if (text != nullptr && text[0] != '\0')
        Host().Info(text);
}

void ftp_debug_printf(const char* format, ...)
{
    if (!Ftp().debug)
        return;
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    Host().Debug(text.c_str());
}

void ftp_error_printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    Host().Error(text.c_str());
}

void ftp_log_protocol(const char* command) { ftp_debug_printf("SEND: %s", command); }

void ftp_print_error(const char* name, int error)
{
    const std::string text = winsock_error_text(error);
    if (name != nullptr)
        ftp_log_printf("%s: %s", name, text.c_str());
    else
        ftp_log_line(text.c_str());
}

std::string winsock_error_text(int error)
{
    static const struct {
        int number;
        const char* text;
    } table[] = {
        {10004, "Blocking call cancelled"},
        {10022, "app version not supported by DLL"},
        {10024, "no file descriptors available"},
        {10035, "socket marked as non-blocking and SO_LINGER set not 0"},
        {10036, "Blocking operation in progress"},
        {10038, "descriptor is not a socket"},
        {10041, "protocol wrong type for this socket"},
        {10043, "specified protocol not supported"},
        {10044, "socket type not supported for address family"},
        {10047, "address family not supported"},
        {10048, "address already in use"},
        {10049, "address not available"},
        {10050, "Network subsystem failed"},
        {10053, "connection aborted"},
        {10054, "connection reset"},
        {10055, "no buffer space available"},
        {10057, "not connected"},
        {10060, "connection timed out"},
        {10061, "connection refused"},
        {10064, "host down"},
        {10065, "host unreachable"},
        {10091, "WinSock not present or not responding"},
        {10092, "version of WinSock not supported"},
        {10093, "WSA Startup not initialized"},
        {11001, "Authoritive: Host not found"},
        {11002, "Non-authoritive: host not found or server failure"},
        {11003, "Non-recoverable: refused or not implemented"},
        {11004, "Valid name, no data record for type"},
    };
    for (const auto& e : table)
        if (e.number == error)
            return e.text;
    char text[32];
    std::snprintf(text, sizeof text, "error %u", static_cast<unsigned>(error));
    return text;
}

std::string FormatArg(const char* text, const std::string& arg)
{
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == '1') {
            out += arg;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
