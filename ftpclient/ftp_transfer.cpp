// Data connections: the PORT listener, uploads and downloads, and the byte loops between the data
// connection and the local file.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "char_translation.h"
#include "ftp_api.h"
#include "ftp_engine.h"
#include "ftp_log.h"
#include "ftp_wait.h"
#include "listing_parsers.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// File data moves in large blocks: every socket and file call costs far more than the bytes it
// moves (under Wine each one is a trip to the server), so fewer calls is most of the speed. The
// buffer is the same for a file of any size.
constexpr std::size_t kDataBlock = 256 * 1024;
// The caller's progress message goes out at most this often (and once more with the final count):
// a message per block would cost the transfer more than the painting it is for.
constexpr auto kProgressEvery = std::chrono::milliseconds(50);

// Progress of one transfer, reported to the caller on a time basis.
class ProgressReport {
public:
    void Add(long long bytes)
    {
        done_ += bytes;
        Ftp().bytesDone = done_;
        const Clock::time_point now = Clock::now();
        if (now - last_ >= kProgressEvery) {
            last_ = now;
            Send();
        }
    }
    // The final count, when the caller has not seen it yet.
    void Finish()
    {
        if (sent_ != done_)
            Send();
    }
    long long Done() const { return done_; }

private:
    void Send()
    {
        sent_ = done_;
        FtpNotifyProgress(done_);
    }
    long long done_ = 0;
    long long sent_ = 0;
    Clock::time_point last_ = Clock::now();
};

void Beep(int kind)
{
    if (Ftp().beep)
        Ftp().host->Beep(kind);
}

long long FileSize(std::FILE* file)
{
#ifdef _WIN32
    const long long here = _ftelli64(file);
    _fseeki64(file, 0, SEEK_END);
    const long long size = _ftelli64(file);
    _fseeki64(file, here, SEEK_SET);
#else
    const long long here = ftello(file);
    fseeko(file, 0, SEEK_END);
    const long long size = ftello(file);
    fseeko(file, here, SEEK_SET);
#endif
    return size < 0 ? 0 : size;
}

void LogRate(const char* word, long long count, Clock::time_point start)
{
    long long seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
    ftp_log_printf("%sed %lld characters in %lld seconds (%lld bytes/sec)", word, count, seconds,
                   count / (seconds == 0 ? 1 : seconds));
}

void CloseListener()
{
    Ftp().listener = ftp_close_socket(Ftp().listener);
}

void CloseData(bool shutdownFirst)
{
    FtpSessionState& ftp = Ftp();
    if (ftp.data == kNoSocket)
        return;
    if (shutdownFirst && ftp.net->Shutdown(ftp.data) != 0)
        ftp_print_error("ShutDown", ftp.net->LastError());
    ftp.data = ftp_close_socket(ftp.data);
}

// Switches the transfer type when it differs from the one in force; false when the server refuses.
bool SetType(FtpSocket control, char type)
{
    FtpSessionState& ftp = Ftp();
    type = static_cast<char>(std::toupper(static_cast<unsigned char>(type)));
    if (type == ftp.currentType)
        return true;
    const int result = type == 'L' ? ftp_send_command(control, "TYPE L 8") : ftp_command(control, "TYPE %c", type);
    if (result != kReplyComplete) {
        if (ftp.transferError == 0)
            ftp.transferError = kFtpTypeRefused;
        return false;
    }
    ftp.currentType = type;
    return true;
}

// Reads the final reply of a command whose data connection never came, so that later replies
// stay matched to their commands.
void ConsumeFinalReply(FtpSocket control)
{
    FtpSessionState& ftp = Ftp();
    const int savedAbort = ftp.abortFlag;
    ftp.abortFlag = 0;
    ftp.cancelRequest = 0;
    if (ftp.control == control)
        ftp_read_reply(control);
    ftp.abortFlag = savedAbort;
}

