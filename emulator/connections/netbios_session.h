// The NetBIOS session of a terminal connection: connect (adapter search, local name, call),
// the send buffer metered in SENDs of at most `MaxTxBlock` bytes, the always outstanding
// RECEIVE, the completions that come back as WM_USER+100, and the hang-up.
#pragma once

#include <cstdint>

#include "connections/netbios_ncb.h"
#include "engine/engine_types.h"

constexpr unsigned kNetbiosDoneMessage = 0x0400 + 100;  // WM_USER+100

// Copies at most 16 characters of text, pads with blanks to 16 and writes a terminator.
void PadNetbiosName(char* destination, const char* text);

class NetbiosSession {
public:
    static constexpr int kSendBufferSize = 1000;
    static constexpr int kReceiveSize = 2048;
    static constexpr int kStatusSize = 384;
    enum State { kOutstanding = 0, kIdle = 1, kFailed = 2 };

    explicit NetbiosSession(NetbiosPlatform& platform) : platform_(platform), ncbs_(platform) {}

    int Connect(ViewWindow window);
    int Disconnect(ViewWindow window);
    int Send(ViewWindow window, const uint8_t* bytes, int n);
    // 1 while a SEND or a RECEIVE is outstanding.
    int Busy() const { return sendState_ && receiveState_ ? 0 : 1; }
    // The WM_USER+100 handler.
    void NcbDone(ViewWindow window, unsigned command, Ncb* ncb);
    int PostReceive(ViewWindow window);

    uint8_t Lana() const { return lana_; }
    const uint8_t* LocalName() const { return localName_; }
    const char* CallName() const { return callName_; }
    const char* HostName() const { return hostName_; }
    int SendState() const { return sendState_; }
    int ReceiveState() const { return receiveState_; }
    NcbLayer& Ncbs() { return ncbs_; }

private:
    void SearchAdapter();
    int QueryStatus(uint8_t lana, uint8_t* status, int* length);
    void ChooseLocalName(const uint8_t* status, int length, int code);
    int StartSend(ViewWindow window);
    void SendDone(ViewWindow window, Ncb* ncb);
    void ReceiveDone(ViewWindow window, Ncb* ncb);
    int Fail(const char* text);

    NetbiosPlatform& platform_;
    NcbLayer ncbs_;
    uint8_t lana_ = 10;
    char hostName_[61] = {};
    uint8_t localName_[16] = {};
    char callName_[17] = {};
    uint8_t session_ = 0;
    uint8_t sendBuffer_[kSendBufferSize] = {};
    int filled_ = 0;
    int sent_ = 0;
    int sendState_ = kIdle;
    int receiveState_ = kIdle;
};

// The transport's session and the installation of the NetBIOS transport into the dispatch.
NetbiosSession* InstalledNetbiosSession();
void InstallNetbiosTransport(NetbiosPlatform& platform);
// The WM_USER+100 handler of the view.
void NetbiosNcbDone(ViewWindow window, unsigned command, Ncb* ncb);
