// Keystroke strings through the keyboard functions: typing into fields, cursor movement, erasing,
// attention keys and the inbound records they send.
#include "engine/ibm3270/inbound_records.h"
#include "engine/ibm3270/status_view.h"
#include "tn3270_fixture.h"

namespace {

using Keyboard = Tn3270Test;

// Protected "Name:" at 1-5, an input field 7-19, a protected field from 21; cursor 7.
const char* const kNameScreen = "F5 C3 1D E0 'Name:' 1D C0 13 11 40 54 1D E0";
// Input fields 1-9 and 17-25, protected 11-15, auto-skip from 27; cursor 1.
const char* const kTwoFields = "F5 C3 1D C0 11 40 4A 1D E0 11 40 50 1D C0 11 40 5A 1D F0 11 40 C1 13";

struct KeyCase {
    const char* name;
    const char* screen;
    const char* keys;
    std::vector<std::string> records;
    const char* row0;
    int cursor;
    const char* status;  // last text of status pane 1
};

TEST_F(Keyboard, KeyStringsEditAndSend)
{
    const KeyCase cases[] = {
        {"typing and enter", kNameScreen, "abc%32enter%", {"7D 40 4A 11 40 C7 81 82 83"}, " Name: abc", 10, ""},
        {"a locked keyboard loses keys", kNameScreen, "a%32enter%b", {"7D 40 C8 11 40 C7 81"}, " Name: a", 8,
         "Keyboard Locked"},
        {"reset unlocks once the record went", kNameScreen, "%32enter%%32reset%x", {"7D 40 C7"}, " Name: x", 8, ""},
        {"nulls inside a field go as blanks", kNameScreen, "a%32right%%32right%b%32enter%",
         {"7D 40 4B 11 40 C7 81 40 40 82"}, " Name: a  b", 11, ""},
        {"PA1 is a short read", kNameScreen, "ab%32PA1%", {"6C"}, " Name: ab", 9, ""},
        {"CLEAR empties the buffer", kNameScreen, "ab%32CLEAR%", {"6D"}, "", 0, ""},
        {"TEST has no cursor or field addresses", kNameScreen, "abc%32TEST%", {"01 6C 61 02 81 82 83"}, " Name: abc",
         10, ""},
        {"PF24", kNameScreen, "%32PF24%", {"4C 40 C7"}, " Name:", 7, ""},
        {"PF10 without its closing % is text", kNameScreen, "%32PF10", {}, " Name: %32PF10", 14, ""},
        {"cursor sequence", kNameScreen, "%32cp9:1%Q", {}, " Name:  Q", 9, ""},
        {"cursor sequence with column 0 is text", kNameScreen, "%32cp0:1%", {}, " Name: %32cp0:1%", 16, ""},
        {"protected field", kNameScreen, "%32cp2:1%x", {}, " Name:", 1, "Protected Field"},
        {"start of field", kNameScreen, "%32cp1:1%x", {}, " Name:", 0, "Start of Field"},
        {"insert into a full field", kNameScreen, "abcdefghijklm%32home%%32ins%Z", {}, " Name: abcdefghijklm", 7,
         "Field Full"},
        {"insert shifts the field right", kNameScreen, "abc%32left%%32left%%32ins%Z", {}, " Name: aZbc", 9, ""},
        {"delete pulls the field left", kNameScreen, "abc%32left%%32left%%32del%", {}, " Name: ac", 8, ""},
        {"erase to end of field", kNameScreen, "abcd%32left%%32left%%32eeof%", {}, " Name: ab", 9, ""},
        {"erase input homes the cursor", kNameScreen, "abc%32einp%", {}, " Name:", 7, ""},
        {"tab through t and tab", kTwoFields, "%32t%A%32tab%B", {}, " B               A", 2, ""},
        {"back tab", kTwoFields, "%32btab%C", {}, "                 C", 18, ""},
        {"the last character before an auto-skip field tabs", kTwoFields, "%32t%ABCDEFGHI", {},
         "                 ABCDEFGHI", 1, ""},
        {"new line and home", kNameScreen, "%32nl%", {}, " Name:", 7, ""},
        {"field mark", kNameScreen, "%32fm%", {}, " Name: \x1E", 8, ""},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Feed(c.screen);
        FakeCalls = Fake3270Calls{};
        Keys(c.keys);
        EXPECT_EQ(InboundHex(), c.records);
        EXPECT_EQ(Row3270Text(0), c.row0);
        EXPECT_EQ(Cursor(), c.cursor);
        EXPECT_EQ(FakeCalls.LastStatus(1), c.status);
        TearDown();
    }
}

TEST_F(Keyboard, HomeAndMarginStayOnAScreenThatShrank)
{
    Tn3270State.AltRows3270 = 27;
    Tn3270State.AltColumns3270 = 132;
    Feed("7E C3 2B 5B E3 5A C0");  // home row 26, left margin 128
    EXPECT_EQ(Tn3270State.HomeRow, 26);
    Feed("F5 C3 1D C0");
    Keys("%32home%");
    EXPECT_EQ(Cursor(), 23 * 80);
    Keys("%32cp80:23%%32nl%");
    EXPECT_EQ(Cursor(), 23 * 80 + 79);
}

TEST_F(Keyboard, NumericFieldsTakeDigitsOnly)
{
    Feed("F5 C3 1D D0 13");
    Keys("a");
    EXPECT_EQ(FakeCalls.LastStatus(1), "Numeric Field");
    Keys("1.-,");
    EXPECT_EQ(Row3270Text(0), " 1.-,");
    EXPECT_EQ(Do3270KeyFunction(0, 6), 1);
    EXPECT_EQ(FakeCalls.LastStatus(1), "Function not implemented");
}

TEST_F(Keyboard, ShortReadAidsUnderReadModifiedAndReadModifiedAll)
{
    Feed(kNameScreen);
    Keys("xy%32PA2%");
    Feed("06");
    Feed("6E");
    EXPECT_EQ(InboundHex(), (std::vector<std::string>{"6E", "6E", "6E 40 C9 11 40 C7 A7 A8"}));
}

TEST_F(Keyboard, CursorSelect)
{
    Feed("F5 C3 1D E8 6F 11 40 C5 1D E8 50 'GO' 11 40 C2 13");
    Keys("%32cursel%");
    EXPECT_EQ(Row3270Text(0), " >    &GO");
    EXPECT_EQ(Fields3270Text(), "0,0:E9 0,5:E8");
    Keys("%32cp7:1%%32cursel%");
    EXPECT_EQ(InboundHex(), (std::vector<std::string>{"7D 40 C6 11 40 C1 6E 11 40 C6 50 C7 D6"}));
    ResetFake3270Calls();
    Feed("F5 C3 1D E0 'X' 13");
    Keys("%32cursel%");
    EXPECT_EQ(FakeCalls.LastStatus(1), "Cursor not in selectable field");
}

TEST_F(Keyboard, EraseUnprotectedMarksFieldsModified)
{
    Feed(kNameScreen);
    Keys("abc%32eunp%");
    EXPECT_EQ(Row3270Text(0), " Name:");
    EXPECT_EQ(Fields3270Text(), "0,0:E0 0,6:C1 0,20:E0");
}

TEST_F(Keyboard, AnUnsentRecordGoesOutBeforeAnyOtherKey)
{
    Feed(kNameScreen);
    FakeCalls.takeLimit = 4;
    Keys("abc%32enter%");
    EXPECT_EQ(Tn3270State.AidPending, 1);
    Keys("x");
    EXPECT_EQ(Tn3270State.AidPending, 1) << "four more bytes went, one is left";
    FakeCalls.takeLimit = -1;
    Keys("x");
    EXPECT_EQ(Tn3270State.AidPending, 0);
    EXPECT_EQ(InboundHex(), (std::vector<std::string>{"7D 40 4A 11 40 C7 81 82 83"}));
    EXPECT_EQ(FakeCalls.LastStatus(1), "Keyboard Locked");
    EXPECT_EQ(Row3270Text(0), " Name: abc") << "the refused keys changed nothing";
}

TEST_F(Keyboard, MousePositioningAndItsDiagnostic)
{
    Feed(kNameScreen);
    struct Click {
        int row, column, cursor;
        const char* status;
    };
    const Click clicks[] = {
        {0, 3, 7, "4:1(3) Scr:6D/94, Att:0, Fnt:0, Col:0"},
        {0, 20, 7, "21:1(20) Scr:20/40, Att:E0p, Fnt:0, Col:0"},
        {0, 9, 9, "10:1(9) Scr:0/0, Att:0, Fnt:0, Col:0"},
        {24, 0, 9, "10:1(9) Scr:0/0, Att:0, Fnt:0, Col:0"},  // outside the buffer: nothing
    };
    for (const Click& c : clicks) {
        Move3270Cursor(nullptr, c.row, c.column);
        EXPECT_EQ(Cursor(), c.cursor);
        EXPECT_EQ(FakeCalls.LastStatus(1), c.status);
    }
    Rec->MouseToProtected = 1;
    Move3270Cursor(nullptr, 0, 3);
    EXPECT_EQ(Cursor(), 3);
    Keys("%32enter%");
    Move3270Cursor(nullptr, 0, 9);
    EXPECT_EQ(Cursor(), 3);
    EXPECT_EQ(FakeCalls.LastStatus(1), "Keyboard Locked");
}

}  // namespace
