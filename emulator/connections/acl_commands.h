// Host file commands: one-line commands that a host program sends through the private host
// command 37 to list, create and delete files and folders on the PC, report file sizes and
// start Kermit, X/YMODEM and ZMODEM transfers. Replies and the "S"/"F" completion codes go back
// to the host through the connection dispatch.
#pragma once

#include <string>

// Runs one command text; 1 when it ran a file transfer, else 0 (also without an active view).
int ExecuteAclCommand(const char* text);
// Sends "S" CR for a result of 0 and "F" CR for any other, while completion codes are on.
// Returns the result.
int SendCompletionCode(int result);
// True when the pattern (wildcards '*' and '?', "*.*" for every name, an optional folder part)
// matches an entry that is not a folder; `first` is then that entry's name.
bool PatternMatchesFile(const std::string& pattern, std::string& first);
