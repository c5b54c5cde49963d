// Our sender against a scripted receiver: what it does with NAKs, repeated ACKs and silence.
#include <gtest/gtest.h>

#include "kermit_harness.h"
#include "kermit_packet.h"

using namespace kmtest;

namespace {

// The receiving side of the line: the packets our sender has written since the last look.
std::vector<drosk::Packet> Sent(looptest::LoopLine& line, drosk::PacketReader& reader, int steps = 3) {
    for (int i = 0; i < steps; ++i) KmSendNext(kPortA);
    std::vector<uint8_t> bytes = line.Take(kPortB);
    reader.Feed(bytes.data(), bytes.size());
    std::vector<drosk::Packet> out;
    drosk::RawPacket raw;
    drosk::Packet p;
    while (reader.Next(&raw) == drosk::PacketReader::Event::Packet)
        if (drosk::VerifyPacket(raw, 1, &p)) out.push_back(p);
    return out;
}

std::string Types(const std::vector<drosk::Packet>& packets) {
    std::string s;
    for (const auto& p : packets) s += p.type + std::to_string(p.seq) + " ";
    return s;
}

}  // namespace

TEST(KermitSend, NaksAndRepeatedAcksResendAtOnceButNotInACascade) {
    looptest::LoopLine line;
    InFolder folder("send-script");
    looptest::WriteFile(folder.path() / "f.bin", looptest::Pattern(1000));
    DroskParms p = DefaultParms();
    KmSetParms(kPortA, &p);
    ASSERT_EQ(KmSendStart(kPortA, "f.bin"), kDroskGoOn);
    drosk::PacketReader reader;
    EXPECT_EQ(Types(Sent(line, reader)), "S0 ");
    line.Put(kPortA, PeerPacket(0, 'Y', "~* @-#N1 "));  // no attributes, no repeat counts
    EXPECT_EQ(Types(Sent(line, reader)), "F1 ");
    line.Put(kPortA, PeerPacket(1, 'Y', ""));
    EXPECT_EQ(Types(Sent(line, reader)), "D2 ");
    line.Put(kPortA, PeerPacket(2, 'N', ""));
    EXPECT_EQ(Types(Sent(line, reader)), "D2 ") << "a NAK";
    line.Put(kPortA, PeerPacket(3, 'N', ""));
    EXPECT_EQ(Types(Sent(line, reader)), "D3 ") << "a NAK of the next packet acknowledges";
    line.Put(kPortA, PeerPacket(2, 'Y', ""));
    EXPECT_EQ(Types(Sent(line, reader)), "D3 ") << "the receiver repeats its last ACK";
    line.Put(kPortA, PeerPacket(3, 'Y', ""));
    EXPECT_EQ(Types(Sent(line, reader)), "D4 ");
    line.Put(kPortA, PeerPacket(3, 'Y', ""));  // the ACK of the second D3
    EXPECT_EQ(Types(Sent(line, reader)), "") << "no cascade";
    line.Put(kPortA, PeerPacket(9, 'Y', ""));
    EXPECT_EQ(Types(Sent(line, reader)), "") << "an ACK of something else is ignored";
    EXPECT_EQ(PxRetries(kPortA), 2);
}

TEST(KermitSend, SilenceEndsAfterTheRetries) {
    looptest::LoopLine line;
    InFolder folder("send-silence");
    looptest::WriteFile(folder.path() / "f.bin", {1, 2, 3});
    DroskParms p = DefaultParms();
    p.initialRetries = 4;
    p.initialTimeout = 1;
    KmSetParms(kPortA, &p);
    ASSERT_EQ(KmSendStart(kPortA, "f.bin"), kDroskGoOn);
    drosk::PacketReader reader;
    std::string seen;
    int r = kDroskGoOn;
    for (int i = 0; i < 1000 && r == kDroskGoOn; ++i) r = KmSendNext(kPortA);
    EXPECT_EQ(r, kDroskFailed);
    EXPECT_EQ(PxLastError(kPortA), kDroskErrRetries);
    EXPECT_EQ(Types(Sent(line, reader, 0)), "S0 S0 S0 S0 E0 ");
}
