#include "connections/telnet_engine.h"

#include <cstdio>
#include <initializer_list>
#include <cstring>

#include "connections/ring_buffer.h"
#include "connections/telnet_codes.h"
#include "connections/telnet_environment.h"
#include "connections/telnet_rings.h"
#include "connections/telnet_trace.h"
#include "connections/tn3270_records.h"
#include "engine/ibm3270/3270keyb.h"
#include "session/session_record.h"
#include "host_platform.h"

namespace {

TelnetEngineState state;
void (*outputHook)(ViewWindow) = nullptr;

bool Has(int option, uint8_t bit) { return (state.options[option & 0xff] & bit) != 0; }
void Set(int option, uint8_t bit) { state.options[option & 0xff] |= bit; }
void Clear(int option, uint8_t bit) { state.options[option & 0xff] &= static_cast<uint8_t>(~bit); }

// Writes IAC verb option when the ring has room for all three bytes.
void WriteVerb(uint8_t verb, int option) {
    const uint8_t command[] = {tn::IAC, verb, static_cast<uint8_t>(option)};
    if (ring_free_count(NetOutRing) >= sizeof(command))
        ring_put_bytes(NetOutRing, command, sizeof(command));
    TraceTelnetOption("SENT", verb, option);
}

// Puts a whole subnegotiation reply (IAC SB ... IAC SE) when it fits, tracing it as sent.
bool PutReply(const uint8_t* bytes, uint32_t length) {
    if (length > ring_free_count(NetOutRing)) return false;
    ring_put_bytes(NetOutRing, bytes, length);
    TraceTelnetSuboption('>', bytes + 2, static_cast<int>(length - 2));
    return true;
}

void PutTerminal(uint8_t byte) { ring_put_bytes(TermOutRing, &byte, 1); }

// ---- Received negotiation.

void ReceivedWill(int x) {
    int8_t& pending = state.doDontPending[x];
    if (pending > 0) {
        --pending;
        if (pending > 0 && Has(x, kHisStateDo)) --pending;
    }
    if (pending == 0 && !Has(x, kMyWantDo)) {
        bool accept = false;
        switch (x) {
        case tn::ECHO:
            if (!state.echoSeen) {
                state.echoSeen = 1;
                if (!Has(tn::SGA, kMyWantDo)) TelnetSendDo(tn::SGA, true);
            }
            accept = true;
            break;
        case tn::BINARY:
        case tn::SGA:
        case tn::END_OF_RECORD:
        case tn::STATUS:
            accept = true;
            break;
        case tn::TIMING_MARK:
            Clear(x, kMyWantDo | kHisStateDo);
            return;
        default:
            break;
        }
        if (accept) {
            Set(x, kMyWantDo);
            TelnetSendDo(x, false);
        } else {
            ++pending;
            TelnetSendDont(x, false);
        }
    }
    Set(x, kHisStateDo);
}

void ReceivedWont(int x) {
    int8_t& pending = state.doDontPending[x];
    if (pending > 0) {
        --pending;
        if (pending > 0 && !Has(x, kHisStateDo)) --pending;
    }
    if (pending == 0 && Has(x, kMyWantDo)) {
        if (x == tn::TIMING_MARK) {
            Clear(x, kMyWantDo | kHisStateDo);
            return;
        }
        Clear(x, kMyWantDo);
        if (Has(x, kHisStateDo)) TelnetSendDont(x, false);
    } else if (x == tn::TIMING_MARK) {
        Clear(x, kMyWantDo);
    }
    Clear(x, kHisStateDo);
}

void ReceivedDo(int x) {
    int8_t& pending = state.willWontPending[x];
    if (pending > 0) {
        --pending;
        if (pending > 0 && Has(x, kMyStateWill)) --pending;
    }
    if (pending == 0 && !Has(x, kMyWantWill)) {
        bool accept = false;
        switch (x) {
        case tn::TIMING_MARK:
            TelnetSendWill(x, false);
            Clear(x, kMyWantWill | kMyStateWill);
            return;
        case tn::BINARY:
        case tn::SGA:
        case tn::TTYPE:
        case tn::END_OF_RECORD:
        case tn::TSPEED:
        case tn::LFLOW:
            accept = true;
            break;
        case tn::NAWS:
            accept = Rec->DoNAWS != 0;
            break;
        case tn::XDISPLOC:
            accept = EnvValue("DISPLAY") != nullptr;
            break;
        case tn::OLD_ENVIRON:
            if (!Has(tn::NEW_ENVIRON, kMyStateWill)) {
                accept = true;
                state.envOption = tn::OLD_ENVIRON;
            }
            break;
        case tn::NEW_ENVIRON:
            if (Has(tn::OLD_ENVIRON, kMyStateWill)) TelnetSendWont(tn::OLD_ENVIRON, true);
            state.envOption = tn::NEW_ENVIRON;
            accept = true;
            break;
        default:
            break;
        }
        if (accept) {
            Set(x, kMyWantWill);
            TelnetSendWill(x, false);
        } else {
            ++pending;
            TelnetSendWont(x, false);
        }
    }
    Set(x, kMyStateWill);
    if (x == tn::NAWS) TelnetSendWindowSize();
    if (x == tn::LFLOW) state.localFlow = 1;
}

void ReceivedDont(int x) {
    int8_t& pending = state.willWontPending[x];
    if (pending > 0) {
        --pending;
        if (pending > 0 && !Has(x, kMyStateWill)) --pending;
    }
    if (pending == 0 && Has(x, kMyWantWill)) {
        if (x == tn::NEW_ENVIRON) {
            TelnetSendWill(tn::OLD_ENVIRON, true);
            state.envOption = tn::OLD_ENVIRON;
        }
        Clear(x, kMyWantWill);
        if (Has(x, kMyStateWill)) TelnetSendWont(x, false);
    }
    Clear(x, kMyStateWill);
}

// ---- Subnegotiations.

void SendTerminalType() {
    if (Rec->TerminalFamily3270) {
        SetTn3270TerminalType();
        return;
    }
    const char* name = TerminalName();
    std::size_t length = std::strlen(name);
    if (length + 6 > ring_free_count(NetOutRing)) {
        Platform().ShowMessage(0, "No room in buffer for terminal type.\n");
        return;
    }
    uint8_t reply[kEnvValueMax + 6];
    reply[0] = tn::IAC;
    reply[1] = tn::SB;
    reply[2] = tn::TTYPE;
    reply[3] = tn::IS;
    std::memcpy(reply + 4, name, length);
    reply[4 + length] = tn::IAC;
    reply[5 + length] = tn::SE;
    PutReply(reply, static_cast<uint32_t>(length + 6));
}

// IAC SB option IS text IAC SE, or the "no room" trace.
void SendTextReply(uint8_t option, const char* text) {
    uint8_t reply[kEnvValueMax + 6];
    std::size_t length = std::strlen(text);
    if (length > kEnvValueMax) length = kEnvValueMax;
    reply[0] = tn::IAC;
    reply[1] = tn::SB;
    reply[2] = option;
    reply[3] = tn::IS;
    std::memcpy(reply + 4, text, length);
    reply[4 + length] = tn::IAC;
    reply[5 + length] = tn::SE;
    if (!PutReply(reply, static_cast<uint32_t>(length + 6)))
        TraceScreenText("lm_will: not enough room in buffer\n");
}

void RunSubnegotiation(uint8_t terminator) {
    // The trace sees the bytes with the two that closed them.
    uint8_t traced[kSubBufferSize + 2];
    std::memcpy(traced, state.sub, static_cast<std::size_t>(state.subLength));
    traced[state.subLength] = tn::IAC;
    traced[state.subLength + 1] = terminator;
    TraceTelnetSuboption('<', traced, state.subLength + 2);
    if (state.subLength < 1) return;
    int option = state.sub[0];
    int qualifier = state.subLength >= 2 ? state.sub[1] : -1;
    switch (option) {
    case tn::TTYPE:
        if (qualifier == tn::SEND && Has(option, kMyWantWill)) SendTerminalType();
        break;
    case tn::TSPEED:
        if (qualifier == tn::SEND && Has(option, kMyWantWill)) SendTextReply(tn::TSPEED, "38400,38400");
        break;
    case tn::LFLOW:
        if (!Has(option, kMyWantWill)) break;
        if (qualifier == tn::LFLOW_OFF) state.localFlow = 0;
        else if (qualifier == tn::LFLOW_ON) state.localFlow = 1;
        else if (qualifier == tn::LFLOW_RESTART_ANY) state.restartAny = 1;
        else if (qualifier == tn::LFLOW_RESTART_XON) state.restartAny = 0;
        break;
    case tn::XDISPLOC:
        if (qualifier == tn::SEND && Has(option, kMyWantWill)) {
            const char* display = EnvValue("DISPLAY");
            if (!display) TelnetSendWont(tn::XDISPLOC, true);
            else SendTextReply(tn::XDISPLOC, display);
        }
        break;
    case tn::NEW_ENVIRON:
    case tn::OLD_ENVIRON:
        if (qualifier == tn::SEND && Has(option, kMyWantWill)) EnvRequest(state.sub, state.subLength);
        else if ((qualifier == tn::IS || qualifier == tn::INFO) && Has(option, kMyWantDo))
            EnvRequest(state.sub, state.subLength);
        break;
    default:
        break;
    }
}

void AppendSub(uint8_t byte) {
    if (state.subLength < kSubBufferSize) state.sub[state.subLength++] = byte;
}

// A command byte after IAC.
void HandleCommand(ViewWindow window, uint8_t byte) {
    state.rxState = RxData;
    switch (byte) {
    case tn::EOR:
        if (state.tn3270Mode) Tn3270EndOfRecord(window);
        TraceTelnetOption("RCVD", tn::IAC, byte);
        break;
    case tn::DM:
        TraceTelnetOption("RCVD", tn::IAC, byte);
        break;
    case tn::SB:
        state.subLength = 0;
        state.rxState = RxSub;
        break;
    case tn::WILL: state.rxState = RxWill; break;
    case tn::WONT: state.rxState = RxWont; break;
    case tn::DO: state.rxState = RxDo; break;
    case tn::DONT: state.rxState = RxDont; break;
    case tn::IAC:
        if (state.tn3270Mode) Tn3270StoreData(window, &byte, 1);
        else PutTerminal(tn::IAC);
        break;
    default:
        TraceTelnetOption("RCVD", tn::IAC, byte);
        break;
    }
}

}  // namespace

