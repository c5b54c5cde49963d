// The receiver against a scripted sender or server: answers to repeated and damaged packets,
// time-outs, refused names, names the caller imposes, discarded files and the Get request.
#include <gtest/gtest.h>

#include "kermit_harness.h"
#include "kermit_init.h"
#include "kermit_packet.h"

using namespace kmtest;
namespace fs = std::filesystem;

namespace {

// A sender's side of the line, packet by packet.
class ScriptedPeer {
public:
    // Our receiver is set for the CRC check and agrees to 8th-bit prefixing, as kInit asks.
    explicit ScriptedPeer(looptest::LoopLine& line) : line_(line) {
        DroskParms p = DefaultParms();
        p.checkType = 2;
        p.quote8 = 1;
        KmSetParms(kPortB, &p);
    }
    // Puts a packet before our receiver and steps it until it has answered (or a few times).
    std::vector<drosk::Packet> Say(int seq, char type, const std::string& data, int check = 1) {
        line_.Put(kPortB, PeerPacket(seq, type, data, check));
        return Steps(check);
    }
    std::vector<drosk::Packet> Steps(int check, int n = 3) {
        for (int i = 0; i < n; ++i) last_ = KmReceiveNext(kPortB);
        std::vector<uint8_t> bytes = line_.Take(kPortA);
        reader_.Feed(bytes.data(), bytes.size());
        std::vector<drosk::Packet> out;
        drosk::RawPacket raw;
        drosk::Packet p;
        while (reader_.Next(&raw) == drosk::PacketReader::Event::Packet)
            if (drosk::VerifyPacket(raw, check, &p) || drosk::VerifyPacket(raw, 1, &p)) out.push_back(p);
        return out;
    }
    // Starts a plain receive: what it sends at once.
    std::vector<drosk::Packet> Start() {
        last_ = KmReceiveStart(kPortB);
        return Steps(1, 0);
    }
    int last() const { return last_; }

private:
    looptest::LoopLine& line_;
    drosk::PacketReader reader_;
    int last_ = kDroskGoOn;
};

const std::string kInit = "~* @-#&3~";  // 94, 10 s, no padding, CR, "#", 8-bit prefix "&", CRC, "~"

void Expect(const std::vector<drosk::Packet>& got, char type, int seq, const char* what) {
    ASSERT_EQ(got.size(), 1u) << what;
    EXPECT_EQ(got[0].type, type) << what;
    EXPECT_EQ(got[0].seq, seq) << what;
}

}  // namespace

TEST(KermitReceive, RepeatsAndDamageAreAnsweredAndWrittenOnce) {
    looptest::LoopLine line;
    InFolder folder("script");
    ScriptedPeer peer(line);
    Expect(peer.Start(), 'N', 0, "start");
    Expect(peer.Say(0, 'S', kInit), 'Y', 0, "send-init");
    Expect(peer.Say(0, 'S', kInit), 'Y', 0, "send-init again (our ACK was lost)");
    Expect(peer.Say(1, 'F', "f.txt", 3), 'Y', 1, "file header");
    Expect(peer.Say(2, 'D', "ab#Mc", 3), 'Y', 2, "data");
    Expect(peer.Say(2, 'D', "ab#Mc", 3), 'Y', 2, "repeated data");
    auto frame = PeerPacket(3, 'D', "xyz", 3);
    frame[5] ^= 1;
    line.Put(kPortB, frame);
    Expect(peer.Steps(3), 'N', 3, "damaged data");
    Expect(peer.Say(2, 'D', "ab#Mc", 3), 'Y', 2, "repeated data after our NAK");
    line.Put(kPortB, std::vector<uint8_t>(frame.begin(), frame.begin() + 6));
    Expect(peer.Steps(3, 30), 'N', 3, "packet cut short");  // 30 slices: past the stall limit
    Expect(peer.Say(9, 'D', "xyz", 3), 'N', 3, "out of order");
    // Some senders leave control characters other than the mark unprefixed.
    Expect(peer.Say(3, 'D', "~%z&A\n", 3), 'Y', 3, "repeat count, 8th bit, bare control");
    Expect(peer.Say(4, 'Z', "", 3), 'Y', 4, "end of file");
    Expect(peer.Say(5, 'B', "", 3), 'Y', 5, "end of batch");
    EXPECT_EQ(peer.last(), kDroskComplete);
    std::vector<uint8_t> want = {'a', 'b', '\r', 'c', 'z', 'z', 'z', 'z', 'z', 0xC1, '\n'};
    EXPECT_EQ(looptest::ReadFile(folder.path() / "f.txt"), want);
    EXPECT_EQ(PxRetries(kPortB), 3);  // the damaged, the cut short and the out-of-order packet
}

