#include "transfer_walk.h"

#include <cctype>
#include <strings.h>

int SendWalk(int& state, WalkSteps& steps)
{
    state = kTransferLocalWalk;
    if (!steps.Connected())
        steps.Connect();
    if (!steps.Connected())
        state = kTransferFailed;
    while (state == kTransferLocalWalk) {
        std::string name;
        FileEntryKind kind = FileEntryKind::kFile;
        if (!steps.Next(name, kind))
            state = kTransferIdle;
        else if (steps.One(name, kind) != 0)
            state = kTransferFailed;
    }
    return state;
}

int ReceiveWalk(int& state, WalkSteps& steps, bool single)
{
    state = kTransferRemoteWalk;
    if (!steps.Connected())
        steps.Connect();
    if (!steps.Connected())
        state = kTransferIdle;
    while (state == kTransferRemoteWalk) {
        std::string name;
        FileEntryKind kind = FileEntryKind::kFile;
        if (!single && !steps.Next(name, kind)) {
            state = kTransferIdle;
            break;
        }
        if (steps.One(name, kind) != 0)
            state = kTransferFailed;
        else if (single)
            state = kTransferIdle;
    }
    return state;
}

int DeleteWalk(int& state, int walk, WalkSteps& steps, bool needsConnection)
{
    state = walk;
    if (needsConnection && !steps.Connected()) {
        steps.Connect();
        if (!steps.Connected())
            state = kTransferIdle;
    }
    while (state == walk) {
        std::string name;
        FileEntryKind kind = FileEntryKind::kFile;
        if (!steps.Next(name, kind))
            state = kTransferIdle;
        else
            steps.One(name, kind);
    }
    return state;
}

namespace {

bool IsDeviceName(std::string name)
{
    // The system takes a device name with any extension, and blanks or dots before it.
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos)
        name.resize(dot);
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.pop_back();
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* device : kDevices)
        if (strcasecmp(name.c_str(), device) == 0)
            return true;
    if (name.size() == 4 && (strncasecmp(name.c_str(), "COM", 3) == 0 || strncasecmp(name.c_str(), "LPT", 3) == 0) &&
        name[3] >= '1' && name[3] <= '9')
        return true;
    return false;
}

std::string LastComponent(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool ReceiveDestination(const std::string& remote, std::string& local)
{
    const std::string name = LastComponent(remote);
    // The system drops a name's trailing dots and blanks: "..." or "x.txt." would be written
    // under another name.
    if (name.empty() || name.size() > kMaxLocalName || name.back() == '.' || name.back() == ' ' ||
        name.find_first_of("<>:\"|?*") != std::string::npos || IsDeviceName(name))
        return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32)
            return false;
    local = name;
    return true;
}

std::string SendDestination(const std::string& local)
{
    std::string name = LastComponent(local);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

const char* const kTextEndings[] = {"txt", "text", "htm",  "html", "css", "js",  "c",   "h",   "cpp", "hpp",
                                    "cc",  "cxx",  "bat",  "cmd",  "ini", "log", "csv", "xml", "sh",  "pl",
                                    "py",  "java", "pas",  "bas",  "asm", "for", "f",   "mak", "md",  "json",
                                    "ftp", "rc",   "def",  "sql",  "tex", "me",  "1st", nullptr};

char TransferTypeFor(char mode, const std::string& name)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(mode)));
    if (upper != 'U')
        return upper == 'A' ? 'A' : 'I';
    const std::string last = LastComponent(name);
    const std::size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return 'I';
    const std::string ending = last.substr(dot + 1);
    for (const char* const* text = kTextEndings; *text; ++text)
        if (strcasecmp(ending.c_str(), *text) == 0)
            return 'A';
    return 'I';
}