TelnetEngineState& TelnetState() { return state; }

void SetTelnetOutputHook(void (*hook)(ViewWindow)) { outputHook = hook; }

void FlushTelnetOutput(ViewWindow window) {
    if (outputHook && !ring_is_empty(NetOutRing)) outputHook(window);
}

void TelnetInit() {
    std::memset(state.sub, 0, sizeof(state.sub));
    state.subLength = 0;
    std::memset(state.options, 0, sizeof(state.options));
    state.localFlow = 0;
    state.tn3270Mode = 0;
    state.restartAny = -1;
    state.rxState = RxData;
    if (state.envOption == 0) state.envOption = tn::NEW_ENVIRON;
}

void TelnetSendDo(int option, bool initiate) {
    if (initiate) {
        if ((state.doDontPending[option] == 0 && Has(option, kHisStateDo)) || Has(option, kMyWantDo))
            return;
        Set(option, kMyWantDo);
        ++state.doDontPending[option];
    }
    WriteVerb(tn::DO, option);
}

void TelnetSendDont(int option, bool initiate) {
    if (initiate) {
        if ((state.doDontPending[option] == 0 && !Has(option, kHisStateDo)) || !Has(option, kMyWantDo))
            return;
        Clear(option, kMyWantDo);
        ++state.doDontPending[option];
    }
    WriteVerb(tn::DONT, option);
}

