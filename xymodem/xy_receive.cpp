// The receive engine: one file (XMODEM, 1K, STRIP) or a batch (true YMODEM) from a Pexla port.
//
// A start call prepares the context; each step looks at what has arrived, handles at most one
// block and returns kXYGoOn, or ends the transfer (the context is then released).
#include <cstring>

#include "tick_clock.h"
#include "xy_blocks.h"
#include "xy_context.h"
#include "xy_receive.h"

namespace kestrix {
namespace {

using pexla::Clock;
using pexla::TickBefore;

struct ReceiveMode {
    const char* letter;
    uint8_t startByte;
    int packetSize;
    int32_t mode;
    bool strip;
    const char* startLine;
};

const ReceiveMode kReceiveModes[] = {
    {"X", NAK, 132, kRecvX, false, "Start receive XMODEM file:%s"},
    {"C", CRC_START, 133, kRecvXC, false, "Start receive XMODEM/CRC file:%s"},
    {"Y", CRC_START, 1029, kRecvY, false, "Start receive YMODEM file:%s"},
    {"S", CRC_START, 1029, kRecvY, true, "Start receive YMODEM/STRIP file:%s"},
    {"T", CRC_START, 1029, kRecvT, false, "Start receive True YMODEM file:%s"},
};

// How a step ends the transfer.
enum class End { GoOn, Success, Failure, Cancelled };

uint32_t Now() { return Clock().Now(); }

bool OpenTarget(XferPortContext& c, const char* path) {
    if (!path || !*path) return false;
    c.file = Host().CreateForWrite(path);
    if (!c.file) {
        Log(c, "Failure to open file: %s", path);
        return false;
    }
    return true;
}

void SendByte(XferPortContext& c, uint8_t b) { PxSendByte(c.port, b); }

// The answer to a damaged block: count the error; below the threshold clear the line and ask
// again, at it cancel.
End Resolicit(XferPortContext& c, int code, int recovery, const char* abortLine) {
    if (CountError(c, code)) {
        if (abortLine) Log(c, "%s", abortLine);
        SendCancel(c);
        return End::Failure;
    }
    if (recovery) {
        PxPurge(c.port);
        PxLineRecovery(c.port, recovery);
    }
    PxPurge(c.port);
    SendByte(c, c.startByte);
    return End::GoOn;
}

End WriteBlock(XferPortContext& c, const uint8_t* data, int dataLength) {
    int count = dataLength;
    if (c.mode == kRecvT && c.hasSize) {
        int64_t left = c.recvSize - c.bytesDone;
        if (left < 0) left = 0;
        if (left < count) count = static_cast<int>(left);
        Log(c, "Writing %d characters; Total File Size:%ld ; Written:%ld ; To Go:%ld", count,
            static_cast<long>(c.recvSize), static_cast<long>(c.bytesDone),
            static_cast<long>(c.recvSize - c.bytesDone));
    } else if (dataLength == 1024 && c.strip) {
        count = StripLength(data, dataLength, c.parms.padChar);
    } else if (dataLength == 128) {
        Log(c, "Writing %d characters; Written So Far: %ld", count, static_cast<long>(c.bytesDone));
    }
    if (count > 0) {
        int wrote = c.file ? c.file->Write(data, count) : 0;
        if (wrote != count) {
            CountError(c, kErrWrite);
            SendCancel(c);
            return End::Failure;
        }
    }
    c.status->fileBytes += count;
    c.status->totalBytes += count;
    c.status->fileBlocks += 1;
    c.bytesDone += count;
    return End::GoOn;
}

// Block 0 of a batch: the next file's name, size and date.
End HandleHeader(XferPortContext& c, const uint8_t* packet, int dataLength) {
    if (packet[1] != 0) {
        Log(c, " Did not get filename packet Error NO:%d", kErrBlockNumber);
        return Resolicit(c, kErrBlockNumber, 0, " Exceeded Error Threshold - Aborting");
    }
    if (!CheckBlock(packet, dataLength, false)) {
        Log(c, " Error bad CRC Got:%x Expected:0", PxCrc16(packet + 3, dataLength + 2));
        return Resolicit(c, kErrCrc, 0, " Exceeded Error Threshold - Aborting");
    }
    Log(c, "Got the following (HEX) characters for the Name - Size - Date packet");
    LogHexLines(c, packet + 3);
    HeaderInfo h = ParseHeader(packet + 3, dataLength);
    c.hasSize = c.hasDate = 0;
    if (h.endOfBatch) {
        Log(c, " Sending Ack");
        SendByte(c, ACK);
        Log(c, " Sending NAK");
        SendByte(c, CRC_START);
        c.headerFlag = 1;
        return End::Success;
    }
    char local[kPexlaPathSize];
    if (!LocalFileName(h.name, local, sizeof local)) {
        Log(c, " Refused file name in header: %s", h.name);
        return Resolicit(c, kErrBlockNumber, 0, " Exceeded Error Threshold - Aborting");
    }
    Log(c, " filename is: %s", local);
    CopyPath(c.status->fileName, local);
    if (h.hasSize) {
        Log(c, "File Size: %ld", static_cast<long>(h.size));
        c.hasSize = 1;
        c.recvSize = h.size;
        c.status->fileSize = static_cast<int32_t>(h.size);
    } else {
        c.status->fileSize = 0;
    }
    if (h.hasDate) {
        c.hasDate = 1;
        c.recvTime = h.modTime;
    }
    Log(c, " completed with filename, time, and date processing");
    c.status->headersReceived += 1;
    c.status->fileBytes = 0;
    Log(c, "File Name to Receive:%s", local);
    c.batchState = 1;
    PxSetShownName(c.port, local);
    PxSetFileOpen(c.port, 1);
    return End::GoOn;
}

End HandleDataBlock(XferPortContext& c, const uint8_t* packet, int dataLength) {
    c.firstByte = 1;
    const uint8_t got = packet[1];
    const uint8_t expected = static_cast<uint8_t>(c.blockNumber + 1);
    const uint8_t previous = static_cast<uint8_t>(c.blockNumber);
    Log(c, "Got Block %d; Expecting:%d; Total Blocks:%d", got, expected, c.blockNumber + 1);
    if (static_cast<uint8_t>(~packet[2]) != got) {
        Log(c, " Block number complement wrong: %d %d", got, packet[2]);
        return Resolicit(c, kErrBlockNumber, 0, nullptr);
    }
    if (got == previous && got != expected) {
        Log(c, "Got Previous Block - ACKing");
        if (CountError(c, kErrBlockNumber)) {
            SendCancel(c);
            return End::Failure;
        }
        SendByte(c, ACK);
        return End::GoOn;
    }
    if (got != expected) {
        Log(c, " Wrong block number: %d expected: %d", got, expected);
        return Resolicit(c, kErrBlockNumber, 0, nullptr);
    }
    const bool checksum = c.mode == kRecvX;
    if (!CheckBlock(packet, dataLength, checksum)) {
        if (checksum)
            Log(c, " Error bad chksum Got:%x Expected:%x", packet[3 + dataLength],
                PxChecksum(packet + 3, dataLength));
        else
            Log(c, " Error bad CRC Got:%x Expected:0", PxCrc16(packet + 3, dataLength + 2));
        Log(c, " Bad Block Looks like Following: Start:%x Block:%x ~Block:%x", packet[0], packet[1],
            packet[2]);
        LogHexLines(c, packet + 3);
        if (!checksum) Log(c, "  Sending NAK after Bad CRC");
        return Resolicit(c, checksum ? kErrChecksum : kErrCrc, 0, nullptr);
    }
    GoodBlock(c);
    c.errorsReported = 0;
    Log(c, " Writing good block No:%d", got);
    End w = WriteBlock(c, packet + 3, dataLength);
    if (w != End::GoOn) return w;
    SendByte(c, ACK);
    c.blockNumber += 1;
    Log(c, "  Incrementing Successful Block Count to:%d", c.blockNumber);
    return End::GoOn;
}

// Reads the rest of a block whose start byte is in the packet buffer, and handles it.
End ReadBlock(XferPortContext& c) {
    uint8_t* packet = c.packet[0];
    c.startByte = NAK;
    Log(c, " Reading remainder of the block Bytes in Buf:%d", PxInCount(c.port));
    const int rest = c.packetSize - 1;
    int got = PxReadTimed(c.port, packet + 1, rest, c.blockTimeout);
    if (!PortInUse(c.port)) return End::Failure;
    if (got != rest) {
        if (got == kPexlaAbortedRest || got == kPexlaAborted) {
            Log(c, " Got escape during read - Aborting");
            SendCancel(c);
            return End::Failure;
        }
        Log(c, " Did not get complete packet Error NO:%d Got:%d", kErrShortBlock, (got > 0 ? got : 0) + 1);
        return Resolicit(c, kErrShortBlock, 1, " Exceeded Error Threshold - Aborting");
    }
    Log(c, " Got the block size:%d", c.packetSize);
    const int dataLength = packet[0] == STX ? 1024 : 128;
    if (c.mode == kRecvT && !c.headerFlag && c.batchState == 2) return HandleHeader(c, packet, dataLength);
    return HandleDataBlock(c, packet, dataLength);
}

End OnEot(XferPortContext& c) {
    Log(c, " Got EOT");
    if (c.mode != kRecvT) {
        SendByte(c, ACK);
        Log(c, " Sending ACK");
        return End::Success;
    }
    c.batchState = 2;
    GoodBlock(c);
    c.bytesDone = c.blockNumber = c.totalErrors = c.errorsReported = 0;
    c.lastControl = c.firstByte = c.headerFlag = 0;
    Log(c, " Sending ACK and NAK after EOT");
    SendByte(c, ACK);
    PxPause(c.port, 50);
    SendByte(c, CRC_START);
    PxPause(c.port, 50);
    c.startByte = CRC_START;
    c.afterEot = 1;
    c.deadline = Now() + 3000;
    CloseFile(c);
    c.status->filesCompleted += 1;
    if (c.hasDate && c.status->fullPath[0]) Host().SetModTime(c.status->fullPath, c.recvTime);
    c.hasDate = 0;
    return End::GoOn;
}

// The one byte that begins what arrives next.
End OnFirstByte(XferPortContext& c, uint8_t b, bool* again) {
    *again = false;
    switch (b) {
    case EOT:
        return OnEot(c);
    case SOH:
        c.lastControl = 0;
        Log(c, " Got SOH - 128 byte block");
        c.packetSize = c.mode == kRecvX ? 132 : 133;
        c.packet[0][0] = b;
        return ReadBlock(c);
    case STX:
        Log(c, " Got STX - 1K block");
        c.lastControl = 0;
        // A checksum receive takes 1K blocks with their one-byte sum.
        c.packetSize = c.mode == kRecvX ? 1028 : 1029;
        c.packet[0][0] = b;
        return ReadBlock(c);
    case CAN:
        if (c.lastControl == CAN) {
            Log(c, " Got Abort from other side");
            return End::Cancelled;
        }
        c.lastControl = CAN;
        c.firstByte = 0;
        *again = true;
        return End::GoOn;
    default:
        Log(c, " Got bad character: %x", b);
        PxPurge(c.port);
        if (CountError(c, kErrBadStart)) {
            SendCancel(c);
            return End::Failure;
        }
        PxPurge(c.port);
        PxLineRecovery(c.port, 3);
        PxPurge(c.port);
        SendByte(c, c.startByte);
        c.lastControl = 0;
        return End::GoOn;
    }
}

// Accepting a header: the target file is opened under the name Pexla gives.
End OpenBatchTarget(XferPortContext& c) {
    Log(c, " Ready for target name");
    c.batchState = 0;
    PxSetFileOpen(c.port, 0);
    char path[kPexlaPathSize] = {};
    PxTargetPath(c.port, path);
    Log(c, " Target file to open is: %s", path);
    if (!OpenTarget(c, path)) {
        Log(c, "Failure to open file: %s", path);
        if (CountError(c, kErrTargetOpen)) {
            Log(c, " Exceeded Error Threshold - Aborting");
            SendCancel(c);
            return End::Failure;
        }
        PxPurge(c.port);
        SendByte(c, c.startByte);
        c.batchState = 2;
        return End::GoOn;
    }
    c.headerFlag = 1;
    CopyPath(c.status->fileName, path);
    CopyPath(c.status->fullPath, path);
    c.status->fileBytes = c.status->fileBlocks = 0;
    c.status->blockSize = 1024;
    Log(c, " Sending ACK to other side");
    SendByte(c, ACK);
    Log(c, " Sending NAK to the other side");
    SendByte(c, CRC_START);
    return End::GoOn;
}

End StepBody(XferPortContext& c, int threshold) {
    if (c.batchState == 1) return OpenBatchTarget(c);
    for (;;) {
        if (PxIsAbortKey(c.port, PxPollKey(c.port) & 0xFF)) {
            Log(c, "Got escape - Aborting");
            SendCancel(c);
            return End::Cancelled;
        }
        int waiting = PxInCount(c.port);
        if (waiting < 1) {
            if (TickBefore(Now(), c.deadline)) return End::GoOn;
            if (c.afterEot == 1) {
                c.deadline = Now() + 3000;
                Log(c, "Timeout Failure to read byte Error No: %d", kErrReadTimeout);
                if (CountError(c, kErrReadTimeout)) {
                    Log(c, "Failure to read byte - Aborting Error No: %d", kErrReadTimeout);
                    SendCancel(c);
                    return End::Failure;
                }
                SendByte(c, c.startByte);
                return End::GoOn;
            }
        } else if (waiting > c.waitingCount) {
            c.waitingCount = waiting;
            if (waiting < threshold) return End::GoOn;
        }
        c.waitingCount = 0;
        c.afterEot = 0;
        c.deadline = Now() + 10u * static_cast<uint32_t>(c.readTimeout);
        uint8_t b = 0;
        int got = PxReadTimed(c.port, &b, 1, c.firstByte ? c.readTimeout : c.readTimeout / 3);
        if (!PortInUse(c.port)) return End::Failure;
        if (got == kPexlaAborted || got == kPexlaAbortedRest) {
            Log(c, c.firstByte ? "Got excape - Aborting" : "Got escape - Aborting");
            SendCancel(c);
            return c.firstByte ? End::Failure : End::Cancelled;
        }
        if (got != 1) {
            if (c.firstByte)
                Log(c, "No response peek = 1 Error No: %d", kErrReadTimeout);
            else
                Log(c, "Timeout Failure to read byte Error No: %d", kErrReadTimeout);
            if (CountError(c, kErrReadTimeout)) {
                if (c.firstByte)
                    Log(c, "Aborting");
                else
                    Log(c, "Failure to read byte - Aborting Error No: %d", kErrReadTimeout);
                SendCancel(c);
                return End::Failure;
            }
            SendByte(c, c.startByte);
            return End::GoOn;
        }
        if (!c.firstByte) {
            c.firstByte = 1;
            c.totalErrors = 0;
        }
        bool again = false;
        End e = OnFirstByte(c, b, &again);
        if (!again) return e;
    }
}

int Finish(int port, XferPortContext& c, End e) {
    if (e == End::GoOn) return kXYGoOn;
    if (CloseFile(c))
        Log(c, " Closing file ");
    else
        Log(c, "No file to close on termination");
    PxSetFileOpen(port, 0);
    if (e == End::Success) Log(c, " Transfer Successfully Completed");
    ReleaseContext(port);
    switch (e) {
    case End::Success: return kXYComplete;
    case End::Cancelled: return kXYCancelled;
    default: return kXYFailed;
    }
}

}  // namespace

int ReceiveStart(int port, const char* path, const char* letter) {
    XferPortContext* c = GetContext(port);
    if (!c) {
        ReleaseContext(port);
        return kXYFailed;
    }
    if (!PortInUse(port)) {
        Log(*c, "Openstate == 0");
        ReleaseContext(port);
        return kXYFailed;
    }
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    const ReceiveMode* m = nullptr;
    for (const ReceiveMode& r : kReceiveModes)
        if (letter && !std::strcmp(letter, r.letter)) m = &r;
    if (!m) {
        ReleaseContext(port);
        return kXYFailed;
    }
    if (!path) path = "";
    c->startByte = m->startByte;
    c->packetSize = m->packetSize;
    c->mode = m->mode;
    c->strip = m->strip;
    Log(*c, m->startLine, path);

    c->batchState = 2;
    PxSetFileOpen(port, 0);
    PxSetShownName(port, "");
    c->sendState = -1;
    c->bytesDone = c->blockNumber = 0;
    c->totalErrors = c->errorsReported = c->consecutiveErrors = 0;
    c->lastControl = c->firstByte = c->headerFlag = 0;
    c->hasSize = c->hasDate = 0;
    c->status = PxPortStatus(port);
    c->status->filesCompleted = c->status->headersReceived = 0;
    c->status->totalBytes = c->status->spare = 0;
    c->status->fullPath[0] = 0;
    c->deadline = Now() + 1000;

    if (m->mode != kRecvT) {
        if (!*path || !OpenTarget(*c, path)) {
            ReleaseContext(port);
            return kXYFailed;
        }
        CopyPath(c->status->fullPath, path);
    }
    PxResetCounters(port, 0);
    PxResetPort(port);
    SetTimeouts(*c);
    PxTransferStarting(port);
    if (m->mode == kRecvT)
        c->status->fileName[0] = 0;
    else
        CopyPath(c->status->fileName, path);
    c->status->fileBytes = c->status->fileBlocks = 0;
    c->status->filesCompleted = c->status->headersReceived = 0;
    c->status->blockSize = (m->mode == kRecvX || m->mode == kRecvXC) ? 128 : 1024;
    c->status->fileSize = 0;
    c->waitingCount = 0;
    c->afterEot = 1;
    c->deadline = Now() + 3000;
    PxBeginReceive(port, c->startByte);
    return 1;
}

int ReceiveStep(int port, int threshold) {
    XferPortContext* c = FindContext(port);
    if (!c || !PortInUse(port)) {
        ReleaseContext(port);
        return kXYFailed;
    }
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    c = FindContext(port);
    if (!c) return kXYFailed;
    return Finish(port, *c, StepBody(*c, threshold));
}

}  // namespace kestrix
