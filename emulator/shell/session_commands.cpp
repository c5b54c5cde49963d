#include "shell/session_commands.h"

#include <cctype>

#include "session/messages.h"

namespace {

constexpr int kCwdErrorMessage = 46;
constexpr int kFolderNotFoundMessage = 82;

bool IsTitleOption(const char* token)
{
    std::string lower;
    for (const char* p = token; *p; ++p) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*p))));
    return lower.find("/t:") != std::string::npos || lower.compare(0, 3, "-t:") == 0;
}

}  // namespace

std::string OneMoreCommandLine(const std::string& program, const std::string& config, const std::string& title,
                               int tokenCount, char* const* tokens)
{
    std::string line = program.find(' ') != std::string::npos ? '"' + program + '"' : program;
    line += ' ';
    line += config;
    if (!title.empty()) line += " /t:\"" + title + '"';
    for (int i = 0; i < tokenCount && tokens[i] && tokens[i][0]; ++i) {
        const char* token = tokens[i];
        if ((token[0] != '-' && token[0] != '/') || IsTitleOption(token)) continue;
        line += " /";
        line += token + 1;
    }
    return line;
}

FileTransferWay ChooseFileTransferWay(int xferType, int comType)
{
    if (xferType == 2 || (xferType == 0 && comType == 0)) return FileTransferWay::kProtocolTransfer;
    return FileTransferWay::kProgram;
}

int RunFileTransferProgram(ProgramFolderOps& ops, const std::string& command, const std::string& folder)
{
    std::string previous;
    if (!folder.empty()) {
        int error = 0;
        if (!ops.CurrentFolder(previous, error)) {
            ShowMessage(kCwdErrorMessage, kMsgOk | kMsgIconStop, "%d", error);
            return -1;
        }
        if (!ops.ChangeFolder(folder)) {
            ShowMessage(kFolderNotFoundMessage, kMsgOk | kMsgIconStop, "%s", folder.c_str());
            return -1;
        }
    }
    const int result = ops.Start(command);
    if (result < 32) ShowMessage(0, kMsgOk | kMsgIconStop, "WinExec() error %d running: %s", result, command.c_str());
    if (!folder.empty()) ops.ChangeFolder(previous);
    return result;
}
