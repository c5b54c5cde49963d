// The send engine: one file (XMODEM, 1K, 1K/STRIP) or a list of files (true YMODEM).
//
// Blocks are double-buffered: while one is on the line the next is already read from the file
// with its check in place. Each step reads at most one answer byte from the receiver.
#include <cctype>
#include <cstring>

#include "tick_clock.h"
#include "xy_blocks.h"
#include "xy_context.h"
#include "xy_send.h"

namespace kestrix {
namespace {

using pexla::Clock;
using pexla::TickBefore;

struct SendMode {
    const char* letter;
    int32_t mode;
    bool strip;
    uint8_t startByte;
    const char* startLine;
};

const SendMode kSendModes[] = {
    {"X", kSendX, false, NAK, " Xmodem Send file: %s"},
    {"C", kSendXC, false, CRC_START, " Xmodem/CRC Send file: %s"},
    {"Y", kSendY, false, CRC_START, " Xmodem 1K Send file: %s"},
    {"S", kSendY, true, CRC_START, " Xmodem 1K/Strip Send file: %s"},
    {"T", kSendT, false, CRC_START, " Ymodem Send file: %s"},
};

enum class End { GoOn, Complete, Failed, Cancelled };

uint32_t Now() { return Clock().Now(); }

// The next name of the send list, or null when it is done (the list is then freed).
const char* NextName(XferPortContext& c) {
    const int count = c.sendList ? c.sendList->count : 0;
    Log(c, " File number: %d Total files: %d", c.nextListIndex, count);
    if (c.nextListIndex >= count) {
        if (c.sendList) PxFreeFileList(c.sendList);
        c.sendList = nullptr;
        return nullptr;
    }
    const char* name = c.sendList->names[c.nextListIndex++];
    Log(c, " startfile: name=%s", name);
    return name;
}

bool OpenSource(XferPortContext& c, const char* path) {
    c.file = Host().OpenForRead(path);
    if (!c.file) {
        char text[kPexlaPathSize + 64];
        std::snprintf(text, sizeof text, "OpenFile Error#%x Filename:%s", Host().LastError(), path);
        Host().ShowOpenError(text, "QuenlorCOMM");
        Log(c, " Failure to open file: %s", path);
        return false;
    }
    c.sendFacts = FileFacts{};
    if (!Host().Facts(path, &c.sendFacts)) Log(c, " _stat failure ");
    return true;
}

bool IsEot(const XferPortContext& c, int buffer) {
    return c.blockLength[buffer] == 1 && c.packet[buffer][0] == EOT;
}

// Reads the next data block of the file into a buffer, or EOT at its end. False when the file
// could not be read: the transfer then fails rather than end the file early.
bool PrepareBlock(XferPortContext& c, int buffer) {
    const bool big = c.mode == kSendY || (c.mode == kSendT && c.parms.forceLow != 1);
    const int blockSize = big ? 1024 : 128;
    Log(c, big ? " Size = 1024" : " Size = 128");
    c.status->blockSize = static_cast<uint16_t>(blockSize);
    uint8_t* packet = c.packet[buffer];
    int got = 0;
    while (got < blockSize && c.file) {
        int n = c.file->Read(packet + 3 + got, blockSize - got);
        if (n < 0) {
            Log(c, ">>>ReadFile returned Error: GetLastError = %d", Host().LastError());
            return false;
        }
        if (n == 0) break;
        got += n;
    }
    const uint8_t number = static_cast<uint8_t>(c.preparedBlocks + 1);
    if (got == 0) {
        packet[0] = EOT;
        c.fileBytes[buffer] = 0;
        c.blockLength[buffer] = 1;
        Log(c, "   Loading EOT");
        return true;
    }
    c.preparedBlocks += 1;
    c.fileBytes[buffer] = got;
    const bool checksum = c.mode == kSendX;
    c.blockLength[buffer] = FinishBlock(packet, blockSize, got, number, checksum, c.strip != 0,
                                        c.parms.padChar);
    const uint8_t* tail = packet + 3 + blockSize;
    if (checksum)
        Log(c, " Loading cksum Block Start Char:%x Block:%d Size: %d Cksum:%x", packet[0], number,
            blockSize, tail[0]);
    else
        Log(c, " Loading CRC Block Start Char:%x Block:%d Size:%d CRC:%x", packet[0], number,
            blockSize, (tail[0] << 8) | tail[1]);
    return true;
}

void BuildHeaderBlock(XferPortContext& c, int buffer, const char* path) {
    char name[kPexlaPathSize] = {};
    if (!*path) {
        Log(c, " Detected Final Name Packet");
    } else {
        const char* base = path;
        if (!std::strcmp(c.status->fileName, c.status->fullPath)) {
            for (const char* p = path; *p; ++p)
                if (*p == '/' || *p == '\\' || *p == ':') base = p + 1;
        }
        CopyPath(name, base);
        CopyPath(c.status->fileName, path);
        for (char* p = name; *p; ++p) *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    }
    c.blockLength[buffer] = BuildHeader(c.packet[buffer], name, c.sendFacts.size, c.sendFacts.modTime);
    c.fileBytes[buffer] = 0;
    Log(c, "The file name loaded to send is Name:%s NamePacket Size: %d", name, c.blockLength[buffer]);
    Log(c, "Sending the following (HEX) characters for the Name - Size - Date packet");
    LogHexLines(c, c.packet[buffer] + 3);
}

void SendCurrent(XferPortContext& c) {
    PxSendBlock(c.port, c.packet[c.current], c.blockLength[c.current]);
}

// The receiver acknowledged the end of a file in a batch: on to the next file, or to the
// empty header that ends the batch.
End NextBatchFile(XferPortContext& c) {
    CloseFile(c);
    char done[kPexlaPathSize] = {};
    PxCurrentPath(c.port, done);
    Log(c, " Closing file: %s \n\n\n\n", done);
    c.bytesDone = c.blockNumber = 0;
    c.totalErrors = c.errorsReported = c.consecutiveErrors = 0;
    c.startPending = 1;
    c.headerFlag = 0;
    c.deadline = Now() + 10000;
    c.status->fileBlocks = 0;
    c.status->filesCompleted += 1;

    char path[kPexlaPathSize] = {};
    if (const char* next = NextName(c)) {
        CopyPath(path, next);
        if (!*path || !OpenSource(c, path)) return End::Failed;
        c.status->fileBytes = 0;
        c.status->fileSize = PxFileSize(path);
        PxSetFileOpen(c.port, 1);
    } else {
        Log(c, " Got ACK from Last EOF");
        c.headerFlag = 1;
        c.sendState = -1;
        c.sendFacts = FileFacts{};
    }
    c.startByte = CRC_START;
    Log(c, " True Ymodem Send file: %s", path);
    c.mode = kSendT;
    c.strip = 0;
    CopyPath(c.status->fileName, path);
    CopyPath(c.status->fullPath, path);
    c.batchState = 2;
    c.current = 0;
    c.preparedBlocks = 0;
    if (c.sendState != -1 && !PrepareBlock(c, 1)) return End::Failed;
    return End::GoOn;
}

End OnAck(XferPortContext& c) {
    Log(c, " Got ACK");
    GoodBlock(c);
    c.readTimeout = c.blockTimeout;
    c.startPending = 0;
    const bool eot = IsEot(c, c.current);
    if (!(c.mode == kSendT && c.headerFlag) && !eot) {
        c.status->fileBlocks += 1;
        c.status->fileBytes += c.fileBytes[c.current];
        c.status->totalBytes += c.fileBytes[c.current];
        Log(c, " Got Ack for bytecount: %d block # %d", c.fileBytes[c.current], c.blockNumber);
        c.bytesDone += c.blockLength[c.current];
        c.blockNumber += 1;
        c.errorsReported = 0;
        c.lastSenderByte = 0;
        Log(c, " Increment Block count:%d", c.blockNumber);
        const int freed = c.current;
        c.current = 1 - c.current;
        if (c.mode == kSendT && c.batchState == 3) {
            // The header is in: the receiver's 'C' starts the data.
            c.batchState = 0;
            c.startPending = 1;
        } else {
            Log(c, " Sending Block Number: %d blockcount:%d size:%d", c.packet[c.current][1],
                c.blockNumber, c.blockLength[c.current]);
            SendCurrent(c);
            if (IsEot(c, c.current)) c.lastBlockFlag = 1;
        }
        if (!IsEot(c, c.current) && !PrepareBlock(c, freed)) return End::Failed;
        return End::GoOn;
    }
    if (eot && c.mode == kSendT && !c.headerFlag) return NextBatchFile(c);
    return End::Complete;
}

End OnSolicit(XferPortContext& c) {
    Log(c, " Got NAK");
    if (c.startPending) {
        GoodBlock(c);
        c.startPending = 0;
        c.startByte = NAK;
        c.totalErrors = c.errorsReported = 0;
        c.readTimeout = c.parms.xmodemTime * 100;
    } else if (c.lastBlockFlag) {
        c.lastBlockFlag = 0;
    } else {
        Log(c, " NAK Error");
        if (CountError(c, kErrNak)) return End::Failed;
    }
    PxPurge(c.port);
    c.lastSenderByte = 0;
    if (c.mode == kSendT && c.batchState == 2) {
        char path[kPexlaPathSize] = {};
        PxTargetPath(c.port, path);
        BuildHeaderBlock(c, c.current, path);
        c.batchState = 3;
        PxSetFileOpen(c.port, 0);
    }
    Log(c, " Sending Block Number: %d size:%d", c.packet[c.current][1], c.blockLength[c.current]);
    SendCurrent(c);
    return End::GoOn;
}

End StepBody(XferPortContext& c) {
    for (;;) {
        if (PxIsAbortKey(c.port, PxPollKey(c.port) & 0xFF)) {
            Log(c, "Got escape - Aborting");
            SendCancel(c);
            return End::Cancelled;
        }
        uint8_t b = 0;
        if (PxReadAvailable(c.port, &b, 1) != 1) {
            PxPause(c.port, 1);
            if (TickBefore(Now(), c.deadline)) return End::GoOn;
            c.deadline = Now() + 10u * static_cast<uint32_t>(c.blockTimeout);
            Log(c, "Attempt to Read One Character Chars:%d ", PxInCount(c.port));
            int got = PxReadTimed(c.port, &b, 1, c.readTimeout);
            if (!PortInUse(c.port)) return End::Failed;
            if (got == kPexlaAborted || got == kPexlaAbortedRest) {
                Log(c, " Got Escape - Aborting");
                SendCancel(c);
                return End::Cancelled;
            }
            if (got != 1) {
                Log(c, " No response from other side return:%d  XYTIMEOUT:%d", got, c.readTimeout);
                if (CountError(c, kErrNoResponse)) {
                    Log(c, " No response from other side return:%d - Aborting  XYTIMEOUT:%d", got,
                        c.readTimeout);
                    return End::Failed;
                }
                return End::GoOn;
            }
        }
        switch (b) {
        case ACK:
            return OnAck(c);
        case NAK:
        case CRC_START:
            return OnSolicit(c);
        case CAN:
            Log(c, " Got CTRLX");
            if (c.lastSenderByte == CAN) {
                Log(c, " Got CTRL-X CTRL-X: Aborting");
                return End::Cancelled;
            }
            c.lastSenderByte = CAN;
            break;
        default:
            Log(c, " Got the character:%x", b);
            break;
        }
    }
}

int Finish(int port, XferPortContext& c, End e) {
    if (e == End::GoOn) return kXYGoOn;
    CloseFile(c);
    Log(c, " Closing file");
    int result = kXYFailed;
    if (e == End::Failed) {
        Log(c, " Sending Abort to other side");
        SendCancel(c);
    } else if (e == End::Cancelled) {
        result = kXYCancelled;
    } else {
        Log(c, " Transfer Successfully Completed");
        result = kXYComplete;
    }
    PxSetFileOpen(port, 0);
    ReleaseContext(port);
    return result;
}

}  // namespace

int SendStart(int port, PexlaFileList* list, const char* letter) {
    XferPortContext* c = GetContext(port);
    if (!c) {
        if (list) PxFreeFileList(list);
        return kXYFailed;
    }
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    c->nextListIndex = 0;
    if (c->sendList && c->sendList != list) PxFreeFileList(c->sendList);
    c->sendList = list;
    if (!list || !PortInUse(port)) {
        ReleaseContext(port);
        return kXYFailed;
    }
    Log(*c, "XYModem Send file called file(s): %s", list->count > 0 ? list->names[0] : "");
    const char* first = NextName(*c);
    char path[kPexlaPathSize] = {};
    if (!first) {
        Log(*c, "XYModem Send file error - No existing file name: %s", "");
        ReleaseContext(port);
        return kXYFailed;
    }
    CopyPath(path, first);
    PxTransferStarting(port);
    const SendMode* m = nullptr;
    for (const SendMode& s : kSendModes)
        if (letter && !std::strcmp(letter, s.letter)) m = &s;
    if (!m) {
        ReleaseContext(port);
        return kXYFailed;
    }
    c->startByte = m->startByte;
    c->mode = m->mode;
    c->strip = m->strip;
    Log(*c, m->startLine, path);

    c->bytesDone = c->blockNumber = 0;
    c->status = PxPortStatus(port);
    c->totalErrors = c->errorsReported = c->consecutiveErrors = 0;
    c->startPending = 1;
    c->headerFlag = 0;
    c->lastBlockFlag = 0;
    c->lastSenderByte = 0;
    c->sendState = 0;
    c->deadline = Now() + 10000;
    if (!*path || !OpenSource(*c, path)) {
        ReleaseContext(port);
        return kXYFailed;
    }
    SetTimeouts(*c);
    PxResetCounters(port, 0);
    PxPurge(port);
    PexlaPortStatus* st = c->status;
    st->filesCompleted = st->headersReceived = st->totalBytes = st->spare = 0;
    st->fileSize = PxFileSize(path);
    st->fileBlocks = st->fileBytes = 0;
    CopyPath(st->fileName, path);
    CopyPath(st->fullPath, path);
    Log(*c, "Initial name and size %s %ld", path, static_cast<long>(st->fileSize));
    c->batchState = 2;
    PxSetFileOpen(port, 1);

    c->current = 0;
    c->preparedBlocks = 0;
    bool ok;
    if (m->mode == kSendT) {
        BuildHeaderBlock(*c, 0, path);
        ok = PrepareBlock(*c, 1);
    } else {
        ok = PrepareBlock(*c, 0) && (IsEot(*c, 0) || PrepareBlock(*c, 1));
    }
    if (!ok) {
        ReleaseContext(port);
        return kXYFailed;
    }
    return 1;
}

int SendStep(int port, int modeCode) {
    XferPortContext* c = FindContext(port);
    if (!c || !PortInUse(port)) {
        ReleaseContext(port);
        return kXYFailed;
    }
    std::lock_guard<std::recursive_mutex> hold(PortLock(port));
    c = FindContext(port);
    if (!c) return kXYFailed;
    c->mode = modeCode;
    PxSetFileOpen(port, 0);
    return Finish(port, *c, StepBody(*c));
}

}  // namespace kestrix
