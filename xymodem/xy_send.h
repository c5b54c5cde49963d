// Entry points of the send engine.
#pragma once

#include "pexla.h"

namespace kestrix {

// Starts sending the files of the list (the context takes it over) in the mode of the letter
// ("X", "C", "Y", "S", "T"); 1 or -1.
int SendStart(int port, PexlaFileList* list, const char* letter);
// One step in the given mode code (1, 7, 2, 9).
int SendStep(int port, int modeCode);

}  // namespace kestrix
