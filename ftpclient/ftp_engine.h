// The FTP protocol engine: the control connection, commands and their replies, log-on, host-type
// detection, and the data connections of transfers. Operations take the control socket and return
// a reply class (FtpReplyClass) unless said otherwise. The API layer (ftp_api.h) is the caller.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "ftp_session.h"

// Connection and log-on.
FtpSocket ftp_socket_open(const char* host, const char* service, const char* protocol);
FtpSocket ftp_connect_login(const char* host);
// Closes a socket; -1 when closed, the socket when closing failed.
FtpSocket ftp_close_socket(FtpSocket s);
// Closes the control connection after it broke or fell out of step: the session is logged off.
void ftp_drop_control(const char* why);
void ftp_local_host_info();

// Commands and replies.
int ftp_send_command(FtpSocket s, const char* command);
int ftp_command(FtpSocket s, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Bytes sent, or -1 (refused while busy, or the send failed).
long ftp_send_line(FtpSocket s, const char* command);
long ftp_send_raw(FtpSocket s, const char* command);
int ftp_send_all(FtpSocket s, const char* bytes, std::size_t count);
int ftp_read_reply(FtpSocket s);
// A command line that may be sent: at most kMaxCommandLine characters and no line break (a cut
// or split name could hit another file). Logs why not.
bool ftp_command_ok(const char* command);
int ftp_read_line(FtpSocket s);
// The code of a reply line: its first three characters when they are digits and stand alone or
// before a blank or '-'; 0 for any other line.
int ftp_reply_code(const std::string& text);

// The bounds of one multi-line reply, in lines and in time (the session's time-out). A server
// past them is reported as broken and its connection dropped.
class ReplyBound {
public:
    ReplyBound();
    // Counts a line about to be read; false (reported, abort flag set) when the reply is too long.
    bool Another(FtpSocket s);

private:
    int lines_ = 0;
    std::chrono::steady_clock::time_point start_;
};
const char* ftp_class_name(int replyClass);

// Simple commands; the results are the last code / 100.
int ftp_cwd(FtpSocket s, const char* name);
int ftp_mkd(FtpSocket s, const char* name);
int ftp_rmd(FtpSocket s, const char* name);
int ftp_pwd(FtpSocket s);
int ftp_dele(FtpSocket s, const char* name);
int ftp_site_chmod(FtpSocket s, const char* modes, const char* name);
int ftp_syst(FtpSocket s);
int ftp_detect_host_type(FtpSocket s);
int ftp_quit(FtpSocket s);

// Transfers.
FtpSocket ftp_open_data_listener(FtpSocket control);
int ftp_transfer_send(FtpSocket control, const char* command, const char* localPath, char type);
int ftp_transfer_receive(FtpSocket control, const char* command, const char* localPath, char type, int append);
// The byte loops over an open data connection; the files are already open.
int ftp_send_file(FtpSocket data, std::FILE* file, const char* path);
int ftp_recv_file(FtpSocket data, std::FILE* file, const char* path, bool created);
// Size announced in a 1xx reply ("... (1234 bytes)"), 0 when there is none.
long long ftp_reply_size(const char* replyText);
