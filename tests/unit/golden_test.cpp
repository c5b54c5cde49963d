// Golden tests of the character-mode interpreters: every case of the files listed in the index of
// a folder of tests/golden (GOLDEN_DIR: vt, console, wyse, adds) is fed whole, split in two at
// every byte boundary and one byte at a time; each replay must give the same screen, cursor,
// replies and side effects. The file format is described in tests/golden/vt/README.md.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/view_port.h"
#include "engine/vt/vt_hooks.h"
#include "session/session_record.h"
#include "golden_text.h"
#include "term_feed.h"

#ifndef GOLDEN_DIR
#error GOLDEN_DIR names the folder of the golden files
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
    bool cursorGiven = false;
    int cursorRow = 0;
    int cursorCol = 0;
    std::string replies;
    std::vector<std::string> effects;  // "status TEXT", "key NAME VALUE", "print BYTES", cell checks
};

std::vector<GoldenCase> LoadCases()
{
    std::vector<GoldenCase> cases;
    std::vector<std::string> files;
    std::ifstream list(std::string(GOLDEN_DIR) + "/index");
    for (std::string name; std::getline(list, name);)
        if (!name.empty() && name[0] != '#') files.push_back(name);
    for (const std::string& file : files) {
        std::ifstream in(std::string(GOLDEN_DIR) + "/" + file);
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
    };
    auto it = kFields.find(field);
    if (it == kFields.end()) return false;
    Rec->*(it->second) = value;
    return true;
}

// A cell check: "fg R C V", "bg R C V", "flags R C V" (hex value).
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

struct Outcome {
    std::string screen;
    std::string replies;
    std::vector<std::string> effects;
};

Outcome Replay(const GoldenCase& c, std::size_t split, std::size_t block)
{
    EXPECT_TRUE(SetUpTerminal(c.setup));
    SetViewPort(&recordingView);
    VtHooks.defineTerminalKey = RecordKey;
    VtHooks.printData = RecordPrint;
    effects.clear();
    printed.clear();
    for (const auto& s : c.settings) EXPECT_TRUE(ApplySetting(s.first, s.second)) << "unknown setting " << s.first;
    const auto* bytes = reinterpret_cast<const uint8_t*>(c.input.data());
    if (split) {
        FeedTerminal(bytes, split, block);
        FeedTerminal(bytes + split, c.input.size() - split, block);
    } else {
        FeedTerminal(bytes, c.input.size(), block);
    }
    Outcome out;
    out.screen = TerminalScreenText(false);
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

std::vector<std::string> ExpectedRows(const GoldenCase& c)
{
    std::vector<std::string> rows(static_cast<std::size_t>(c.setup.rows));
    for (const auto& row : c.rows)
        if (row.first >= 0 && row.first < c.setup.rows) rows[static_cast<std::size_t>(row.first)] = row.second;
    return rows;
}

std::string CursorLine(const std::string& text) { return text.substr(text.rfind("cursor ")); }

TEST(Golden, EveryCaseWholeSplitAndBytewise)
{
    const std::vector<GoldenCase> cases = LoadCases();
    ASSERT_FALSE(cases.empty());
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.file + ":" + std::to_string(c.line) + " " + c.name);
        const Outcome whole = Replay(c, 0, 0);
        EXPECT_EQ(ExpectedRows(c), TrimmedRows(whole.screen));
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
            EXPECT_EQ(whole.replies, part.replies) << "split at byte " << split;
            EXPECT_EQ(whole.effects, part.effects) << "split at byte " << split;
            if (whole.screen != part.screen) break;
        }
        const Outcome bytewise = Replay(c, 0, 1);
        EXPECT_EQ(whole.screen, bytewise.screen) << "one byte per block";
        EXPECT_EQ(whole.effects, bytewise.effects) << "one byte per block";
    }
}

}  // namespace
