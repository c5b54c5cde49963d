// The NetBIOS session as the dispatch's transport of connection type 1.
#include "connections/netbios_session.h"
#include "connections/transport.h"

namespace {

class NetbiosTransport final : public Transport {
public:
    void Use(NetbiosPlatform& platform) {
        delete session_;
        session_ = new NetbiosSession(platform);
    }
    NetbiosSession* Session() { return session_; }

    int Open(ViewWindow window) override { return session_->Connect(window); }
    int Close(ViewWindow window) override { return session_->Disconnect(window); }
    int Send(ViewWindow window, const uint8_t* bytes, int n) override { return session_->Send(window, bytes, n); }
    // Posts the RECEIVE that a display hold or a file transfer left out.
    void Rearm(ViewWindow window) override {
        if (session_->ReceiveState() == NetbiosSession::kIdle) session_->PostReceive(window);
    }
    int IsBusy() override { return session_->Busy(); }
    // The send completions continue a paste.
    void PasteQueued(ViewWindow) override {}

private:
    NetbiosSession* session_ = nullptr;
};

NetbiosTransport transport;

}  // namespace

NetbiosSession* InstalledNetbiosSession() { return transport.Session(); }

void InstallNetbiosTransport(NetbiosPlatform& platform) {
    transport.Use(platform);
    SetTransport(kNetbios, &transport);
}

void NetbiosNcbDone(ViewWindow window, unsigned command, Ncb* ncb) {
    if (NetbiosSession* session = transport.Session()) session->NcbDone(window, command, ncb);
}
