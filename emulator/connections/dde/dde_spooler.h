// The recorder of host output between the DDE client's trigger strings, the two trigger actions
// that start and stop it, and SplitField, which takes the destination fields off the head of a
// recorded text.
#pragma once

#include <cstddef>

#include "connections/dde/look_for.h"

class DdeSpooler {
public:
    static constexpr int kBufferSize = 10000;
    // At most this many bytes are kept, so the terminating NUL always fits.
    static constexpr int kMaxBytes = kBufferSize - 1;

    DdeSpooler() = default;
    ~DdeSpooler();
    DdeSpooler(const DdeSpooler&) = delete;
    DdeSpooler& operator=(const DdeSpooler&) = delete;

    // Begins a recording unless one runs; without memory nothing starts.
    void Start();
    // Keeps the byte while fewer than kMaxBytes are held; drops it otherwise.
    void Append(unsigned char byte);
    // Ends a recording that holds at least one byte and pokes it to its destination (returns 1);
    // with nothing recorded returns 0 and the recording goes on. The buffer is taken and the
    // recorder is idle again before the poke, so host data processed while the poke waits (and
    // any trigger in it) finds a consistent recorder.
    int StopAndSend();

    bool Recording() const { return recording_ != 0; }
    int Count() const { return count_; }
    const char* Data() const { return buffer_; }

private:
    int recording_ = 0;
    char* buffer_ = nullptr;
    int count_ = 0;
};

class StartSpoolAction : public CAction {
public:
    int Run() override;
};

class StopSpoolAction : public CAction {
public:
    int Run() override;
};

// Copies characters from source to destination until source's NUL, the delimiter, or `maximum`
// copied characters, and ends the destination with a NUL (destination holds maximum + 1 bytes).
// Returns the source position just after the next delimiter, or at its NUL when there is none.
const char* SplitField(char* destination, const char* source, int maximum, char delimiter);
