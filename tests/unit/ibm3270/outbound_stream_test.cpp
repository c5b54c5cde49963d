// The host data stream: write commands and orders into the buffer, read commands and WSF answers,
// records cut into pieces, and malformed records.
#include <map>

#include "engine/ibm3270/inbound_records.h"
#include "engine/ibm3270/query_reply.h"
#include "engine/ibm3270/status_view.h"
#include "tn3270_fixture.h"

namespace {

using OutboundStream = Tn3270Test;

struct WriteCase {
    const char* name;
    std::vector<std::string> records;
    std::map<int, std::string> rows;
    std::string fields;
    int cursor;
};

const std::string kRowOfX(80, 'X');

TEST_F(OutboundStream, WritesBuildTheBuffer)
{
    const WriteCase cases[] = {
        {"fields, text and insert cursor",
         {"F5 C3 11 40 40 1D F0 'LOGON' 11 40 4A 1D C0 13 11 40 50 1D F0"},
         {{0, " LOGON"}},
         "0,0:F0 0,10:C0 0,16:F0",
         11},
        {"repeat to the current address fills the buffer", {"F5 C3 3C 40 40 'X'"}, {{0, kRowOfX}, {23, kRowOfX}}, "", 0},
        {"repeat with a graphic escape character", {"F5 C3 3C 40 C5 08 C1"}, {{0, "AAAAA"}}, "", 0},
        {"a data run wraps from the last address", {"F5 C3 11 5D 7F 'AB'"}, {{0, "B"}, {23, std::string(79, ' ') + "A"}}, "", 0},
        {"erase unprotected to address leaves protected fields",
         {"F5 C3 1D E0 'PR' 1D C0 'IN' 1D E0 'PR' 11 40 40 12 40 40"},
         {{0, " PR    PR"}},
         "0,0:E0 0,3:C0 0,6:E0",
         0},
        {"erase unprotected on an unformatted screen", {"F5 C3 'ABCDEF' 11 40 C2 12 40 C4"}, {{0, "AB  EF"}}, "", 0},
        {"start field extended", {"F5 C3 29 03 C0 E8 41 F2 42 F4 'X'"}, {{0, " X"}}, "0,0:E8/cF4/h20", 0},
        {"modify field only on an attribute cell",
         {"F5 C3 1D C0 'ABC' 11 40 40 2C 01 42 F2 2C 01 41 F1"},
         {{0, " ABC"}},
         "0,0:C0/cF2",
         0},
        {"program tab after data nulls the field rest",
         {"F5 C3 1D C0 'ABCD' 1D C0 11 40 C1 'Z' 05 'Q'"},
         {{0, " Z    Q"}},
         "0,0:C0 0,5:C0",
         0},
        {"program tab without a later field stops at the last address",
         {"F5 C3 05 'Q'"},
         {{23, std::string(79, ' ') + "Q"}},
         "",
         0},
        {"write keeps the buffer, erase/write clears it",
         {"F5 C3 'OLD'", "F1 C3 11 40 C1 'NE'", "F5 C3 11 C1 50 'NEW'"},
         {{0, ""}, {1, "NEW"}},
         "",
         0},
        {"character over an attribute removes the field", {"F5 C3 1D E0 'A' 11 40 40 'Z'"}, {{0, "ZA"}}, "", 0},
        {"erase all unprotected keeps protected fields",
         {"F5 C3 1D E0 'PR' 1D C1 'IN' 11 40 C7 1D C1 'X'", "6F 00"},
         {{0, " PR"}},
         "0,0:E0 0,3:C0 0,7:C0",
         4},
        {"erase all unprotected clears an unformatted screen", {"F5 C3 11 40 C5 'ABC'", "6F 00"}, {{0, ""}}, "", 0},
        {"graphics escape writes the next byte as data", {"F5 C3 08 1D"}, {}, "", 0},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        for (const std::string& record : c.records) Feed(record);
        for (const auto& row : c.rows) EXPECT_EQ(Row3270Text(row.first), row.second) << "row " << row.first;
        EXPECT_EQ(Fields3270Text(), c.fields);
        EXPECT_EQ(Cursor(), c.cursor);
        EXPECT_TRUE(FakeCalls.messages.empty()) << FakeCalls.messages.front();
        TearDown();
    }
}

TEST_F(OutboundStream, EraseWriteAlternateSwitchesGeometry)
{
    Tn3270State.AltRows3270 = 43;
    Feed("7E C3 11 F9 7F 'Z'");  // address 3711 is past a 43 x 80 buffer: Z lands via SBA check
    EXPECT_EQ(Tn3270State.Rows3270, 43);
    EXPECT_EQ(Tn3270State.BufferSize, 3440);
    ASSERT_EQ(FakeCalls.messages.size(), 1u);
    Feed("F1 C3 11 F5 7F 'Z'");  // 3455 > 3439 as well
    Feed("F1 C3 11 F5 6F 'Y'");  // 53 * 64 + 47 = 3439, the last cell
    EXPECT_EQ(Row3270Text(42), std::string(79, ' ') + "Y");
    Feed("F5 C3 'A'");
    EXPECT_EQ(Tn3270State.Rows3270, 24);
    EXPECT_EQ(Row3270Text(0), "A");

    Tn3270State.AltRows3270 = 27;
    Tn3270State.AltColumns3270 = 132;
    Feed("0D C3 11 F7 7B 'W'");  // 55 * 64 + 59 = 3579 > 3563: rejected
    Feed("0D C3 11 F7 6B 'W'");  // 55 * 64 + 43 = 3563, the last of 3564 cells
    EXPECT_EQ(Tn3270State.BufferSize, 3564);
    EXPECT_EQ(Row3270Text(26), std::string(131, ' ') + "W");
}

TEST_F(OutboundStream, RecordsMayArriveInPieces)
{
    EXPECT_EQ(Feed("F5 C3 11 40", 0), 2) << "the cut SBA waits";
    EXPECT_EQ(Feed("11 40 C5 'A' 29 02 C0", 0), 4);
    EXPECT_EQ(Feed("29 02 C0 E0 41 F4 'B' 2B 5B E3 C2", 0), 7) << "the home-row sequence waits for 30 bytes";
    EXPECT_EQ(Feed("2B 5B E3 42 40"), 5);
    EXPECT_EQ(Row3270Text(0), "     A B");
    EXPECT_EQ(Fields3270Text(), "0,6:E0/h01");
    EXPECT_EQ(Tn3270State.HomeRow, 2);
    EXPECT_EQ(Tn3270State.AtRecordStart, 1);
}

TEST_F(OutboundStream, MalformedRecordsAreSurvived)
{
    struct Bad {
        const char* name;
        std::string record;
        const char* message;  // expected message start, or "" for none
    };
    const Bad cases[] = {
        {"empty record", "", "Short count received from host!"},
        {"lone write command", "F1", "Unexpected read command code 0xf1"},
        {"short SBA", "F1 C3 11 40", ""},
        {"short SF", "F1 C3 1D", ""},
        {"SFE with a short count", "F1 C3 29 05 C0 E0", ""},
        {"MF with a short count", "F1 C3 2C 02 41", ""},
        {"RA without its character", "F1 C3 3C 40 40", ""},
        {"RA with a cut graphic escape", "F1 C3 3C 40 40 08", ""},
        {"RA past the buffer", "F1 C3 3C 7F 7F C1",
         "tn3270:  Invalid 3270 order 'Repeat to Address' to address 4095.\n\t(Screen currently set to 24 by 80.)"},
        {"EUA past the buffer", "F1 C3 12 7F 7F",
         "tn3270:  Invalid 3270 order 'Erase Unprotected to Address' to address 4095."},
        {"SBA past the buffer", "F1 C3 11 5E 40", "tn3270:  Invalid 3270 order 'Set Buffer Address' to address 1920."},
        {"set attribute", "F1 C3 28 41 F1", "Unsupported order 'SA' (Set Attribute, 0x28) received."},
        {"unknown write command", "F7 C3 'A'", "Unexpected write command code 0xf7 received."},
        {"cut order 0x2B", "F1 C3 2B", ""},
        {"order 0x2B home row far out of range", "F1 C3 2B 5B E3 FF FF", ""},
        {"extension address", "F1 C3 11 00 05 3C 40 40 C1", ""},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Feed(c.record);
        if (*c.message) {
            ASSERT_EQ(FakeCalls.messages.size(), 1u);
            EXPECT_EQ(FakeCalls.messages[0].rfind(c.message, 0), 0u) << FakeCalls.messages[0];
        } else {
            EXPECT_TRUE(FakeCalls.messages.empty());
        }
        Feed("F5 C3 'OK'");
        EXPECT_EQ(Row3270Text(0), "OK") << "the next record is read as a record";
        TearDown();
    }
}

TEST_F(OutboundStream, LongRecordsWrapAndKeepGoing)
{
    for (int length : {3000, 4095, 4096, 4097, 9000}) {
        SetUp();
        std::vector<uint8_t> record(static_cast<std::size_t>(length), 0xC1);
        record[0] = 0xF5;
        record[1] = 0xC3;
        record.at(2 + 1920) = 0xC2;  // the first byte of the second lap lands on address 0
        Process3270Stream(nullptr, record.data(), length, 1);
        EXPECT_EQ(EbcdicAt(0), length - 2 > 3840 ? 0xC1 : 0xC2) << length;
        EXPECT_EQ(Tn3270State.BufferAddress, (length - 2) % 1920);
        TearDown();
    }
}

TEST_F(OutboundStream, ReadCommandsAnswerAtOnce)
{
    Feed("F5 C3 1D E0 'AB' 11 40 4A 13");
    FakeCalls.sent.clear();
    Feed("F2");
    const auto records = FakeCalls.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].size(), 3u + 2u + 1919u);
    EXPECT_EQ(Hex3270({records[0].begin(), records[0].begin() + 8}), "60 40 4A 1D 60 C1 C2 00");
    EXPECT_EQ(Tn3270State.AtRecordStart, 1);

    FakeCalls.sent.clear();
    Feed("0E");
    EXPECT_TRUE(FakeCalls.sent.empty());
    ASSERT_EQ(FakeCalls.messages.size(), 1u);
    EXPECT_EQ(FakeCalls.messages[0], "Unexpected read command code 0xe received.\n");
}

