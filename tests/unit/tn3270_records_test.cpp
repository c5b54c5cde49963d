#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../tools/feed3270/screen_dump.h"
#include "connections/ring_buffer.h"
#include "connections/telnet_engine.h"
#include "connections/telnet_host_data.h"
#include "connections/telnet_rings.h"
#include "connections/tn3270_records.h"
#include "engine/ibm3270/field_model.h"
#include "engine/screen_planes.h"
#include "session/session_record.h"

namespace {

const std::string IAC = "\xff", WILL = "\xfb", WONT = "\xfc", DO = "\xfd", DONT = "\xfe", SB = "\xfa",
                  SE = "\xf0", EOR = "\xef";
std::string B(int byte) { return std::string(1, static_cast<char>(byte)); }

// What the socket took from the network output ring (the output hook drains it).
std::string socketOutput;
int flushes = 0;
void DrainToSocket(ViewWindow) {
    ++flushes;
    uint8_t chunk[8192];
    uint32_t n = ring_get_bytes(NetOutRing, chunk, sizeof(chunk));
    socketOutput.append(reinterpret_cast<const char*>(chunk), n);
}

// A 3270 record in the feed notation, as bytes.
std::string Record(const std::string& notation) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(Parse3270Hex(notation, bytes)) << notation;
    return std::string(bytes.begin(), bytes.end());
}

// The record on the wire: 255 doubled, IAC EOR at the end.
std::string Framed(const std::string& record) {
    std::string out;
    for (char c : record) {
        out += c;
        if (c == IAC[0]) out += c;
    }
    return out + IAC + EOR;
}

std::string Negotiation() {
    return IAC + DO + B(24) + IAC + SB + B(24) + B(1) + IAC + SE + IAC + DO + B(25) + IAC + WILL + B(25) +
           IAC + DO + B(0) + IAC + WILL + B(0);
}

class Tn3270RecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Install3270Hooks();
        Rec->MaxRows = 24;
        Rec->MaxCols = 80;
        Rec->CellWidth = 8;
        Rec->CellHeight = 16;
        Rec->Charset3270 = 5;
        Rec->Terminal3270 = 16;
        Rec->TerminalFamily3270 = 1;
        Rec->Connected = 1;
        ASSERT_TRUE(AllocScreenBuffers());
        AllocTelnetRings();
        ring_discard(NetInRing);
        ring_discard(NetOutRing);
        ring_discard(TermOutRing);
        socketOutput.clear();
        flushes = 0;
        SetTelnetOutputHook(DrainToSocket);
        Load3270State();
        TelnetInit();
        Tn3270Reset();
    }
    void TearDown() override {
        SetTelnetOutputHook(nullptr);
        FreeTelnetRings();
        FreeScreenBuffers();
        Rec->TerminalFamily3270 = 0;
        Rec->Connected = 0;
    }

    // Host bytes in reads of `piece` bytes, each through the record layer, as the socket reader does.
    void Receive(const std::string& bytes, std::size_t piece = 2048) {
        for (std::size_t at = 0; at < bytes.size();) {
            uint32_t n = static_cast<uint32_t>(std::min(piece, bytes.size() - at));
            n = std::min(n, ring_free_count(NetInRing));
            ring_put_bytes(NetInRing, reinterpret_cast<const uint8_t*>(bytes.data()) + at, n);
            at += n;
            Tn3270Receive(nullptr);
            ASSERT_FALSE(n == 0 && !ring_is_empty(NetInRing)) << "reception stalled at byte " << at;
            DrainToSocket(nullptr);
        }
    }
    void Connect() {
        Receive(Negotiation());
        ASSERT_EQ(TelnetState().tn3270Mode, 1);
        socketOutput.clear();
    }
};

