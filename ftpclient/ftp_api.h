// The FTP client's procedural API over the one session of the process. Results are integer codes
// (0 success; FtpErrorText gives the text of each).
#pragma once

#include <cstdint>

#include "ftp_host.h"
#include "ftp_net.h"

// Result codes.
enum FtpResult : int {
    kFtpOk = 0,
    kFtpBadParameters = 1000,
    kFtpNotStarted = 1002,
    kFtpNotConnected = 1003,
    kFtpLocalFile = 1004,
    kFtpLocalWrite = 1005,
    kFtpRefused = 1008,
    kFtpTransferFailed = 1011,
    kFtpCloseBusy = 1013,
    kFtpNameNotConverted = 1014,
    kFtpNoAnswer = 2002,
    kFtpConnectFailed = 2003,
    kFtpDataConnection = 2006,
    kFtpTimeout = 2007,
    kFtpBadAnswer = 3001,
    kFtpTypeRefused = 3002,
    kFtpAborted = -1,
};

// Window messages of the notification window (wParam 0, lParam the text).
constexpr unsigned WM_FTP_INFO = 0x4c8;
constexpr unsigned WM_FTP_DEBUG = 0x4c9;
constexpr unsigned WM_FTP_ERROR = 0x4ca;

// Starts the layer: `host` receives the messages and pumps while calls wait, `net` carries the
// sockets. 0, or the error of the socket layer's start.
int FtpInit(FtpHost* host, FtpNet* net);
int FtpRelease();
void FtpSetTempDir(const char* directory);
void FtpSetTimeout(int seconds);
int FtpSetVerbose(int flag, std::uintptr_t window = 0, unsigned message = 0);
int FtpSetDebug(int flag, std::uintptr_t window = 0, unsigned message = 0);
const char* FtpSetRetain(int flag);
void FtpSetListingFile(const char* fileName);
int FtpSetHostType(int type);
// Port that replaces the one of the host text and the service (0: none).
void FtpSetPortOverride(int port);

int FtpLogin(const char* host, const char* user, const char* password, int unused1 = 0, int unused2 = 0);
int FtpCd(const char* directory);
int FtpPwd(char* buffer, int length);
int FtpDir(const char* mask, int unused1 = 0, int unused2 = 0, int unused3 = 0, int unused4 = 0);
int FtpMkdir(const char* name, char* buffer, int length);
int FtpRmdir(const char* name);
int FtpDelete(const char* name);
int FtpChmod(const char* modes, const char* name);
int FtpRawCommand(const char* command);
int FtpPut(const char* localPath, const char* remoteName, char type, int notify, std::uintptr_t progressWindow,
           unsigned progressMessage, int append);
int FtpGet(const char* remoteName, const char* localPath, char type, int notify, std::uintptr_t progressWindow,
           unsigned progressMessage, int append);
int FtpAbort();
int FtpClose();
// The same as FtpClose, for callers that close on exit.
int FtpCloseOnExit();

int FtpBusyCount();
// Whether the session is logged on (false once the server closed the control connection).
bool FtpLoggedOn();
std::int64_t FtpBytesDone();
std::int64_t FtpBytesTotal();
void FtpSetProgressTotal(std::int64_t bytes);
void FtpNotifyProgress(std::int64_t bytes);
const char* FtpErrorText(int code);
