// The field model: searches on formatted and unformatted screens, the cell writers and the hook
// that lets the screen-text copy hide non-display fields.
#include "engine/ibm3270/status_view.h"
#include "tn3270_fixture.h"

namespace {

using FieldModel = Tn3270Test;

TEST_F(FieldModel, UnformattedScreenHasNoFields)
{
    Feed("F5 C3 'TEXT'");
    uint8_t attribute, colour, highlight;
    EXPECT_EQ(Get3270FieldAttribute(5, attribute, colour, highlight), 0);
    EXPECT_EQ(attribute, 0xE0);
    EXPECT_EQ(Is3270Protected(5), 0);
    EXPECT_EQ(Is3270InputPosition(5), 0);
    EXPECT_EQ(Next3270Field(5), 0);
    SetFieldModified(5, 1);
    EXPECT_EQ(Fields3270Text(), "");
}

TEST_F(FieldModel, FieldsWrapAroundTheBufferEnd)
{
    Feed("F5 C3 11 5D 7F 29 03 C0 C1 42 F5 41 F4 11 40 4A 1D E0");  // attribute on the last address
    uint8_t attribute, colour, highlight;
    struct Probe {
        int address, field;
        uint8_t attribute;
    };
    for (const Probe& p : {Probe{0, 1919, 0xC1}, Probe{9, 1919, 0xC1}, Probe{10, 10, 0xE0}, Probe{11, 10, 0xE0},
                           Probe{1918, 10, 0xE0}, Probe{1919, 1919, 0xC1}}) {
        EXPECT_EQ(Get3270FieldAttribute(p.address, attribute, colour, highlight), p.field) << p.address;
        EXPECT_EQ(attribute, p.attribute) << p.address;
    }
    Get3270FieldAttribute(3, attribute, colour, highlight);
    EXPECT_EQ(colour, 0xF5);
    EXPECT_EQ(highlight, kCellUnderscore);
    EXPECT_EQ(Next3270Field(1919), 10);
    EXPECT_EQ(Previous3270Field(10), 1919);
    EXPECT_EQ(Is3270InputPosition(0), 1);
    EXPECT_EQ(Is3270InputPosition(1919), 0);
    EXPECT_EQ(Is3270Protected(500), kFaProtected);
    SetFieldModified(5, 0);
    EXPECT_EQ(AttributeAt(1919), 0xC0);
}

TEST_F(FieldModel, LineCellsFromUnderscoresAndDashPairs)
{
    Feed("F5 C3 6D 40 60 40 60 60 60");  // _ blank - blank - - -
    const uint8_t* flags = Flags3270();
    const uint8_t expected[] = {kCellLine, 0, 0, 0, kCellLine, kCellLine, kCellLine};
    for (int a = 0; a < 7; ++a) EXPECT_EQ(flags[a], expected[a]) << a;
}

TEST_F(FieldModel, ExtendedAttributePairs)
{
    struct Pair {
        uint8_t type, value;
        const char* fields;
    };
    const Pair pairs[] = {
        {0x41, 0xF1, "0,0:C0/h40"}, {0x41, 0xF2, "0,0:C0/h60"}, {0x41, 0xF4, "0,0:C0/h61"},
        {0x41, 0xF7, "0,0:C0/h61"}, {0x42, 0xF6, "0,0:C0/cF6/h61"}, {0xC0, 0x2C, "0,0:EC/cF6/h61"},
        {0x41, 0x00, "0,0:EC/cF6"}, {0x99, 0x12, "0,0:EC/cF6"},      {0x00, 0x00, "0,0:EC"},
    };
    Feed("F5 C3 1D 00");
    for (const Pair& p : pairs) {
        ApplyExtendedAttribute(0, p.type, p.value);
        EXPECT_EQ(Fields3270Text(), p.fields) << std::hex << int(p.type) << " " << int(p.value);
    }
}

TEST_F(FieldModel, ScreenTextHidesNonDisplayFields)
{
    EXPECT_EQ(PlaneHooks.fieldAttribute, &FieldAttributeOf);
    Feed("F5 C3 1D 4C 'SECRET' 1D 40 'SHOWN'");
    ScreenTextRequest request{};
    request.width = 14;
    request.height = 1;
    char text[32];
    GetScreenText(*Rec, text, sizeof text, request);
    EXPECT_STREQ(text, "        SHOWN ");
}

TEST_F(FieldModel, ResetLocksAndForgetsTheOldConnection)
{
    Feed("F5 C3 1D C0 13 'A'");
    Keys("x%32enter%");
    Feed("F1 C3 11 40 40", 0);
    Reset3270State();
    EXPECT_EQ(Tn3270State.KeyboardUnlocked, 0);
    EXPECT_EQ(Tn3270State.AidPending, 0);
    EXPECT_EQ(Tn3270State.AtRecordStart, 1);
    EXPECT_EQ(FakeCalls.LastStatus(2), "[100%] Keyboard locked");
    Feed("F5 C3 'NEW'");
    EXPECT_EQ(Row3270Text(0), "NEW") << "the next connection's first record starts with its command";
}

}  // namespace