TEST(KermitReceive, SilenceEndsAfterTheRetries) {
    looptest::LoopLine line;
    InFolder folder("silence");
    ScriptedPeer peer(line);
    DroskParms p = DefaultParms();
    p.initialRetries = 3;
    p.initialTimeout = 2;
    ASSERT_EQ(KmSetParms(kPortB, &p), 1);
    ASSERT_EQ(KmReceiveStart(kPortB), kDroskGoOn);
    std::vector<drosk::Packet> sent;
    for (int i = 0; i < 20 && peer.last() == kDroskGoOn; ++i) {
        auto got = peer.Steps(1, 100);  // each step waits a slice of the fake clock
        sent.insert(sent.end(), got.begin(), got.end());
    }
    EXPECT_EQ(peer.last(), kDroskFailed);
    EXPECT_EQ(PxLastError(kPortB), kDroskErrRetries);
    ASSERT_EQ(sent.size(), 4u);  // a NAK at the start, two after time-outs, then the error
    EXPECT_EQ(sent[0].type, 'N');
    EXPECT_EQ(sent[1].type, 'N');
    EXPECT_EQ(sent[2].type, 'N');
    EXPECT_EQ(sent[3].type, 'E');
}

TEST(KermitReceive, NamesThatLeaveTheFolderAreRefused) {
    for (const char* name : {"..", ".", "a/..", "sub/"}) {
        looptest::LoopLine line;
        InFolder folder("refuse");
        ScriptedPeer peer(line);
        ASSERT_EQ(peer.Start().size(), 1u);
        Expect(peer.Say(0, 'S', kInit), 'Y', 0, name);
        Expect(peer.Say(1, 'F', name, 3), 'E', 1, name);
        EXPECT_EQ(peer.last(), kDroskFailed) << name;
        EXPECT_EQ(PxLastError(kPortB), kDroskErrFileName) << name;
        EXPECT_TRUE(fs::is_empty(folder.path())) << name;
    }
    // A name with folders keeps only its last part, inside the folder.
    looptest::LoopLine line;
    InFolder folder("strip");
    fs::create_directories(folder.path() / "inner");
    fs::current_path(folder.path() / "inner");
    ScriptedPeer peer(line);
    ASSERT_EQ(peer.Start().size(), 1u);
    peer.Say(0, 'S', kInit);
    Expect(peer.Say(1, 'F', "../escape.txt", 3), 'Y', 1, "stripped");
    peer.Say(2, 'Z', "", 3);
    EXPECT_TRUE(fs::exists(folder.path() / "inner" / "escape.txt"));
    EXPECT_FALSE(fs::exists(folder.path() / "escape.txt"));
}

TEST(KermitReceive, CallerNameAndDiscardedFiles) {
    looptest::LoopLine line;
    InFolder folder("names");
    ScriptedPeer peer(line);
    ASSERT_EQ(peer.Start().size(), 1u);
    peer.Say(0, 'S', kInit);
    // After the file header the caller may give a name of its own before the file is opened.
    line.Put(kPortB, PeerPacket(1, 'F', "theirs.txt", 3));
    EXPECT_EQ(KmReceiveNext(kPortB), kDroskGoOn);
    EXPECT_EQ(PxNameWanted(kPortB), 1);
    EXPECT_STREQ(PxPortStatus(kPortB)->fileName, "theirs.txt");
    PxSetShownName(kPortB, "mine.txt");
    Expect(peer.Steps(3), 'Y', 1, "header");
    EXPECT_EQ(PxNameWanted(kPortB), 0);
    peer.Say(2, 'D', "hello", 3);
    peer.Say(3, 'Z', "", 3);
    EXPECT_EQ(looptest::ReadFile(folder.path() / "mine.txt"), (std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}));
    EXPECT_FALSE(fs::exists(folder.path() / "theirs.txt"));
    // A file the sender gives up ("D" in its Z) is not kept.
    peer.Say(4, 'F', "dropped.txt", 3);
    peer.Say(5, 'D', "part", 3);
    Expect(peer.Say(6, 'Z', "D", 3), 'Y', 6, "discard");
    EXPECT_FALSE(fs::exists(folder.path() / "dropped.txt"));
    EXPECT_EQ(static_cast<int>(PxPortStatus(kPortB)->filesCompleted), 1);
}

