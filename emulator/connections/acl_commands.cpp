// Host file commands; see acl_commands.h. Paths may use '\' or '/'. Every failure answers "F".
#include "connections/acl_commands.h"
#include "connections/acl_words.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/transfer_driver.h"
#include "connections/transfer_host.h"
#include "connections/transfer_steps.h"
#include "session/session_record.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNamesBeforePause = 22;
constexpr int kPauseMs = 100;

fs::path PathOf(std::string text)
{
#ifndef _WIN32
    std::replace(text.begin(), text.end(), '\\', '/');
#endif
    return fs::path(text);
}

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

void SendText(const std::string& text)
{
    if (!text.empty()) SendToHost(nullptr, reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
}

struct Entry {
    std::string name;
    bool folder;
};

// The entries of the pattern's folder whose names match, in name order.
std::vector<Entry> MatchingEntries(const std::string& pattern)
{
    const fs::path path = PathOf(pattern);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string namePattern = path.filename().string();
    const bool everything = namePattern == "*.*" || namePattern == "*";
    std::vector<Entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (everything || WildcardMatch(name, namePattern)) {
            std::error_code typeError;
            entries.push_back({name, it->is_directory(typeError)});
        }
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::string FileSizeReply(const std::string& name)
{
    if (name.empty()) return "\r";
    std::string first;
    const std::vector<Entry> entries = MatchingEntries(name);
    if (entries.empty()) return "-1\r";
    if (!PatternMatchesFile(name, first)) return "-2\r";
    const fs::path folder = PathOf(name).parent_path();
    std::error_code error;
    const auto size = fs::file_size(folder / first, error);
    if (error) return "-1\r";
    return std::to_string(static_cast<unsigned long long>(size)) + "\r";
}

void SendDirectory(std::string pattern)
{
    if (pattern.empty()) pattern = "*.*";
    std::string first;
    if (PatternMatchesFile(pattern, first)) {
        const std::vector<Entry> entries = MatchingEntries(pattern);
        int sent = 0;
        bool started = false;
        for (const Entry& entry : entries) {
            started = started || entry.name == first;
            if (!started) continue;
            SendText(entry.name + "\r");
            if (++sent % kNamesBeforePause == 0) XferHost().DelayMs(kPauseMs);
        }
    }
    SendText("\r");
}

int ChangeDirectory(std::string path)
{
    if (path.empty()) return -1;
    if (path.size() > 1 && path.back() != '\\') path += '\\';
    // The folder part: the path without its final separator, except for a root ("\", "C:\").
    std::string folder = path;
    if (folder.size() > 1 && folder[folder.size() - 2] != ':') folder.pop_back();
    std::error_code error;
    fs::current_path(PathOf(folder), error);
    return error ? -1 : 0;
}

int EraseFile(const std::string& name)
{
    std::error_code error;
    if (name.empty() || fs::is_directory(PathOf(name), error)) return -1;
    return fs::remove(PathOf(name), error) && !error ? 0 : -1;
}

int RemoveFolder(const std::string& name)
{
    std::error_code error;
    if (name.empty() || !fs::is_directory(PathOf(name), error)) return -1;
    return fs::remove(PathOf(name), error) && !error ? 0 : -1;
}

int MakeFolder(const std::string& name)
{
    std::error_code error;
    if (name.empty()) return -1;
    return fs::create_directory(PathOf(name), error) && !error ? 0 : -1;
}

int CopyFile(const std::string& source, const std::string& target, bool append)
{
    if (source.empty() || target.empty()) return -1;
    std::error_code error;
    const fs::path from = PathOf(source), to = PathOf(target);
    if (!fs::is_regular_file(from, error)) return -1;
    if (fs::exists(to, error) && fs::equivalent(from, to, error)) return -1;
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!in || !out) return -1;
    char block[4096];
    while (in) {
        in.read(block, sizeof block);
        if (in.gcount() > 0 && !out.write(block, in.gcount())) return -1;
    }
    out.close();
    return in.bad() || out.fail() ? -1 : 0;
}

int ProtocolOfWord(const std::string& word, int current)
{
    switch (word.empty() ? '\0' : word[0]) {
    case 'K': return kKermit;
    case 'X': return kXmodem;
    case 'Y': return kYmodem;
    case 'Z': return kZmodem;
    default: return current;
    }
}

// A RECEIVE or SEND word: the transfer with the protocol of its first letter. Returns 1.
int RunTransferCommand(const std::string& word, const std::string& file)
{
    Rec->AProtocol = ProtocolOfWord(word, Rec->AProtocol);
    TransferState& transfer = Transfer();
    if (Contains(word, "RECEIVE")) {
        const std::string kept = transfer.receiveFile;
        transfer.receiveFile = file;
        RunTransfer(kTransferReceive);
        transfer.receiveFile = kept;
    } else {
        transfer.sendFiles = file;
        RunTransfer(kTransferSend);
    }
    const int result = transfer.lastError;
    if (result == -1 && Rec->AProtocol == kKermit) RunTransfer(kTransferFinishServer);
    SendCompletionCode(result);
    return 1;
}

}  // namespace

int SendCompletionCode(int result)
{
    if (Rec->AclCompletionCodes) SendText(result == 0 ? "S\r" : "F\r");
    return result;
}

bool PatternMatchesFile(const std::string& pattern, std::string& first)
{
    for (const Entry& entry : MatchingEntries(pattern)) {
        if (entry.folder) continue;
        first = entry.name;
        return true;
    }
    return false;
}

int ExecuteAclCommand(const char* text)
{
    if (!ConnView().Window()) return 0;
    const int keptProtocol = Rec->AProtocol;
    const std::string line = text ? text : "";
    XferHost().SetStatus(0, "ACL command:");
    XferHost().SetStatus(1, line.c_str());
    const AclWords words = SplitAclCommand(line);
    const std::string& word = words.command;
    const std::string& first = words.first;
    const std::string& second = words.second;

    int ranTransfer = 0;
    if (word == "KBYE" || word == "KFINISH") {
        Rec->AProtocol = kKermit;
        RunTransfer(kTransferFinishServer);
    } else if (word == "CONTINUE") {
        const std::string arg = Upper(first);
        if (arg.empty() || Contains(arg, "ON")) Rec->AXferConfirmError = 0;
        else if (Contains(arg, "OFF")) Rec->AXferConfirmError = 1;
    } else if (word == "SET") {
        if (Upper(first) == "DISABLE-COMP-CODES") {
            const std::string value = Upper(second);
            if (Contains(value, "YES")) Rec->AclCompletionCodes = 0;
            else if (Contains(value, "NO")) Rec->AclCompletionCodes = 1;
        }
    } else if (word == "FILESIZE") {
        SendText(FileSizeReply(first));
    } else if (word == "CHDIR" || word == "CD") {
        SendCompletionCode(ChangeDirectory(first));
    } else if (word == "ERASE") {
        SendCompletionCode(EraseFile(first));
    } else if (word == "RMDIR") {
        SendCompletionCode(RemoveFolder(first));
    } else if (word == "MKDIR") {
        SendCompletionCode(MakeFolder(first));
    } else if (word == "DIR") {
        SendDirectory(first);
    } else if (word == "COPY" || word == "APPEND") {
        SendCompletionCode(CopyFile(first, second, word == "APPEND"));
    } else if (Contains(word, "RECEIVE") || Contains(word, "SEND")) {
        ranTransfer = RunTransferCommand(word, first);
    }
    Rec->AProtocol = keptProtocol;
    return ranTransfer;
}