void TelnetSendWill(int option, bool initiate) {
    if (initiate) {
        if ((state.willWontPending[option] == 0 && Has(option, kMyStateWill)) || Has(option, kMyWantWill))
            return;
        Set(option, kMyWantWill);
        ++state.willWontPending[option];
    }
    WriteVerb(tn::WILL, option);
}

void TelnetSendWont(int option, bool initiate) {
    if (initiate) {
        if ((state.willWontPending[option] == 0 && !Has(option, kMyStateWill)) || !Has(option, kMyWantWill))
            return;
        Clear(option, kMyWantWill);
        ++state.willWontPending[option];
    }
    WriteVerb(tn::WONT, option);
}

void TelnetSendWindowSize() {
    if (!Has(tn::NAWS, kMyStateWill) || !Rec->DoNAWS) return;
    int width = Rec->NAWSX < 0 ? Rec->MaxCols : Rec->NAWSX;
    int height = Rec->NAWSY < 0 ? Rec->MaxRows : Rec->NAWSY;
    uint8_t reply[16];
    uint32_t length = 0;
    reply[length++] = tn::IAC;
    reply[length++] = tn::SB;
    reply[length++] = tn::NAWS;
    for (int value : {width >> 8, width, height >> 8, height}) {
        uint8_t byte = static_cast<uint8_t>(value & 0xff);
        reply[length++] = byte;
        if (byte == tn::IAC) reply[length++] = tn::IAC;
    }
    reply[length++] = tn::IAC;
    reply[length++] = tn::SE;
    PutReply(reply, length);
}