TEST_F(OutboundStream, AnswersNeverLoseBytesWhenTheNetworkIsFull)
{
    Feed("F5 C3 'DATA'");
    FakeCalls.takeLimit = 100;
    Feed("F2");
    std::size_t sent = 0;
    for (const auto& r : FakeCalls.sent) sent += r.bytes.size();
    EXPECT_LT(sent, 1923u);
    EXPECT_GT(Inbound3270Queued(), 0);
    FakeCalls.takeLimit = -1;
    Feed("F1 C2");
    const auto records = FakeCalls.Records();
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records[0].size(), 1923u);
    EXPECT_EQ(Hex3270({records[0].begin(), records[0].begin() + 7}), "60 40 40 C4 C1 E3 C1");
    EXPECT_EQ(Inbound3270Queued(), 0);
}

TEST_F(OutboundStream, QueryReplyIsByteExactPerModel)
{
    struct Model {
        int terminal;
        const char* colours;  // the seven colour pairs
        const char* area;     // width, height ... buffer size
    };
    const Model models[] = {
        {16, "F1 00 F2 00 F3 00 F4 00 F5 00 F6 00 F7 00", "00 50 00 18 00 00 02 00 89 00 02 00 85 09 10 07 80"},
        {21, "F1 F1 F2 F2 F3 F3 F4 F4 F5 F5 F6 F6 F7 F7", "00 50 00 20 00 00 02 00 89 00 02 00 85 09 10 0A 00"},
        {18, "F1 00 F2 00 F3 00 F4 00 F5 00 F6 00 F7 00", "00 50 00 2B 00 00 02 00 89 00 02 00 85 09 10 0D 70"},
        {23, "F1 F1 F2 F2 F3 F3 F4 F4 F5 F5 F6 F6 F7 F7", "00 84 00 1B 00 00 02 00 89 00 02 00 85 09 10 0D EC"},
    };
    Feed("F5 C3 1D C1");
    for (const Model& m : models) {
        SCOPED_TRACE(m.terminal);
        Rec->Terminal3270 = m.terminal;
        FakeCalls.sent.clear();
        Feed("F3 01 05 01 FF 02");  // 01: a length byte, not a WCC that resets modified tags
        const std::string expected = std::string("88 00 16 81 86 00 08 00 F4 ") + m.colours +
                                     " 00 0D 81 87 04 00 F0 F1 F1 F2 F2 F4 F4 00 17 81 81 04 00 " + m.area +
                                     " 00 10 81 85 00 00 09 10 00 00 00 00 03 00 00 00";
        ASSERT_EQ(FakeCalls.sent.size(), 1u);
        EXPECT_EQ(FakeCalls.sent[0].endOfRecord, 1);
        EXPECT_EQ(Hex3270(FakeCalls.sent[0].bytes), expected);
        EXPECT_EQ(FakeCalls.sent[0].bytes.size(), static_cast<std::size_t>(kQueryReplyLength));
        EXPECT_EQ(Tn3270State.AtRecordStart, 1) << "the next piece is a new record";
    }
    EXPECT_EQ(Fields3270Text(), "0,0:C1");
}

