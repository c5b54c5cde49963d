// What the engine and the connection layer ask of the session document, without holding it.
#pragma once

#include <string>

// A terminal key definition sent by the host; 0 without a document or when refused.
int DefineTerminalKey(const std::string& name, const std::string& text);
// A new character-set mode: stored, and the translate tables reloaded from the mode's default
// file when it changed. 0 without a document, else 1.
int SetCharsetMode(int mode);

// Points the interpreters' key-definition and character-set calls at the two above.
void InstallSessionServiceHooks();
