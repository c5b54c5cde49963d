// The session DDE server's commands without DDEML: "gettxt" parameters and limits, the screen
// rectangle it copies, execute parsing bounded by the data size, and "tohost"/"tohostx".
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "connection_fakes.h"
#include "connections/connection_dispatch.h"
#include "connections/dde/dde_commands.h"
#include "connections/dde/gettxt.h"
#include "engine/screen_planes.h"
#include "fake_platform.h"
#include "session/session_record.h"

namespace {

std::vector<unsigned> Parse(const std::string& text, int* count) {
    unsigned values[kGettxtMaxParams] = {};
    *count = ParseGettxtParams(text.data(), text.size(), values);
    return std::vector<unsigned>(values, values + *count);
}

TEST(GettxtParams, ReadsNumbersLikeTheUnsignedFormat) {
    struct Case {
        const char* text;
        std::vector<unsigned> values;
    } cases[] = {
        {"0;0;80;24", {0, 0, 80, 24}},
        {" 1 ; 2 ;3;4 ", {1, 2, 3, 4}},
        {"0;0;80;24;", {0, 0, 80, 24}},
        {"1;2;3;4;5;6;7;8;9;10", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"1;2;x;4", {1, 2}},
        {"1,2,3,4", {1}},
        {"", {}},
        {"+7;-1", {7, 4294967295u}},
        {"99999999999;1", {4294967295u, 1}},
    };
    for (const Case& c : cases) {
        int count = 0;
        EXPECT_EQ(Parse(c.text, &count), c.values) << c.text;
    }
}

TEST(GettxtParams, StopsAtTheDataSizeAndAtNul) {
    unsigned values[kGettxtMaxParams] = {};
    const char text[] = "10;20;30;40";
    EXPECT_EQ(ParseGettxtParams(text, 5, values), 2);  // "10;20"
    EXPECT_EQ(values[1], 20u);
    const char withNul[] = "1;2\0;3;4";
    EXPECT_EQ(ParseGettxtParams(withNul, sizeof(withNul), values), 2);
}

TEST(GettxtParams, LimitsKeepTheRectangleOnTheScreen) {
    struct Case {
        std::vector<unsigned> values;
        bool accepted;
    } cases[] = {
        {{0, 0, 80, 24}, true},
        {{79, 23, 1, 1}, true},
        {{0, 0, 81, 24}, false},
        {{0, 0, 80, 25}, false},
        {{1, 0, 80, 1}, false},
        {{80, 0, 1, 1}, false},
        {{0, 0, 0, 1}, false},
        {{0, 0, 1, 0}, false},
        // Sums that wrap around in unsigned arithmetic must not pass.
        {{4294967295u, 0, 2, 1}, false},
        {{2, 0, 4294967295u, 1}, false},
        {{0, 4294967290u, 1, 10}, false},
        {{0, 0, 1, 1, 255, 1, 1, 1, 2}, true},
        {{0, 0, 1, 1, 256, 0, 0, 0, 0}, false},
        {{0, 0, 1, 1, 32, 2, 0, 0, 0}, false},
        {{0, 0, 1, 1, 32, 0, 2, 0, 0}, false},
        {{0, 0, 1, 1, 32, 0, 0, 2, 0}, false},
        {{0, 0, 1, 1, 32, 0, 0, 0, 3}, false},
        {{0, 0, 1, 1, 32}, false},
        {{0, 0, 1}, false},
    };
    for (const Case& c : cases) {
        unsigned values[kGettxtMaxParams] = {};
        for (std::size_t i = 0; i < c.values.size(); ++i) values[i] = c.values[i];
        ScreenTextRequest request;
        bool ok = MakeGettxtRequest(values, static_cast<int>(c.values.size()), 80, 24, request);
        EXPECT_EQ(ok, c.accepted) << ::testing::PrintToString(c.values);
    }
}

TEST(GettxtParams, NineNumbersGiveTheTableForm) {
    unsigned values[kGettxtMaxParams] = {2, 3, 10, 4, 9, 1, 0, 1, 2};
    ScreenTextRequest request;
    ASSERT_TRUE(MakeGettxtRequest(values, 9, 80, 24, request));
    EXPECT_EQ(request.tableMode, 1);
    EXPECT_EQ(request.left, 2);
    EXPECT_EQ(request.top, 3);
    EXPECT_EQ(request.separator, 9);
    EXPECT_TRUE(request.removeLeading);
    EXPECT_FALSE(request.removeTrailing);
    EXPECT_TRUE(request.separatorBetweenRows);
    EXPECT_EQ(request.singleBlankRule, 2);
}

// A 24 x 80 screen whose cell (r, c) holds 'A' + (r + c) % 26, a record on the process-wide Rec,
// and a recording Telnet transport.
class DdeCommands : public testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&platform);
        std::memset(Rec, 0, sizeof(SettingsRecord));
        Rec->ComType = kTelnet;
        Rec->Charset = 3;  // plain characters go out as they are
        Rec->MaxCols = 80;
        Rec->MaxRows = 24;
        ASSERT_EQ(AllocScreenBuffers(*Rec), 1);
        for (int r = 0; r < 24; ++r)
            for (int c = 0; c < 80; ++c)
                Rec->CharsScreen[r * 80 + c] = static_cast<uint8_t>('A' + (r + c) % 26);
        SetTransport(kTelnet, &transport);
        SetDdeActionRunner(RecordAction);
        actions().clear();
    }
    void TearDown() override {
        FreeScreenBuffers(*Rec);
        SetTransport(kTelnet, nullptr);
        SetDdeActionRunner(nullptr);
        SetPlatform(nullptr);
    }

    static std::vector<std::string>& actions() {
        static std::vector<std::string> list;
        return list;
    }
    static int RecordAction(const char* text) {
        actions().push_back(text);
        return 1;
    }

    static std::string Row(int r, int c, int width) {
        std::string row;
        for (int i = 0; i < width; ++i) row += static_cast<char>('A' + (r + c + i) % 26);
        return row;
    }

    struct Sink : DdeTextSink {
        void SetText(const char* t) override {
            text = t;
            ++sets;
        }
        std::string text = "old";
        int sets = 0;
    };

    void Execute(const std::string& data) {
        DdeExecuteCommand command =
            ParseDdeExecute(reinterpret_cast<const uint8_t*>(data.data()), data.size());
        RunDdeCommand(command.command, command.text, &sink);
    }

    FakePlatform platform;
    RecordingTransport transport;
    Sink sink;
};

