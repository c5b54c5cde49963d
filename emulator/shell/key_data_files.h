// The text formats of the Terminal KeyDef file (.key) and the Keyboard Map file (.map).
//
//   define: NAME tx: definition text to the end of the line (80 characters at most)
//   pckey: NAME code: 70 state: shift alt tx: action text
//
// Keywords compare without case; syntax errors are asked about (OK goes on, Cancel stops).
#pragma once

#include <string>

#include "session/key_tables.h"

// Fills the (emptied) table from the text of a .key file.
void ReadKeyDefText(const std::string& text, KeyDefTable& table);
// Fills the (emptied) map from the text of a .map file.
void ReadKeyMapText(const std::string& text, KeyMap& map);

// One line of each file, with its line end.
std::string KeyDefLine(const KeyDefEntry& entry);
std::string KeyMapLine(const KeyMapEntry& entry);
