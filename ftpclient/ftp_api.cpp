// The API functions: argument checks, one operation at a time, and reply classes turned into
// result codes.
#include "ftp_api.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <string>

#include "ftp_engine.h"
#include "ftp_log.h"
#include "listing_parsers.h"
#include "listing_reader.h"

namespace {

// Marks an operation (log-on, command, listing, transfer) as running; a second one is refused
// while the first waits on the network and the message pump runs.
class Operation {
public:
    Operation()
    {
        FtpSessionState& ftp = Ftp();
        if (ftp.operationActive) {
            ftp_info_line("Command already in progress, ignored New Cmd");
            return;
        }
        ftp.operationActive = 1;
        ftp.abortFlag = 0;
        ftp.cancelRequest = 0;
        ftp.userAbort = 0;
        ftp.transferError = 0;
        running_ = true;
    }
    ~Operation()
    {
        if (running_)
            Ftp().operationActive = 0;
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    bool Refused() const { return !running_; }

private:
    bool running_ = false;
};

bool LoggedOn() { return Ftp().loggedIn && Ftp().control != kNoSocket; }

int SimpleResult(int replyClass) { return replyClass == kReplyComplete ? kFtpOk : kFtpRefused; }

void CopyOut(char* buffer, int length, const std::string& text)
{
    if (buffer == nullptr || length <= 0)
        return;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(length - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// The common start of an operation on a logged-on session: kFtpOk, or the code to return.
int RefuseUnlessLoggedOn(const Operation& op)
{
    if (op.Refused())
        return kFtpRefused;
    if (!LoggedOn())
        return kFtpNotConnected;
    return kFtpOk;
}

// A name of the caller in the server's form: converted to UTF-8 when the server speaks it.
// False (reported) when it has no such form.
bool ToServer(const char* name, std::string& out)
{
    FtpSessionState& ftp = Ftp();
    if (!ftp.utf8) {
        out = name;
        return true;
    }
    if (ftp.host->NameToServer(name, out))
        return true;
    ftp_error_printf("Name has no form on the server: %s", name);
    return false;
}

// The directory named in a PWD reply.
std::string PwdDirectory(const std::string& reply, int hostType)
{
    const std::size_t open = reply.find('"');
    if (open != std::string::npos) {
        const std::size_t close = reply.find('"', open + 1);
        std::string dir = reply.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
        return dir.substr(0, 180);
    }
    if (hostType == kHostVmsMultinet || hostType == kHostVmsUcx) {
        const std::size_t mark = reply.find(":[");
        if (mark != std::string::npos) {
            const std::size_t blank = reply.rfind(' ', mark);
            const std::size_t start = blank == std::string::npos ? 0 : blank + 1;
            const std::size_t end = reply.find(' ', mark);
            return reply.substr(start, end == std::string::npos ? std::string::npos : end - start);
        }
    }
    return std::string();
}

int Transfer(bool upload, const char* localPath, const char* remoteName, char type, int notify,
             std::uintptr_t window, unsigned message, int append)
{
    FtpSessionState& ftp = Ftp();
    if (localPath == nullptr || remoteName == nullptr || remoteName[0] == '\0' || localPath[0] == '\0')
        return kFtpBadParameters;
    Operation op;
    if (op.Refused())
        return kFtpTransferFailed;
    if (!LoggedOn())
        return kFtpNotConnected;
    if (notify) {
        ftp.progressWindow = window;
        ftp.progressMessage = message;
    }
    ftp.bytesDone = 0;
    ftp.bytesTotal = 0;
    std::string serverName;
    if (!ToServer(remoteName, serverName))
        return kFtpNameNotConverted;
    const std::string command = std::string(upload ? (append ? "APPE " : "STOR ") : "RETR ") + serverName;
    if (!ftp_command_ok(command.c_str()))
        return kFtpBadParameters;  // the client refused the name, not the host
    const int result = upload ? ftp_transfer_send(ftp.control, command.c_str(), localPath, type)
                              : ftp_transfer_receive(ftp.control, command.c_str(), localPath, type, append);
    int code = kFtpTransferFailed;
    if (ftp.transferError != 0)
        code = ftp.transferError;
    else if (result == kReplyComplete)
        code = kFtpOk;
    else if (result == kReplyAborted && ftp.userAbort)
        code = kFtpAborted;
    else if (!LoggedOn())
        code = kFtpConnectFailed;  // the connection broke under the transfer
    ftp.abortFlag = 0;
    return code;
}

}  // namespace

int FtpInit(FtpHost* host, FtpNet* net)
{
    FtpSessionState& ftp = Ftp();
    if (net == nullptr)
        return kFtpBadParameters;
    ftp.host = host != nullptr ? host : &QuietFtpHost();
    ftp.net = net;
    std::string description;
    std::string status;
    const int error = net->Startup(description, status);
    if (error != 0) {
        ftp_print_error("WSAStartup", error);
        return error;
    }
    ftp.started = 1;
    ftp_log_printf("Using %s", description.c_str());
    if (!status.empty())
        ftp_log_printf("System Status: %s", status.c_str());
    ftp_local_host_info();
    return 0;
}

int FtpRelease()
{
    FtpSessionState& ftp = Ftp();
    if (ftp.started && ftp.net != nullptr)
        ftp.net->Cleanup();
    ftp.started = 0;
    return 0;
}

void FtpSetTempDir(const char* directory)
{
    FtpSessionState& ftp = Ftp();
    std::string dir = directory != nullptr ? directory : "";
    if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    ftp.tempDir = dir;
}

void FtpSetTimeout(int seconds)
{
    if (seconds > 0 && seconds <= 24 * 3600)
        Ftp().timeoutMs = seconds * 1000;
}

int FtpSetVerbose(int flag, std::uintptr_t, unsigned)
{
    Ftp().verbose = flag;
    return 0;
}

int FtpSetDebug(int flag, std::uintptr_t, unsigned)
{
    Ftp().debug = flag;
    return 0;
}

const char* FtpSetRetain(int flag)
{
    Ftp().retainListings = flag;
    return Ftp().listingFile.c_str();
}

void FtpSetListingFile(const char* fileName) { Ftp().listingFile = fileName != nullptr ? fileName : ""; }

int FtpSetHostType(int type)
{
    if (type < 0 || type > kHostTypeMax)
        return -1;
    Ftp().hostType = type;
    return type;
}

void FtpSetPortOverride(int port) { Ftp().portOverride = port; }

int FtpLogin(const char* host, const char* user, const char* password, int, int)
{
    FtpSessionState& ftp = Ftp();
    if (!ftp.started)
        return kFtpNotStarted;
    if (host == nullptr || user == nullptr || password == nullptr || std::strlen(user) > 80 ||
        std::strlen(password) > 80 || host[0] == '\0')
        return kFtpBadParameters;
    Operation op;
    if (op.Refused())
        return kFtpConnectFailed;
    if (ftp.control != kNoSocket)
        return kFtpConnectFailed;
    ftp.user = user;
    ftp.password = password;
    ftp.control = kNoSocket;
    const FtpSocket s = ftp_connect_login(host);
    if (s == kNoSocket)
        return kFtpConnectFailed;
    ftp.control = s;
    return kFtpOk;
}

int FtpCd(const char* directory)
{
    if (directory == nullptr)
        return kFtpBadParameters;
    Operation op;
    if (const int refused = RefuseUnlessLoggedOn(op))
        return refused;
    std::string name;
    if (!ToServer(directory, name))
        return kFtpNameNotConverted;
    return ftp_cwd(Ftp().control, name.c_str()) == kReplyComplete ? kFtpOk : kFtpRefused;
}

int FtpPwd(char* buffer, int length)
{
    Operation op;
    if (const int refused = RefuseUnlessLoggedOn(op))
        return refused;
    if (ftp_pwd(Ftp().control) != kReplyComplete) {
        CopyOut(buffer, length, "PWD not supported by host");
        return kFtpRefused;
    }
    const std::string directory = PwdDirectory(Ftp().replyText, Ftp().hostType);
    std::string local;
    CopyOut(buffer, length, Ftp().utf8 && Ftp().host->NameFromServer(directory, local) ? local : directory);
    return kFtpOk;
}

int FtpDir(const char* mask, int, int, int, int)
{
    FtpSessionState& ftp = Ftp();
    Operation op;
    if (op.Refused())
        return kFtpRefused;
    if (!LoggedOn()) {
        if (ftp.hostTypeDetected) {
            ftp_info_line("Connection Closed");
            ftp.hostTypeDetected = 0;
        }
        return kFtpNotConnected;
    }
    std::string command = "LIST";
    if (mask != nullptr && mask[0] != '\0' && std::strcmp(mask, "*") != 0) {
        std::string serverMask;
        if (!ToServer(mask, serverMask))
            return kFtpNameNotConverted;
        command += ' ';
        command += serverMask;
    }
    if (!ftp_command_ok(command.c_str()))
        return kFtpRefused;
    if (!ftp.hostTypeDetected)
        ftp_detect_host_type(ftp.control);
    if (!LoggedOn())
        return kFtpNotConnected;
    ftp_pwd(ftp.control);
    ftp_debug_printf("FTP List");
    const int result = ftp_list_to_file(ftp.control, command.c_str());
    if (result != kReplyComplete)
        ftp_log_printf("Directory List Error (Code %u)", static_cast<unsigned>(result));
    ftp.abortFlag = 0;
    return kFtpOk;
}

int FtpMkdir(const char* name, char* buffer, int length)
{
    if (name == nullptr)
        return kFtpBadParameters;
    Operation op;
    if (const int refused = RefuseUnlessLoggedOn(op))
        return refused;
    std::string serverName;
    if (!ToServer(name, serverName))
        return kFtpNameNotConverted;
    if (ftp_mkd(Ftp().control, serverName.c_str()) != kReplyComplete)
        return kFtpRefused;
    CopyOut(buffer, length, name);
    return kFtpOk;
}

int FtpRmdir(const char* name)
{
    if (name == nullptr)
        return kFtpBadParameters;
    Operation op;
    if (const int refused = RefuseUnlessLoggedOn(op))
        return refused;
    std::string serverName;
    if (!ToServer(name, serverName))
        return kFtpNameNotConverted;
    return SimpleResult(ftp_rmd(Ftp().control, serverName.c_str()));
}

int FtpDelete(const char* name)
{
    if (name == nullptr)
        return kFtpBadParameters;
    Operation op;
    if (const int refused = RefuseUnlessLoggedOn(op))
        return refused;
    std::string serverName;
    if (!ToServer(name, serverName))
        return kFtpNameNotConverted;
    return SimpleResult(ftp_dele(Ftp().control, serverName.c_str()));
}

int FtpChmod(const char* modes, const char* name)
{
    if (modes == nullptr || name == nullptr)
        return kFtpBadParameters;
    Operation op;
    if (const int refused = RefuseUnlessLoggedOn(op))
        return refused;
    std::string serverName;
    if (!ToServer(name, serverName))
        return kFtpNameNotConverted;
    return SimpleResult(ftp_site_chmod(Ftp().control, modes, serverName.c_str()));
}

int FtpRawCommand(const char* command)
{
    if (command == nullptr)
        return kFtpBadParameters;
    if (strcasecmp(command, "QUIT") == 0 && Ftp().operationActive) {
        // QUIT is let through while another operation runs.
        if (!LoggedOn())
            return kFtpNotConnected;
        const int result = ftp_send_command(Ftp().control, command);
        return result == kReplyComplete || result == kReplyContinue ? kFtpOk : kFtpRefused;
    }
    Operation op;
    if (const int refused = RefuseUnlessLoggedOn(op))
        return refused;
    const int result = ftp_send_command(Ftp().control, command);
    return result == kReplyComplete || result == kReplyContinue ? kFtpOk : kFtpRefused;
}

int FtpPut(const char* localPath, const char* remoteName, char type, int notify, std::uintptr_t progressWindow,
           unsigned progressMessage, int append)
{
    return Transfer(true, localPath, remoteName, type, notify, progressWindow, progressMessage, append);
}

int FtpGet(const char* remoteName, const char* localPath, char type, int notify, std::uintptr_t progressWindow,
           unsigned progressMessage, int append)
{
    return Transfer(false, localPath, remoteName, type, notify, progressWindow, progressMessage, append);
}

int FtpAbort()
{
    Ftp().userAbort = 1;
    Ftp().abortFlag = 1;
    Ftp().cancelRequest = 1;
    return 0;
}

int FtpClose()
{
    FtpSessionState& ftp = Ftp();
    if (ftp.operationActive)
        return kFtpCloseBusy;
    if (ftp.data != kNoSocket)
        ftp.data = ftp_close_socket(ftp.data);
    if (ftp.listener != kNoSocket)
        ftp.listener = ftp_close_socket(ftp.listener);
    if (ftp.started && ftp.loggedIn && ftp.control != kNoSocket) {
        Operation op;
        ftp_quit(ftp.control);
    }
    if (ftp.control != kNoSocket)
        ftp_close_socket(ftp.control);
    ftp.control = kNoSocket;
    ftp.loggedIn = 0;
    return kFtpOk;
}

int FtpCloseOnExit() { return FtpClose(); }

int FtpBusyCount() { return Ftp().busy + Ftp().operationActive; }
bool FtpLoggedOn() { return LoggedOn(); }
std::int64_t FtpBytesDone() { return Ftp().bytesDone; }
std::int64_t FtpBytesTotal() { return Ftp().bytesTotal; }
void FtpSetProgressTotal(std::int64_t bytes) { Ftp().bytesTotal = bytes; }

void FtpNotifyProgress(std::int64_t bytes)
{
    FtpSessionState& ftp = Ftp();
    ftp.bytesDone = bytes;
    if (!ftp.listingActive && ftp.host != nullptr)
        ftp.host->Progress(ftp.progressWindow, ftp.progressMessage, bytes);
}
