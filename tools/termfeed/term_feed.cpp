// The test feed's terminal: record defaults, planes, the interpreters and the reply capture.
#include "term_feed.h"

#include <cstring>

#include "connections/connection_dispatch.h"
#include "connections/vt_hookup.h"
#include "engine/colors.h"
#include "engine/screen_actions.h"
#include "engine/screen_planes.h"
#include "engine/vt/vt_hooks.h"
#include "engine/wyse/wyse_interpreter.h"
#include "shell/record_defaults.h"
#include "session/translate_tables.h"

namespace {

std::string replies;

int KeepReply(ViewWindow, const uint8_t* bytes, int length)
{
    replies.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    return length;
}

int AllocateWithoutHistory(SettingsRecord& rec)
{
    rec.HistoryRows = 0;
    return AllocScreenBuffers(rec);
}

}  // namespace

bool SetUpTerminal(const TermFeedSetup& setup)
{
    if (!ValidScreenGeometry(setup.rows, setup.cols)) return false;
    FreeScreenBuffers(*Rec);
    std::memset(Rec, 0, sizeof *Rec);
    HistorySavedCount = 0;
    SetIdentityTables(SessionTranslateTables);
    if (!SetRecordDefaults(*Rec, true, false, nullptr, SessionTranslateTables)) return false;
    Rec->Terminal = setup.emulation;
    Rec->MaxCols = setup.cols;
    Rec->MaxRows = setup.rows;
    Rec->CellWidth = 8;
    Rec->CellHeight = 16;
    if (!AllocateWithoutHistory(*Rec)) return false;
    if (setup.hostColours) {
        // As the program does when the settings ask for the host's colours.
        Rec->UseHostColor = 1;
        UpdateCurrentColors(*Rec);
    }
    ResetTerminal(*Rec);
    FreeWysePageBuffer();
    FillScreenCells(*Rec, setup.rows * setup.cols, 0, ' ', 0);
    Rec->CursorRow = Rec->CursorCol = 0;
    InstallVtInterpreter();
    VtHooks.sendToHost = KeepReply;
    replies.clear();
    return true;
}

void FeedTerminal(const uint8_t* bytes, std::size_t n, std::size_t block)
{
    if (block == 0) block = n;
    for (std::size_t at = 0; at < n; at += block) {
        const std::size_t take = n - at < block ? n - at : block;
        FeedEmulation(nullptr, bytes + at, static_cast<int>(take));
    }
}

const std::string& TerminalReplies() { return replies; }

std::string TerminalScreenText(bool planes)
{
    const int rows = Rec->MaxRows;
    const int cols = Rec->MaxCols;
    std::string out;
    out.reserve(static_cast<std::size_t>((rows + 1) * (cols + 1)) * (planes ? 7 : 1));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const char ch = static_cast<char>(Rec->CharsScreen[r * cols + c]);
            out += ch == 0 ? ' ' : ch;
        }
        out += '\n';
    }
    out += "cursor " + std::to_string(Rec->CursorRow) + " " + std::to_string(Rec->CursorCol) + "\n";
    if (planes) {
        static const char kHex[] = "0123456789abcdef";
        for (const uint8_t* plane : {Rec->FgScreen, Rec->BgScreen, Rec->FlagsScreen}) {
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < cols; ++c) {
                    const uint8_t v = plane[r * cols + c];
                    out += kHex[v >> 4];
                    out += kHex[v & 15];
                }
                out += '\n';
            }
        }
    }
    return out;
}
