// Telnet command bytes, option numbers and subnegotiation codes (RFC 854, 855 and the option RFCs).
#pragma once

#include <cstdint>

namespace tn {

constexpr uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, GA = 249,
                  EL = 248, EC = 247, AYT = 246, AO = 245, IP = 244, BRK = 243, DM = 242,
                  NOP = 241, SE = 240, EOR = 239, ABORT = 238, SUSP = 237, xEOF = 236;

constexpr uint8_t BINARY = 0, ECHO = 1, SGA = 3, STATUS = 5, TIMING_MARK = 6, TTYPE = 24,
                  END_OF_RECORD = 25, NAWS = 31, TSPEED = 32, LFLOW = 33, LINEMODE = 34,
                  XDISPLOC = 35, OLD_ENVIRON = 36, NEW_ENVIRON = 39;

// Subnegotiation qualifiers.
constexpr uint8_t IS = 0, SEND = 1, INFO = 2;

// Environment item types (RFC 1572).
constexpr uint8_t ENV_VAR = 0, ENV_VALUE = 1, ENV_ESC = 2, ENV_USERVAR = 3;

// Flow-control requests (RFC 1372).
constexpr uint8_t LFLOW_OFF = 0, LFLOW_ON = 1, LFLOW_RESTART_ANY = 2, LFLOW_RESTART_XON = 3;

}  // namespace tn
