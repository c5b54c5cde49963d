#include "install_rules.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

std::string Quoted(const std::string& value)
{
    return value.find_first_of(" \t") == std::string::npos ? value : "\"" + value + "\"";
}

}  // namespace

std::string ProposeRemoteName(const std::string& remote, const std::string& base, const std::string& extension,
                              const std::string& fullName)
{
    if (remote.find('/') == std::string::npos)
        return remote;
    std::string r = remote.substr(0, kInstallFieldLimit);
    std::replace(r.begin(), r.end(), '/', '\\');
    if (EndsWith(r, ".Z"))
        r.resize(r.size() - 2);
    const std::size_t folder = r.find_last_of('\\');
    if (folder != std::string::npos)
        r.resize(folder + 1);
    if (Lower(extension).find("taz") != std::string::npos)
        r = Lower(r + base) + ".tar.Z";
    else
        r = Lower(r + fullName);
    std::replace(r.begin(), r.end(), '\\', '/');
    return r;
}

std::string DefaultRemoteName(const std::string& archiveName) { return "/tmp/" + archiveName; }

bool IsTarArchive(const std::string& remote) { return remote.find(".tar") != std::string::npos; }

bool IsCompressedTar(const std::string& remote) { return remote.find("tar.Z") != std::string::npos; }

std::string UncompressedName(const std::string& remote) { return remote.substr(0, remote.find(".Z")); }

std::string InstallInstructions(const std::string& user, const std::string& remote)
{
    return "- Login as " + user + " to UNIX\n" + (IsCompressedTar(remote) ? "- uncompress \n" : "") +
           "- Expand the archive\n- Start the installation";
}

std::string ManualHostCommands(const std::string& remote)
{
    const bool compressed = IsCompressedTar(remote);
    const std::string name = compressed ? UncompressedName(remote) : remote;
    std::string text;
    if (compressed)
        text += "uncompress " + name + "\n";
    text += "tar -xvf " + name + "\n";
    text += kHostInstallProgram;
    return text;
}

bool InstallValueRefused(const std::string& value)
{
    return std::any_of(value.begin(), value.end(),
                       [](char c) { return c == '"' || static_cast<unsigned char>(c) < 32 || c == 127; });
}

std::string InstallCommandLine(const std::string& program, const std::string& host, const std::string& user,
                               const std::string& password, const std::string& remote,
                               const std::string& defaultRemote)
{
    std::string line = Quoted(program);
    line += " ";
    line += kInstallDocument;
    line += " ";
    line += " /c ";
    line += " /ip:" + Quoted(host);
    line += " /user:" + Quoted(user);
    line += " /pw:" + Quoted(password);
    if (!IsCompressedTar(remote)) {
        line += " /program:\"tar -xvf " + remote + "\"";
    } else if (remote != defaultRemote) {
        const std::string name = UncompressedName(remote);
        line += " /program:\"uncompress " + name + ";tar -xvf " + name + "\"";
    }
    return line;
}

std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> ReadmeLogLines(std::FILE* file)
{
    std::vector<std::string> lines;
    char line[161];
    while (std::fgets(line, sizeof line, file)) {
        std::size_t n = std::strlen(line);
        while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r'))
            line[--n] = '\0';
        lines.push_back(line);
    }
    return lines;
}