TEST_F(Tn3270RecordsTest, TerminalTypeAndAlternateSizeFollowTheModel) {
    struct Case {
        int terminal;
        const char* type;
        int rows, columns;
    } cases[] = {{16, "IBM-3278-2", 24, 80}, {18, "IBM-3278-4", 43, 80}, {19, "IBM-3278-5", 27, 132},
                 {21, "IBM-3279-3", 32, 80}, {22, "IBM-3279-4", 43, 80}, {0, "IBM-3278-2", 24, 80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.terminal);
        Rec->Terminal3270 = c.terminal;
        TelnetInit();
        Tn3270Reset();
        socketOutput.clear();
        Receive(IAC + DO + B(24) + IAC + SB + B(24) + B(1) + IAC + SE);
        std::string reply = IAC + SB + B(24) + B(0) + c.type + IAC + SE;
        EXPECT_NE(socketOutput.find(reply), std::string::npos);
        EXPECT_EQ(Tn3270State.AltRows3270, c.rows);
        EXPECT_EQ(Tn3270State.AltColumns3270, c.columns);
        EXPECT_EQ(Tn3270State.Rows3270 * Tn3270State.Columns3270, 1920);
    }
}

TEST_F(Tn3270RecordsTest, ModeNeedsTerminalTypeAndBinaryBothWays) {
    Receive(IAC + DO + B(0) + IAC + WILL + B(0));
    EXPECT_EQ(TelnetState().tn3270Mode, 0);  // no terminal type asked yet
    Receive(IAC + DO + B(24) + IAC + SB + B(24) + B(1) + IAC + SE);
    EXPECT_EQ(TelnetState().tn3270Mode, 1);
    Receive(Framed(Record("F5 C3 'HELLO'")));
    EXPECT_EQ(Row3270Text(0), "HELLO");

    // A refusal of BINARY ends the mode; a new agreement restarts the screen.
    Receive(IAC + DONT + B(0));
    EXPECT_EQ(TelnetState().tn3270Mode, 0);
    Receive(IAC + DO + B(0));
    EXPECT_EQ(TelnetState().tn3270Mode, 1);
    EXPECT_EQ(Row3270Text(0), "");
    Receive(IAC + WONT + B(0));
    EXPECT_EQ(TelnetState().tn3270Mode, 0);

    // Not a 3270 session any more: an agreement on BINARY does not make the data 3270 data.
    Rec->TerminalFamily3270 = 0;
    Receive(IAC + WILL + B(0));
    EXPECT_EQ(TelnetState().tn3270Mode, 0);
}

TEST_F(Tn3270RecordsTest, RecordIsHandedOverOnceAtItsEnd) {
    Connect();
    // Split over one-byte reads; the write is not seen until IAC EOR arrives.
    std::string framed = Framed(Record("F1 C3 11 40 40 'ABC' 11 C1 50 'XYZ'"));
    Receive(framed.substr(0, framed.size() - 2), 1);
    EXPECT_EQ(Row3270Text(0), "");
    EXPECT_GT(Tn3270Records().fill, 0);
    Receive(framed.substr(framed.size() - 2), 1);
    EXPECT_EQ(Row3270Text(0), "ABC");
    EXPECT_EQ(Row3270Text(1), "XYZ");

    // A data 255 arrives as IAC IAC and reaches the buffer as one byte.
    Receive(Framed(Record("F5 C3 11 40 40 FF")));
    EXPECT_EQ(EbcdicAt(0), 0xFF);
    EXPECT_EQ(EbcdicAt(1), 0x00);

    // An empty record puts the buffer back to its start.
    EXPECT_GT(Tn3270Records().fill, 0);
    Receive(IAC + EOR);
    EXPECT_EQ(Tn3270Records().fill, 0);
    EXPECT_EQ(Tn3270Records().processed, 0);
}

