// The screen the DDE test host shows: cell (row, column) of a 24 x 80 screen holds
// 'A' + (row + column) % 26, except row 5, which starts with kTableRow and is blank after it.
#pragma once

#include <string>

constexpr int kPatternRows = 24;
constexpr int kPatternCols = 80;
constexpr char kTableRow[] = "  ab  cd   -1 x";
constexpr int kTableRowIndex = 5;

inline char PatternCell(int row, int col) {
    if (row == kTableRowIndex) {
        int n = static_cast<int>(sizeof(kTableRow) - 1);
        return col < n ? kTableRow[col] : ' ';
    }
    return static_cast<char>('A' + (row + col) % 26);
}

// The plain text of a rectangle: rows of exactly `width` characters joined by CR LF.
inline std::string PatternText(int col, int row, int width, int height) {
    std::string text;
    for (int r = row; r < row + height; ++r) {
        if (r > row) text += "\r\n";
        for (int c = col; c < col + width; ++c) text += PatternCell(r, c);
    }
    return text;
}
