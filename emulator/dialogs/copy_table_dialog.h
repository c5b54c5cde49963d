// The Copy Table Settings as the dialog edits them, window-free: how a screen rectangle becomes
// a table on the clipboard. The values live as long as the program; they are not saved.
#pragma once

#include <cstdint>
#include <string>

struct CopyTableSettings {
    std::string separator = "<tab>";  // one byte in the key-string notation
    int removeLeading = 1;            // drop blanks at the start of a row
    int removeTrailing = 1;           // drop blanks at the end of a row
    int lineEnd = 0;                  // 0 CR LF, 1 the field separator
    int singleSpace = 0;              // 0 a field break before a digit or '-', 1 a field break, 2 a blank
};

// The field separator edit holds at most this many characters.
constexpr std::size_t kTableSeparatorLimit = 5;

// The program's settings (initially the spreadsheet preset).
extern CopyTableSettings TableSettings;

// "Get defaults for:" Spreadsheet and C/C++.
CopyTableSettings SpreadsheetPreset();
CopyTableSettings CPlusPlusPreset();

// The separator byte of the settings: the first byte of the decoded notation (national
// characters converted), 0 when it decodes to nothing.
uint8_t SeparatorByte(const CopyTableSettings& settings);
