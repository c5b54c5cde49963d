// Sending command lines and reading replies on the control connection.
#include <cctype>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <strings.h>
#include <vector>

#include "ftp_api.h"
#include "ftp_engine.h"
#include "ftp_log.h"
#include "ftp_wait.h"

namespace {

using Clock = std::chrono::steady_clock;

// The most lines one reply may have; a server that sends more is broken (a reply that never
// ends would otherwise hold the client for ever).
constexpr int kMaxReplyLines = 1000;

// Error of a reply read that is not the user's doing: the connection is gone or unusable. The
// operation then failed because the host gave no answer, not because the user aborted it.
void FatalReadError(FtpSocket s, int error)
{
    FtpSessionState& ftp = Ftp();
    ftp_print_error("Recv", error);
    ftp.abortFlag = 1;
    if (ftp.transferError == 0)
        ftp.transferError = kFtpNoAnswer;
    if (s == ftp.control)
        ftp_drop_control("Connection closed by the server");
}

bool IsLineEnd(char c) { return c == '\n' || c == '\0' || (c == '\r' && Ftp().crTerminated); }

}  // namespace

int ftp_reply_code(const std::string& text)
{
    if (text.size() < 3)
        return 0;
    for (int i = 0; i < 3; ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return 0;
    // "2300 logged in" is text, not code 230: the code stands alone or before a blank or '-'.
    if (text.size() > 3 && std::strchr(" -\r\n", text[3]) == nullptr)
        return 0;
    return (text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0');
}

ReplyBound::ReplyBound() : start_(Clock::now()) {}

bool ReplyBound::Another(FtpSocket s)
{
    FtpSessionState& ftp = Ftp();
    ++lines_;
    const bool tooLong = lines_ > kMaxReplyLines;
    if (!tooLong && (ftp.timeoutMs <= 0 || Clock::now() - start_ < std::chrono::milliseconds(ftp.timeoutMs)))
        return true;
    if (tooLong)
        ftp_error_printf("The server's reply goes on without end (more than %d lines): the server is broken",
                         kMaxReplyLines);
    else
        ftp_error_printf("The server's reply goes on without end (more than %d seconds): the server is broken",
                         ftp.timeoutMs / 1000);
    ftp.abortFlag = 1;
    if (ftp.transferError == 0)
        ftp.transferError = kFtpBadAnswer;
    if (s == ftp.control)
        ftp_drop_control("Connection closed");
    return false;
}

namespace {

void StripLineEnd(std::string& text)
{
    while (text.size() > 2) {
        const char c = text.back();
        if (c != ' ' && c != '\r' && c != '\n')
            break;
        text.pop_back();
    }
}

bool IsValidCode(int code) { return code >= 100 && code <= 599; }

}  // namespace

bool ftp_command_ok(const char* command)
{
    const std::size_t n = std::strlen(command);
    if (n > kMaxCommandLine) {
        ftp_info_line("Command too long, not sent");
        return false;
    }
    if (std::strpbrk(command, "\r\n") != nullptr) {
        ftp_info_line("Command holds a line break, not sent");
        return false;
    }
    return true;
}

const char* ftp_class_name(int replyClass)
{
    switch (replyClass) {
    case kReplyPrelim: return "Prelim";
    case kReplyComplete: return "Complete";
    case kReplyContinue: return "Continue";
    case kReplyRetry: return "Retry";
    case kReplyError: return "Error";
    default: return "Unknown";
    }
}

int ftp_send_all(FtpSocket s, const char* bytes, std::size_t count)
{
    int error = 0;
    const long n = ftp_send_wait(s, bytes, count, Ftp().timeoutMs, &error);
    if (n == kIoFailed) {
        ftp_print_error("Send", error);
        Ftp().abortFlag = 1;
    }
    if (Ftp().abortFlag || n == kIoCancelled)
        return kReplyAborted;
    return n == kIoFailed ? kReplyError : kReplyComplete;
}

long ftp_send_line(FtpSocket s, const char* command)
{
    FtpSessionState& ftp = Ftp();
    if (ftp.busy != 0 && strcasecmp(command, "QUIT") != 0) {
        ftp_info_line("Command already in progress, ignored New Cmd");
        return -1;
    }
    std::string line(command);
    line += "\r\n";
    ++ftp.busy;
    const int result = ftp_send_all(s, line.data(), line.size());
    --ftp.busy;
    return result == kReplyComplete ? static_cast<long>(line.size()) : -1;
}

long ftp_send_raw(FtpSocket s, const char* command)
{
    std::string line(command);
    if (line.empty() || line.back() != '\n')
        line += "\r\n";
    ftp_log_protocol(command);
    return ftp_send_all(s, line.data(), line.size()) == kReplyComplete ? static_cast<long>(line.size()) : -1;
}

int ftp_send_command(FtpSocket s, const char* command)
{
    FtpSessionState& ftp = Ftp();
    ftp.lastCode = 0;
    if (std::strncmp(command, "PASS ", 5) == 0)
        ftp_log_line("PASS xxxxxx");
    else
        ftp_log_line(command);
    if (s == kNoSocket) {
        ftp_log_line("Not connected");
        return kReplyNone;
    }
    if (!ftp_command_ok(command))
        return kReplyNone;
    ftp_log_protocol(std::strncmp(command, "PASS ", 5) == 0 ? "PASS xxxxxx" : command);
    int result = -1;
    if (ftp_send_line(s, command) >= 0)
        result = ftp_read_reply(s);
    ftp_debug_printf("RESULT: %4d  %3d  %-16s  %s", result, ftp.lastCode, ftp_class_name(result), command);
    return result;
}

int ftp_command(FtpSocket s, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> buf(n > 0 ? static_cast<std::size_t>(n) + 1 : 1, '\0');
    if (n > 0)
        std::vsnprintf(buf.data(), buf.size(), format, args);
    va_end(args);
    Ftp().lastCode = 0;
    return ftp_send_command(s, buf.data());
}

int ftp_read_line(FtpSocket s)
{
    FtpSessionState& ftp = Ftp();
    ++ftp.busy;
    ftp.replyText.clear();
    bool ended = false;
    while (!ended) {
        char peeked[82];
        int error = 0;
        const long n = ftp_recv_wait(s, peeked, sizeof peeked, true, ftp.timeoutMs, &error);
        if (n == kIoCancelled) {
            // The reply may still come; nothing after it could be matched to its command.
            if (s == ftp.control)
                ftp_drop_control("No reply, connection closed");
            break;
        }
        if (n == kIoFailed || n == 0) {
            FatalReadError(s, n == 0 ? kNetConnReset : error);
            break;
        }
        std::size_t want = static_cast<std::size_t>(n);
        for (std::size_t i = 0; i < want; ++i) {
            if (IsLineEnd(peeked[i])) {
                want = i + 1;
                break;
            }
        }
        char bytes[82];
        const long got = ftp_recv_wait(s, bytes, want, false, ftp.timeoutMs, &error);
        if (got <= 0) {
            if (got != kIoCancelled)
                FatalReadError(s, got == 0 ? kNetConnReset : error);
            break;
        }
        for (long i = 0; i < got; ++i)
            if (bytes[i] != '\0' && ftp.replyText.size() < kMaxReplyLine)
                ftp.replyText += bytes[i];
        // The counts only: the line itself is logged once, by the reply reader.
        ftp_debug_printf("[%u] readline %u - %u - %u", static_cast<unsigned>(s), static_cast<unsigned>(n),
                         static_cast<unsigned>(want), static_cast<unsigned>(got));
        const char last = bytes[got - 1];
        ended = last == '\n' || (last == '\r' && ftp.crTerminated);
    }
    int code = ftp_reply_code(ftp.replyText);
    if (ftp.abortFlag)
        code = 421;
    StripLineEnd(ftp.replyText);
    --ftp.busy;
    return code;
}

int ftp_read_reply(FtpSocket s)
{
    FtpSessionState& ftp = Ftp();
    if (s == kNoSocket)
        return kReplyNone;
    ++ftp.busy;
    ++ftp.replyDepth;
    ReplyBound bound;
    for (;;) {
        if (!bound.Another(s)) {
            ftp.lastCode = 421;
            break;
        }
        const int code = ftp_read_line(s);
        const bool continuation = !IsValidCode(code) || (ftp.replyText.size() > 3 && ftp.replyText[3] == '-');
        ftp_log_line(ftp.replyText.c_str());
        if (ftp.abortFlag) {
            ftp.lastCode = 421;
            break;
        }
        if ((ftp.replyDepth == 1 || ftp.lastCode == 0) && IsValidCode(code))
            ftp.lastCode = code;
        if (continuation)
            continue;
        if (ftp.replyDepth > 1 && ftp.lastCode != 0 && ftp.lastCode != code)
            continue;
        break;
    }
    --ftp.replyDepth;
    --ftp.busy;
    if (ftp.abortFlag)
        return kReplyAborted;
    return IsValidCode(ftp.lastCode) ? ftp.lastCode / 100 : kReplyNone;
}
