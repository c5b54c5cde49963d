// feed3270: feeds a file of 3270 host records through the engine and prints the screen.
//
//   feed3270 [--model 2-5] [--color] [--charset 5-23] [--boxes] RECORDS [INBOUND]
//
// RECORDS holds one item per line: a host record in hex ("F5 C3 11 40 40 'TEXT' 1D F0", quoted
// text typed through the current ASCII-to-EBCDIC table), "piece: HEX" for a piece without
// end-of-record, "keys: TEXT" for a keystroke string (the "%32..." notation included), "screen"
// to print the screen at that point; blank lines and lines starting with '#' are skipped.
// The screen (rows, fields with their attribute bytes, cursor) goes to standard output at the
// end; inbound records go to INBOUND, one hex line each (standard output when not given);
// messages and status texts go to standard error.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/ibm3270/3270keyb.h"
#include "engine/ibm3270/field_model.h"
#include "engine/ibm3270/outbound_stream.h"
#include "engine/ibm3270/outside_hooks.h"
#include "engine/screen_planes.h"
#include "screen_dump.h"
#include "session/messages.h"

namespace {

std::FILE* inboundFile = stdout;
std::vector<uint8_t> inboundRecord;

int Usage()
{
    std::fprintf(stderr, "usage: feed3270 [--model 2-5] [--color] [--charset 5-23] [--boxes] RECORDS [INBOUND]\n");
    return 2;
}

bool SetUp(int model, bool colour, int charset, bool boxes)
{
    Rec->MaxRows = 24;
    Rec->MaxCols = 80;
    Rec->CellWidth = 8;
    Rec->CellHeight = 16;
    Rec->Charset3270 = charset;
    Rec->Terminal3270 = (colour ? 20 : 16) + model - 2;
    Rec->TerminalFamily3270 = 1;
    Rec->BoxEnable32 = boxes ? 1 : 0;
    if (!AllocScreenBuffers()) return false;
    static const int kAlternate[4][2] = {{24, 80}, {32, 80}, {43, 80}, {27, 132}};
    Set3270Geometry(24, 80);
    Tn3270State.AltRows3270 = kAlternate[model - 2][0];
    Tn3270State.AltColumns3270 = kAlternate[model - 2][1];
    Init3270Screen();
    return true;
}

}  // namespace

int SendInbound(const uint8_t* data, int length, int endOfRecord)
{
    inboundRecord.insert(inboundRecord.end(), data, data + length);
    if (endOfRecord) {
        std::fprintf(inboundFile, "%s\n", Hex3270(inboundRecord).c_str());
        std::fflush(inboundFile);
        inboundRecord.clear();
    }
    return length;
}

int SetStatusPane(const char* text, int pane, uint32_t, uint32_t)
{
    if (text && *text) std::fprintf(stderr, "status %d: %s\n", pane, text);
    return 1;
}

void ShowStatusProgress(int pane, int percent, const char* text, uint32_t)
{
    if (text && *text) std::fprintf(stderr, "status %d: %s (%d%%)\n", pane, text, percent);
}

// Messages to the user go to standard error.
class MessagesToStderr final : public ShellPrompts {
public:
    int Ask(int, const std::string& text, int) override
    {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return 1;
    }
};

int main(int argc, char** argv)
{
    int model = 2;
    int charset = 5;
    bool colour = false;
    bool boxes = false;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--model" && i + 1 < argc) {
            model = std::atoi(argv[++i]);
        } else if (arg == "--charset" && i + 1 < argc) {
            charset = std::atoi(argv[++i]);
        } else if (arg == "--color") {
            colour = true;
        } else if (arg == "--boxes") {
            boxes = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage();
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty() || files.size() > 2 || model < 2 || model > 5) return Usage();
    std::ifstream in(files[0]);
    if (!in) {
        std::fprintf(stderr, "feed3270: cannot read %s\n", files[0]);
        return 1;
    }
    if (files.size() == 2 && !(inboundFile = std::fopen(files[1], "w"))) {
        std::fprintf(stderr, "feed3270: cannot write %s\n", files[1]);
        return 1;
    }
    static MessagesToStderr messages;
    SetPrompts(&messages);
    Tn3270Hooks.sendRecord = SendInbound;
    if (!SetUp(model, colour, charset, boxes)) {
        std::fprintf(stderr, "feed3270: no memory for the screen\n");
        return 1;
    }
    std::string line;
    std::vector<uint8_t> pending;  // bytes of a piece the engine left for the next one
    int lineNumber = 0;
    int status = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line == "screen") {
            std::fputs(Dump3270Screen().c_str(), stdout);
            continue;
        }
        if (line.rfind("keys:", 0) == 0) {
            std::string keys = line.substr(5);
            if (!keys.empty() && keys[0] == ' ') keys.erase(0, 1);
            Send3270KeyString(nullptr, reinterpret_cast<const uint8_t*>(keys.data()), static_cast<int>(keys.size()));
            continue;
        }
        int endOfRecord = 1;
        if (line.rfind("piece:", 0) == 0) {
            line = line.substr(6);
            endOfRecord = 0;
        }
        std::vector<uint8_t> bytes;
        if (!Parse3270Hex(line, bytes)) {
            std::fprintf(stderr, "feed3270: line %d: not a record\n", lineNumber);
            status = 1;
            continue;
        }
        bytes.insert(bytes.begin(), pending.begin(), pending.end());
        const int taken = Process3270Stream(nullptr, bytes.data(), static_cast<int>(bytes.size()), endOfRecord);
        pending.assign(bytes.begin() + taken, bytes.end());
    }
    std::fputs(Dump3270Screen().c_str(), stdout);
    if (inboundFile != stdout) std::fclose(inboundFile);
    FreeScreenBuffers();
    return status;
}
