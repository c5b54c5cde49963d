#include "engine/host_commands/multimedia.h"

#include <cctype>
#include <cstring>

#include "connections/connection_dispatch.h"
#include "connections/session_trace.h"
#include "connections/variable_expander.h"
#include "engine/host_commands/host_system.h"
#include "engine/host_commands/message_text.h"
#include "engine/host_commands/host_application.h"
#include "host_platform.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

std::string lastDevice;

constexpr int kSecond = 1000;
constexpr int kStatusReplySize = 50;
constexpr int kCharsetIbmPc = 4;
constexpr int kCharsetAnsi = 3;

bool Contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// Sends with a reply buffer of `size` bytes (size - 1 handed to the interface, as it may write a
// terminating NUL past its count on some systems).
int Send(const std::string& command, char* reply, int size)
{
    reply[0] = '\0';
    const int error = System().MciSend(command.c_str(), reply, size - 1);
    reply[size - 1] = '\0';
    return error;
}

// "MCI error: <text>\nMCI command: <command>", at most kMciReplySize bytes.
std::string ErrorReply(int error, const std::string& command)
{
    char text[kMciReplySize + 1] = {};
    if (!System().MciErrorText(error, text, sizeof text) || !text[0])
        std::strcpy(text, "Unknown MCI Error");
    std::string reply = std::string("MCI error: ") + text + "\nMCI command: " + command;
    if (reply.size() > kMciReplySize) reply.resize(kMciReplySize);
    return reply;
}

// CR, the conversion for the host, the trace, and the send.
void ReplyToHost(std::string reply)
{
    reply.push_back('\r');
    auto* bytes = reinterpret_cast<uint8_t*>(&reply[0]);
    const int length = static_cast<int>(reply.size());
    if (Rec->Charset == kCharsetIbmPc) {
        Platform().AnsiToOemBytes(bytes, bytes, reply.size());
    } else if (Rec->Charset != kCharsetAnsi) {
        for (int i = 0; i < length; ++i) bytes[i] = SessionTranslateTables.Outgoing[bytes[i]];
    }
    if (Rec->Recording) TraceKeyboard(0, bytes, length);
    SendToHost(nullptr, bytes, length);
}

}  // namespace

const std::string& LastMciDevice() { return lastDevice; }

std::string MciDeviceName(const std::string& command)
{
    std::size_t at = std::string::npos;
    std::size_t wordLength = 0;
    for (const char* word : {"alias", "open", "play"}) {
        at = command.find(word);
        if (at != std::string::npos) {
            wordLength = std::strlen(word);
            break;
        }
    }
    if (at == std::string::npos) return std::string();
    std::size_t start = at + wordLength;
    while (start < command.size() && command[start] == ' ') ++start;
    return command.substr(start);
}

void MciCloseDevice(const std::string& name)
{
    char reply[kMciReplySize];
    Send("close " + name + " wait", reply, sizeof reply);
}

void MciWaitWhilePlaying(const std::string& name)
{
    const int budget = Rec->MciWaitIfBusy * kSecond;
    if (budget <= 0 || name.empty()) return;
    const std::string status = "status " + name + " mode wait";
    for (int waited = 0;; waited += kSecond) {
        char reply[kStatusReplySize];
        if (Send(status, reply, sizeof reply) != 0) return;
        if (!std::strstr(reply, "playing") && !std::strstr(reply, "seeking")) return;
        if (waited >= budget) return;
        Application().DelayMs(kSecond);
    }
}

int RunMciCommand(const char* text)
{
    char expanded[kMciCommandSize];
    ExpandVariables(text ? text : "", expanded, sizeof expanded);
    std::string command = expanded;
    for (char& c : command) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

    const std::string device = MciDeviceName(command);
    const bool waiting = Rec->MciWaitIfBusy != 0;
    if (waiting && Contains(command, "play") && Contains(command, ".avi")) MciWaitWhilePlaying(lastDevice);

    const int budget = Rec->MciWaitIfBusy * kSecond;
    int used = 0;
    int aliasRetries = 0;
    char reply[kMciReplySize];
    int error = 0;
    for (;;) {
        error = Send(command, reply, sizeof reply);
        if (error == 0 || !waiting || used >= budget) break;
        if (error == kMciErrorWaveOutputsBusy) {
            Application().DelayMs(kSecond);
            used += kSecond;
        } else if (error == kMciErrorDuplicateAlias && aliasRetries < kMciDuplicateAliasRetries) {
            ++aliasRetries;
            MciCloseDevice(device);
        } else {
            break;
        }
    }

    const bool isClose = Contains(command, "close");
    if (error != 0) {
        if (!(waiting && isClose)) {
            const std::string message = ErrorReply(error, command);
            if (Rec->MciErrorReply) ReplyToHost(message);
            if (Rec->MciShowError) ShowFormatted(0, "%s", message.c_str());
        }
    } else if (!reply[0]) {
        if (Rec->MciOkReply) ReplyToHost("OK");
    } else if (Rec->MciDataReply) {
        ReplyToHost(reply);
    }

    if (isClose)
        lastDevice.clear();
    else
        lastDevice = device;
    return error;
}
