// The engine's log channels. Every text goes to the notification window through the FtpHost:
// info and error always, debug only while the debug flag is set. Server text is only ever an
// argument of a format, never the format itself.
#pragma once

#include <string>

// The sink of engine texts: drops empty lines; unless verbose, passes only "[" lines (socket
// traces); a passing "[" line goes to the debug channel, any other to the info channel.
void ftp_log_line(const char* text);
void ftp_log_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The info channel without the verbose gate (messages the user always sees).
void ftp_info_line(const char* text);
void ftp_debug_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ftp_error_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The debug line of a command as sent.
void ftp_log_protocol(const char* command);
// "name: error text" (or the text alone) on the info channel.
void ftp_print_error(const char* name, int error);
// Text of a WinSock error number; "error %u" for numbers not in the table.
std::string winsock_error_text(int error);

// `text` with each "%1" replaced by `arg`.
std::string FormatArg(const char* text, const std::string& arg);
