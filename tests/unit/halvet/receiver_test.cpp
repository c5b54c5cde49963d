// The receiver against a scripted sender: where an offered name lands (never outside the
// folder), a name the caller imposes between steps, and data that is only complete at a ZEOF
// of the position reached.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "halvet_loop.h"
#include "hv_frames.h"
#include "hv_names.h"

using namespace xytest;
using namespace halvet;
namespace fs = std::filesystem;

namespace {

// Frames as a sender puts them on the line (towards the receiver on kPortB).
struct Script {
    Encoder e;
    std::vector<uint8_t> bytes;
    Script& Header(uint8_t type, uint32_t pos = 0) { e.Binary(bytes, MakeHeader(type, pos), true); return *this; }
    Script& File(const std::string& name, int64_t size) {
        e.Binary(bytes, MakeFlags(ZFILE, ZCBIN), true);
        auto info = BuildFileInfo(name, size, 0, 1, size);
        e.Subpacket(bytes, info.data(), info.size(), ZCRCW, true);
        return *this;
    }
    Script& Data(const std::vector<uint8_t>& d, uint8_t end) { e.Subpacket(bytes, d.data(), d.size(), end, true); return *this; }
    void To(LoopLine& line) { line.Put(kPortB, bytes); bytes.clear(); }
};

// The headers the receiver wrote since the last call.
std::vector<uint8_t> Replies(LoopLine& line, size_t& seen) {
    const auto& w = line.Written(kPortB);
    std::vector<uint8_t> out;
    Decoder d;
    for (size_t at = seen; at < w.size();) {
        Decoder::Event ev;
        at += d.Feed(w.data() + at, w.size() - at, ev);
        if (ev.kind == Decoder::Kind::Header) out.push_back(ev.header.type);
    }
    seen = w.size();
    return out;
}

void Steps(int n) {
    for (int i = 0; i < n; ++i) HvRecvNext(kPortB);
}

bool Contains(const std::vector<uint8_t>& v, uint8_t x) { return std::find(v.begin(), v.end(), x) != v.end(); }

// A receiver started in a fresh current folder that has sent its first ZRINIT.
struct Started {
    explicit Started(const std::string& name) : dir(FreshDir(name)) {
        fs::current_path(dir);
        EXPECT_EQ(HvRecvStart(kPortB, kHvZmodem, 30), kHvStarted);
        Steps(1);
    }
    fs::path dir;
    LoopLine line;
    size_t seen = 0;
};

}  // namespace

TEST(HalvetReceiver, OfferedNamesStayInTheFolder) {
    struct Case {
        const char* sent;
        const char* lands;  // null: skipped
    } cases[] = {
        {"../escape.bin", "escape.bin"},
        {"../../../../tmp/hv-outside.bin", "hv-outside.bin"},
        {"sub\\dir\\win.bin", "win.bin"},
        {"..", nullptr},
        {".", nullptr},
        {"", nullptr},
    };
    fs::path outside = fs::temp_directory_path() / "hv-outside.bin";
    fs::remove(outside);
    for (const Case& c : cases) {
        fs::current_path(fs::temp_directory_path());  // a current folder cannot be removed on Windows
        auto dir = FreshDir("hv-names") / "in";
        fs::create_directories(dir);
        fs::current_path(dir);
        LoopLine line;
        size_t seen = 0;
        ASSERT_EQ(HvRecvStart(kPortB, kHvZmodem, 30), kHvStarted);
        Steps(1);
        EXPECT_TRUE(Contains(Replies(line, seen), ZRINIT));
        Script s;
        s.File(c.sent, 3).To(line);
        Steps(1);
        if (!c.lands) {
            EXPECT_TRUE(Contains(Replies(line, seen), ZSKIP)) << c.sent;
            s.Header(ZFIN).To(line);
            line.Put(kPortB, {'O', 'O'});
            Steps(3);
            EXPECT_EQ(HvRecvNext(kPortB), kHvComplete) << c.sent;
            EXPECT_TRUE(fs::is_empty(dir)) << c.sent;
            EXPECT_TRUE(fs::is_empty(dir.parent_path() / "in")) << c.sent;
            continue;
        }
        EXPECT_EQ(PxNameWanted(kPortB), 1);
        EXPECT_STREQ(PxPortStatus(kPortB)->fileName, c.lands);
        Steps(1);
        EXPECT_TRUE(Contains(Replies(line, seen), ZRPOS));
        s.Header(ZDATA, 0).Data({'a', 'b', 'c'}, ZCRCE).Header(ZEOF, 3).Header(ZFIN).To(line);
        line.Put(kPortB, {'O', 'O'});
        Steps(4);
        EXPECT_EQ(HvRecvNext(kPortB), kHvComplete) << c.sent;
        EXPECT_EQ(ReadFile(dir / c.lands), (std::vector<uint8_t>{'a', 'b', 'c'})) << c.sent;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << c.sent;
        EXPECT_TRUE(fs::is_empty(dir.parent_path()) == false);
    }
    EXPECT_FALSE(fs::exists(outside));
}