// Ends a transfer that was cut short: the data connection is already closed; ABOR goes out and
// the replies of the cut transfer and of ABOR are read. Servers differ in how many they send (the
// transfer's own reply and ABOR's, or ABOR's alone when no data had moved yet), so a NOOP follows
// the ABOR and everything up to its 200 is consumed: the next command then reads its own reply.
// The result is "aborted".
int AbortTransfer(FtpSocket control)
{
    FtpSessionState& ftp = Ftp();
    ftp.abortFlag = 0;
    ftp.cancelRequest = 0;
    if (ftp.control == control) {
        ftp_log_line("ABOR");
        bool inStep = false;
        if (ftp_send_raw(control, "ABOR") >= 0 && ftp_send_raw(control, "NOOP") >= 0) {
            for (int replies = 0; replies < 4 && ftp.control == control; ++replies) {
                const int result = ftp_read_reply(control);
                if (result == kReplyNone || result == kReplyAborted)
                    break;
                if (ftp.lastCode == 200) {
                    inStep = true;
                    break;
                }
            }
        }
        if (!inStep)
            ftp_drop_control("Connection closed");
    }
    ftp.abortFlag = 1;
    return kReplyAborted;
}

// Common start of both directions: type, listener, the command and the accepted data connection.
// True with the data socket in hand; false with the class to return in *result.
bool OpenDataConnection(FtpSocket control, const char* command, char type, int listenerFailure, int* result)
{
    FtpSessionState& ftp = Ftp();
    *result = kReplyNone;
    if (!SetType(control, type))
        return false;
    ftp.listener = ftp_open_data_listener(control);
    if (ftp.listener == kNoSocket) {
        Beep(kBeepExclamation);
        *result = listenerFailure;
        return false;
    }
    const int reply = ftp_send_command(control, command);
    if (reply != kReplyPrelim) {
        CloseListener();
        Beep(kBeepExclamation);
        *result = reply == kReplyAborted ? kReplyAborted : kReplyNone;
        return false;
    }
    ftp.bytesTotal = ftp_reply_size(ftp.replyText.c_str());
    // Only the server may connect: a connection from another address is refused and the wait
    // goes on until the time-out.
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ftp.timeoutMs);
    AcceptEnd end = AcceptEnd::kFailed;
    int error = 0;
    NetAddress peer;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        end = ftp_accept_wait(ftp.listener, control, ftp.timeoutMs > 0 ? static_cast<int>(left > 1 ? left : 1) : 0,
                              &ftp.data, &peer, &error);
        if (end != AcceptEnd::kAccepted || peer.ip == ftp.serverIp)
            break;
        ftp_error_printf("Data connection from %s port %u refused: it is not the server (%s)", FormatIp(peer.ip).c_str(),
                         peer.port, FormatIp(ftp.serverIp).c_str());
        ftp.data = ftp_close_socket(ftp.data);
    }
    CloseListener();
    if (end == AcceptEnd::kControlSpoke) {
        // The server answered (or closed) instead of connecting: the transfer failed.
        const int reply = ftp_read_reply(control);
        if (ftp.control == control && reply != kReplyComplete)
            ftp_error_printf("No data connection: %s", ftp.replyText.c_str());
        if (ftp.transferError == 0)
            ftp.transferError = kFtpDataConnection;
        ftp.abortFlag = 0;
        *result = listenerFailure;
        return false;
    }
    if (end != AcceptEnd::kAccepted) {
        ftp_print_error("accept", error);
        ConsumeFinalReply(control);
        const bool cancelled = end == AcceptEnd::kCancelled;
        if (cancelled)
            ftp.abortFlag = 1;
        *result = cancelled ? kReplyAborted : listenerFailure;
        return false;
    }
    ftp_log_printf("[%u] accept from %s port %u", static_cast<unsigned>(ftp.data), FormatIp(peer.ip).c_str(), peer.port);
    return true;
}

// What is left of a receive that failed: no file under its name, or, when it was appended to an
// existing file, that file as it was.
void DiscardReceived(const char* path, bool created, long long keptSize)
{
    if (created) {
        if (std::remove(path) == 0)
            ftp_log_line("Delete partially downloaded file");
        return;
    }
#ifdef _WIN32
    const int fd = _open(path, _O_RDWR | _O_BINARY);
    const bool cut = fd >= 0 && _chsize_s(fd, keptSize) == 0;
    if (fd >= 0)
        _close(fd);
#else
    const bool cut = truncate(path, static_cast<off_t>(keptSize)) == 0;
#endif
    if (cut)
        ftp_log_line("Partially appended data removed");
}

