#include "connections/telnet_trace.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "connections/connection_dispatch.h"
#include "connections/connection_view.h"
#include "connections/telnet_codes.h"

namespace {

bool traceOn = false;
bool traceToFile = false;
std::FILE* traceFile = nullptr;

const char* const kCommandNames[] = {  // 236 .. 255
    "EOF", "SUSP", "ABORT", "EOR", "SE", "NOP", "DMARK", "BRK", "IP", "AO",
    "AYT", "EC", "EL", "GA", "SB", "WILL", "WONT", "DO", "DONT", "IAC"};

const char* const kOptionNames[] = {  // 0 .. 39
    "BINARY", "ECHO", "RCP", "SUPPRESS GO AHEAD", "NAME", "STATUS", "TIMING MARK", "RCTE",
    "NAOL", "NAOP", "NAOCRD", "NAOHTS", "NAOHTD", "NAOFFD", "NAOVTS", "NAOVTD", "NAOLFD",
    "EXTEND ASCII", "LOGOUT", "BYTE MACRO", "DATA ENTRY TERMINAL", "SUPDUP", "SUPDUP OUTPUT",
    "SEND LOCATION", "TERMINAL TYPE", "END OF RECORD", "TACACS UID", "OUTPUT MARKING", "TTYLOC",
    "3270 REGIME", "X.3 PAD", "NAWS", "TSPEED", "LFLOW", "LINEMODE", "XDISPLOC", "OLD-ENVIRON",
    "AUTHENTICATION", "ENCRYPT", "NEW-ENVIRON"};

const char* CommandName(int byte) {
    return byte >= 236 && byte <= 255 ? kCommandNames[byte - 236] : nullptr;
}

// A bounded line; appends past the end are cut.
class Line {
public:
    void Add(const char* format, ...) {
        if (length_ >= sizeof(text_) - 1) return;
        va_list args;
        va_start(args, format);
        int written = std::vsnprintf(text_ + length_, sizeof(text_) - length_, format, args);
        va_end(args);
        if (written < 0) return;
        length_ += static_cast<std::size_t>(written);
        if (length_ > sizeof(text_) - 1) length_ = sizeof(text_) - 1;
    }
    void AddByteName(int byte) {
        const char* name = CommandName(byte);
        if (name) Add("%s", name); else Add("%d", byte);
    }
    const char* Text() const { return text_; }
    std::size_t Length() const { return length_; }

private:
    char text_[2048] = {};
    std::size_t length_ = 0;
};

void WriteScreen(const char* text, std::size_t length) {
    FeedEmulation(ConnView().Window(), reinterpret_cast<const uint8_t*>(text),
                  static_cast<int>(length));
}

// Ends the line and writes it to the trace output.
void Emit(Line& line) {
    if (traceToFile) {
        if (!traceFile) return;
        line.Add("\n");
        std::fwrite(line.Text(), 1, line.Length(), traceFile);
        std::fflush(traceFile);
        return;
    }
    line.Add("\r\n");
    WriteScreen(line.Text(), line.Length());
}

// The environment items between quoted texts, unprintable bytes in octal.
void AddEnvironItems(Line& line, const uint8_t* p, int length) {
    int noquote = 2;  // 2: outside quotes; 0: inside
    for (int i = 2; i < length; ++i) {
        switch (p[i]) {
        case tn::ENV_VALUE: line.Add("%s", &"\" VALUE "[noquote]); noquote = 2; break;
        case tn::ENV_VAR: line.Add("%s", &"\" VAR "[noquote]); noquote = 2; break;
        case tn::ENV_ESC: line.Add("%s", &"\" ESC "[noquote]); noquote = 2; break;
        case tn::ENV_USERVAR: line.Add("%s", &"\" USERVAR "[noquote]); noquote = 2; break;
        default:
            if (std::isprint(p[i]) && p[i] != '"') {
                if (noquote) { line.Add("\""); noquote = 0; }
                line.Add("%c", p[i]);
            } else {
                line.Add(&"\" %03o "[noquote], p[i]);
                noquote = 2;
            }
        }
    }
    if (!noquote) line.Add("\"");
}

void AddUnknownQualifier(Line& line, int qualifier) {
    line.Add("- unknown qualifier %d (0x%x).", qualifier, qualifier);
}

void AddDataBytes(Line& line, const uint8_t* p, int from, int length) {
    for (int i = from; i < length; ++i) line.Add(" %d", p[i]);
}

}  // namespace

bool NetTraceOn() { return traceOn; }
void SetNetTraceOn(bool on) { traceOn = on; }
bool NetTraceToFile() { return traceToFile; }

void SetNetTraceFile(int flag) {
    if (traceFile) {
        std::fclose(traceFile);
        traceFile = nullptr;
    }
    traceToFile = flag != 0;
    if (traceToFile) traceFile = std::fopen("nettrace.txt", "w+");
}

