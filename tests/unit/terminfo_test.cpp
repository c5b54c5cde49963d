// The capabilities of real terminal types through our interpreters. The bytes come from terminfo
// (tests/golden/terminfo/TERM.caps, written by scripts/terminfo-streams from tput); each check
// draws with them and looks for what the capability means on the screen: the cursor where cup
// put it, the line erased by el, the rendition changed by smso and back after rmso, a line-drawing
// cell from the alternate character set, the key a Wyse sends by default, ... A capability the
// terminal type does not have skips that check for it. The last test draws one script under
// every type and compares the screen with the same script drawn for a vt100.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/key_strings.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"
#include "engine/wyse/wyse_interpreter.h"
#include "golden_text.h"
#include "session/session_record.h"
#include "term_feed.h"

#ifndef TERMINFO_DIR
#error TERMINFO_DIR names the folder of the capability files
#endif

namespace {

struct TerminalType {
    std::string name;
    int emulation;
    std::map<std::string, std::string> caps;  // capability with its parameters -> bytes

    bool Has(const std::string& cap) const
    {
        auto it = caps.find(cap);
        return it != caps.end() && !it->second.empty();
    }
};

std::vector<TerminalType> LoadTypes()
{
    const std::vector<std::pair<std::string, int>> kTypes = {{"wy50", 12},  {"wy60", 9}, {"viewpoint", 11},
                                                             {"scoansi", 4}, {"at386", 5}, {"ansi", 6},
                                                             {"dumb", 7},    {"vt100", 1}};
    std::vector<TerminalType> types;
    for (const auto& [name, emulation] : kTypes) {
        TerminalType type{name, emulation, {}};
        std::ifstream in(std::string(TERMINFO_DIR) + "/" + name + ".caps");
        EXPECT_TRUE(in.good()) << "no capability file for " << name;
        for (std::string line; std::getline(in, line);) {
            const std::size_t colon = line.find(": ");
            if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
            type.caps[line.substr(0, colon)] = Unescape(line.substr(colon + 2));
        }
        types.push_back(type);
    }
    return types;
}

const std::vector<TerminalType>& Types()
{
    static const std::vector<TerminalType> types = LoadTypes();
    return types;
}

// ---- The terminal under test and what it does besides the screen.

std::vector<std::string> effects;

class RecordingView : public ViewPort {
public:
    void SetStatusPane(const char* text, int pane, uint32_t, uint32_t) override
    {
        effects.push_back("status " + std::to_string(pane) + " " + (text ? text : ""));
    }
};
RecordingView recordingView;

std::map<std::string, std::string> keys;
int RecordKey(const char* name, const char* text)
{
    keys[name] = text;
    return 1;
}

void Start(const TerminalType& type)
{
    ASSERT_TRUE(SetUpTerminal(TermFeedSetup{type.emulation, 80, 24}));
    Rec->ProtectedReversed = 1;  // the Wyse and ADDS standout is a protected field shown reversed
    SetViewPort(&recordingView);
    VtHooks.defineTerminalKey = RecordKey;
    effects.clear();
    keys.clear();
}

// Capabilities of the console entries that the console emulation reads otherwise; a drawing with
// them counts as one the type cannot make.
bool ReadOtherwise(const std::string& type, const std::string& cap)
{
    static const std::vector<std::pair<std::string, std::string>> kDifferences = {
        // SGR 2 is the console's colour pair (it takes the next two parameters); invisible is SGR 8.
        {"at386", "dim"},
        {"at386", "invis"},
        // CSI = p ; q C sets the cursor's first and last scan line: no end line below the start
        // shows it, so ESC [ = C shows and ESC [ = 1 C hides it.
        {"at386", "civis"},
        {"at386", "cnorm"},
        // CSI p g shows the character of code p, and ESC H does nothing on the console.
        {"at386", "tbc"},
        {"ansi", "tbc"},
        {"scoansi", "hts"},
    };
    return std::find(kDifferences.begin(), kDifferences.end(), std::make_pair(type, cap)) != kDifferences.end();
}

// Parts of a drawing: "@cap args" is a capability of the type, anything else (a lone "@" too)
// plain text. Returns
// false (and draws nothing) when the type lacks one of the capabilities.
bool Draw(const TerminalType& type, const std::vector<std::string>& parts)
{
    std::string bytes;
    for (const std::string& part : parts) {
        if (part.size() < 2 || part[0] != '@') {
            bytes += part;
            continue;
        }
        if (!type.Has(part.substr(1)) || ReadOtherwise(type.name, part.substr(1))) return false;
        bytes += type.caps.at(part.substr(1));
    }
    FeedTerminal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
    return true;
}

std::string Row(int r)
{
    std::string row;
    for (int c = 0; c < Rec->MaxCols; ++c) row += static_cast<char>(Rec->CharsScreen[r * Rec->MaxCols + c]);
    return RightTrimmed(row);
}

int Cell(int r, int c) { return r * Rec->MaxCols + c; }
char CharAt(int r, int c) { return static_cast<char>(Rec->CharsScreen[Cell(r, c)]); }

// What a cell looks like apart from its character: colours and the true bold and underline bits.
std::string Look(int r, int c)
{
    const int i = Cell(r, c);
    return std::to_string(Rec->FgScreen[i]) + "/" + std::to_string(Rec->BgScreen[i]) + "/" +
           std::to_string(Rec->FlagsScreen[i] & 0x03);
}

// Runs `check` for every type that has the capabilities it draws with; at least `minimum` types
// must have taken part.
template <typename Check>
void ForEachType(int minimum, Check check)
{
    int ran = 0;
    for (const TerminalType& type : Types()) {
        SCOPED_TRACE(type.name);
        Start(type);
        if (check(type)) ++ran;
    }
    SetViewPort(nullptr);
    EXPECT_GE(ran, minimum);
}

TEST(Terminfo, CupPutsTheCursorWhereItSays)
{
    ForEachType(7, [](const TerminalType& t) {
        const int places[][2] = {{5, 10}, {0, 0}, {23, 79}, {10, 10}, {3, 4}};
        for (const auto& p : places) {
            const std::string cup = "@cup " + std::to_string(p[0]) + " " + std::to_string(p[1]);
            if (!Draw(t, {cup})) return false;
            EXPECT_EQ(p[0], Rec->CursorRow) << cup;
            EXPECT_EQ(p[1], Rec->CursorCol) << cup;
        }
        // These terminals wrap at once (no pending wrap but for the vt100): a character written
        // in the bottom right corner scrolls the screen.
        Draw(t, {"@cup 23 79", "X"});
        EXPECT_EQ('X', t.name == "vt100" ? CharAt(23, 79) : CharAt(22, 79));
        return true;
    });
}

TEST(Terminfo, ClearHomeAndTheSingleMoves)
{
    ForEachType(7, [](const TerminalType& t) {
        if (!Draw(t, {"abc\r\ndef", "@clear", "X"})) return false;
        EXPECT_EQ("X", Row(0));
        EXPECT_EQ("", Row(1));
        EXPECT_EQ(1, Rec->CursorCol);
        const std::vector<std::pair<std::string, std::pair<int, int>>> moves = {
            {"@cuu1", {4, 10}}, {"@cud1", {6, 10}}, {"@cub1", {5, 9}}, {"@cuf1", {5, 11}}, {"@cr", {5, 0}}};
        for (const auto& [move, at] : moves) {
            Draw(t, {"@clear"});
            if (Draw(t, {"@cup 5 10", move, "M"})) { EXPECT_EQ('M', CharAt(at.first, at.second)) << move; }
        }
        Draw(t, {"@clear", "abc"});
        if (Draw(t, {"@home", "H"})) { EXPECT_EQ("Hbc", Row(0)); }
        return true;
    });
}

TEST(Terminfo, EraseInsertAndDelete)
{
    ForEachType(7, [](const TerminalType& t) {
        if (!Draw(t, {"0123456789", "@cup 0 3", "@el"})) return false;
        EXPECT_EQ("012", Row(0)) << "el";
        Draw(t, {"@clear", "aaaa", "@cup 1 0", "bbbb", "@cup 2 0", "cccc"});
        if (Draw(t, {"@cup 1 2", "@ed"})) {
            EXPECT_EQ("aaaa", Row(0)) << "ed";
            EXPECT_EQ("bb", Row(1)) << "ed";
            EXPECT_EQ("", Row(2)) << "ed";
        }
        Draw(t, {"@clear", "A", "@cup 1 0", "B", "@cup 2 0", "C"});
        if (Draw(t, {"@cup 0 0", "@il1"})) {
            EXPECT_EQ((std::vector<std::string>{"", "A", "B", "C"}),
                      (std::vector<std::string>{Row(0), Row(1), Row(2), Row(3)})) << "il1";
        }
        Draw(t, {"@clear", "A", "@cup 1 0", "B", "@cup 2 0", "C"});
        if (Draw(t, {"@cup 0 0", "@dl1"})) {
            EXPECT_EQ((std::vector<std::string>{"B", "C", ""}), (std::vector<std::string>{Row(0), Row(1), Row(2)}))
                << "dl1";
        }
        Draw(t, {"@clear", "abc"});
        if (Draw(t, {"@cup 0 1", "@ich1", "X"})) { EXPECT_EQ("aXbc", Row(0)) << "ich1"; }
        Draw(t, {"@clear", "abc"});
        if (Draw(t, {"@cup 0 1", "@smir", "XY", "@rmir", "Z"})) { EXPECT_EQ("aXYZc", Row(0)) << "smir"; }
        Draw(t, {"@clear", "abc"});
        if (Draw(t, {"@cup 0 1", "@dch1"})) { EXPECT_EQ("ac", Row(0)) << "dch1"; }
        return true;
    });
}

TEST(Terminfo, ScrollingByIndexAndReverseIndex)
{
    ForEachType(5, [](const TerminalType& t) {
        bool any = false;
        if (Draw(t, {"@cup 23 0", "A", "@cup 23 0", "@ind"})) {
            EXPECT_EQ("A", Row(22)) << "ind";
            any = true;
        }
        Draw(t, {"@clear"});
        if (Draw(t, {"@cup 0 0", "B", "@cup 0 0", "@ri"})) {
            EXPECT_EQ("", Row(0)) << "ri";
            EXPECT_EQ("B", Row(1)) << "ri";
            any = true;
        }
        return any;
    });
}

TEST(Terminfo, RenditionsChangeTheCellAndTheirEndRestoresIt)
{
    const std::vector<std::pair<std::string, std::string>> renditions = {
        {"smso", "rmso"}, {"smul", "rmul"}, {"bold", "sgr0"}, {"rev", "sgr0"}, {"blink", "sgr0"},
        {"dim", "sgr0"},  {"invis", "sgr0"}, {"sgr 1 0 0 0 0 0 0 0 0", "sgr0"}};

    ForEachType(6, [&](const TerminalType& t) {
        bool any = false;
        for (const auto& [on, off] : renditions) {
            Start(t);
            const std::string end = t.Has(off) ? off : "sgr0";
            if (!Draw(t, {"N", "@" + on, "A", "@" + end, "B"})) continue;
            any = true;
            // On the Wyse 50 and the ADDS terminal an attribute code may take a cell of its own:
            // look at the last two cells written.
            const int a = Rec->CursorCol - 2;
            const int b = Rec->CursorCol - 1;
            EXPECT_EQ('A', CharAt(0, a)) << on;
            EXPECT_NE(Look(0, 0), Look(0, a)) << on;
            EXPECT_EQ(Look(0, 0), Look(0, b)) << on << " ended by " << end;
            if (on == "invis") {
                EXPECT_EQ(Rec->FgScreen[Cell(0, a)], Rec->BgScreen[Cell(0, a)]);
            }
        }
        return any;
    });
}

TEST(Terminfo, ProtectedCharacters)
{
    ForEachType(2, [](const TerminalType& t) {
        if (!Draw(t, {"a", "@prot", "b"})) return false;
        EXPECT_EQ(0, Rec->ProtectionPlane[Cell(0, 0)]);
        EXPECT_EQ(1, Rec->ProtectionPlane[Cell(0, Rec->CursorCol - 1)]);
        return true;
    });
}

TEST(Terminfo, AlternateCharacterSetDrawsLines)
{
    ForEachType(6, [](const TerminalType& t) {
        if (!t.Has("acsc") || !t.Has("smacs")) return false;
        Draw(t, {"@enacs"});
        const std::string& acsc = t.caps.at("acsc");
        int column = 0;
        for (std::size_t i = 0; i + 1 < acsc.size(); i += 2) {
            const char line = acsc[i];
            if (std::string("jklmnqtuvwx").find(line) == std::string::npos) continue;
            Draw(t, {"@smacs", std::string(1, acsc[i + 1]), "@rmacs"});
            EXPECT_EQ(line, CharAt(0, column)) << "acsc " << line;
            EXPECT_TRUE(Rec->FlagsScreen[Cell(0, column)] & 0x08) << "acsc " << line;
            ++column;
        }
        EXPECT_GE(column, 11);
        Draw(t, {"q"});
        EXPECT_EQ(0, Rec->FlagsScreen[Cell(0, column)] & 0x08) << "after rmacs";
        return true;
    });
}

TEST(Terminfo, TabStopsCursorVisibilityAndWrap)
{
    ForEachType(6, [](const TerminalType& t) {
        bool any = false;
        if (Draw(t, {"@tbc", "@cup 0 5", "@hts", "@cup 0 0", "@ht", "X"})) {
            EXPECT_EQ('X', CharAt(0, 5)) << "hts";
            any = true;
        }
        Start(t);
        if (Draw(t, {"@cup 0 20", "@cbt", "X"})) {
            EXPECT_EQ('X', CharAt(0, 16)) << "cbt";
            any = true;
        }
        if (Draw(t, {"@civis"})) {
            EXPECT_EQ(0, Rec->CursorFlags & kCursorShown) << "civis";
            if (Draw(t, {"@cnorm"})) { EXPECT_NE(0, Rec->CursorFlags & kCursorShown) << "cnorm"; }
            any = true;
        }
        Start(t);
        if (Draw(t, {"@rmam", "@cup 0 78", "ABC"})) {
            EXPECT_EQ("AC", Row(0).substr(78)) << "rmam";
            EXPECT_EQ("", Row(1)) << "rmam";
            if (Draw(t, {"@smam", "@cup 0 78", "XYZ"})) { EXPECT_EQ("Z", Row(1)) << "smam"; }
            any = true;
        }
        return any;
    });
}

TEST(Terminfo, WyseStatusLineAndKeyProgramming)
{
    ForEachType(2, [](const TerminalType& t) {
        if (!Draw(t, {"@tsl", "hello", "@fsl"})) return false;
        EXPECT_EQ(std::vector<std::string>{"status 1 hello"}, effects);
        if (Draw(t, {"@pfx 1 ab"})) { EXPECT_EQ("\"ab\"", keys["F1"]); }
        return true;
    });
}

// The keys a Wyse sends without programming are those terminfo knows.
TEST(Terminfo, WyseDefaultKeysSendTheTerminalsKeyCodes)
{
    const std::map<std::string, std::string> kNames = {
        {"kcuu1", "UP"},     {"kcud1", "DOWN"},   {"kcub1", "LEFT"},    {"kcuf1", "RIGHT"}, {"khome", "HOME"},
        {"kHOM", "HOME_S"},  {"kf1", "F1"},       {"kf2", "F2"},        {"kf16", "F16"},    {"kcbt", "BTAB"},
        {"kent", "SEND"},    {"kich1", "INSCHAR"}, {"kil1", "INSLINE"}, {"kdch1", "DELCHAR"}, {"kdl1", "DELLINE"},
        {"knp", "PGDN"},     {"kpp", "PGUP"},     {"kprt", "PRINT"},    {"krpl", "REPL"},   {"kel", "END"},
        {"ked", "END_S"}};
    int compared = 0;
    for (const TerminalType& t : Types()) {
        if (t.emulation != 9 && t.emulation != 12) continue;
        SCOPED_TRACE(t.name);
        Start(t);
        WyseDefaultKeys(*Rec);
        for (const auto& [cap, name] : kNames) {
            if (!t.Has(cap)) continue;
            ASSERT_TRUE(keys.count(name)) << name;
            uint8_t sent[64];
            const int n = DecodeKeyString(keys[name].c_str(), sent, sizeof sent, false, false);
            EXPECT_EQ(Escape(t.caps.at(cap)), Escape(std::string(reinterpret_cast<char*>(sent), n))) << cap;
            ++compared;
        }
    }
    EXPECT_GE(compared, 30);
}

TEST(Terminfo, DumbTerminalReturnsAndFeedsLines)
{
    for (const TerminalType& t : Types()) {
        if (t.name != "dumb") continue;
        Start(t);
        ASSERT_TRUE(Draw(t, {"abc", "@cr", "X", "@cud1", "Y", "@ind", "Z"}));
        EXPECT_EQ("Xbc", Row(0));
        EXPECT_EQ(" Y", Row(1));
        EXPECT_EQ("  Z", Row(2));
    }
}

// One drawing under every terminal type must leave the screen a vt100 shows for it.
TEST(Terminfo, TheSameDrawingGivesTheSameScreenAsAVt100)
{
    const std::vector<std::string> script = {
        "@clear", "@cup 3 4",  "alpha", "@cup 5 10", "beta gamma", "@cup 5 14", "@el",  "@cup 8 0",
        "line8 text", "@cup 9 0", "line9", "@cup 8 2", "@ed",  "@cup 0 0", "top",  "@cuf1", "@cuf1", "R",
        "@cud1",  "D", "@cub1", "@cub1", "@cub1", "L", "@cuu1", "U", "@cup 10 10", "end", "\r", "start",
        "@cup 2 7", "mid"};
    auto screen = [] {
        std::string text;
        for (int r = 0; r < Rec->MaxRows; ++r) text += Row(r) + "\n";
        return text + "cursor " + std::to_string(Rec->CursorRow) + " " + std::to_string(Rec->CursorCol);
    };
    std::string reference;
    for (const TerminalType& t : Types()) {
        if (t.name != "vt100") continue;
        Start(t);
        ASSERT_TRUE(Draw(t, script));
        reference = screen();
    }
    ASSERT_NE(std::string::npos, reference.find("    alpha\n")) << reference;
    ASSERT_NE(std::string::npos, reference.find("beta\n")) << reference;
    int compared = 0;
    for (const TerminalType& t : Types()) {
        if (t.name == "vt100" || t.name == "dumb") continue;
        SCOPED_TRACE(t.name);
        Start(t);
        ASSERT_TRUE(Draw(t, script)) << "a capability of the script is missing";
        EXPECT_EQ(reference, screen());
        ++compared;
    }
    SetViewPort(nullptr);
    EXPECT_EQ(6, compared);
}

}  // namespace
