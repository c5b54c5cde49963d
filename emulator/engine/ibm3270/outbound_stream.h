// The 3270 data stream from the host: commands, write control character and orders.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

// Interprets one piece of a host record (endOfRecord set on the piece that ends it). Returns the
// bytes consumed: fewer than length only when an order's operands are cut off by the end of a
// piece that does not end the record; the caller passes those bytes again in front of the next
// piece. At the end of a record a cut-off order is dropped.
int Process3270Stream(ViewWindow window, const uint8_t* data, int length, int endOfRecord);
