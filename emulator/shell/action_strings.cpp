// The action-string interpreter; see action_strings.h.
#include "shell/action_strings.h"

#include <cctype>
#include <climits>
#include <cstring>

#include "connections/session_trace.h"
#include "session/key_tables.h"
#include "engine/key_strings.h"
#include "session/session_record.h"
#include "shell/hot_screen.h"

namespace {

constexpr int kDecodeBytes = 2048;
constexpr int kVkScrollLock = 145;
constexpr int kVkNumLock = 144;

bool SameWord(const std::string& piece, const char* word)
{
    if (piece.size() != std::strlen(word)) return false;
    for (std::size_t i = 0; i < piece.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(piece[i])) != word[i]) return false;
    return true;
}

}  // namespace

bool NextActionPiece(const char*& text, std::string& piece)
{
    piece.clear();
    if (*text == '\0') return false;
    if (*text == '%') {
        piece += *text++;
        while (*text != '\0') {
            piece += *text;
            if (*text++ == '%') break;
        }
        return true;
    }
    while (*text != '\0' && *text != '%') {
        piece += *text;
        if (*text++ == '\\' && *text != '\0') piece += *text++;
    }
    return true;
}

int DecodeActionPiece(const std::string& piece, const KeyDefTable* keyDefs, uint8_t* output, int maximum)
{
    const bool eightBit = Rec->ControlChar == 2;
    int n = 0;
    if (keyDefs && !piece.empty() && piece[0] != '"') {
        if (const KeyDefEntry* def = keyDefs->Lookup(piece))
            n = DecodeKeyString(def->GetDefinition().c_str(), output, maximum, eightBit, true);
    }
    if (n == 0) n = DecodeKeyString(piece.c_str(), output, maximum, eightBit, true);
    return n;
}

int ScrolledPosition(int position, int delta, int maximum)
{
    const long long moved = static_cast<long long>(position) + delta;
    if (moved < 0) return 0;
    return moved > maximum ? maximum : static_cast<int>(moved);
}

namespace {

// One run's state.
struct RunState {
    bool local = false;  // every run starts sending to the host
    int keyCode = 0;
    int* hold = nullptr;
    int* numLock = nullptr;
};

// Runs the keyword `piece` holds. False when it is no keyword; else the piece is what the keyword
// leaves to send (empty for most).
bool RunKeyword(std::string& piece, RunState& run, ActionTarget& t)
{
    const int page = Rec->MaxRows * Rec->CellHeight;
    if (SameWord(piece, "%exit%")) t.CloseMainWindow();
    else if (SameWord(piece, "%connect%")) { if (!Rec->Connected && !Rec->Connecting) t.PostCommand(kCmdConnect); }
    else if (SameWord(piece, "%hangup%")) { if (Rec->Connected || Rec->Connecting) t.PostCommand(kCmdConnect); }
    else if (SameWord(piece, "%dos%")) t.PostCommand(kCmdDosBox);
    else if (SameWord(piece, "%printscreen%")) t.PostCommand(kCmdPrintScreen);
    else if (SameWord(piece, "%flushprintscreen%")) t.FlushPrintScreen();
    else if (SameWord(piece, "%local%")) run.local = true;
    else if (SameWord(piece, "%tx%")) run.local = false;
    else if (SameWord(piece, "%break%")) { piece = t.SendSerialBreak() ? "" : "<03>"; return true; }
    else if (SameWord(piece, "%hold%")) {
        if (run.keyCode != kVkScrollLock) t.ToggleScrollLock();
        if (run.hold) *run.hold = 1;
        if (!t.ScrollLockOn()) t.RearmReceive();  // reception held by Scroll Lock goes on
    } else if (SameWord(piece, "%numlock%")) {
        if (run.keyCode != kVkNumLock) t.ToggleNumLock();
        if (run.numLock) *run.numLock = 1;
    }
    else if (SameWord(piece, "%menu%")) t.ToggleMenuBar();
    else if (SameWord(piece, "%history%")) t.PostCommand(kCmdHistory);
    else if (SameWord(piece, "%session%")) t.PostCommand(kCmdOneMore);
    else if (SameWord(piece, "%copy%")) t.PostCommand(kCmdCopy);
    else if (SameWord(piece, "%copytable%")) t.PostCommand(kCmdCopyTable);
    else if (SameWord(piece, "%paste%")) t.PostCommand(kCmdPaste);
    else if (SameWord(piece, "%selectall%")) t.SelectAll();
    else if (SameWord(piece, "%clearselect%")) t.ClearSelection();
    else if (SameWord(piece, "%pgup%")) { t.HistoryOn(); t.ScrollViewBy(0, -page); }
    else if (SameWord(piece, "%pgdown%")) t.ScrollViewBy(0, page);
    else if (SameWord(piece, "%up%")) { t.HistoryOn(); t.ScrollViewBy(0, -Rec->CellHeight); }
    else if (SameWord(piece, "%down%")) t.ScrollViewBy(0, Rec->CellHeight);
    else if (SameWord(piece, "%left%")) t.ScrollViewBy(-Rec->CellWidth, 0);
    else if (SameWord(piece, "%right%")) t.ScrollViewBy(Rec->CellWidth, 0);
    else if (SameWord(piece, "%home%")) { t.HistoryOn(); t.ScrollViewBy(0, -INT_MAX); }
    else if (SameWord(piece, "%end%")) t.ScrollViewBy(0, INT_MAX);
    else if (SameWord(piece, "%row%")) { piece = "\"" + std::to_string(t.MouseRow()) + "\""; return true; }
    else if (SameWord(piece, "%col%")) { piece = "\"" + std::to_string(t.MouseCol()) + "\""; return true; }
    else if (SameWord(piece, "%hostname%")) { piece = Rec->HostName; return true; }
    else if (SameWord(piece, "%noaction%") || SameWord(piece, "%ignore%")) {}
    else if (SameWord(piece, "%togglescreen%")) t.ToggleScreen();
    else if (SameWord(piece, "%hotload%")) t.HotLoad();
    else return false;
    piece.clear();
    return true;
}

}  // namespace

int RunActionString(const char* text, int keyCode, const KeyDefTable* keyDefs, ActionTarget& target,
                    int* hold, int* numLock)
{
    RunState run;
    run.keyCode = keyCode;
    run.hold = hold;
    run.numLock = numLock;
    // Screen text first: a "%scr" or "%txt" macro is not a keyword.
    const std::string expanded = ExpandScreenMacros(text ? text : "");
    text = expanded.c_str();
    int lastLength = 0;
    std::string piece;
    while (NextActionPiece(text, piece)) {
        if (piece[0] == '%' && RunKeyword(piece, run, target) && piece.empty()) continue;
        uint8_t bytes[kDecodeBytes];
        lastLength = DecodeActionPiece(piece, keyDefs, bytes, kDecodeBytes);
        if (lastLength <= 0) continue;
        if (run.local) {
            target.Feed(bytes, lastLength);
        } else {
            if (Rec->Recording) TraceKeyboard(0, bytes, lastLength);
            target.Send(bytes, lastLength);
        }
    }
    return lastLength;
}