// Hosts that keep files as records: the size they announce is an estimate of the text sent.
bool RecordFileHost(int hostType)
{
    return hostType == kHostIbmVm || hostType == kHostVmsMultinet || hostType == kHostVmsUcx || hostType == kHostIbmMvs;
}

// The most bytes a receive of the announced size may bring (0: no bound). In ASCII mode the
// server may send every line end as CR LF.
long long ReceiveLimit(char type, long long announced)
{
    if (announced <= 0)
        return 0;
    return type == 'A' ? 2 * announced : announced;
}

// Whether `done` bytes are as many as the announced size lets a whole file have.
bool ReceivedWhole(char type, long long announced, long long done)
{
    if (announced <= 0)
        return true;
    if (type != 'A')
        return done == announced;
    return done >= announced || RecordFileHost(Ftp().hostType);
}

bool CheckStart(FtpSocket control)
{
    FtpSessionState& ftp = Ftp();
    ftp.lastCode = 0;
    if (control == kNoSocket) {
        ftp_log_line("no ctrl_skt, ignored");
        return false;
    }
    if (ftp.busy != 0) {
        ftp_log_line("command in process, ignored");
        return false;
    }
    return true;
}

}  // namespace

long long ftp_reply_size(const char* replyText)
{
    std::string upper = replyText;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::size_t at = upper.find(" BYTE");
    if (at == std::string::npos)
        return 0;
    std::size_t end = at;
    while (end > 0 && upper[end - 1] == ' ')
        --end;
    std::size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(upper[start - 1])))
        --start;
    if (start > 0 && upper[start - 1] == '-')
        return 0;  // "(-1 bytes)": no size
    long long size = 0;
    for (std::size_t i = start; i < end; ++i) {
        if (size > (1LL << 56))
            return 0;  // no file is that large; ignore the number
        size = size * 10 + (upper[i] - '0');
    }
    return size;
}

FtpSocket ftp_open_data_listener(FtpSocket control)
{
    FtpSessionState& ftp = Ftp();
    FtpNet& net = *ftp.net;
    const FtpSocket s = net.OpenStream();
    if (s == kNoSocket) {
        ftp_print_error("socket create", net.LastError());
        return kNoSocket;
    }
    // The listener takes the address of the interface that reaches the server (the control
    // connection's), not every address of the machine.
    NetAddress controlAddress;
    const bool known = net.LocalAddress(control, controlAddress) == 0;
    if (known)
        ftp_log_printf("[%u] going to listen %s port %u", static_cast<unsigned>(s), FormatIp(controlAddress.ip).c_str(), 0u);
    NetAddress local;
    const char* failed = nullptr;
    if (!known)
        failed = "getsockname";
    else if (net.Bind(s, NetAddress{controlAddress.ip, 0}) != 0)
        failed = "bind";
    else if (net.LocalAddress(s, local) != 0)
        failed = "getsockname";
    else if (net.Listen(s, 1) != 0)
        failed = "listen";
    if (failed != nullptr) {
        ftp_print_error(failed, net.LastError());
        net.Close(s);
        return kNoSocket;
    }
    const std::uint32_t ip = controlAddress.ip;
    const int result = ftp_command(control, "PORT %u,%u,%u,%u,%u,%u", (ip >> 24) & 255u, (ip >> 16) & 255u,
                                   (ip >> 8) & 255u, ip & 255u, (local.port >> 8) & 255u, local.port & 255u);
    if (result != kReplyComplete) {
        // Without its PORT the server would connect to some other port, or to nobody.
        ftp_log_printf("[%u] remote end didn't understand our port command.", static_cast<unsigned>(s));
        if (ftp.control == control)
            ftp_error_printf("The server refused the data port: %s", ftp.replyText.c_str());
        if (ftp.transferError == 0)
            ftp.transferError = kFtpDataConnection;
        net.Close(s);
        return kNoSocket;
    }
    ftp_log_printf("[%u] listener %s port %u", static_cast<unsigned>(s), FormatIp(local.ip).c_str(), local.port);
    return s;
}

