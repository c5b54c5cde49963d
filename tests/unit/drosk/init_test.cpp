// The Send-Init exchange, the parameter block and received file names.
#include <gtest/gtest.h>

#include <cstring>

#include "kermit_harness.h"
#include "kermit_init.h"
#include "kermit_names.h"

using namespace drosk;

TEST(KermitInit, OurAnnouncementFollowsTheParameters) {
    DroskParms p = kmtest::DefaultParms();
    p.packetLength = 90;
    p.timeout = 7;
    p.quote8 = 2;
    p.checkType = 2;
    p.longPacketLength = 1024;
    auto field = BuildInit(OurFields(p));
    EXPECT_EQ(std::string(field.begin(), field.end()).substr(0, 9), std::string("z' @-#&3~"));
    InitFields back = ParseInit(field.data(), field.size());
    EXPECT_EQ(back.maxLength, 90);
    EXPECT_EQ(back.longLength, 1024);
    EXPECT_EQ(back.capabilities & kCapLongPackets, kCapLongPackets);
    EXPECT_EQ(back.checkType, 3);
}

TEST(KermitInit, ShortOrOddAnnouncementsKeepTheDefaults) {
    const uint8_t field[] = {'^', 0x01};  // MAXL 62, then a control character as TIME
    InitFields f = ParseInit(field, sizeof field);
    EXPECT_EQ(f.maxLength, 62);
    EXPECT_EQ(f.timeout, 5);
    EXPECT_EQ(f.eol, 13);
    EXPECT_EQ(f.control, '#');
    EXPECT_EQ(f.checkType, 1);
    EXPECT_EQ(f.capabilities, 0);
}

TEST(KermitInit, AgreementTable) {
    struct Case {
        uint8_t our8, their8, want8;
        int ourCheck, theirCheck, wantCheck;
        uint8_t ourRepeat, theirRepeat, wantRepeat;
    };
    const Case cases[] = {
        {'Y', '&', '&', 1, 1, 1, '~', '~', '~'},
        {'&', 'Y', '&', 3, 3, 3, '~', ' ', 0},
        {'N', '&', 0, 2, 3, 1, ' ', ' ', 0},
        {'Y', 'Y', 0, 3, 1, 1, '~', '*', 0},
        {'&', '&', '&', 2, 2, 2, '*', '*', '*'},
    };
    DroskParms p = kmtest::DefaultParms();
    for (const Case& c : cases) {
        InitFields ours, theirs;
        ours.eighthBit = c.our8;
        theirs.eighthBit = c.their8;
        ours.checkType = c.ourCheck;
        theirs.checkType = c.theirCheck;
        ours.repeat = c.ourRepeat;
        theirs.repeat = c.theirRepeat;
        theirs.control = '!';
        Agreement a = Agree(ours, theirs, p);
        EXPECT_EQ(a.out.eighthBit, c.want8);
        EXPECT_EQ(a.checkType, c.wantCheck);
        EXPECT_EQ(a.out.repeat, c.wantRepeat);
        EXPECT_EQ(a.out.control, '#');  // each side prefixes with its own
        EXPECT_EQ(a.in.control, '!');
    }
}

TEST(KermitInit, LongPacketsOnlyWhenBothOfferThem) {
    DroskParms p = kmtest::DefaultParms();
    InitFields ours, theirs;
    ours.capabilities = kCapLongPackets;
    ours.longLength = 1024;
    theirs.maxLength = 80;
    EXPECT_FALSE(Agree(ours, theirs, p).longPackets);
    EXPECT_EQ(Agree(ours, theirs, p).sendLimit, 80);
    theirs.capabilities = kCapLongPackets;
    EXPECT_EQ(Agree(ours, theirs, p).sendLimit, 500);  // no length given: 500
    theirs.longLength = 9024;
    EXPECT_EQ(Agree(ours, theirs, p).sendLimit, 1024);  // never longer than our own setting
}

TEST(KermitParms, BlockIsKeptAndNonsenseRefused) {
    DroskParms p = kmtest::DefaultParms();
    EXPECT_EQ(static_cast<int>(p.packetLength), 94);  // packed: copied out
    EXPECT_EQ(p.quoteChar, '#');
    p.windowSize = 4;
    for (int i = 0; i < 15; ++i) p.callerData[i] = static_cast<uint8_t>(i + 1);
    ASSERT_EQ(KmSetParms(7, &p), 1);
    DroskParms back{};
    ASSERT_EQ(KmGetParms(7, &back), 1);
    EXPECT_EQ(0, std::memcmp(&p, &back, sizeof p));
    auto refused = [&](auto change) {
        DroskParms q = p;
        change(q);
        return KmSetParms(7, &q) == -1;
    };
    EXPECT_TRUE(refused([](DroskParms& q) { q.packetLength = 95; }));
    EXPECT_TRUE(refused([](DroskParms& q) { q.longPacketLength = 90; }));
    EXPECT_TRUE(refused([](DroskParms& q) { q.checkType = 3; }));
    EXPECT_TRUE(refused([](DroskParms& q) { q.quoteChar = ' '; }));
    EXPECT_TRUE(refused([](DroskParms& q) { q.startOfPacket = 'A'; }));
    EXPECT_TRUE(refused([](DroskParms& q) { q.timeout = 0; }));
    EXPECT_EQ(KmSetParms(0, &p), -1);
    EXPECT_EQ(KmSetParms(101, &p), -1);
}

TEST(KermitNames, OnlyTheLastComponentIsUsed) {
    struct Case {
        const char* sent;
        const char* local;  // null: refused
    };
    const Case cases[] = {
        {"data.bin", "data.bin"},      {"../../etc/passwd", "passwd"}, {"C:\\win\\x.ini", "x.ini"},
        {"d:evil", "evil"},            {"/abs/path/f", "f"},            {"", nullptr},
        {".", nullptr},                {"..", nullptr},                 {"dir/..", nullptr},
        {"dir/", nullptr},             {"...", nullptr},                {"a\tb", nullptr},
    };
    for (const Case& c : cases) {
        std::string local;
        bool ok = LocalNameFor(c.sent, &local);
        EXPECT_EQ(ok, c.local != nullptr) << c.sent;
        if (ok && c.local) {
            EXPECT_EQ(local, c.local) << c.sent;
        }
    }
}
