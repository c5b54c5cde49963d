// %name% variables in texts that go to the host or name it, and the send path of such texts.
#pragma once

#include <cstddef>

#include "engine/engine_types.h"

// Expands source into output (size bytes, NUL-terminated, cut when it does not fit); returns the
// index in source where scanning stopped. Names are matched without regard to case:
//   %%                 one '%' (as is a '%' that ends the text)
//   %pin%              the PIN typed into a prompt, followed by "<cr>"
//   %w1% %w5% %w10%    nothing, after waiting 1, 5 or 10 seconds
//   %pluser%           the PC user's name (the user-name prompt when the platform cannot tell)
//   %plmach%           the PC's name ("%PLMACH%" when the platform cannot tell)
//   %terminal%         the terminal type word of the emulation
//   %row% %col%        the last mouse click in the view
//   %hwnd%             the active terminal view's window handle
//   %hostname%         the HostName setting
//   %cdestination%     turns the four numbers after it (column, row, width, height in cells)
//                      into pixels of the view
//   anything else      the environment variable of that name, else the name itself
// %pluser%, %plmach% and %terminal% written with a lower-case first letter come in lower case.
// A name longer than an environment variable's name can be is copied as written.
std::size_t ExpandVariables(const char* source, char* output, std::size_t size);

// Expands text, decodes the key-string notation (8-bit controls when ControlChar is 2) and sends
// the bytes to the host; returns the number of bytes the connection took.
int SendExpanded(ViewWindow window, const char* text, bool national);

// The cached user name, or the user-name prompt when none was given yet (OK keeps the name, cut
// to 9 characters, for the rest of the process; Cancel gives ""). Copies at most size - 1
// characters and a terminator; returns 1.
int AskUserName(char* output, std::size_t size);

// The terminal type word of an emulation code ("vt220", "ansi", ...); empty outside the table.
const char* TerminalTypeWord(int terminal);