int ftp_transfer_send(FtpSocket control, const char* command, const char* localPath, char type)
{
    FtpSessionState& ftp = Ftp();
    if (!CheckStart(control))
        return kReplyNone;
    // The local file is opened first: a file that is not there must not empty the remote one.
    std::FILE* file = std::fopen(localPath, "rb");
    if (file == nullptr) {
        ftp_error_printf("Could not open file %s (%u)", localPath, static_cast<unsigned>(errno));
        Beep(kBeepExclamation);
        ftp.transferError = kFtpLocalFile;
        return kReplyNone;
    }
    int failed = kReplyNone;
    if (!OpenDataConnection(control, command, type, kReplyError, &failed)) {
        std::fclose(file);
        return failed;
    }
    const int result = ftp_send_file(ftp.data, file, localPath);
    CloseData(false);
    if (result == kReplyAborted)
        return AbortTransfer(control);
    const int reply = ftp_read_reply(control);
    return result == kReplyError ? kReplyError : reply;
}

int ftp_transfer_receive(FtpSocket control, const char* command, const char* localPath, char type, int append)
{
    FtpSessionState& ftp = Ftp();
    if (!CheckStart(control))
        return kReplyNone;
    int failed = kReplyNone;
    if (!OpenDataConnection(control, command, type, kReplyNone, &failed))
        return failed;

    bool created = true;
    long long kept = 0;
    std::FILE* file = nullptr;
    if (append) {
        std::FILE* existing = std::fopen(localPath, "rb");
        created = existing == nullptr;
        if (existing != nullptr) {
            kept = FileSize(existing);
            std::fclose(existing);
        }
        file = std::fopen(localPath, "ab");
        if (file == nullptr)
            ftp_error_printf("Failed to append to file %s (%u)", localPath, static_cast<unsigned>(errno));
    } else {
        file = std::fopen(localPath, "wb");
        if (file == nullptr)
            ftp_error_printf("Failed to create file %s (%u)", localPath, static_cast<unsigned>(errno));
    }
    if (file == nullptr) {
        ftp.transferError = kFtpLocalFile;
        CloseData(true);
        AbortTransfer(control);
        return kReplyError;
    }

    const int result = ftp_recv_file(ftp.data, file, localPath, created);
    CloseData(true);
    int reply = kReplyAborted;
    if (result == kReplyAborted) {
        AbortTransfer(control);
    } else {
        reply = ftp_read_reply(control);
        if (result == kReplyError)
            reply = kReplyError;
    }
    if (reply != kReplyComplete)
        DiscardReceived(localPath, created, kept);
    return reply;
}

int ftp_send_file(FtpSocket data, std::FILE* file, const char* path)
{
    FtpSessionState& ftp = Ftp();
    if (data == kNoSocket || !ftp.loggedIn) {
        std::fclose(file);
        return kReplyError;
    }
    ++ftp.busy;
    ftp.abortFlag = 0;
    const Clock::time_point start = Clock::now();
    ftp.bytesTotal = FileSize(file);
    ftp.bytesDone = 0;
    ftp_log_printf("Transferring %lld bytes", static_cast<long long>(ftp.bytesTotal));
    ftp_log_line(path);
    std::vector<std::uint8_t> block(kDataBlock);
    std::uint8_t* const buffer = block.data();
    int result = kReplyComplete;
    ProgressReport progress;
    while (!ftp.abortFlag) {
        const std::size_t n = std::fread(buffer, 1, block.size(), file);
        if (n == 0) {
            if (std::ferror(file)) {
                ftp_error_printf("Could not read file %s (%u)", path, static_cast<unsigned>(errno));
                ftp.transferError = kFtpLocalFile;
                result = kReplyError;
            }
            break;
        }
        if (ftp.translate)
            ConvertOutgoing(buffer, n, ftp.avoidZero);
        int error = 0;
        const long sent = ftp_send_wait(data, buffer, n, ftp.timeoutMs, &error);
        if (sent == kIoCancelled)
            break;
        if (sent == kIoFailed) {
            ftp_print_error("Send", error);
            result = kReplyError;
            break;
        }
        progress.Add(sent);
        // Data that never waits must not keep the window's messages (Abort among them) waiting.
        ftp_pump_now_and_then();
    }
    progress.Finish();
    const long long done = progress.Done();
    std::fclose(file);
    if (ftp.abortFlag)
        result = kReplyAborted;
    if (result == kReplyError) {
        ftp_log_line("Error on Transfer, aborted");
        if (ftp.transferError == 0)
            ftp.transferError = kFtpTransferFailed;
    } else if (result == kReplyAborted) {
        ftp_log_line("Transfer aborted");
    } else {
        LogRate("Transmitt", done, start);
        Beep(kBeepDefault);
    }
    --ftp.busy;
    return result;
}

