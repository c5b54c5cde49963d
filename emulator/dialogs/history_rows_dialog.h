// The History Rows question, window-free: its range and the fixed text beside the number.
#pragma once

constexpr int kHistoryRowsMin = 0;
constexpr int kHistoryRowsMax = 400;

// The dialog's explanation.
extern const char* const kHistoryRowsNote;
