// The one answer to every Write Structured Field: colour, highlight, usable-area and
// character-set query replies for the configured model.
#pragma once

#include <cstdint>

constexpr int kQueryReplyLength = 75;

// Fills out with the reply for a Terminal3270 setting (16-19 3278, 20-23 3279; models 2-5).
void Build3270QueryReply(int terminal3270, uint8_t (&out)[kQueryReplyLength]);
// Sends the reply for the current setting as one record with end-of-record.
void Send3270QueryReply();
