// Block and header formats of XMODEM and YMODEM, as pure functions over byte buffers.
//
// A block on the line: start byte (SOH for 128 data bytes, STX for 1024), block number, its
// ones' complement, the data, then one checksum byte or the CRC-16 high byte first.
#pragma once

#include <cstdint>

#include "pexla.h"

namespace kestrix {

// What a YMODEM header block (block 0) says.
struct HeaderInfo {
    char name[kPexlaPathSize];  // as sent, at most 259 characters
    bool endOfBatch = false;    // empty name
    bool hasSize = false;
    int64_t size = 0;
    bool hasDate = false;
    int64_t modTime = 0;
};

// Parses the data field of a header block; never reads past length bytes.
HeaderInfo ParseHeader(const uint8_t* data, int length);

// The file name to create for a name from a header: its last path component. False when nothing
// usable is left ("", "." or "..") or the name holds a control character.
bool LocalFileName(const char* sent, char* out, int outSize);

// Builds a header block into packet from a name (empty for the end of a batch), size and date;
// returns the packet length. The block is STX with 1024 data bytes when the fields do not fit
// in 128.
int BuildHeader(uint8_t* packet, const char* name, int64_t size, int64_t modTime);

// Completes a data block whose first `got` data bytes are filled (1..blockSize): pad, number,
// complement and check. Returns the packet length.
int FinishBlock(uint8_t* packet, int blockSize, int got, uint8_t number, bool checksum, bool strip,
                uint8_t pad);

// How many bytes of a received 1024-byte block YMODEM/STRIP writes (the strip rule).
int StripLength(const uint8_t* data, int length, uint8_t pad);

// True when a complete received block's check is right.
bool CheckBlock(const uint8_t* packet, int dataLength, bool checksum);

}  // namespace kestrix
