// Golden tests of the character-mode interpreters: every case of the files listed in the index of
// a folder of tests/golden (GOLDEN_ROOT; a test per folder: vt, console, wyse, adds) is fed whole,
// split in two at every byte boundary and one byte at a time; each replay must give the same
// screen, cursor, replies and side effects. The file format is described in tests/golden/vt/README.md.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/colors.h"
#include "engine/screen_planes.h"
#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"
#include "session/session_record.h"
#include "golden_text.h"
#include "term_feed.h"

#ifndef GOLDEN_ROOT
#error GOLDEN_ROOT names the folder of the golden folders
#endif

namespace {

struct GoldenCase {
    std::string file;
    int line = 0;
    std::string name;
    TermFeedSetup setup;
    std::vector<std::pair<std::string, int>> settings;
    std::string input;
    std::map<int, std::string> rows;  // expected non-blank rows (trailing blanks trimmed)
    // History reallocations: before the input byte at the position, HistoryRows rows of history
    // collected while hidden; and the expected non-blank history rows (1 = the newest).
    std::vector<std::pair<std::size_t, int>> historyChanges;
    std::map<int, std::string> history;
    bool cursorGiven = false;
    int cursorRow = 0;
    int cursorCol = 0;
    std::string replies;
    std::vector<std::string> effects;  // "status TEXT", "key NAME VALUE", "print BYTES", cell checks
};

std::vector<GoldenCase> LoadCases(const std::string& folder)
{
    std::vector<GoldenCase> cases;
    std::vector<std::string> files;
    const std::string dir = std::string(GOLDEN_ROOT) + "/" + folder;
    std::ifstream list(dir + "/index");
    for (std::string name; std::getline(list, name);)
        if (!name.empty() && name[0] != '#') files.push_back(name);
    for (const std::string& file : files) {
        std::ifstream in(dir + "/" + file);
        EXPECT_TRUE(in.good()) << "cannot read golden file " << file;
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == '#') continue;
            if (line.rfind("=== ", 0) == 0) {
                cases.emplace_back();
                cases.back().file = file;
                cases.back().line = number;
                cases.back().name = line.substr(4);
                continue;
            }
            if (cases.empty()) continue;
            GoldenCase& c = cases.back();
            std::istringstream words(line);
            std::string key;
            words >> key;
            std::string rest = line.size() > key.size() + 1 ? line.substr(key.size() + 1) : "";
            if (key == "emulation") {
                words >> c.setup.emulation;
            } else if (key == "size") {
                words >> c.setup.cols >> c.setup.rows;
            } else if (key == "set") {
                std::string field;
                int value = 0;
                words >> field >> value;
                c.settings.emplace_back(field, value);
            } else if (key == "history") {
                int historyRows = 0;
                words >> historyRows;
                c.historyChanges.emplace_back(c.input.size(), historyRows);
            } else if (key == "hist") {
                int row = 0;
                words >> row;
                const std::size_t colon = line.find(": ");
                c.history[row] = colon == std::string::npos ? "" : RightTrimmed(Unescape(line.substr(colon + 2)));
            } else if (key == "in:") {
                c.input += Unescape(rest);
            } else if (key == "row") {
                int row = 0;
                words >> row;
                const std::size_t colon = line.find(": ");
                c.rows[row] = colon == std::string::npos ? "" : RightTrimmed(Unescape(line.substr(colon + 2)));
            } else if (key == "cursor") {
                c.cursorGiven = true;
                words >> c.cursorRow >> c.cursorCol;
            } else if (key == "replies:") {
                c.replies += Unescape(rest);
            } else {
                c.effects.push_back(Escape(Unescape(line)));
            }
        }
    }
    return cases;
}

// ---- What the engine does besides the screen, as text lines.

std::vector<std::string> effects;

class RecordingView : public ViewPort {
public:
    void SetStatusPane(const char* text, int pane, uint32_t, uint32_t) override
    {
        const std::string shown = Escape(text ? text : "");
        effects.push_back("status " + std::to_string(pane) + (shown.empty() ? "" : " " + shown));
    }
};
RecordingView recordingView;

int RecordKey(const char* name, const char* text)
{
    effects.push_back(std::string("key ") + name + " " + Escape(text));
    return 1;
}