TEST(KermitReceive, AFileShorterThanAnnouncedIsNotKept) {
    looptest::LoopLine line;
    InFolder folder("size");
    ScriptedPeer peer(line);
    ASSERT_EQ(peer.Start().size(), 1u);
    peer.Say(0, 'S', kInit);
    peer.Say(1, 'F', "short.bin", 3);
    Expect(peer.Say(2, 'A', "1\"12", 3), 'Y', 2, "attributes");  // '1', length 2, "12"
    EXPECT_EQ(PxFileSizeGiven(kPortB), 12);
    peer.Say(3, 'D', "hello", 3);
    Expect(peer.Say(4, 'Z', "", 3), 'E', 4, "short file");
    EXPECT_EQ(peer.last(), kDroskFailed);
    EXPECT_EQ(PxLastError(kPortB), kDroskErrSize);
    EXPECT_FALSE(fs::exists(folder.path() / "short.bin"));
}

TEST(KermitReceive, ATextFileMayDifferFromItsAnnouncedLength) {
    // A sender on another system counts its lines with one end byte and sends CR LF.
    looptest::LoopLine line;
    InFolder folder("text");
    ScriptedPeer peer(line);
    ASSERT_EQ(peer.Start().size(), 1u);
    peer.Say(0, 'S', kInit);
    peer.Say(1, 'F', "lines.txt", 3);
    Expect(peer.Say(2, 'A', "\"#AMJ1!6", 3), 'Y', 2, "attributes");  // text, length 6
    peer.Say(3, 'D', "hello#M#J", 3);
    Expect(peer.Say(4, 'Z', "", 3), 'Y', 4, "text file");
    EXPECT_TRUE(fs::exists(folder.path() / "lines.txt"));
}

TEST(KermitReceive, GetAsksTheServerAndReceives) {
    looptest::LoopLine line;
    InFolder folder("get");
    fs::create_directories(folder.path() / "server");
    const auto data = looptest::Pattern(5000, 9);
    looptest::WriteFile(folder.path() / "server" / "remote.bin", data);
    ASSERT_EQ(KmGetStart(kPortB, "remote.bin"), kDroskGoOn);
    // The request reaches the server as an R packet with the name.
    std::vector<uint8_t> request = line.Take(kPortA);
    EXPECT_EQ(request, PeerPacket(0, 'R', "remote.bin"));
    // Our own sender plays the server's part.
    const std::string path = (folder.path() / "server" / "remote.bin").string();
    ASSERT_EQ(KmSendStart(kPortA, path.c_str()), kDroskGoOn);
    Results r = RunPair();
    EXPECT_EQ(r.send, kDroskComplete);
    EXPECT_EQ(r.receive, kDroskComplete);
    EXPECT_EQ(looptest::ReadFile(folder.path() / "remote.bin"), data);
}

TEST(KermitReceive, GetOfAFileTheServerRefuses) {
    looptest::LoopLine line;
    InFolder folder("get-refused");
    ScriptedPeer peer(line);
    ASSERT_EQ(KmGetStart(kPortB, "nothere"), kDroskGoOn);
    peer.Steps(1);
    peer.Say(0, 'E', "File not found");
    EXPECT_EQ(peer.last(), kDroskFailed);
    EXPECT_EQ(PxLastError(kPortB), kDroskErrRemote);
    EXPECT_EQ(KmGetStart(kPortB, ""), kDroskFailed);
}
