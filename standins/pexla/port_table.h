// Pexla's table of ports 1..100 and what each open port holds.
#pragma once

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "pexla.h"
#include "port_line.h"

namespace pexla {

struct Port {
    bool open = false;
    bool isVirtual = false;
    uint32_t openTick = 0;
    std::unique_ptr<PortLine> line;
    // Bytes taken from the line ahead of a read (by a pause that waited for input).
    std::vector<uint8_t> pending;
    PexlaPortStatus status{};
    PexlaPortInfo info{};
    char shownName[kPexlaPathSize] = {};
    bool fileOpen = false;
    std::atomic<int> abortRequested{0};
    std::FILE* log = nullptr;
    uint32_t logStart = 0;
    std::mutex statusLock;       // guards threadCodes, written by worker threads
    std::vector<int> threadCodes;
};

// The port, or null when number is outside 1..100 or the port is not open.
Port* OpenPort(int number);
// The slot of a port number 1..100 whether open or not; null outside the range.
Port* PortSlot(int number);
// Takes a free slot for a new port: gives it the line and returns the port number, or -1.
int AttachPort(int number, std::unique_ptr<PortLine> line, bool isVirtual);
// Test hook: the next read or wait on the port ends as if the user pressed the abort key.
void RequestAbort(int number);

// The line of a virtual port: reads and writes go through the functions its owner installs.
class VirtualLine : public PortLine {
public:
    explicit VirtualLine(int port) : port_(port) {}
    int Receive(uint8_t* buffer, int max, int waitMs) override;
    int Send(const uint8_t* data, int length) override;
    int InQueue() override { return inCount_ ? inCount_(port_) : 0; }
    int OutQueue() override { return outCount_ ? outCount_(port_) : 0; }
    void DiscardInput() override { if (flushIn_) flushIn_(port_); }
    void DiscardOutput() override { if (flushOut_) flushOut_(port_); }
    int Baud() override { return 0; }

    PexlaReadFn read_ = nullptr;
    PexlaWriteFn write_ = nullptr;
    PexlaCountFn inCount_ = nullptr;
    PexlaCountFn outCount_ = nullptr;
    PexlaFlushFn flushIn_ = nullptr;
    PexlaFlushFn flushOut_ = nullptr;

private:
    int port_;
};

}  // namespace pexla