TEST_F(OutboundStream, WriteControlCharacter)
{
    Feed("F5 40 1D C1 'A' 1D E1");
    EXPECT_EQ(Tn3270State.KeyboardUnlocked, 1) << "unlocked since start";
    Tn3270State.KeyboardUnlocked = 0;
    Tn3270State.PendingAid = 0x7D;
    Feed("F1 40 'B'");
    EXPECT_EQ(Tn3270State.KeyboardUnlocked, 0) << "no restore bit";
    EXPECT_EQ(Fields3270Text(), "0,0:C1 0,2:E1") << "no reset bit";
    Feed("F1 07");
    EXPECT_EQ(Fields3270Text(), "0,0:C0 0,2:E0");
    EXPECT_EQ(Tn3270State.KeyboardUnlocked, 1);
    EXPECT_EQ(Tn3270State.PendingAid, 0);
    EXPECT_EQ(FakeCalls.beeps, 1);
    EXPECT_EQ(FakeCalls.LastStatus(2), "[0%] ");
}

TEST_F(OutboundStream, RepaintCoversWhatChanged)
{
    Feed("F5 C3 1D E0 'ABC'");
    FakeCalls.invalidated.clear();
    Feed("F1 C3 11 C1 E5 'XY'");  // row 1, columns 21-22
    ASSERT_EQ(FakeCalls.invalidated.size(), 1u);
    EXPECT_EQ(FakeCalls.invalidated[0], (std::vector<int>{21 * 8, 16, 23 * 8, 32}));

    FakeCalls.invalidated.clear();
    Feed("F1 C3 11 40 40 1D E0");  // the same attribute again: nothing to repaint
    EXPECT_TRUE(FakeCalls.invalidated.empty());

    Feed("F1 C3 11 40 40 'Z'");  // over the attribute: every row
    ASSERT_EQ(FakeCalls.invalidated.size(), 1u);
    EXPECT_EQ(FakeCalls.invalidated[0], (std::vector<int>{0, 0, 80 * 8, 24 * 16}));
    EXPECT_EQ(Fields3270Text(), "");
}

