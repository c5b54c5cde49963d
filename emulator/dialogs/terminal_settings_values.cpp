#include "dialogs/terminal_settings_values.h"

#include <cstring>

namespace {

int Choice(int value, int count) { return value >= 0 && value < count ? value : -1; }

std::string Text(const char* field, std::size_t size) { return std::string(field, strnlen(field, size - 1)); }

template <std::size_t N>
void StoreText(char (&field)[N], const std::string& text, std::size_t limit)
{
    const std::size_t n = text.copy(field, limit < N - 1 ? limit : N - 1);
    std::memset(field + n, 0, N - n);
}

}  // namespace

TerminalSettingsValues TerminalValuesFrom(const SettingsRecord& rec)
{
    TerminalSettingsValues v;
    v.terminal = rec.Terminal;
    v.charset = rec.Charset;
    v.controlChar = Choice(rec.ControlChar - 1, 2);
    v.decCnm = Choice(rec.DecCNM, 3);
    v.cursorStyle = Choice(rec.CursorStyle, 3);
    v.newLine = rec.NewLine;
    v.localEcho = rec.LocalEcho;
    v.autoWrap = rec.AutoWrap;
    v.columns = rec.MaxCols == 80 ? 0 : 1;
    v.rows = rec.MaxRows == 24 ? 0 : 1;
    v.answerBack = Text(rec.AnswerBack, sizeof rec.AnswerBack);
    v.historyRows = rec.HistoryRows;
    v.tabs = Text(rec.Tabs, sizeof rec.Tabs);
    v.updateHiddenHistory = rec.UpdateHiddenHistory;
    v.protectedReversed = rec.ProtectedReversed;
    return v;
}

bool StoreTerminalValues(const TerminalSettingsValues& v, SettingsRecord& rec)
{
    const bool changed = v.terminal != rec.Terminal || v.charset != rec.Charset;
    rec.Terminal = static_cast<int32_t>(v.terminal);
    rec.Charset = static_cast<int32_t>(v.charset);
    if (v.controlChar >= 0 && v.controlChar < 2) rec.ControlChar = v.controlChar + 1;
    if (v.decCnm >= 0 && v.decCnm < 3) rec.DecCNM = v.decCnm;
    if (v.cursorStyle >= 0 && v.cursorStyle < 3) rec.CursorStyle = v.cursorStyle;
    rec.NewLine = v.newLine;
    rec.LocalEcho = v.localEcho;
    rec.AutoWrap = v.autoWrap;
    StoreText(rec.AnswerBack, v.answerBack, sizeof rec.AnswerBack - 1);
    rec.HistoryRows = v.historyRows;
    StoreText(rec.Tabs, v.tabs, kTabsLimit);
    rec.UpdateHiddenHistory = v.updateHiddenHistory;
    rec.ProtectedReversed = v.protectedReversed;
    return changed;
}

int StoredColumns(const TerminalSettingsValues& v, const SettingsRecord& rec)
{
    return v.columns == 0 ? 80 : v.columns == 1 ? 132 : rec.MaxCols;
}

int StoredRows(const TerminalSettingsValues& v, const SettingsRecord& rec)
{
    return v.rows == 0 ? 24 : v.rows == 1 ? 25 : rec.MaxRows;
}

int RowsChoiceForEmulation(long emulation) { return emulation >= 4 && emulation <= 6 ? 1 : 0; }

Terminal3270Values Terminal3270ValuesFrom(const SettingsRecord& rec)
{
    Terminal3270Values v;
    v.model = rec.Terminal3270;
    v.national = rec.Charset3270;
    v.cursorStyle = Choice(rec.CursorStyle, 3);
    v.localEcho = rec.LocalEcho;
    v.historyRows = rec.HistoryRows;
    v.updateHiddenHistory = rec.UpdateHiddenHistory;
    return v;
}

void StoreTerminal3270Values(const Terminal3270Values& v, SettingsRecord& rec)
{
    rec.Terminal3270 = static_cast<int32_t>(v.model);
    rec.Charset3270 = static_cast<int32_t>(v.national);
    if (v.cursorStyle >= 0 && v.cursorStyle < 3) rec.CursorStyle = v.cursorStyle;
    rec.LocalEcho = v.localEcho;
    rec.HistoryRows = v.historyRows;
    rec.UpdateHiddenHistory = v.updateHiddenHistory;
}
