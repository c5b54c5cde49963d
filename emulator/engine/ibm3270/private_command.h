// Private host commands met while a recording is replayed in 3270 mode.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// Runs ESC [ n ; p ... y text ESC \ (the text only for the string commands). Returns 0 when it was
// carried out; 1 shorter than 4 bytes, 2 no ESC first, 3 no '[' second, 4 no parameters, 5 a
// number without a 3270 meaning, 6 no 'y' before the last 3 bytes, 7 the last byte is not '\',
// 8 the byte before it is not ESC. `document` is the session document (opaque here).
int Do3270PrivateCommand(ViewWindow window, void* document, const uint8_t* data, int length);
