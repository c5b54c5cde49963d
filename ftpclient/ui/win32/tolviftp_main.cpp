// TolviFTP.exe: the FTP client's program entry.
#include <windows.h>

#include "ftp_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    static FtpApp app;
    return FwWinMain(app, instance, commandLine, showCommand);
}
