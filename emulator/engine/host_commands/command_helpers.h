// The host commands' helpers that start programs, replay scripts, pass file-management commands
// on and delete screen buttons by name.
#pragma once

#include <string>

#include "engine/engine_types.h"

// WinExec of the text; a failure shows "WinExec \"%s\" failed; error code = %d". While programs may
// not start (ProgramsMayStart) nothing runs and nothing is shown: kProgramStartRefused. Returns the
// result.
int WinExecCommand(const char* text, int showMode);

// The four items of a ShellExecute text "file;verb;params;dir" (the directory keeps any further
// ';'); an item the text does not reach is absent.
struct ShellExecuteItems {
    std::string item[4];
    int present = 0;  // how many items the text has
    const char* File() const { return Get(0); }
    const char* Verb() const { return Get(1); }
    const char* Parameters() const { return Get(2); }
    const char* Directory() const { return Get(3); }
    const char* Get(int i) const { return i < present ? item[i].c_str() : nullptr; }
};
ShellExecuteItems SplitShellExecuteText(const char* text);
// ShellExecute of the split text; a result of 32 or less shows "ShellExecute() error: %d".
int ShellExecuteCommand(ViewWindow window, int showMode, const char* text);

// Replays the file named by the text (the document's TraceFile when empty): 1 started, 0 failed.
int PlayScriptCommand(ViewWindow window, const int* numbers, int count, const char* text);
// The file-management command text to the connection layer; 0 without a view.
int RunAclCommandText(const char* text);

// Wildcard test position by position: '*' ends it with a match, '?' matches any character, any
// other must be equal. A pattern matches the names it is a prefix of; a name must cover every
// pattern character before a '*' (or the pattern's end), so "btn*" does not match "b".
bool ButtonNameMatches(const char* pattern, const char* name);
// Removes the buttons that the text names (a pattern when it holds '*' or '?'). Returns 1.
int DeleteDynButtonsByName(ViewWindow window, const int* numbers, int count, const char* text);
// Removes every button whose hotspot flag equals flag. Returns 1.
int DeleteDynButtonsById(int flag);
