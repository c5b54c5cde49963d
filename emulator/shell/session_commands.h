// The session commands that start other programs, window-free: the command line of One More,
// the way File transfer goes (the protocol transfer dialog or the file-transfer program), and the
// program run in the file-transfer folder.
#pragma once

#include <string>

// One More's command line: the program, a blank and the configuration, then /t:"title" when a
// title is given, then this process's options in order (tokens that begin with '/' or '-'). The
// title option (/t: in any case, -t:) is not passed on, nor are the positional arguments. A
// program name with blanks is quoted; an option that begins with '-' is written with '/', since
// only " /" starts a new token when the new session splits its command line.
std::string OneMoreCommandLine(const std::string& program, const std::string& config, const std::string& title,
                               int tokenCount, char* const* tokens);

enum class FileTransferWay { kProtocolTransfer, kProgram };

// XferType 2 (protocol transfer), or 0 (by connection) on a serial connection: the protocol
// transfer; otherwise the file-transfer program.
FileTransferWay ChooseFileTransferWay(int xferType, int comType);

// What running the file-transfer program needs of the system.
class ProgramFolderOps {
public:
    virtual ~ProgramFolderOps() = default;
    // The current folder, whole; false with the system's error number when it cannot be read.
    virtual bool CurrentFolder(std::string& folder, int& error) = 0;
    virtual bool ChangeFolder(const std::string& folder) = 0;
    // Starts the command line shown; the system's result (below 32 a failure code).
    virtual int Start(const std::string& commandLine) = 0;
};

// Starts `command` in `folder` (the current folder when empty) and returns the start result, or
// -1 when it was not started. A current folder that cannot be read shows message 46 with the
// error number; a folder that cannot be entered shows message 82 with the folder; either way
// the program is not started. A failed start shows "WinExec() error %d running: %s". The current
// folder is back afterwards whenever it was changed.
int RunFileTransferProgram(ProgramFolderOps& ops, const std::string& command, const std::string& folder);