std::string printed;
void RecordPrint(uint8_t b) { printed += static_cast<char>(b); }

bool ApplySetting(const std::string& field, int value)
{
    static const std::map<std::string, int32_t SettingsRecord::*> kFields = {
        {"Charset", &SettingsRecord::Charset},         {"ControlChar", &SettingsRecord::ControlChar},
        {"UseHostColor", &SettingsRecord::UseHostColor}, {"TrueBold", &SettingsRecord::TrueBold},
        {"TrueUnderline", &SettingsRecord::TrueUnderline}, {"AutoWrapNow", &SettingsRecord::AutoWrapNow},
        {"NewLineNow", &SettingsRecord::NewLineNow},   {"Country", &SettingsRecord::Country},
        {"OriginMode", &SettingsRecord::OriginMode},   {"PrintToScreenNow", &SettingsRecord::PrintToScreenNow},
        {"ProtectedReversed", &SettingsRecord::ProtectedReversed}, {"InsertMode", &SettingsRecord::InsertMode},
        {"UseHistoryLinesColor", &SettingsRecord::UseHistoryLinesColor}, {"HistoryView", &SettingsRecord::HistoryView},
    };
    auto it = kFields.find(field);
    if (it == kFields.end()) return false;
    Rec->*(it->second) = value;
    // The program recomputes the normal and current colours whenever the colour model changes.
    if (field == "UseHostColor") UpdateCurrentColors(*Rec);
    return true;
}

// A cell check: "fg R C V", "bg R C V", "flags R C V" (hex value); a negative row is a history row.
std::string CellCheck(const std::string& effect)
{
    std::istringstream words(effect);
    std::string plane;
    int row = 0, col = 0;
    words >> plane >> row >> col;
    const uint8_t* base = plane == "fg" ? Rec->FgScreen : plane == "bg" ? Rec->BgScreen : Rec->FlagsScreen;
    char text[64];
    std::snprintf(text, sizeof text, "%s %d %d %x", plane.c_str(), row, col, base[row * Rec->MaxCols + col]);
    return text;
}

// The history rows, newest first, as text lines.
std::string HistoryText()
{
    std::string out;
    const int cols = Rec->MaxCols;
    for (int k = 1; k <= Rec->HistoryRowsAlloc; ++k) {
        for (int c = 0; c < cols; ++c) {
            const char ch = static_cast<char>(Rec->CharsScreen[-k * cols + c]);
            out += ch == 0 ? ' ' : ch;
        }
        out += '\n';
    }
    return out;
}

// Without room to move the planes' window the store scrolls by moving the bytes.
void KeepPlanesStill(bool still)
{
    if (still) Rec->PlaneSlackCells = 0;
}

// Feeds the input in the pieces between the history reallocations and the cut (0: no cut).
void FeedCase(const GoldenCase& c, std::size_t cut, std::size_t block, bool still)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(c.input.data());
    std::vector<std::size_t> stops{c.input.size()};
    if (cut) stops.push_back(cut);
    for (const auto& change : c.historyChanges) stops.push_back(change.first);
    std::sort(stops.begin(), stops.end());
    std::size_t at = 0;
    for (std::size_t stop : stops) {
        FeedTerminal(bytes + at, stop - at, block);
        at = stop;
        for (const auto& change : c.historyChanges) {
            if (change.first != stop) continue;
            Rec->HistoryRows = change.second;
            Rec->UpdateHiddenHistory = 1;
            EXPECT_EQ(AllocScreenBuffers(*Rec), 1);
            KeepPlanesStill(still);
        }
    }
}

struct Outcome {
    std::string screen;
    std::string history;
    std::string replies;
    std::vector<std::string> effects;
};

Outcome Replay(const GoldenCase& c, std::size_t split, std::size_t block, bool still = false)
{
    EXPECT_TRUE(SetUpTerminal(c.setup));
    KeepPlanesStill(still);
    SetViewPort(&recordingView);
    VtHooks.defineTerminalKey = RecordKey;
    VtHooks.printData = RecordPrint;
    effects.clear();
    printed.clear();
    for (const auto& s : c.settings) EXPECT_TRUE(ApplySetting(s.first, s.second)) << "unknown setting " << s.first;
    FeedCase(c, split, block, still);
    Outcome out;
    out.screen = TerminalScreenText(false);
    out.history = HistoryText();
    out.replies = TerminalReplies();
    out.effects = effects;
    if (!printed.empty()) out.effects.push_back("print " + Escape(printed));
    for (const std::string& e : c.effects)
        if (e.rfind("fg ", 0) == 0 || e.rfind("bg ", 0) == 0 || e.rfind("flags ", 0) == 0)
            out.effects.push_back(CellCheck(e));
    SetViewPort(nullptr);
    return out;
}

