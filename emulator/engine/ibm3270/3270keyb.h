// 3270 keyboard functions: typing into fields, cursor movement, erasing, attention keys, and the
// "%32" notation through which every text sent in 3270 mode reaches them.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"

enum Key3270Function {
    kKeyReset = 1,
    kKeyData = 2,
    kKeyDup = 3,
    kKeyFieldMark = 4,
    kKeyAttention = 5,
    kKeyCursorSelect = 7,
    kKeyEraseInput = 9,
    kKeyEraseEof = 10,
    kKeyDelete = 11,
    kKeyInsert = 12,
    kKeyTab = 13,
    kKeyBacktab = 14,
    kKeyNewLine = 15,
    kKeyHome = 16,
    kKeyUp = 17,
    kKeyDown = 18,
    kKeyRight = 19,
    kKeyLeft = 20,
    kKeyDoubleLeft = 21,
    kKeyDoubleRight = 22,
    kKeyEraseUnprotected = 23,
};

struct Key3270Mnemonic {
    char name[8];
    uint8_t length;
    uint8_t aid;
    uint8_t function;
};

constexpr int kKey3270MnemonicCount = 52;
extern const Key3270Mnemonic Key3270Mnemonics[kKey3270MnemonicCount];

// Types text into the buffer, running "%32name%" keyboard functions and "%32cpCOLUMN:ROW%" cursor
// moves on the way. Returns length (everything is consumed).
int Send3270KeyString(ViewWindow window, const uint8_t* text, int length);
// Runs one keyboard function (code: the AID, or the EBCDIC byte typed). Returns 1 when it ran, 0
// when the keyboard was locked and the key is lost.
int Do3270KeyFunction(int code, int function);
