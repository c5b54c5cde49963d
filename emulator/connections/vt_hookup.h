// Connects the character-mode interpreters to the connection layer: FeedEmulation hands each
// the blocks of its emulation codes (VT 1, 2, 3, 10; console 4, 5, 6; Wyse 8, 9, 12; ADDS 11;
// the dumb teletype every other code), and their replies, answerback and transfer detection go
// to this layer, as do the 3270 engine's records and HotScreen calls (Install3270Hooks).
#pragma once

void InstallVtInterpreter();
