// %name% variables in texts that go to the host or name it.
#pragma once

#include <cstddef>

// Expands source into output (size bytes, NUL-terminated); returns the index in source where
// scanning stopped.
std::size_t ExpandVariables(const char* source, char* output, std::size_t size);

// The terminal type word of an emulation code ("vt220", "ansi", ...); empty outside the table.
const char* TerminalTypeWord(int terminal);