TEST(HalvetReceiver, CallerMayImposeTheLocalNameBeforeTheFileOpens) {
    Started t("hv-impose");
    auto& dir = t.dir;
    auto& line = t.line;
    Script s;
    s.File("theirs.bin", 2).To(line);
    EXPECT_EQ(PxNameWanted(kPortB), 0);
    Steps(1);
    ASSERT_EQ(PxNameWanted(kPortB), 1);
    PxSetShownName(kPortB, "mine.bin");
    Steps(1);
    EXPECT_EQ(PxNameWanted(kPortB), 0);
    s.Header(ZDATA, 0).Data({'h', 'i'}, ZCRCE).Header(ZEOF, 2).To(line);
    Steps(3);
    EXPECT_EQ(ReadFile(dir / "mine.bin"), (std::vector<uint8_t>{'h', 'i'}));
    EXPECT_FALSE(fs::exists(dir / "theirs.bin"));
}

TEST(HalvetReceiver, FileIsOnlyCompleteAtAZeofOfThePositionReached) {
    Started t("hv-eof");
    auto& dir = t.dir;
    auto& line = t.line;
    size_t& seen = t.seen;
    Script s;
    s.File("f.bin", 6).To(line);
    Steps(2);
    Replies(line, seen);
    // A sub-packet is lost on the way: the ZEOF claims 6 bytes where 3 arrived.
    s.Header(ZDATA, 0).Data({'1', '2', '3'}, ZCRCG).To(line);
    s.Data({'4', '5', '6'}, ZCRCE);
    s.bytes.clear();
    s.Header(ZEOF, 6).To(line);
    Steps(2);
    EXPECT_EQ(hvtest::FilesCompleted(kPortB), 0);
    // The time-out asks for the missing bytes by their position.
    line.clock.now_ += 11000;
    Steps(1);
    auto replies = Replies(line, seen);
    EXPECT_TRUE(Contains(replies, ZRPOS));
    EXPECT_FALSE(Contains(replies, ZRINIT));
    EXPECT_GT(PxRetries(kPortB), 0);
    s.Header(ZDATA, 3).Data({'4', '5', '6'}, ZCRCE).Header(ZEOF, 6).To(line);
    Steps(3);
    EXPECT_EQ(hvtest::FilesCompleted(kPortB), 1);
    EXPECT_EQ(ReadFile(dir / "f.bin"), (std::vector<uint8_t>{'1', '2', '3', '4', '5', '6'}));
}

TEST(HalvetReceiver, CancelFromTheSenderEndsTheReceive) {
    Started t("hv-cancel");
    auto& line = t.line;
    std::vector<uint8_t> cancel;
    AppendCancel(cancel);
    line.Put(kPortB, cancel);
    int r = kHvGoOn;
    for (int i = 0; i < 5 && r == kHvGoOn; ++i) r = HvRecvNext(kPortB);
    EXPECT_EQ(r, kHvFailed);
    EXPECT_EQ(PxLastError(kPortB), kHvErrCancelled);
}

TEST(HalvetReceiver, DamagedHeaderAfterAPositionRequestIsAskedForAgainSoon) {
    Started t("hv-reask");
    Script s;
    s.File("r.bin", 3).To(t.line);
    Steps(2);
    EXPECT_TRUE(Contains(Replies(t.line, t.seen), ZRPOS));
    s.Header(ZDATA, 0);
    s.bytes[4] ^= 0x01;  // the answer arrives damaged
    s.To(t.line);
    Steps(1);
    EXPECT_TRUE(Replies(t.line, t.seen).empty());
    t.line.clock.now_ += 1100;  // well within the ten-second time-out
    Steps(1);
    EXPECT_TRUE(Contains(Replies(t.line, t.seen), ZRPOS));
}
