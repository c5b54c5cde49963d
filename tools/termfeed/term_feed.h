// The core of the test feed: a terminal of a chosen emulation and size, fed through
// FeedEmulation in blocks, with the replies it sends kept and its screen as text. Shared by the
// termfeed tool, the golden tests and the benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TermFeedSetup {
    int emulation = 1;
    int cols = 80;
    int rows = 24;
    bool hostColours = false;  // the host's colours (UseHostColor) instead of the attribute colours
};

// Sets the session record to its defaults for the emulation and size, allocates the planes
// (no history), blanks the screen, forgets the Wyse pages and installs the interpreters. False
// when the size does not fit the planes (columns 80 or 132, rows x columns within the planes).
bool SetUpTerminal(const TermFeedSetup& setup);

// Feeds the bytes through FeedEmulation in blocks of `block` bytes (0: one block).
void FeedTerminal(const uint8_t* bytes, std::size_t n, std::size_t block);

// The bytes the engine sent to the host since SetUpTerminal.
const std::string& TerminalReplies();

// The screen as rows of characters (a blank cell, NUL included, as a space), one line each, then
// "cursor ROW COL"; with planes, the foreground, background and flag planes as hex rows after.
std::string TerminalScreenText(bool planes);