void TraceScreenText(const char* text) { WriteScreen(text, std::strlen(text)); }

void TraceTelnetOption(const char* direction, int verb, int option) {
    if (!traceOn) return;
    Line line;
    if (verb == tn::IAC) {
        const char* name = CommandName(option);
        if (name) line.Add("%s IAC %s", direction, name);
        else line.Add("%s IAC %d", direction, option);
    } else if (verb == tn::WILL || verb == tn::WONT || verb == tn::DO || verb == tn::DONT) {
        line.Add("%s %s ", direction, CommandName(verb));
        if (option >= 0 && option <= 39) line.Add("%s", kOptionNames[option]);
        else if (option == 255) line.Add("EXOPL");
        else line.Add("%d", option);
    } else {
        line.Add("%s %d %d", direction, verb, option);
    }
    Emit(line);
}

void TraceTelnetSuboption(char direction, const uint8_t* p, int length) {
    if (!traceOn) return;
    Line line;
    line.Add("%s IAC SB ", direction == '<' ? "RCVD" : "SENT");
    if (length >= 2) {
        if (direction == '<' && (p[length - 2] != tn::IAC || p[length - 1] != tn::SE)) {
            line.Add("(terminated by ");
            line.AddByteName(p[length - 2]);
            line.Add(" ");
            line.AddByteName(p[length - 1]);
            line.Add(", not IAC SE!) ");
        }
        length -= 2;
    }
    if (length < 1) {
        line.Add("(Empty suboption?\?\?)");
        Emit(line);
        return;
    }
    int qualifier = length >= 2 ? p[1] : -1;
    switch (p[0]) {
    case tn::TTYPE:
        line.Add("TERMINAL-TYPE ");
        if (qualifier == tn::IS) line.Add("IS \"%.*s\"", length - 2, reinterpret_cast<const char*>(p + 2));
        else if (qualifier == tn::SEND) line.Add("SEND");
        else AddUnknownQualifier(line, qualifier);
        break;
    case tn::TSPEED:
        line.Add("TERMINAL-SPEED");
        if (qualifier == tn::IS) line.Add(" IS %.*s", length - 2, reinterpret_cast<const char*>(p + 2));
        else if (qualifier == tn::SEND) line.Add(" SEND");
        else { line.Add(" "); AddUnknownQualifier(line, qualifier); }
        break;
    case tn::LFLOW:
        line.Add("TOGGLE-FLOW-CONTROL");
        switch (qualifier) {
        case tn::LFLOW_OFF: line.Add(" OFF"); break;
        case tn::LFLOW_ON: line.Add(" ON"); break;
        case tn::LFLOW_RESTART_ANY: line.Add(" RESTART-ANY"); break;
        case tn::LFLOW_RESTART_XON: line.Add(" RESTART-XON"); break;
        default: line.Add(" "); AddUnknownQualifier(line, qualifier);
        }
        break;
    case tn::NAWS:
        line.Add("NAWS");
        for (int i = 1; i + 1 < length && i <= 3; i += 2)
            line.Add(" %d %d (%d)", p[i], p[i + 1], (p[i] << 8) | p[i + 1]);
        break;
    case tn::XDISPLOC:
        line.Add("X-DISPLAY-LOCATION ");
        if (qualifier == tn::IS) line.Add("IS \"%.*s\"", length - 2, reinterpret_cast<const char*>(p + 2));
        else if (qualifier == tn::SEND) line.Add("SEND");
        else AddUnknownQualifier(line, qualifier);
        break;
    case tn::NEW_ENVIRON:
    case tn::OLD_ENVIRON:
        line.Add(p[0] == tn::NEW_ENVIRON ? "NEW-ENVIRON " : "OLD-ENVIRON ");
        if (qualifier == tn::IS) line.Add("IS");
        else if (qualifier == tn::SEND) line.Add("SEND ");
        else if (qualifier == tn::INFO) line.Add("INFO ");
        else { AddUnknownQualifier(line, qualifier); break; }
        AddEnvironItems(line, p, length);
        break;
    case tn::STATUS:
        line.Add("STATUS");
        if (qualifier == tn::SEND) line.Add(" SEND");
        else if (qualifier == tn::IS) { line.Add(" IS"); AddDataBytes(line, p, 2, length); }
        else { line.Add(" "); AddUnknownQualifier(line, qualifier); }
        break;
    case tn::LINEMODE:
        line.Add("LINEMODE ");
        AddDataBytes(line, p, 1, length);
        break;
    default:
        line.Add("%d (unknown)", p[0]);
        AddDataBytes(line, p, 1, length);
    }
    Emit(line);
}
