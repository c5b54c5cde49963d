// The Terminal, 3270 and first-time setup dialogs' window-free side: the members taken from the
// record and stored back, the rows rule, and the first-time lists by family with what OK stores.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "dialogs/first_time_setup_values.h"
#include "dialogs/terminal_settings_values.h"
#include "engine/charsets.h"

namespace {

std::unique_ptr<SettingsRecord> Record()
{
    auto rec = std::make_unique<SettingsRecord>();
    rec->Terminal = 2;
    rec->Charset = 3;
    rec->ControlChar = 2;
    rec->DecCNM = 1;
    rec->CursorStyle = 2;
    rec->MaxCols = 132;
    rec->MaxRows = 25;
    rec->HistoryRows = 100;
    std::strcpy(rec->AnswerBack, "tolvi");
    std::strcpy(rec->Tabs, "1,9,17");
    rec->Terminal3270 = 18;
    rec->Charset3270 = 9;
    rec->Platform = 10;
    rec->Country = 46;
    return rec;
}

TEST(TerminalSettingsValues, RecordValuesRoundTripThroughTheMembers)
{
    auto rec = Record();
    const TerminalSettingsValues v = TerminalValuesFrom(*rec);
    EXPECT_EQ(v.controlChar, 1);
    EXPECT_EQ(v.decCnm, 1);
    EXPECT_EQ(v.cursorStyle, 2);
    EXPECT_EQ(v.columns, 1);
    EXPECT_EQ(v.rows, 1);
    EXPECT_EQ(v.answerBack, "tolvi");
    EXPECT_EQ(v.tabs, "1,9,17");
    auto copy = std::make_unique<SettingsRecord>(*rec);
    EXPECT_FALSE(StoreTerminalValues(v, *copy));
    EXPECT_EQ(std::memcmp(copy.get(), rec.get(), sizeof *rec), 0);
    EXPECT_EQ(StoredColumns(v, *rec), 132);
    EXPECT_EQ(StoredRows(v, *rec), 25);
}

TEST(TerminalSettingsValues, ChoicesAndTextsReachTheirSettings)
{
    auto rec = Record();
    TerminalSettingsValues v = TerminalValuesFrom(*rec);
    v.terminal = 4, v.controlChar = 0, v.decCnm = -1, v.columns = 0, v.rows = 0;
    v.answerBack = std::string(32, 'a');
    v.tabs = std::string(255, '9');
    EXPECT_TRUE(StoreTerminalValues(v, *rec));
    EXPECT_EQ(rec->Terminal, 4);
    EXPECT_EQ(rec->ControlChar, 1);
    EXPECT_EQ(rec->DecCNM, 1);  // no choice: kept
    EXPECT_EQ(std::string(rec->AnswerBack), std::string(32, 'a'));
    EXPECT_EQ(std::strlen(rec->Tabs), 255u);
    EXPECT_EQ(StoredColumns(v, *rec), 80);
    EXPECT_EQ(StoredRows(v, *rec), 24);
    // The screen size is not stored by the values: the caller switches the planes' width.
    EXPECT_EQ(rec->MaxCols, 132);
    EXPECT_EQ(rec->MaxRows, 25);
}

TEST(TerminalSettingsValues, RowsRule)
{
    for (long emulation : {1L, 2L, 3L, 7L, 8L, 9L, 10L, 11L, 12L}) EXPECT_EQ(RowsChoiceForEmulation(emulation), 0) << emulation;
    for (long emulation : {4L, 5L, 6L}) EXPECT_EQ(RowsChoiceForEmulation(emulation), 1) << emulation;
}

// The 3270 values carry no screen size: on a 32-row model 3 screen OK leaves the rows alone.
TEST(TerminalSettingsValues, The3270ValuesLeaveTheScreenSize)
{
    auto rec = Record();
    rec->MaxRows = 32;
    rec->MaxCols = 80;
    Terminal3270Values v = Terminal3270ValuesFrom(*rec);
    EXPECT_EQ(v.model, 18);
    EXPECT_EQ(v.national, 9);
    v.model = 17, v.national = 23, v.historyRows = 0, v.localEcho = 1;
    StoreTerminal3270Values(v, *rec);
    EXPECT_EQ(rec->Terminal3270, 17);
    EXPECT_EQ(rec->Charset3270, 23);
    EXPECT_EQ(rec->HistoryRows, 0);
    EXPECT_EQ(rec->LocalEcho, 1);
    EXPECT_EQ(rec->MaxRows, 32);
    EXPECT_EQ(rec->MaxCols, 80);
}

TEST(FirstTimeSetupValues, ListsByFamily)
{
    auto rec = Record();
    const FirstTimeLists character = FirstTimeListsFor(false, *rec);
    EXPECT_EQ(character.platform.table, &kPlatformTable);
    EXPECT_EQ(character.platform.selected, 10);
    EXPECT_EQ(character.terminal.table, &kEmulationTable);
    EXPECT_EQ(character.terminal.selected, 2);
    EXPECT_EQ(character.charset.table, &kCharsetTable);
    EXPECT_EQ(character.charset.selected, 3);

    const FirstTimeLists mainframe = FirstTimeListsFor(true, *rec);
    EXPECT_EQ(mainframe.platform.selected, kMainframePlatform);
    EXPECT_EQ(mainframe.terminal.table, &kModel3270Table);
    EXPECT_EQ(mainframe.terminal.selected, 16);
    EXPECT_EQ(mainframe.charset.table, &kNationalTable);
    EXPECT_EQ(mainframe.charset.selected, NationalSetForCountry(46) + 4);
    EXPECT_GE(kNationalTable.IndexOf(mainframe.charset.selected), 0);
}

TEST(FirstTimeSetupValues, OkStoresTheFamilysChoiceAndRows)
{
    auto rec = Record();
    FirstTimeSetupValues v = FirstTimeValuesFrom(*rec);
    v.terminal = 4;  // SCO Console ansi: 25 rows
    FirstTimeChanges changes = StoreFirstTimeValues(v, *rec);
    EXPECT_EQ(rec->Terminal, 4);
    EXPECT_EQ(rec->MaxRows, 25);
    EXPECT_TRUE(changes.emulationFiles);
    EXPECT_FALSE(changes.translateTables);

    v.terminal = 1, v.charset = 2;
    changes = StoreFirstTimeValues(v, *rec);
    EXPECT_EQ(rec->MaxRows, 24);
    EXPECT_TRUE(changes.translateTables);

    FirstTimeSetupValues mainframe;
    mainframe.family3270 = 1;
    mainframe.platform = 9, mainframe.terminal = 20, mainframe.charset = 7;
    StoreFirstTimeValues(mainframe, *rec);
    EXPECT_EQ(rec->TerminalFamily3270, 1);
    EXPECT_EQ(rec->Platform, 9);
    EXPECT_EQ(rec->Terminal3270, 20);
    EXPECT_EQ(rec->Charset3270, 7);
    EXPECT_EQ(rec->Terminal, 1);  // the character-cell emulation is not touched
    EXPECT_EQ(rec->MaxRows, 24);
}

}  // namespace
