// The Terminal Configuration dialog (character-cell emulations) and the 3270 Terminal
// Configuration dialog, window-free: the emulation and its screen as the dialogs edit them, taken
// from the session record and stored back, and the rows rule.
#pragma once

#include <string>

#include "session/session_record.h"

constexpr std::size_t kAnswerBackLimit = 32;  // typed; the setting holds 128
constexpr std::size_t kTabsLimit = 255;
constexpr int kHistoryRowsMax = 400;

struct TerminalSettingsValues {
    long terminal = 0, charset = 0;  // list values
    int controlChar = -1;            // ControlChar - 1: 0 7-bit, 1 8-bit
    int decCnm = -1;                 // 0 Yes, 1 Ignore, 2 Beep
    int cursorStyle = -1;            // 0 Block, 1 Line, 2 Underline
    int newLine = 0, localEcho = 0, autoWrap = 0;
    int columns = -1;                // 0 for 80, 1 for 132
    int rows = -1;                   // 0 for 24, 1 for 25
    std::string answerBack;
    int historyRows = 0;
    std::string tabs;
    int updateHiddenHistory = 0, protectedReversed = 0;
};

TerminalSettingsValues TerminalValuesFrom(const SettingsRecord& rec);
// Stores the members; a radio group left without a choice keeps its setting. The screen size is
// not stored: StoredColumns and StoredRows give it, for the width switch of the screen planes.
// Returns true when the emulation or the character set changed.
bool StoreTerminalValues(const TerminalSettingsValues& values, SettingsRecord& rec);
int StoredColumns(const TerminalSettingsValues& values, const SettingsRecord& rec);  // 80 or 132
int StoredRows(const TerminalSettingsValues& values, const SettingsRecord& rec);     // 24 or 25

// The rows rule: the console and ANSI emulations (4, 5, 6) have 25 rows, the others 24. The
// rows choice: 1 (25) or 0 (24).
int RowsChoiceForEmulation(long emulation);

// The 3270 dialog: no rows or columns, the screen follows the model.
struct Terminal3270Values {
    long model = 0, national = 0;
    int cursorStyle = -1;
    int localEcho = 0;
    int historyRows = 0;
    int updateHiddenHistory = 0;
};
Terminal3270Values Terminal3270ValuesFrom(const SettingsRecord& rec);
void StoreTerminal3270Values(const Terminal3270Values& values, SettingsRecord& rec);
