// tn3270_replay: plays a host's byte stream (negotiation and records as sent on the wire) through
// the Telnet engine and the tn3270 record layer, as after a connect, then types keystroke strings.
//
//   tn3270_replay [--model 2-5] [--color] STREAM [KEYS ...]
//
// Prints the buffer one row a line in the form "data: SF(c0=E0,42=F2) 41 42 00 ...": an attribute
// cell as SF with the attribute byte, its colour (42) and highlight (41) when set, a data cell as
// the displayed character in hex (00 for a null), then "cursor: ADDRESS" and every inbound record
// the engine sent back as "inbound: HEX".
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "connections/ring_buffer.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_rings.h"
#include "connections/tn3270_records.h"
#include "engine/ibm3270/field_model.h"
#include "engine/screen_planes.h"
#include "screen_dump.h"
#include "session/session_record.h"

namespace {

std::vector<uint8_t> wire;  // everything the engine wrote to the network

void TakeOutput(ViewWindow) {
    uint8_t chunk[4096];
    while (uint32_t n = ring_get_bytes(NetOutRing, chunk, sizeof chunk)) wire.insert(wire.end(), chunk, chunk + n);
}

// The records in the client's output, without the negotiation.
std::vector<std::vector<uint8_t>> InboundRecords() {
    std::vector<std::vector<uint8_t>> records;
    std::vector<uint8_t> record;
    for (std::size_t i = 0; i < wire.size(); ++i) {
        if (wire[i] != 255) {
            record.push_back(wire[i]);
            continue;
        }
        if (++i >= wire.size()) break;
        const uint8_t verb = wire[i];
        if (verb == 255) {
            record.push_back(255);
        } else if (verb == 239) {
            records.push_back(record);
            record.clear();
        } else if (verb >= 251) {
            ++i;  // WILL, WONT, DO, DONT and the option
        } else if (verb == 250) {
            while (i + 1 < wire.size() && !(wire[i] == 255 && wire[i + 1] == 240)) ++i;
            ++i;
        }
    }
    return records;
}

// 3270 highlight values by the flags-plane bits.
uint8_t HighlightCode(uint8_t flags) {
    if (flags & kCellBlink) return 0xF1;
    if (flags & kCellReverse) return 0xF2;
    if (flags & kCellUnderscore) return 0xF4;
    return 0;
}

void PrintBuffer() {
    const Tn3270Globals& s = Tn3270State;
    for (int row = 0; row < s.Rows3270; ++row) {
        std::string line = "data:";
        char cell[40];
        for (int column = 0; column < s.Columns3270; ++column) {
            const int a = row * s.Columns3270 + column;
            const uint8_t attribute = Attributes3270()[a];
            if (attribute >= kFaMarker) {
                int n = std::snprintf(cell, sizeof cell, " SF(c0=%02x", attribute);
                if (uint8_t h = HighlightCode(Flags3270()[a])) n += std::snprintf(cell + n, sizeof cell - n, ",41=%02x", h);
                if (Colour3270()[a]) n += std::snprintf(cell + n, sizeof cell - n, ",42=%02x", Colour3270()[a]);
                std::snprintf(cell + n, sizeof cell - n, ")");
            } else {
                std::snprintf(cell, sizeof cell, " %02x", Ebcdic3270()[a] ? Chars3270()[a] : 0);
            }
            line += cell;
        }
        std::printf("%s\n", line.c_str());
    }
    std::printf("cursor: %d\n", s.CursorAddress);
    for (const auto& record : InboundRecords()) std::printf("inbound: %s\n", Hex3270(record).c_str());
}

int Usage() {
    std::fprintf(stderr, "usage: tn3270_replay [--model 2-5] [--color] STREAM [KEYS ...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int model = 2;
    bool colour = false;
    int at = 1;
    for (; at < argc && argv[at][0] == '-'; ++at) {
        const std::string arg = argv[at];
        if (arg == "--model" && at + 1 < argc) model = std::atoi(argv[++at]);
        else if (arg == "--color") colour = true;
        else return Usage();
    }
    if (at >= argc || model < 2 || model > 5) return Usage();
    std::ifstream in(argv[at++], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tn3270_replay: cannot read %s\n", argv[at - 1]);
        return 1;
    }
    const std::vector<uint8_t> stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    Rec->MaxRows = 24;
    Rec->MaxCols = 80;
    Rec->CellWidth = 8;
    Rec->CellHeight = 16;
    Rec->Charset3270 = 5;
    Rec->Terminal3270 = (colour ? 20 : 16) + model - 2;
    Rec->TerminalFamily3270 = 1;
    Rec->Connected = 1;
    if (!AllocScreenBuffers() || AllocTelnetRings() != 0) return 1;
    SetTelnetOutputHook(TakeOutput);
    TelnetInit();
    Install3270Hooks();
    Tn3270Reset();

    // The host's bytes in socket-sized reads, as the socket reader hands them over.
    for (std::size_t done = 0; done < stream.size();) {
        uint32_t n = ring_free_count(NetInRing);
        if (n > stream.size() - done) n = static_cast<uint32_t>(stream.size() - done);
        ring_put_bytes(NetInRing, stream.data() + done, n);
        done += n;
        Tn3270Receive(nullptr);
        TakeOutput(nullptr);
        if (n == 0 && !ring_is_empty(NetInRing)) {
            std::fprintf(stderr, "tn3270_replay: reception stalled\n");
            return 1;
        }
    }
    for (; at < argc; ++at) {
        const std::string keys = argv[at];
        TelnetSend(nullptr, reinterpret_cast<const uint8_t*>(keys.data()), static_cast<int>(keys.size()));
        TakeOutput(nullptr);
    }
    PrintBuffer();
    FreeTelnetRings();
    FreeScreenBuffers();
    return 0;
}
