// Stand-ins for the file-transfer driver's surroundings: scripted transfer libraries that log
// every call, a host whose message pump follows a script, and a transport that keeps what was
// sent. One call log shows the order of everything.
#pragma once

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "connections/connection_view.h"
#include "connections/transfer_host.h"
#include "connections/transfer_libraries.h"
#include "connections/transport.h"

inline std::vector<std::string>& Calls()
{
    static std::vector<std::string> calls;
    return calls;
}
inline void Call(const std::string& text) { Calls().push_back(text); }
inline bool Called(const std::string& text)
{
    for (const auto& c : Calls())
        if (c == text) return true;
    return false;
}

// Each library function answers from its queue of results (the last one repeats), or 0.
class ScriptedLibraries : public TransferLibraries {
public:
    std::map<std::string, std::deque<int>> results;
    std::string fileName;
    int64_t bytes = 0, blocks = 0, size = 0;
    int retries = 0, lastError = 0, nameWanted = 0;
    std::vector<uint8_t> kermitBlock;

    void Script(const std::string& function, std::vector<int> codes) { results[function] = {codes.begin(), codes.end()}; }

    int OpenVirtualPort(int index, int, int) override { return Answer("open:" + std::to_string(index), "open"); }
    void SetPortCallbacks(int port, const TransferPortCallbacks& cb) override
    {
        callbacks = cb;
        Call("callbacks:" + std::to_string(port));
    }
    int CloseVirtualPort(int port) override { return Answer("close-virtual:" + std::to_string(port), "close-virtual"); }
    int ClosePort(int port) override { return Answer("close:" + std::to_string(port), "close"); }
    const char* PortFileName(int) override { return fileName.c_str(); }
    void ShortFileName(int, char* buffer20) override
    {
        std::strncpy(buffer20, fileName.c_str(), 19);
        buffer20[19] = '\0';
    }
    int64_t Bytes(int) override { return bytes; }
    int64_t Blocks(int) override { return blocks; }
    int Retries(int) override { return retries; }
    int LastError(int) override { return lastError; }
    int64_t FileSize(int) override { return size; }
    int NameWanted(int) override { return nameWanted; }
    void ImposeName(int, const char* name) override { Call(std::string("impose:") + name); }

    void XYDebugFile(int, const char* file) override { Call(std::string("xy-debug:") + file); }
    int XYSetParms(int, const void*) override { return Answer("xy-parms", "xy-parms"); }
    int XYReceiveStart(int, const char* file, const char* mode) override
    {
        return Answer(std::string("xy-recv:") + file + ":" + mode, "xy-recv");
    }
    int XYReceiveNext(int, const char* mode) override { return Answer(std::string("xy-recv-next:") + mode, "xy-recv-next"); }
    int XYSendStart(int, const char* files, const char* mode) override
    {
        return Answer(std::string("xy-send:") + files + ":" + mode, "xy-send");
    }
    int XYSendNext(int, const char* mode) override { return Answer(std::string("xy-send-next:") + mode, "xy-send-next"); }
    int XYAbort(int) override { return Answer("xy-abort", "xy-abort"); }

    void KermitDebugFile(int, const char* file) override { Call(std::string("k-debug:") + file); }
    int KermitGetParms(int, void*) override { return Answer("k-get-parms", "k-get-parms"); }
    int KermitSetParms(int, const void* block) override
    {
        kermitBlock.assign(static_cast<const uint8_t*>(block), static_cast<const uint8_t*>(block) + 66);
        return Answer("k-set-parms", "k-set-parms");
    }
    int KermitReceive(int) override { return Answer("k-recv", "k-recv"); }
    int KermitGet(int, const char* remote) override { return Answer(std::string("k-get:") + remote, "k-get"); }
    int KermitReceiveNext(int) override { return Answer("k-recv-next", "k-recv-next"); }
    int KermitSend(int, const char* files) override { return Answer(std::string("k-send:") + files, "k-send"); }
    int KermitSendNext(int) override { return Answer("k-send-next", "k-send-next"); }
    int KermitAbort(int) override { return Answer("k-abort", "k-abort"); }

    int ZReceiveStart(int, int protocol, int options) override
    {
        return Answer("z-recv:" + std::to_string(protocol) + ":" + std::to_string(options), "z-recv");
    }
    int ZReceiveNext(int) override { return Answer("z-recv-next", "z-recv-next"); }
    int ZReceiveAbort(int) override { return Answer("z-recv-abort", "z-recv-abort"); }
    int ZSendStart(int, const ZmodemSendOptions& o, const char* files) override
    {
        char text[160];
        std::snprintf(text, sizeof text, "z-send:%d,%d,%d,0x%x,%d,%d,%d,%d:%s", o.management, o.conversion, o.nameOption,
                      o.flags, o.subpacketLength, o.ackLength, o.windowSize, o.timeout, files);
        return Answer(text, "z-send");
    }
    int ZSendNext(int) override { return Answer("z-send-next", "z-send-next"); }
    int ZSendAbort(int) override { return Answer("z-send-abort", "z-send-abort"); }

    TransferPortCallbacks callbacks{};

private:
    int Answer(const std::string& call, const std::string& function)
    {
        Call(call);
        auto it = results.find(function);
        if (it == results.end() || it->second.empty()) return 0;
        const int code = it->second.front();
        if (it->second.size() > 1) it->second.pop_front();
        return code;
    }
};

// The pump answers from its script (kGoOn when it runs out); status texts and messages are kept.
class ScriptedHost : public TransferHost {
public:
    std::deque<TransferPump> pumps;
    std::map<int, std::string> panes;
    std::vector<std::string> statusHistory;
    std::vector<std::string> messages;
    std::string directory;
    uint32_t tick = 1000;
    bool statusBar = true;
    int endedCount = 0;

    TransferPump PumpMessages(bool) override
    {
        tick += 500;
        if (pumps.empty()) return TransferPump::kGoOn;
        const TransferPump next = pumps.front();
        pumps.pop_front();
        return next;
    }
    void SetStatus(int pane, const char* text) override
    {
        panes[pane] = text;
        if (pane == 0) statusHistory.push_back(text);
    }
    void ShowProgress(int pane, int percent, const char*) override { panes[100 + pane] = std::to_string(percent); }
    bool HasStatusBar() override { return statusBar; }
    void ShowMessage(int id, const std::string& text, bool) override { messages.push_back(std::to_string(id) + ":" + text); }
    uint32_t TickCount() override { return tick; }
    std::string TransferDirectory() override { return directory; }
    void TransferEnded() override { ++endedCount; }
};

// Keeps what the dispatch sends.
class SinkTransport : public Transport {
public:
    std::string sent;
    int Open(ViewWindow) override { return 1; }
    int Close(ViewWindow) override { return 1; }
    int Send(ViewWindow, const uint8_t* bytes, int n) override
    {
        sent.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
        return n;
    }
};

// A view with a window, so that the port callbacks and host file commands run.
class WindowedView : public ConnectionView {
public:
    ViewWindow Window() override { return reinterpret_cast<ViewWindow>(this); }
};
