// "gettxt": the parameters a DDE client gives for a rectangle of screen text, their limits, and
// the copy of the rectangle out of the screen planes.
//
// Parameters are up to nine unsigned decimal numbers separated by ';' (blanks around the
// semicolons allowed): column, row, width, height, and for the table form separator byte, skip
// leading blanks, stop at trailing blanks, separator between rows, single-blank rule.
#pragma once

#include <cstddef>
#include <string>

#include "engine/screen_planes.h"
#include "session/session_record.h"

constexpr int kGettxtMaxParams = 9;

// Reads the numbers of `text` (at most `length` bytes; a NUL ends it earlier) the way the format
// " %u ; %u ; ... ; %u" would: each number may have leading blanks and a sign, and its digits
// saturate at the largest unsigned value. Stores up to nine values; returns how many were read.
int ParseGettxtParams(const char* text, std::size_t length, unsigned (&values)[kGettxtMaxParams]);

// Checks a parsed parameter set against the screen size and builds the request. Exactly 4 numbers
// (plain form) or 9 (table form) are accepted; the rectangle must lie wholly on the screen
// (column < maxCols and width <= maxCols - column, likewise rows; width and height >= 1) and the
// table options must be in range. Returns false on any violation; `request` is then not to be used.
bool MakeGettxtRequest(const unsigned (&values)[kGettxtMaxParams], int count, int maxCols,
                       int maxRows, ScreenTextRequest& request);

// The whole "gettxt": parses `text`, checks it against rec's MaxCols x MaxRows and copies the
// rectangle from the planes into `out`. Returns false (out untouched) for a bad parameter set,
// missing planes or no memory.
bool RunGettxt(const SettingsRecord& rec, const char* text, std::size_t length, std::string& out);