int TelnetReceive(ViewWindow window) {
    bool consumedAny = false;
    while (ring_free_count(TermOutRing) > 2 && !ring_is_empty(NetInRing)) {
        const uint8_t* piece = NetInRing.consume;
        uint32_t count = ring_data_contiguous(NetInRing);
        if (count == 0) break;
        uint32_t i = 0;
        while (i < count && ring_free_count(TermOutRing) > 2) {
            uint8_t c = piece[i++];
            switch (state.rxState) {
            case RxCr:
                state.rxState = RxData;
                if (c == 0) break;
                if (c == '\n' && !Has(tn::ECHO, kMyWantDo)) {
                    PutTerminal(c);
                    break;
                }
                // Any other byte is data as usual.
                [[fallthrough]];
            case RxData:
                if (c == tn::IAC) {
                    state.rxState = RxIac;
                } else if (state.tn3270Mode) {
                    // 3270 data: the whole run up to the next IAC into the record buffer.
                    const uint8_t* start = piece + i - 1;
                    const void* iac = std::memchr(start, tn::IAC, count - (i - 1));
                    uint32_t run = iac ? static_cast<uint32_t>(static_cast<const uint8_t*>(iac) - start)
                                       : count - (i - 1);
                    Tn3270StoreData(window, start, static_cast<int>(run));
                    i += run - 1;
                } else if (c == '\r' && !Has(tn::BINARY, kMyWantDo)) {
                    PutTerminal('\r');
                    if (i == count) {
                        state.rxState = RxCr;
                    } else if (piece[i] == 0) {
                        ++i;
                    } else if (piece[i] == '\n' && !Has(tn::ECHO, kMyWantDo)) {
                        ++i;
                        PutTerminal('\n');
                    }
                } else {
                    PutTerminal(c);
                }
                break;
            case RxIac:
                HandleCommand(window, c);
                break;
            case RxWill:
            case RxWont:
            case RxDo:
            case RxDont: {
                static const uint8_t verbs[] = {tn::WILL, tn::WONT, tn::DO, tn::DONT};
                uint8_t verb = verbs[state.rxState - RxWill];
                TraceTelnetOption("RCVD", verb, c);
                if (verb == tn::WILL) ReceivedWill(c);
                else if (verb == tn::WONT) ReceivedWont(c);
                else if (verb == tn::DO) ReceivedDo(c);
                else ReceivedDont(c);
                Tn3270ModeCheck();
                state.rxState = RxData;
                break;
            }
            case RxSub:
                if (c == tn::IAC) state.rxState = RxSubIac;
                else AppendSub(c);
                break;
            case RxSubIac:
                if (c == tn::SE) {
                    state.rxState = RxData;
                    RunSubnegotiation(tn::SE);
                    Tn3270ModeCheck();
                } else if (c == tn::IAC) {
                    AppendSub(tn::IAC);
                    state.rxState = RxSub;
                } else {
                    TraceTelnetOption("In SUBOPTION processing, RCVD", tn::IAC, c);
                    state.rxState = RxData;
                    RunSubnegotiation(c);
                    Tn3270ModeCheck();
                    HandleCommand(window, c);
                }
                break;
            default:
                state.rxState = RxData;
                break;
            }
        }
        ring_advance_consume(NetInRing, i);
        consumedAny = consumedAny || i > 0;
    }
    return consumedAny ? 1 : 0;
}

int TelnetSend(ViewWindow window, const uint8_t* bytes, int n) {
    if (n <= 0) return 0;
    if (Rec->TerminalFamily3270 && (Rec->LocalEcho || Rec->Connected)) {
        Send3270KeyString(window, bytes, n);
        return n;
    }
    if (!Rec->Connected) return n;
    bool binary = Has(tn::BINARY, kMyWantWill);
    bool hasCr = !binary && std::memchr(bytes, '\r', static_cast<std::size_t>(n)) != nullptr;
    bool hasIac = std::memchr(bytes, tn::IAC, static_cast<std::size_t>(n)) != nullptr;
    int taken = 0;
    if (hasCr || hasIac) {
        // Byte by byte: CR as CR NUL (not binary), 255 as IAC IAC, each only when it fits whole.
        while (taken < n) {
            uint8_t c = bytes[taken];
            uint8_t encoded[2] = {c, 0};
            uint32_t length = 1;
            if (c == tn::IAC) { encoded[1] = tn::IAC; length = 2; }
            else if (c == '\r' && !binary) length = 2;
            if (ring_free_count(NetOutRing) < length) break;
            ring_put_bytes(NetOutRing, encoded, length);
            ++taken;
        }
    } else {
        taken = static_cast<int>(ring_put_bytes(NetOutRing, bytes, static_cast<uint32_t>(n)));
    }
    if (outputHook && taken > 0) outputHook(window);
    return taken;
}
