// The comm recording writer; format in session_trace.h.
#include "connections/session_trace.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "session/session_record.h"

namespace {

class SystemClock : public TraceClock {
public:
    uint32_t TickMs() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void LocalTime(int& hours, int& minutes, int& seconds) override {
        std::time_t now = std::time(nullptr);
        const std::tm* t = std::localtime(&now);
        hours = t ? t->tm_hour : 0;
        minutes = t ? t->tm_min : 0;
        seconds = t ? t->tm_sec : 0;
    }
};

SystemClock systemClock;
TraceClock* traceClock = &systemClock;
uint32_t previousTick = 0;  // 0 right after opening: the first record shows DELTA 0.000

constexpr int kLineWidth = 72;
const char kIndent[] = "      ";

// A tag or header write; a failure ends the recording.
bool WriteTag(const char* text) {
    if (!Rec->Recording) return false;
    if (std::fputs(text, Rec->TraceFileHandle) < 0) {
        CloseTraceFile();
        return false;
    }
    return true;
}

}  // namespace

void SetTraceClock(TraceClock* c) { traceClock = c ? c : &systemClock; }

int OpenTraceFile(const char* name)
{
    previousTick = 0;
    Rec->TraceFileHandle = std::fopen(name, "w+");
    Rec->Recording = Rec->TraceFileHandle != nullptr;
    return Rec->Recording;
}

int CloseTraceFile()
{
    if (!Rec->Recording) return 0;
    Rec->Recording = 0;
    std::FILE* file = Rec->TraceFileHandle;
    Rec->TraceFileHandle = nullptr;
    return file ? std::fclose(file) : 0;
}

void TraceHeader(int count)
{
    if (!Rec->TraceTimestamp || !Rec->Recording) return;
    const uint32_t now = traceClock->TickMs();
    const double delta = previousTick == 0 ? 0.0 : (now - previousTick) / 1000.0;
    previousTick = now;
    int h = 0, m = 0, s = 0;
    traceClock->LocalTime(h, m, s);
    const long bits = static_cast<long>(count * 8.0 / (delta == 0.0 ? 1.0 : delta));
    char header[128];
    std::snprintf(header, sizeof header, "TIME: %02d:%02d:%02d DELTA: %.03f BLEN: %d BITS/S: %ld ",
                  h, m, s, delta, count, bits);
    WriteTag(header);
}

int TraceKeyboard(int keyCode, const uint8_t* bytes, int length)
{
    TraceHeader(length);
    char tag[32];
    std::snprintf(tag, sizeof tag, "KEYB: %.04X : ", keyCode & 0xFFFF);
    if (!WriteTag(tag)) return 0;
    return TraceBytes(bytes, length, false);
}

int TraceData(const uint8_t* bytes, int length, bool send)
{
    TraceHeader(length);
    if (!WriteTag(send ? "SEND: " : "COMM: ")) return 0;
    return TraceBytes(bytes, length, Rec->TerminalFamily3270 != 0);
}

int TraceExit()
{
    TraceHeader(0);
    WriteTag("EXIT: ");
    return Rec->Recording;
}

int TraceBytes(const uint8_t* bytes, int length, bool hex)
{
    if (!Rec->Recording) return 0;
    std::FILE* f = Rec->TraceFileHandle;
    int column = 0;
    for (int i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        char token[8];
        if (hex) std::snprintf(token, sizeof token, "%.02X ", b);
        else if (b == 13) std::snprintf(token, sizeof token, "CR ");
        else if (b == 10) std::snprintf(token, sizeof token, "LF ");
        else if (b == 9) std::snprintf(token, sizeof token, "HT ");
        else if (b == 32) std::snprintf(token, sizeof token, "SP ");
        else if (b == 27) {
            // An escape sequence starts its own line, so that sequences read one per line.
            std::fputs("\n", f);
            std::fputs(kIndent, f);
            column = 0;
            std::snprintf(token, sizeof token, "ESC ");
        } else if (b < 0x20 || b >= 0x80) std::snprintf(token, sizeof token, "%.02X ", b);
        else std::snprintf(token, sizeof token, "%c ", b);
        if (std::fputs(token, f) >= 0) column += static_cast<int>(std::strlen(token));
        if (column >= kLineWidth) {
            if (std::fputs("\n", f) < 0) {
                CloseTraceFile();
                return 0;
            }
            column = 0;
            if (i + 1 < length) std::fputs(kIndent, f);
        }
    }
    // The record's line end; a record that just broke its line has written it already, and a
    // record without bytes lets the next one follow on the same line.
    if (length > 0 && column > 0 && std::fputs("\n", f) < 0) {
        CloseTraceFile();
        return 0;
    }
    std::fflush(f);
    return Rec->Recording;
}
