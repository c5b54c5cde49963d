// The installed view, session services, transports and interpreters, with their quiet defaults.
#include "connections/connection_view.h"
#include "connections/emulation_hooks.h"
#include "connections/session_services.h"
#include "connections/transport.h"
#include "host_platform.h"

namespace {

ConnectionView quietView;
ConnectionView* installedView = nullptr;
SessionServices quietServices;
SessionServices* installedServices = nullptr;

// The stand-in for a transport that is not built yet: a connect reports it in words.
class UnavailableTransport final : public Transport {
public:
    explicit UnavailableTransport(const char* text) : text_(text) {}
    int Open(ViewWindow) override {
        Platform().ShowMessage(0, text_);
        return 0;
    }
    int Close(ViewWindow) override { return 1; }
    int Send(ViewWindow, const uint8_t*, int) override { return 0; }

private:
    const char* text_;
};

UnavailableTransport serialStandIn("The serial connection is not available yet.");
UnavailableTransport netbiosStandIn("The NetBIOS connection is not available yet.");
UnavailableTransport telnetStandIn("The Telnet connection is not available yet.");
Transport* transports[3] = {nullptr, nullptr, nullptr};

EmulationInterpreter interpreters[static_cast<int>(EmulationFamily::Count)] = {};

}  // namespace

ConnectionView& ConnView() { return installedView ? *installedView : quietView; }
void SetConnectionView(ConnectionView* view) { installedView = view; }

SessionServices& Services() { return installedServices ? *installedServices : quietServices; }
void SetSessionServices(SessionServices* services) { installedServices = services; }

void SetTransport(int comType, Transport* transport) {
    if (comType >= 0 && comType < 3) transports[comType] = transport;
}

Transport* TransportFor(int comType) {
    switch (comType) {
    case kSerial: return transports[0] ? transports[0] : &serialStandIn;
    case kNetbios: return transports[1] ? transports[1] : &netbiosStandIn;
    case kTelnet: return transports[2] ? transports[2] : &telnetStandIn;
    default: return nullptr;
    }
}

EmulationFamily FamilyOfEmulation(int terminal) {
    switch (terminal) {
    case 1: case 2: case 3: case 10: return EmulationFamily::DecVt;
    case 4: case 5: case 6: return EmulationFamily::AnsiConsole;
    case 8: case 9: case 12: return EmulationFamily::Wyse;
    case 11: return EmulationFamily::Adds;
    default: return EmulationFamily::Teletype;
    }
}

void RegisterInterpreter(EmulationFamily family, EmulationInterpreter interpreter) {
    interpreters[static_cast<int>(family)] = interpreter;
}

EmulationInterpreter InterpreterOf(EmulationFamily family) {
    return interpreters[static_cast<int>(family)];
}
