// Connects the VT interpreter to the connection layer: FeedEmulation hands it the blocks of the
// VT emulation codes, and its replies, answerback and transfer detection go to this layer.
#pragma once

void InstallVtInterpreter();
