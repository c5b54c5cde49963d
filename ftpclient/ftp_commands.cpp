// The simple commands and the detection of the server's kind.
#include <cctype>
#include <cstring>
#include <string>

#include "ftp_engine.h"
#include "ftp_log.h"
#include "listing_parsers.h"

namespace {

int LastClass() { return Ftp().lastCode / 100; }

// The VMS form of a directory name for the CWD retry: "[.name]", ".." as "[-]".
std::string VmsDirectory(const char* name)
{
    if (std::strcmp(name, "..") == 0)
        return "[-]";
    return std::string("[.") + name + "]";
}

// "CMD name"; on a permanent failure "XCMD name" after a 500, else the retry the caller gives.
int WithFallback(FtpSocket s, const char* verb, const char* name, bool vmsRetry)
{
    ftp_command(s, "%s %s", verb, name);
    if (LastClass() != kReplyError)
        return LastClass();
    if (Ftp().lastCode == 500) {
        ftp_command(s, "X%s %s", verb, name);
    } else if (vmsRetry) {
        const int host = Ftp().hostType;
        std::string retry = name;
        if (host == kHostVmsMultinet || host == kHostVmsUcx) {
            const std::string vms = VmsDirectory(name);
            if (vms.size() < 95)
                retry = vms;
        }
        ftp_command(s, "%s %s", verb, retry.c_str());
    }
    return LastClass();
}

bool Has(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }

}  // namespace

int ftp_cwd(FtpSocket s, const char* name) { return WithFallback(s, "CWD", name, true); }
int ftp_mkd(FtpSocket s, const char* name) { return WithFallback(s, "MKD", name, false); }
int ftp_rmd(FtpSocket s, const char* name) { return WithFallback(s, "RMD", name, false); }

int ftp_pwd(FtpSocket s)
{
    int result = ftp_send_command(s, "PWD");
    if (result == kReplyError && Ftp().lastCode == 500)
        result = ftp_send_command(s, "XPWD");
    return result;
}

int ftp_dele(FtpSocket s, const char* name)
{
    ftp_command(s, "DELE %s", name);
    return LastClass();
}

int ftp_site_chmod(FtpSocket s, const char* modes, const char* name)
{
    ftp_command(s, "SITE CHMOD %s %s", modes, name);
    return LastClass();
}

int ftp_quit(FtpSocket s)
{
    if (s == kNoSocket)
        return -1;
    const int result = ftp_send_command(s, "QUIT");
    if (Ftp().control == s)  // the reply read may have dropped the connection
        Ftp().net->Shutdown(s);
    return result;
}

int ftp_syst(FtpSocket s)
{
    const int result = ftp_send_command(s, "SYST");
    if (result != kReplyComplete)
        return result;
    const std::string& text = Ftp().replyText;
    std::string upper = text;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const struct {
        const char* word;
        int type;
    } words[] = {
        {"UNIX", kHostUnix},        {"ULTRIX", kHostUnix},     {"MVS", kHostIbmMvs},   {"QVT", kHostWinQvt},
        {"NCSA", kHostNcsa},        {"CHAMELEON", kHostChameleon}, {"WINDOWS_NT", kHostWindowsNt},
        {"OS/2", kHostIbmPcTcpIp},  {"MPE/IX", kHostOs2},
    };
    for (const auto& w : words) {
        if (Has(upper, w.word)) {
            Ftp().hostType = w.type;
            return result;
        }
    }
    if (Has(text, "VMS"))
        Ftp().hostType = Has(text, "MultiNet") ? kHostVmsMultinet : kHostVmsUcx;
    return result;
}

int ftp_detect_host_type(FtpSocket s)
{
    FtpSessionState& ftp = Ftp();
    ftp.lastCode = 0;
    ftp_log_line("HELP");
    ftp_log_protocol("HELP");
    if (ftp_send_line(s, "HELP") < 0)
        return kReplyNone;
    ftp_debug_printf("FTP Help");
    int code = ftp_read_line(s);
    ftp_log_line(ftp.replyText.c_str());
    const int firstClass = code / 100;
    bool systOffered = false;
    if (firstClass == kReplyError && ftp.hostType == kHostAutoDetect) {
        ftp.hostType = kHostKa9q;
    } else {
        if (ftp.hostType == kHostAutoDetect) {
            const std::string& first = ftp.replyText;
            if (Has(first, "NCSA") || Has(first, "CUTCP"))
                ftp.hostType = kHostNcsa;
            else if (first.rfind("214-PC FTP server", 0) == 0 || Has(first, "QVT"))
                ftp.hostType = kHostWinQvt;
        }
        if (firstClass != kReplyContinue) {
            // Walk the reply to its final line; only lines before the last one count for SYST.
            ReplyBound bound;
            bound.Another(s);
            while (!ftp.abortFlag) {
                const bool final = code >= 100 && code <= 599 && !(ftp.replyText.size() > 3 && ftp.replyText[3] == '-');
                if (code == 421 || final)
                    break;
                if (Has(ftp.replyText, "SYST"))
                    systOffered = true;
                if (!bound.Another(s))
                    break;
                code = ftp_read_line(s);
                ftp_log_line(ftp.replyText.c_str());
            }
        }
    }
    ftp.lastCode = code;
    ftp.hostTypeDetected = 1;
    if (ftp.abortFlag)
        return kReplyAborted;
    if (systOffered)
        ftp_syst(s);
    else if (ftp.hostType == kHostAutoDetect)
        ftp.hostType = kHostUnix;
    return kReplyComplete;
}