// The rows of a screen text with their trailing blanks trimmed (the cursor line left out).
std::vector<std::string> TrimmedRows(const std::string& text)
{
    std::vector<std::string> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line) && line.rfind("cursor ", 0) != 0;) rows.push_back(RightTrimmed(line));
    return rows;
}

// The expected screen rows for a screen of `count` rows (the rows may change on the way).
std::vector<std::string> ExpectedRows(const GoldenCase& c, std::size_t count)
{
    std::vector<std::string> rows(count);
    for (const auto& row : c.rows)
        if (row.first >= 0 && static_cast<std::size_t>(row.first) < count) rows[static_cast<std::size_t>(row.first)] = row.second;
    return rows;
}

std::vector<std::string> ExpectedHistory(const GoldenCase& c, std::size_t count)
{
    std::vector<std::string> rows(count);
    for (const auto& row : c.history) {
        if (row.first >= 1 && static_cast<std::size_t>(row.first) <= count)
            rows[static_cast<std::size_t>(row.first - 1)] = row.second;
        else
            ADD_FAILURE() << "history row " << row.first << " beyond the " << count << " rows allocated";
    }
    return rows;
}

std::string CursorLine(const std::string& text) { return text.substr(text.rfind("cursor ")); }

class Golden : public testing::TestWithParam<const char*> {};

TEST_P(Golden, EveryCaseWholeSplitAndBytewise)
{
    const std::vector<GoldenCase> cases = LoadCases(GetParam());
    ASSERT_FALSE(cases.empty());
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.file + ":" + std::to_string(c.line) + " " + c.name);
        const Outcome whole = Replay(c, 0, 0);
        const std::vector<std::string> screen = TrimmedRows(whole.screen);
        EXPECT_EQ(ExpectedRows(c, screen.size()), screen);
        const std::vector<std::string> history = TrimmedRows(whole.history);
        EXPECT_EQ(ExpectedHistory(c, history.size()), history);
        if (c.cursorGiven) {
            EXPECT_EQ("cursor " + std::to_string(c.cursorRow) + " " + std::to_string(c.cursorCol) + "\n",
                      CursorLine(whole.screen));
        }
        EXPECT_EQ(Escape(c.replies), Escape(whole.replies));
        EXPECT_EQ(c.effects, whole.effects);
        // The same stream cut anywhere, and one byte at a time, must give the same result.
        for (std::size_t split = 1; split < c.input.size(); ++split) {
            const Outcome part = Replay(c, split, 0);
            EXPECT_EQ(whole.screen, part.screen) << "split at byte " << split;
            EXPECT_EQ(whole.history, part.history) << "split at byte " << split;
            EXPECT_EQ(whole.replies, part.replies) << "split at byte " << split;
            EXPECT_EQ(whole.effects, part.effects) << "split at byte " << split;
            if (whole.screen != part.screen || whole.history != part.history) break;
        }
        // Scrolling by moving the bytes instead of the planes' window gives the same.
        const Outcome still = Replay(c, 0, 0, true);
        EXPECT_EQ(whole.screen, still.screen) << "planes kept still";
        EXPECT_EQ(whole.history, still.history) << "planes kept still";
        EXPECT_EQ(whole.effects, still.effects) << "planes kept still";
        const Outcome bytewise = Replay(c, 0, 1);
        EXPECT_EQ(whole.screen, bytewise.screen) << "one byte per block";
        EXPECT_EQ(whole.history, bytewise.history) << "one byte per block";
        EXPECT_EQ(whole.effects, bytewise.effects) << "one byte per block";
    }
}

INSTANTIATE_TEST_SUITE_P(Family, Golden, testing::Values("vt", "console", "wyse", "adds"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