TEST_F(OutboundStream, BoxesBecomeLineGraphics)
{
    Rec->BoxEnable32 = 1;
    // A box over rows 0-3 and columns 0-4, and a one-cell bar between two corners at column 26.
    Feed("F5 C3 4E 60 60 60 4E 11 C1 50 6A 11 C1 D4 6A 11 C2 60 6A 11 C2 E4 6A 11 C3 F0 4E 60 60 60 4E"
         " 11 40 5A 4E 11 C1 6A 6A 11 C2 7A 4E");
    EXPECT_EQ(Row3270Text(0), "l---k" + std::string(21, ' ') + "+");
    EXPECT_EQ(Row3270Text(1), "x   x" + std::string(21, ' ') + "\xA6");  // the broken bar
    EXPECT_EQ(Row3270Text(2), "x   x" + std::string(21, ' ') + "+");
    EXPECT_EQ(Row3270Text(3), "m---j");
    EXPECT_EQ(Flags3270()[1], kCellLine);
    EXPECT_EQ(Flags3270()[80 + 26], 0) << "a single bar stays a character";

    Feed("F5 C3 60 11 5A 50 4E 11 5B 60 6A 11 5C F0 6A");  // a lone '-', bars running off the screen
    EXPECT_EQ(Flags3270()[0], 0);
    EXPECT_EQ(Row3270Text(21), "+");
    EXPECT_EQ(Row3270Text(23), "\xA6");
}

}  // namespace