int ftp_recv_file(FtpSocket data, std::FILE* file, const char* path, bool created)
{
    FtpSessionState& ftp = Ftp();
    if (data == kNoSocket || !ftp.loggedIn) {
        std::fclose(file);
        return kReplyNone;
    }
    ++ftp.busy;
    ftp.abortFlag = 0;
    ftp_log_line(path);
    const Clock::time_point start = Clock::now();
    ftp.bytesDone = 0;
    std::vector<std::uint8_t> block(kDataBlock);
    std::uint8_t* const buffer = block.data();
    ProgressReport progress;
    int recvError = 0;
    // A server must not fill the disk: the receive stops once it passes the announced size.
    const long long limit = ReceiveLimit(ftp.currentType, ftp.bytesTotal);
    while (!ftp.abortFlag) {
        const long n = ftp_recv_wait(data, buffer, block.size(), false, ftp.timeoutMs, &recvError);
        if (n == 0 || n == kIoCancelled)
            break;
        if (n == kIoFailed)
            break;
        if (limit > 0 && progress.Done() + n > limit) {
            ftp_error_printf("Transfer stopped: the server sent more than the %lld bytes it announced",
                             static_cast<long long>(ftp.bytesTotal));
            ftp.transferError = kFtpTransferFailed;
            ftp.abortFlag = 1;
            break;
        }
        if (ftp.translate)
            ConvertIncoming(buffer, static_cast<std::size_t>(n), ftp.avoidZero);
        if (std::fwrite(buffer, 1, static_cast<std::size_t>(n), file) != static_cast<std::size_t>(n)) {
            ftp_error_printf("Failed to write file %s (%u)", path, static_cast<unsigned>(errno));
            ftp.transferError = kFtpLocalWrite;
            ftp.abortFlag = 1;
            break;
        }
        progress.Add(n);
        ftp_pump_now_and_then();
    }
    progress.Finish();
    const long long done = progress.Done();
    if (std::fclose(file) != 0 && !ftp.abortFlag) {
        ftp_error_printf("Failed to write file %s (%u)", path, static_cast<unsigned>(errno));
        ftp.transferError = kFtpLocalWrite;
        ftp.abortFlag = 1;
    }
    int result = kReplyComplete;
    if (ftp.abortFlag) {
        if (created) {
            std::remove(path);
            ftp_log_line("Delete partially downloaded file");
        }
        result = kReplyAborted;
    } else if (recvError != 0) {
        ftp_print_error("Recv", recvError);
        if (done == 0)
            Beep(kBeepExclamation);
        ftp.transferError = kFtpTransferFailed;
        result = kReplyError;
    } else if (!ReceivedWhole(ftp.currentType, ftp.bytesTotal, done)) {
        // Less than the server announced: a broken transfer.
        ftp_error_printf("Transfer incomplete: %lld of %lld bytes", done, static_cast<long long>(ftp.bytesTotal));
        ftp.transferError = kFtpTransferFailed;
        result = kReplyError;
    } else {
        LogRate("Receiv", done, start);
        Beep(kBeepDefault);
    }
    --ftp.busy;
    return result;
}
