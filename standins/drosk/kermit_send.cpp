// Sending: S (our parameters), then per file F (name), A (size and type, when the receiver
// takes attributes), D packets and Z; B ends the batch. Each packet waits for its ACK: a NAK,
// a damaged answer or a time-out sends it again; a NAK for the next packet counts as the ACK.
#include <cstring>
#include <string>

#include "kermit_chars.h"
#include "kermit_names.h"
#include "kermit_transfer.h"

namespace drosk {
namespace {

constexpr size_t kReadChunk = 16384;

// Room for data in a packet of the agreed length.
size_t DataRoom(const Transfer& t) {
    const int chk = CheckLength(t.checkType);
    if (t.agreed.longPackets && t.agreed.sendLimit > 94) {
        // LENX counts data and check; leave the header's share too, as some count it.
        return static_cast<size_t>(t.agreed.sendLimit - chk - 6);
    }
    return static_cast<size_t>(t.agreed.sendLimit - 2 - chk);
}

void SendNext(Transfer& t, char type, const std::vector<uint8_t>& data, Phase phase) {
    t.seq = (t.seq + 1) & 63;
    SendPacket(t, t.seq, type, data);
    t.phase = phase;
    Progressed(t, t.parms.packetRetries);
}

// Opens the next file of the list and sends its F, or ends the batch with B.
void SendBreakOrNextFile(Transfer& t) {
    while (!t.skipRest && t.list && t.listIndex < t.list->count) {
        const char* path = t.list->names[t.listIndex++];
        t.file = OpenForRead(path);
        if (!t.file) {
            Fail(t, kDroskErrSendOpen, "Cannot open file");
            return;
        }
        t.path = path;
        t.ahead.clear();
        t.aheadStart = 0;
        t.inFlight = 0;
        t.atEnd = false;
        if (t.status) {
            std::strncpy(t.status->fileName, path, kPexlaPathSize - 1);
            std::strncpy(t.status->fullPath, path, kPexlaPathSize - 1);
            int64_t size = FileSize(t.file);
            t.status->fileSize = size > 0 && size <= 0x7FFFFFFF ? static_cast<int32_t>(size) : 0;
            t.status->fileBytes = 0;
            t.status->fileBlocks = 0;
        }
        const std::string name = SentNameFor(path);
        Log(t, "sending %s as %s", path, name.c_str());
        std::vector<uint8_t> field;
        EncodeData(t.agreed.out, reinterpret_cast<const uint8_t*>(name.data()), name.size(),
                   DataRoom(t), field);
        SendNext(t, 'F', field, Phase::SendFile);
        return;
    }
    SendNext(t, 'B', {}, Phase::SendBreak);
}

std::vector<uint8_t> Attributes(const Transfer& t) {
    std::vector<uint8_t> field;
    auto add = [&field](char tag, const std::string& value) {
        field.push_back(static_cast<uint8_t>(tag));
        field.push_back(ToChar(static_cast<int>(value.size())));
        field.insert(field.end(), value.begin(), value.end());
    };
    add('"', t.parms.imageMode ? "B8" : "A");
    int64_t size = FileSize(t.file);
    if (size >= 0) add('1', std::to_string(size));
    return field;
}

// The next D packet, or the Z at the end of the file.
int SendData(Transfer& t) {
    if (t.ahead.size() - t.aheadStart < kReadChunk / 2 && !t.atEnd) {
        t.ahead.erase(t.ahead.begin(), t.ahead.begin() + static_cast<long>(t.aheadStart));
        t.aheadStart = 0;
        const size_t had = t.ahead.size();
        t.ahead.resize(had + kReadChunk);
        int got = ReadFile(t.file, t.ahead.data() + had, static_cast<int>(kReadChunk));
        if (got < 0) return Fail(t, kDroskErrSendOpen, "Cannot read file");
        t.ahead.resize(had + static_cast<size_t>(got));
        if (got == 0) t.atEnd = true;
    }
    const size_t left = t.ahead.size() - t.aheadStart;
    if (left == 0) {
        SendNext(t, 'Z', {}, Phase::SendEof);
        return kDroskGoOn;
    }
    std::vector<uint8_t> field;
    t.inFlight = EncodeData(t.agreed.out, t.ahead.data() + t.aheadStart, left, DataRoom(t), field);
    SendNext(t, 'D', field, Phase::SendData);
    return kDroskGoOn;
}

// Gives the current file up: Z with "D" tells the receiver not to keep it.
void Discard(Transfer& t) {
    CloseCurrent(t, false);
    SendNext(t, 'Z', {'D'}, Phase::SendEof);
}

// A NAK, a time-out or a damaged answer: the packet goes out again.
int SendAgain(Transfer& t) {
    if (!Retry(t)) return t.result;
    Resend(t);
    return kDroskGoOn;
}

int OnInitAck(Transfer& t, const Packet& p) {
    const InitFields theirs = ParseInit(p.data.data(), p.data.size());
    t.agreed = Agree(t.ours, theirs, t.parms);
    Log(t, "agreed: check %d, long packets %d (send limit %d), attributes %d", t.agreed.checkType,
        t.agreed.longPackets, t.agreed.sendLimit, t.agreed.attributes);
    t.framing.eol = t.agreed.eol;
    t.framing.padCount = t.agreed.padCount;
    t.framing.padChar = t.agreed.padChar;
    t.waitSeconds = t.agreed.waitSeconds;
    t.checkType = t.agreed.checkType;
    SendBreakOrNextFile(t);
    return t.phase == Phase::Failed ? t.result : kDroskGoOn;
}

// The packet that was out has been acknowledged, with the ACK's data.
int OnAck(Transfer& t, const std::vector<uint8_t>& data) {
    const uint8_t answer = data.empty() ? 0 : data[0];
    switch (t.phase) {
        case Phase::SendInit:
            break;  // handled before
        case Phase::SendFile:
            if (t.agreed.attributes) {
                SendNext(t, 'A', Attributes(t), Phase::SendAttr);
                return kDroskGoOn;
            }
            return SendData(t);
        case Phase::SendAttr:
            if (answer == 'N') {
                Log(t, "the receiver refused the file");
                Discard(t);
                return kDroskGoOn;
            }
            return SendData(t);
        case Phase::SendData:
            t.aheadStart += t.inFlight;
            if (t.status) {
                t.status->fileBytes += static_cast<int32_t>(t.inFlight);
                t.status->totalBytes += static_cast<int32_t>(t.inFlight);
                t.status->fileBlocks += 1;
            }
            t.inFlight = 0;
            if (answer == 'X' || answer == 'Z') {
                Log(t, "the receiver asked to stop %s", answer == 'X' ? "this file" : "the batch");
                t.skipRest = answer == 'Z';
                Discard(t);
                return kDroskGoOn;
            }
            return SendData(t);
        case Phase::SendEof:
            if (t.file) {
                CloseCurrent(t, true);
                if (t.status) t.status->filesCompleted += 1;
            }
            SendBreakOrNextFile(t);
            return t.phase == Phase::Failed ? t.result : kDroskGoOn;
        case Phase::SendBreak:
            return Complete(t);
        default:
            break;
    }
    return kDroskGoOn;
}

}  // namespace

int StartSend(Transfer& t, const char* fileNames) {
    t.sending = true;
    BeginTransfer(t);
    t.list = PxMakeFileList(0, fileNames ? fileNames : "");
    if (!t.list) {
        if (t.status) t.status->lastError = kDroskErrSendOpen;
        t.phase = Phase::Failed;
        t.result = kDroskFailed;
        return kDroskFailed;
    }
    // Every file must be there to be read before anything goes on the line.
    for (int i = 0; i < t.list->count; ++i) {
        KmFile* f = OpenForRead(t.list->names[i]);
        if (!f) {
            Log(t, "cannot open %s", t.list->names[i]);
            if (t.status) t.status->lastError = kDroskErrSendOpen;
            t.phase = Phase::Failed;
            t.result = kDroskFailed;
            return kDroskFailed;
        }
        CloseFile(f);
    }
    t.phase = Phase::SendInit;
    SendPacket(t, 0, 'S', BuildInit(t.ours), 1);
    return kDroskGoOn;
}

int SendStep(Transfer& t) {
    if (t.phase == Phase::Done || t.phase == Phase::Failed) return t.result;
    Packet p;
    int result = kDroskGoOn;
    if (!ListenStep(t, &p, SendAgain, &result)) return result;
    const bool acked = (p.type == 'Y' && p.seq == t.seq) ||
                       (p.type == 'N' && p.seq == ((t.seq + 1) & 63) && t.phase != Phase::SendInit);
    if (acked) {
        if (t.staleAckSeq != p.seq) t.staleAckSeq = -1;
        if (t.phase == Phase::SendInit) return OnInitAck(t, p);
        return OnAck(t, p.type == 'Y' ? p.data : std::vector<uint8_t>{});
    }
    if (p.type == 'Y' && p.seq == ((t.seq + 63) & 63) && t.phase != Phase::SendInit) {
        // The second ACK of a packet we sent twice is no news.
        if (t.staleAckSeq == p.seq) {
            t.staleAckSeq = -1;
            return kDroskGoOn;
        }
        // The receiver repeats its ACK of the previous packet: ours did not reach it whole.
        t.staleAckSeq = t.seq;
        return SendAgain(t);
    }
    // Any other ACK is late: keep waiting for the one of ours.
    return p.type == 'Y' ? kDroskGoOn : SendAgain(t);
}

}  // namespace drosk