TEST_F(DdeCommands, GettxtCopiesTheWholeScreenJoinedByCrLf) {
    RunDdeCommand(DdeCommand::GetTxt, "0;0;80;24", &sink);
    std::string expected;
    for (int r = 0; r < 24; ++r) expected += (r ? "\r\n" : "") + Row(r, 0, 80);
    EXPECT_EQ(sink.text, expected);
    EXPECT_EQ(sink.sets, 1);
}

TEST_F(DdeCommands, GettxtTableFormUsesTheSeparator) {
    std::memcpy(Rec->CharsScreen + 80, "  ab  cd   -1 x  ", 17);
    RunDdeCommand(DdeCommand::GetTxt, "0;1;17;1;59;1;1;0;0", &sink);
    EXPECT_EQ(sink.text, "ab;cd;-1 x");
}

TEST_F(DdeCommands, BadGettxtLeavesTxtretAlone) {
    for (const char* text : {"0;0;81;24", "0;0;80;24;1", "0;0;0;1", "", "5;5;5;5;256;0;0;0;0"}) {
        RunDdeCommand(DdeCommand::GetTxt, text, &sink);
        EXPECT_EQ(sink.text, "old") << text;
        EXPECT_EQ(sink.sets, 0) << text;
    }
    FreeScreenBuffers(*Rec);
    RunDdeCommand(DdeCommand::GetTxt, "0;0;1;1", &sink);
    EXPECT_EQ(sink.sets, 0) << "no planes";
}

TEST_F(DdeCommands, ExecuteForms) {
    struct Case {
        std::string data;  // as received, NUL included where a client sends one
        std::string sent;
        std::vector<std::string> actions;
        bool gettxt;
    } cases[] = {
        {std::string("TOHOST;abc", 11), "abc", {}, false},
        {std::string("tohost;", 8), "", {}, false},
        {std::string("tohost", 7), "", {}, false},
        {std::string("tohost;<cr>x^a", 15), "\rx\x01", {}, false},
        {std::string("ToHostX;%connect%", 18), "", {"%connect%"}, false},
        {std::string("tohostx;", 9), "", {""}, false},
        {std::string("gettxt;0;0;3;1", 15), "", {}, true},
        {std::string("gettxt", 7), "", {}, false},
        {std::string("other;abc", 10), "", {}, false},
        // Without a NUL the text ends at the data size.
        {std::string("tohost;xyz"), "xyz", {}, false},
    };
    for (const Case& c : cases) {
        transport.sent.clear();
        actions().clear();
        sink = Sink();
        Execute(c.data);
        EXPECT_EQ(transport.sent, c.sent) << c.data;
        EXPECT_EQ(actions(), c.actions) << c.data;
        EXPECT_EQ(sink.sets, c.gettxt ? 1 : 0) << c.data;
    }
    EXPECT_EQ(sink.text, "old");
}

TEST_F(DdeCommands, ExecuteReadsNothingBeyondTheDataSize) {
    // The data is a heap block of exactly its size: any read past it is caught by ASan.
    const char text[] = "tohost;hello";
    std::vector<uint8_t> data(text, text + sizeof(text) - 1);
    DdeExecuteCommand command = ParseDdeExecute(data.data(), data.size());
    EXPECT_EQ(command.command, DdeCommand::ToHost);
    EXPECT_EQ(command.text, "hello");
    EXPECT_EQ(ParseDdeExecute(data.data(), 7).command, DdeCommand::None) << "no room for a NUL";
    EXPECT_EQ(ParseDdeExecute(nullptr, 0).command, DdeCommand::None);
}

TEST(DdeCommandItems, ItemNamesMatchWithoutCase) {
    EXPECT_EQ(CommandOfItem("ToHost"), DdeCommand::ToHost);
    EXPECT_EQ(CommandOfItem("TOHOSTX"), DdeCommand::ToHostX);
    EXPECT_EQ(CommandOfItem("gettxt"), DdeCommand::GetTxt);
    EXPECT_EQ(CommandOfItem("txtret"), DdeCommand::None);
    EXPECT_EQ(CommandOfItem("tohos"), DdeCommand::None);
}

}  // namespace
