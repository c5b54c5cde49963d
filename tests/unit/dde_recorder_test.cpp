// The DDE client side without DDEML: trigger matching, the recorder between the trigger strings,
// the destination fields, and the poke guard.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "connections/connection_dispatch.h"
#include "connections/dde/dde_recorder.h"
#include "connections/dde/dde_spooler.h"
#include "connections/dde/look_for.h"
#include "fake_platform.h"
#include "session/session_record.h"

namespace {

struct CountingAction : CAction {
    explicit CountingAction(int* runs) : runs(runs) {}
    int Run() override { return ++*runs; }
    int* runs;
};

int Fires(const char* pattern, const std::string& input) {
    int runs = 0;
    CLookFor trigger(pattern, new CountingAction(&runs));
    for (char c : input) trigger.Feed(static_cast<unsigned char>(c));
    return runs;
}

TEST(LookFor, MatchesWithOnlyTheFirstCharacterAsFallback) {
    struct Case {
        const char* pattern;
        const char* input;
        int fires;
    } cases[] = {
        {"aab", "aab", 1},
        {"aab", "aaab", 0},  // no fallback beyond the pattern's first character
        {"aab", "xaabaab", 2},
        {"|END|", "ab|EN|END|", 1},  // the breaking '|' starts a new match
        {"abc", "abababc", 1},
        {"", "anything", 0},
        {"x", "xxx", 3},
    };
    for (const Case& c : cases) EXPECT_EQ(Fires(c.pattern, c.input), c.fires) << c.pattern << " in " << c.input;
}

TEST(SplitFieldTest, TakesFieldsUpToTheDelimiterOrTheMaximum) {
    struct Case {
        const char* source;
        int maximum;
        const char* field;
        const char* rest;
    } cases[] = {
        {"x|y|z", 30, "x", "y|z"},
        {"|y", 30, "", "y"},
        {"abc", 30, "abc", ""},
        {"", 30, "", ""},
        {"abcdef|rest", 3, "abc", "rest"},  // cut, the parse goes on after the delimiter
        {"abcdef", 3, "abc", ""},
    };
    for (const Case& c : cases) {
        char field[31];
        const char* rest = SplitField(field, c.source, c.maximum, '|');
        EXPECT_STREQ(field, c.field) << c.source;
        EXPECT_STREQ(rest, c.rest) << c.source;
    }
}

struct PokeRecord {
    std::string service, topic, item, data;
    int size;
};

class RecordingPort : public DdePokePort {
public:
    int Poke(const char* service, const char* topic, const char* item, const char* data,
             int size) override {
        pokes.push_back({service, topic, item, std::string(data, static_cast<std::size_t>(size)), size});
        if (duringPoke) duringPoke();
        return result;
    }
    std::vector<PokeRecord> pokes;
    std::function<void()> duringPoke;
    int result = 1;
};

class DdeRecorderTest : public testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&platform);
        std::memset(Rec, 0, sizeof(SettingsRecord));
        // The [DDE] defaults of a new session.
        std::strcpy(Rec->DdeClientStartRecordOn, "|FROMHOST|");
        std::strcpy(Rec->DdeClientStopRecordOn, "|END|");
        std::strcpy(Rec->DdeDelimiter, "|");
        std::strcpy(Rec->DdeClientServiceName, "RODIREVI");
        SetDdePokePort(&port);
    }
    void TearDown() override {
        DdeClientStop();
        SetDdePokePort(nullptr);
        SetPlatform(nullptr);
    }
    static void Receive(const std::string& text) {
        DdeHostDataTap(reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    }

    FakePlatform platform;
    RecordingPort port;
};

TEST_F(DdeRecorderTest, NothingHappensBeforeTheClientStarts) {
    Receive("|FROMHOST|x|y|z|data|END|");
    EXPECT_TRUE(port.pokes.empty());
    EXPECT_EQ(DdeRecorder(), nullptr);
}

TEST_F(DdeRecorderTest, PokesTheRecordingToTheDestinationAtItsHead) {
    ASSERT_EQ(DdeClientStart(), 1);
    Receive("abc|FROM");
    Receive("HOST|x|y|z|data|END|tail");
    ASSERT_EQ(port.pokes.size(), 1u);
    const PokeRecord& p = port.pokes[0];
    EXPECT_EQ(p.service, "x");
    EXPECT_EQ(p.topic, "y");
    EXPECT_EQ(p.item, "z");
    EXPECT_EQ(p.data, std::string("x|y|z|data|END|", 16)) << "the whole text with its NUL";
    EXPECT_EQ(p.size, 16);
    EXPECT_FALSE(DdeRecorder()->Recording());
}

TEST_F(DdeRecorderTest, FixedDestinationTakesTheTextAsItIs) {
    Rec->DdeRadioDynamic = 1;
    std::strcpy(Rec->DdeClientSendToServiceName, "SVC");
    std::strcpy(Rec->DdeClientSendToTopicName, "TOP");
    std::strcpy(Rec->DdeClientSendToItemName, "ITEM");
    DdeClientStart();
    Receive("abc|FROMHOST|x|y|z|data|END|");
    ASSERT_EQ(port.pokes.size(), 1u);
    EXPECT_EQ(port.pokes[0].service, "SVC");
    EXPECT_EQ(port.pokes[0].topic, "TOP");
    EXPECT_EQ(port.pokes[0].item, "ITEM");
    EXPECT_EQ(port.pokes[0].data, std::string("x|y|z|data|END|", 16));
}

