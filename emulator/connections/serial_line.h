// What the serial transport computes without the platform: the port name, the line settings it
// applies to the port, the write time-outs and the matcher of the modem's connect reply.
#pragma once

#include <cstddef>
#include <cstdint>

#include "session/session_record.h"

// The baud rate used when `BaudRateLong` holds none (0 or below).
constexpr uint32_t kDefaultBaudRate = 9600;

// "COM" followed by the port number.
void SerialPortName(int port, char* name, std::size_t size);

// The fields of the port's line settings that the transport changes; every other field keeps the
// port's own value.
struct SerialLineControl {
    uint32_t baudRate;
    uint8_t byteSize;
    uint8_t parity;    // 0..4: none, odd, even, mark, space
    uint8_t stopBits;  // 0 one, 1 one and a half, 2 two
    bool binary;
    bool parityCheck;
    bool dtrEnabled;   // DTR control enabled (else disabled)
    bool dsrOutFlow;
    bool rtsEnabled;   // RTS control enabled (else disabled)
    bool ctsOutFlow;
    bool xonXoffOut;
    bool xonXoffIn;
    uint8_t xonChar;
    uint8_t xoffChar;
    uint16_t xonLimit;
    uint16_t xoffLimit;
};

// `FlowCtrl` bits.
constexpr int kFlowDtrDsr = 1;
constexpr int kFlowRtsCts = 2;
constexpr int kFlowXonXoff = 4;

SerialLineControl BuildLineControl(const SettingsRecord& rec);

// Write time-out per byte in ms: 10000 / baud rate, at least 1; a missing rate counts as the
// default one.
uint32_t WriteTimeoutPerByte(int32_t baudRateLong);

// Watches received data for the modem's connect reply. A byte that breaks a partial match is
// tried again at the start of the reply, so "CCONNECT" is still seen.
class DialReplyMatcher {
public:
    void Reset() { position_ = 0; }
    // Scans the block; true when the reply completed in it (the position is then back at 0).
    bool Feed(const char* reply, const uint8_t* bytes, int n);
    std::size_t Position() const { return position_; }

private:
    std::size_t position_ = 0;
};
