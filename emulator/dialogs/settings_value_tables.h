// The value tables of the session's list settings, as the General, Terminal, 3270 and first-time
// setup dialogs show them: entry i of a list is string baseId + i of the program's string table
// and carries values[i]. A list selects the first entry carrying the setting (none when no entry
// does: a value outside the list, such as a rate of 57600 or 115200 written into the file by
// hand, shows as no entry), and a list left without a selection keeps the setting
// (framework/fw_list_fill.h).
#pragma once

#include <cstddef>

struct SettingsValueTable {
    int baseId;
    const long* values;
    std::size_t count;

    // The index of the first entry carrying the value, -1 when none does.
    int IndexOf(long value) const;
    // The value of entry `index`; `keep` for -1 or an index past the end.
    long ValueAt(int index, long keep) const;
};

// BaudRateLong: 110 ... 56k, 128k, 256k.
extern const SettingsValueTable kBaudRateTable;
extern const SettingsValueTable kParityTable;     // None, Even, Odd, Mark, Space
extern const SettingsValueTable kStopBitsTable;   // 1, 1.5, 2
extern const SettingsValueTable kNetworkTable;
extern const SettingsValueTable kPlatformTable;
extern const SettingsValueTable kCountryTable;
extern const SettingsValueTable kLanguageTable;
extern const SettingsValueTable kEmulationTable;  // Terminal, the character-cell emulations
extern const SettingsValueTable kCharsetTable;    // Charset
extern const SettingsValueTable kModel3270Table;  // Terminal3270, 16-23
extern const SettingsValueTable kNationalTable;   // Charset3270, 5-23

// The platform value of "IBM Mainframe".
constexpr long kMainframePlatform = 9;
