// The commands that the shell sends by DDE to open documents: one or more [open("path")] in a
// row, blanks allowed between them. Anything else makes the whole text invalid.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Appends the paths of the text's open commands; false (paths unchanged) when the text is not a
// sequence of open commands. Reads at most `length` bytes and stops at a NUL.
bool ParseShellOpenCommands(const char* text, std::size_t length, std::vector<std::string>& paths);
