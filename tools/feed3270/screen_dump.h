// Text views of the 3270 buffer for the feed tool and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One buffer row as displayed: attribute cells and nulls as blanks, trailing blanks dropped.
std::string Row3270Text(int row);
// Every attribute cell as "row,col:AA" (AA the attribute byte in hex), with "/cCC" for a colour
// and "/hHH" for highlight bits when set, separated by single blanks.
std::string Fields3270Text();
// The whole screen: a header with geometry, cursor and keyboard state, the rows between bars,
// and the field list.
std::string Dump3270Screen();
// Parses "F5 C3 11 40 40 'TEXT' 1D F0": hex byte pairs (blanks optional) and quoted text typed
// through the live ASCII-to-EBCDIC table. Returns false on anything else.
bool Parse3270Hex(const std::string& text, std::vector<uint8_t>& out);
// Bytes as upper-case hex pairs separated by blanks.
std::string Hex3270(const std::vector<uint8_t>& bytes);