TEST_F(DdeRecorderTest, DestinationFields) {
    struct Case {
        const char* delimiter;
        std::string recorded;
        bool poked;
        const char* service;
        const char* item;
    } cases[] = {
        {"|", "|y|z|d", false, "", ""},
        {"|", "x||z|d", false, "", ""},
        {"|", "x", false, "", ""},  // "x|END|": no item field
        {"|", std::string(35, 's') + "|t|i|d", true, "ssssssssssssssssssssssssssssss", "i"},
        {"#!", "a#b#c#d", true, "a", "c"},  // only the delimiter's first character counts
    };
    for (const Case& c : cases) {
        std::strcpy(Rec->DdeDelimiter, c.delimiter);
        DdeClientStart();
        port.pokes.clear();
        Receive("|FROMHOST|" + c.recorded + "|END|");
        ASSERT_EQ(port.pokes.size(), c.poked ? 1u : 0u) << c.recorded;
        if (c.poked) {
            EXPECT_EQ(port.pokes[0].service, c.service);
            EXPECT_EQ(port.pokes[0].item, c.item);
        }
        EXPECT_FALSE(DdeRecorder()->Recording()) << "dropped or sent, the recording ends";
        DdeClientStop();
    }
}

TEST_F(DdeRecorderTest, StopWhileIdleDoesNothingAndAStartInsideIsData) {
    DdeClientStart();
    Receive("|END|");
    EXPECT_FALSE(DdeRecorder()->Recording());
    Receive("|FROMHOST|a|b|c|1|FROMHOST|2|END|");
    ASSERT_EQ(port.pokes.size(), 1u);
    EXPECT_EQ(port.pokes[0].data, std::string("a|b|c|1|FROMHOST|2|END|", 24));
}

TEST_F(DdeRecorderTest, AnEmptyRecordingIsNotStopped) {
    // A stop with nothing recorded changes nothing: the recording goes on.
    DdeClientStart();
    DdeRecorder()->Start();
    EXPECT_EQ(DdeRecorder()->StopAndSend(), 0);
    EXPECT_TRUE(DdeRecorder()->Recording());
    EXPECT_TRUE(port.pokes.empty());
}

TEST_F(DdeRecorderTest, LongRecordingKeepsItsFirstBytesAndStillEnds) {
    DdeClientStart();
    std::string body = "s|t|i|" + std::string(DdeSpooler::kMaxBytes + 100, 'd');
    Receive("|FROMHOST|" + body + "|END|");
    ASSERT_EQ(port.pokes.size(), 1u);
    EXPECT_EQ(port.pokes[0].size, DdeSpooler::kMaxBytes + 1);
    EXPECT_EQ(port.pokes[0].data.substr(0, DdeSpooler::kMaxBytes), body.substr(0, DdeSpooler::kMaxBytes));
    EXPECT_FALSE(DdeRecorder()->Recording());
}

TEST_F(DdeRecorderTest, HostDataDuringThePokeFindsTheRecorderIdle) {
    DdeClientStart();
    // While the poke waits, the message loop delivers more host data: another stop string and a
    // whole recording. The inner stop finds nothing to send; the inner recording's poke is refused
    // as a re-entry; nothing is freed twice.
    port.duringPoke = [this] {
        port.duringPoke = nullptr;
        Receive("|END|");
        EXPECT_FALSE(DdeRecorder()->Recording());
        Receive("|FROMHOST|p|q|r|inner|END|");
    };
    Receive("|FROMHOST|x|y|z|outer|END|");
    ASSERT_EQ(port.pokes.size(), 1u);
    EXPECT_EQ(port.pokes[0].service, "x");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "dde reentrancy error");
    EXPECT_FALSE(DdeRecorder()->Recording());
    // The next recording is poked as usual.
    Receive("|FROMHOST|a|b|c|next|END|");
    ASSERT_EQ(port.pokes.size(), 2u);
    EXPECT_EQ(port.pokes[1].service, "a");
}

TEST_F(DdeRecorderTest, TriggerListHoldsStopBeforeStart) {
    // With equal start and stop strings the stop trigger sees the string first: idle, it does
    // nothing; then the start trigger begins a recording. The next occurrence is recorded and
    // ends it.
    std::strcpy(Rec->DdeClientStartRecordOn, "##");
    std::strcpy(Rec->DdeClientStopRecordOn, "##");
    DdeClientStart();
    Receive("##s|t|i##");
    ASSERT_EQ(port.pokes.size(), 1u);
    EXPECT_EQ(port.pokes[0].data, std::string("s|t|i##", 8));
}

TEST_F(DdeRecorderTest, TheReceivePathFeedsTheRecorder) {
    DdeClientStart();
    const std::string block = "|FROMHOST|s|t|i|via the receive path|END|";
    RunReceiveConsumers(nullptr, ReceiveSource::Telnet, reinterpret_cast<const uint8_t*>(block.data()),
                        static_cast<int>(block.size()));
    ASSERT_EQ(port.pokes.size(), 1u);
    EXPECT_EQ(port.pokes[0].item, "i");
}

TEST_F(DdeRecorderTest, PokeWithoutAPortFails) {
    SetDdePokePort(nullptr);
    EXPECT_EQ(DdePokeTo("a", "b", "c", "d", 2), 0);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
