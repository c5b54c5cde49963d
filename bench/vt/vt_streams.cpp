// The benchmark streams.
#include "vt_streams.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr int kRows = 24;
constexpr int kCols = 80;

struct Random {
    uint32_t state = 12345;
    uint32_t Next(uint32_t bound)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
};

char Printable(uint32_t i) { return static_cast<char>(' ' + 1 + i % 94); }

// Cursor to the 1-based row and column.
void Cup(std::string& s, int row, int col, Addressing addressing)
{
    if (addressing == Addressing::Wyse) {
        s += "\x1b=";
        s += static_cast<char>(0x20 + row - 1);
        s += static_cast<char>(0x20 + col - 1);
        return;
    }
    char text[24];
    std::snprintf(text, sizeof text, "\x1b[%d;%dH", row, col);
    s += text;
}

}  // namespace

const char* VtStreamName(VtStream kind)
{
    switch (kind) {
    case VtStream::PlainText: return "plain text, full screen";
    case VtStream::ColourCells: return "256-colour SGR every cell";
    case VtStream::CursorMotion: return "CUP to random cells + char";
    case VtStream::EditorMix: return "editor mix: CUP SGR EL IL DL";
    case VtStream::LineScroll: return "line scrolling (y LF)";
    case VtStream::ScreenScroll: return "full-screen scrolling";
    }
    return "";
}

std::string MakeVtStream(VtStream kind, std::size_t size, Addressing addressing, std::size_t* rounds)
{
    std::string s;
    s.reserve(size + 4096);
    Random random;
    uint32_t n = 0;
    std::size_t round = 0;
    // Until the size is reached, or for exactly *rounds rounds when rounds is given non-zero.
    const std::size_t wanted = rounds ? *rounds : 0;
    for (; wanted ? round < wanted : s.size() < size; ++round) {
        switch (kind) {
        case VtStream::PlainText:  // home, then every cell of the screen
            Cup(s, 1, 1, addressing);
            for (int i = 0; i < kRows * kCols - 1; ++i) s += Printable(n++);
            break;
        case VtStream::ColourCells: {
            s += "\x1b[H";
            char text[24];
            for (int i = 0; i < kRows * kCols - 1; ++i) {
                std::snprintf(text, sizeof text, "\x1b[38;5;%um", random.Next(256));
                s += text;
                s += Printable(n++);
            }
            break;
        }
        case VtStream::CursorMotion:
            for (int i = 0; i < 256; ++i) {
                Cup(s, 1 + static_cast<int>(random.Next(kRows)), 1 + static_cast<int>(random.Next(kCols)), addressing);
                s += Printable(n++);
            }
            break;
        case VtStream::EditorMix:
            for (int i = 0; i < 64; ++i) {
                Cup(s, 1 + static_cast<int>(random.Next(kRows)), 1 + static_cast<int>(random.Next(kCols - 20)), addressing);
                static const char* const kRenditions[] = {"\x1b[0m", "\x1b[1;34m", "\x1b[33m", "\x1b[7m", "\x1b[32;40m"};
                s += kRenditions[random.Next(5)];
                const uint32_t run = 3 + random.Next(15);
                for (uint32_t k = 0; k < run; ++k) s += Printable(n++);
                // Now and then the rest of the line erased, or a line inserted or deleted.
                static const char* const kEdits[] = {"\x1b[K", "\x1b[L", "\x1b[M", "", "", "", "", ""};
                s += kEdits[random.Next(8)];
            }
            break;
        case VtStream::LineScroll:
            for (int i = 0; i < 256; ++i) s += "y\n";
            break;
        case VtStream::ScreenScroll:
            for (int r = 0; r < kRows; ++r) {
                for (int c = 0; c < kCols - 1; ++c) s += Printable(n++);
                s += "\r\n";
            }
            break;
        }
    }
    if (rounds) *rounds = round;
    return s;
}
