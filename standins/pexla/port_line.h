// The byte stream under a Pexla port: a real serial port or the caller's virtual-port functions.
#pragma once

#include <cstdint>

namespace pexla {

class PortLine {
public:
    virtual ~PortLine() = default;
    // Up to max bytes into buffer, waiting at most waitMs for the first one (0: only what is
    // there). Returns the bytes read, 0 when none came, -1 when the line failed.
    virtual int Receive(uint8_t* buffer, int max, int waitMs) = 0;
    // Sends all bytes unless the line fails; returns the bytes accepted.
    virtual int Send(const uint8_t* data, int length) = 0;
    // Bytes received by the line and not yet taken; bytes not yet sent.
    virtual int InQueue() = 0;
    virtual int OutQueue() = 0;
    virtual void DiscardInput() = 0;
    virtual void DiscardOutput() = 0;
    // The line's speed in bits per second, 0 when it has none.
    virtual int Baud() = 0;
};

}  // namespace pexla