TEST_F(Tn3270RecordsTest, LongRecordsDoNotStallReception) {
    Connect();
    // Records larger than the first buffer and larger than the largest: each is taken in full,
    // the ring is emptied, and the record after them is shown.
    for (std::size_t size : {5000u, 3u * kRecordBufferLimit}) {
        SCOPED_TRACE(size);
        std::string record = Record("F5 C3 11 40 40");
        record += std::string(size, '\xC1');  // 'A' over and over, wrapping round the buffer
        Receive(Framed(record));
        EXPECT_TRUE(ring_is_empty(NetInRing));
        EXPECT_EQ(Row3270Text(23), std::string(80, 'A'));
        Receive(Framed(Record("F5 C3 'NEXT'")));
        EXPECT_EQ(Row3270Text(0), "NEXT");
        EXPECT_LE(Tn3270Records().capacity, kRecordBufferLimit);
    }
    EXPECT_GT(Tn3270Records().capacity, kRecordBufferSize);  // grown rather than cut
}

TEST_F(Tn3270RecordsTest, RecordsAreSentWithDoubledIacAndEndOfRecord) {
    struct Case {
        std::string data;
        int end;
        std::string wire;
    } cases[] = {{"", 1, IAC + EOR},
                 {"\x7d\x40\x40", 1, "\x7d\x40\x40" + IAC + EOR},
                 {"a" + IAC + "b" + IAC, 0, "a" + IAC + IAC + "b" + IAC + IAC},
                 {IAC + IAC, 1, IAC + IAC + IAC + IAC + IAC + EOR}};
    for (const Case& c : cases) {
        socketOutput.clear();
        int taken = Send3270Record(reinterpret_cast<const uint8_t*>(c.data.data()),
                                   static_cast<int>(c.data.size()), c.end);
        DrainToSocket(nullptr);
        EXPECT_EQ(taken, static_cast<int>(c.data.size()));
        EXPECT_EQ(socketOutput, c.wire);
    }
}

TEST_F(Tn3270RecordsTest, NearlyFullOutputRingIsWrittenFirst) {
    std::string filler(kNetOutRingSize - 5, 'x');
    ring_put_bytes(NetOutRing, reinterpret_cast<const uint8_t*>(filler.data()), static_cast<uint32_t>(filler.size()));
    const uint8_t data[] = {1, 2, 255, 3};
    EXPECT_EQ(Send3270Record(data, 4, 1), 4);
    DrainToSocket(nullptr);
    EXPECT_EQ(socketOutput, filler + std::string("\x01\x02\xff\xff\x03", 5) + IAC + EOR);

    // A socket that takes nothing: the sender keeps what does not fit instead of dropping it.
    SetTelnetOutputHook(nullptr);
    ring_discard(NetOutRing);
    std::vector<uint8_t> big(kNetOutRingSize + 100, 0x40);
    int taken = Send3270Record(big.data(), static_cast<int>(big.size()), 1);
    EXPECT_LT(taken, static_cast<int>(big.size()));
    EXPECT_EQ(ring_data_count(NetOutRing), static_cast<uint32_t>(taken));
}

TEST_F(Tn3270RecordsTest, KeysGoOutAsInboundRecords) {
    Connect();
    Receive(Framed(Record("F5 C3 1D 40 13")));  // one input field from address 1, cursor there
    const std::string keys = "hi%32enter%";
    EXPECT_EQ(TelnetSend(nullptr, reinterpret_cast<const uint8_t*>(keys.data()), static_cast<int>(keys.size())),
              static_cast<int>(keys.size()));
    DrainToSocket(nullptr);
    // Enter, cursor at address 3, SBA to address 1 and the field's text.
    EXPECT_EQ(socketOutput, Record("7D 40 C3 11 40 C1 88 89") + IAC + EOR);
}

TEST_F(Tn3270RecordsTest, ReplayStartsTheRecordLayer) {
    TelnetInit();
    std::string bytes = Framed(Record("F5 C3 'REPLAYED'"));
    ReplayHostData(nullptr, reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
    EXPECT_EQ(TelnetState().tn3270Mode, 1);
    EXPECT_EQ(Row3270Text(0), "REPLAYED");
}

}  // namespace
