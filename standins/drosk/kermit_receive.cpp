// Receiving: a plain receive waits for the sender's S; a Get first asks a server with an R
// packet. Then, per file: F (name), A (attributes), D (data), Z (end of file); B ends the batch.
// Every packet is answered with an ACK (Y) that carries its number; a damaged or missing packet
// with a NAK (N) for the one expected; a repeated packet with our last answer again.
#include <cstdlib>
#include <cstring>
#include <string>

#include "kermit_chars.h"
#include "kermit_names.h"
#include "kermit_transfer.h"

namespace drosk {
namespace {

void Ack(Transfer& t, int seq, const std::vector<uint8_t>& data = {}, int checkType = 0) {
    SendPacket(t, seq, 'Y', data, checkType);
    t.lastAck = t.lastFrame;
    t.lastAckSeq = seq;
}

// A time-out or a damaged packet: ask again for the one we expect (or repeat the Get).
int Trouble(Transfer& t, bool asking) {
    if (!Retry(t)) return t.result;
    if (asking)
        Resend(t);
    else
        SendPacket(t, t.seq, 'N', {}, t.phase == Phase::RecvInit ? 1 : 0);
    return kDroskGoOn;
}

// The file size from an attribute packet: tag, tochar(length), value, ...
void ReadAttributes(Transfer& t, const std::vector<uint8_t>& field) {
    size_t i = 0;
    while (i + 1 < field.size()) {
        const uint8_t tag = field[i];
        const int len = UnChar(field[i + 1]);
        if (len < 0 || i + 2 + static_cast<size_t>(len) > field.size()) return;
        std::string value(field.begin() + static_cast<long>(i) + 2,
                          field.begin() + static_cast<long>(i) + 2 + len);
        if (tag == '"') {
            // "A...": a text file, whose line ends the sender may have changed on the way.
            t.announcedText = !value.empty() && value[0] == 'A';
        } else if (tag == '1') {
            // The exact length in bytes: shown, and checked when the file ends.
            char* end = nullptr;
            long long size = std::strtoll(value.c_str(), &end, 10);
            if (!value.empty() && *end == 0 && size >= 0) {
                t.announcedSize = size;
                if (t.status && size <= 0x7FFFFFFF) t.status->fileSize = static_cast<int32_t>(size);
            }
        }
        i += 2 + static_cast<size_t>(len);
    }
}

int AskAgain(Transfer& t) { return Trouble(t, t.phase == Phase::RecvInit && !t.lastFrame.empty()); }

int OnSendInit(Transfer& t, const Packet& p) {
    const InitFields theirs = ParseInit(p.data.data(), p.data.size());
    t.agreed = Agree(t.ours, theirs, t.parms);
    Log(t, "agreed: check %d, long packets %d (send limit %d), 8th-bit prefix '%c', repeat '%c'",
        t.agreed.checkType, t.agreed.longPackets, t.agreed.sendLimit,
        t.agreed.in.eighthBit ? t.agreed.in.eighthBit : ' ', t.agreed.in.repeat ? t.agreed.in.repeat : ' ');
    t.framing.eol = t.agreed.eol;
    t.framing.padCount = t.agreed.padCount;
    t.framing.padChar = t.agreed.padChar;
    t.waitSeconds = t.agreed.waitSeconds;
    // Our answer carries our own announcement, shaped by what we now agree on.
    InitFields answer = t.ours;
    answer.eighthBit = t.agreed.out.eighthBit ? t.agreed.out.eighthBit : (t.ours.eighthBit == 'Y' ? 'Y' : 'N');
    Ack(t, p.seq, BuildInit(answer), 1);
    t.checkType = t.agreed.checkType;
    t.seq = (p.seq + 1) & 63;
    t.phase = Phase::RecvFile;
    Progressed(t, t.parms.packetRetries);
    return kDroskGoOn;
}

int OnFileHeader(Transfer& t, const Packet& p) {
    std::vector<uint8_t> decoded;
    if (!DecodeData(t.agreed.in, p.data.data(), p.data.size(), decoded))
        return Fail(t, kDroskErrProtocol, "Bad file header");
    std::string sent(decoded.begin(), decoded.end());
    std::string local;
    if (sent.find('\0') != std::string::npos || !LocalNameFor(sent, &local)) {
        Log(t, "file name refused: %s", sent.c_str());
        return Fail(t, kDroskErrFileName, "File name refused");
    }
    Log(t, "file %s arrives as %s", sent.c_str(), local.c_str());
    if (t.status) {
        std::strncpy(t.status->fileName, local.c_str(), kPexlaPathSize - 1);
        t.status->fileName[kPexlaPathSize - 1] = 0;
        t.status->fileBytes = 0;
        t.status->fileBlocks = 0;
        t.status->fileSize = 0;
    }
    // The caller may now give the file a name of its own, before the next step opens it.
    PxSetShownName(t.port, local.c_str());
    PxSetFileOpen(t.port, 1);
    t.phase = Phase::RecvOpen;
    return kDroskGoOn;
}

int OpenTarget(Transfer& t) {
    PxSetFileOpen(t.port, 0);
    char path[kPexlaPathSize] = {};
    if (PxTargetPath(t.port, path) < 0 || !path[0])
        return Fail(t, kDroskErrRecvOpen, "Cannot create file");
    t.path = path;
    t.announcedSize = -1;
    t.announcedText = false;
    t.received = 0;
    t.file = CreateForWrite(path);
    if (!t.file) {
        Log(t, "cannot create %s", path);
        return Fail(t, kDroskErrRecvOpen, "Cannot create file");
    }
    Log(t, "receiving into %s", path);
    Ack(t, t.seq);
    t.seq = (t.seq + 1) & 63;
    t.phase = Phase::RecvData;
    return kDroskGoOn;
}

int OnData(Transfer& t, const Packet& p) {
    std::vector<uint8_t> bytes;
    if (!DecodeData(t.agreed.in, p.data.data(), p.data.size(), bytes))
        return Fail(t, kDroskErrProtocol, "Bad data packet");
    if (!bytes.empty() && !WriteFile(t.file, bytes.data(), static_cast<int>(bytes.size())))
        return Fail(t, kDroskErrWrite, "Cannot write file");
    t.received += static_cast<int64_t>(bytes.size());
    if (t.status) {
        t.status->fileBytes += static_cast<int32_t>(bytes.size());
        t.status->totalBytes += static_cast<int32_t>(bytes.size());
        t.status->fileBlocks += 1;
    }
    return kDroskGoOn;
}

int OnEndOfFile(Transfer& t, const Packet& p) {
    // "D" in the Z packet: the sender gave the file up, so it is not kept.
    const bool discard = !p.data.empty() && p.data[0] == 'D';
    // The length is the sender's own; a text file's line ends may change it on the way.
    if (!discard && !t.announcedText && t.announcedSize >= 0 && t.announcedSize != t.received) {
        Log(t, "%lld bytes arrived, %lld were announced", static_cast<long long>(t.received),
            static_cast<long long>(t.announcedSize));
        return Fail(t, kDroskErrSize, "File size differs");
    }
    const bool kept = CloseCurrent(t, !discard);
    if (discard) {
        Log(t, "file discarded by the sender");
    } else if (!kept) {
        return Fail(t, kDroskErrWrite, "Cannot write file");
    } else {
        Log(t, "file complete");
        if (t.status) t.status->filesCompleted += 1;
    }
    t.phase = Phase::RecvFile;
    return kDroskGoOn;
}

// A packet that arrived in the order expected.
int OnNext(Transfer& t, const Packet& p) {
    if (t.phase == Phase::RecvFile) {
        if (p.type == 'F') return OnFileHeader(t, p);
        if (p.type != 'B') return Fail(t, kDroskErrProtocol, "Unexpected packet");
        Ack(t, p.seq);
        return Complete(t);
    }
    if (p.type == 'A') {
        ReadAttributes(t, p.data);
    } else if (p.type == 'D') {
        if (OnData(t, p) != kDroskGoOn) return t.result;
    } else if (p.type == 'Z') {
        if (OnEndOfFile(t, p) != kDroskGoOn) return t.result;
    } else {
        return Fail(t, kDroskErrProtocol, "Unexpected packet");
    }
    Ack(t, p.seq);
    t.seq = (t.seq + 1) & 63;
    Progressed(t, t.parms.packetRetries);
    return kDroskGoOn;
}

}  // namespace

int StartReceive(Transfer& t, const char* remoteName) {
    t.sending = false;
    BeginTransfer(t);
    t.phase = Phase::RecvInit;
    if (remoteName) {
        std::vector<uint8_t> name;
        EncodeData(Quoting{t.ours.control, 0, 0},
                   reinterpret_cast<const uint8_t*>(remoteName), std::strlen(remoteName), 90, name);
        SendPacket(t, 0, 'R', name, 1);
    } else {
        // A NAK asks a sender that has already begun (its Send-Init may have been taken for
        // terminal output) to send it again now rather than after its time-out.
        SendPacket(t, 0, 'N', {}, 1);
    }
    return kDroskGoOn;
}

int ReceiveStep(Transfer& t) {
    if (t.phase == Phase::Done || t.phase == Phase::Failed) return t.result;
    if (t.phase == Phase::RecvOpen) return OpenTarget(t);
    Packet p;
    int result = kDroskGoOn;
    if (!ListenStep(t, &p, AskAgain, &result)) return result;
    if (t.phase == Phase::RecvInit) {
        if (p.type == 'S') return OnSendInit(t, p);
        return Trouble(t, !t.lastFrame.empty());
    }
    if (p.seq == t.seq) return OnNext(t, p);
    if (p.seq == ((t.seq + 63) & 63)) {
        // Our ACK of it was lost: the sender repeats it. It gets that ACK again (even when a
        // NAK went out since: some senders do not read a NAK of the next packet as an ACK).
        if (t.lastAckSeq == p.seq) {
            t.lastFrame = t.lastAck;
            Resend(t);
        } else {
            Ack(t, p.seq);
        }
        return kDroskGoOn;
    }
    return Trouble(t, false);
}

}  // namespace drosk
