// The defaults of the session record: the tables, the computed defaults, their
// order around the plane allocation, and what the defaults keep.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/charsets.h"
#include "engine/colors.h"
#include "engine/screen_actions.h"
#include "engine/screen_planes.h"
#include "fake_platform.h"
#include "shell/record_defaults.h"
#include "session/document_strings.h"
#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

// ---- Allocation stand-ins that look at the record when the defaults reach the planes.

struct AllocationView {
    int calls = 0;
    int historyRows = -1;
    int maxCols = 0;
    int maxRows = 0;
    int dynamicWidth = 0;
    int scrollBottom = 0;
    int attr0Fg = 0;
    int attr3270Entry36Fg = 0;
    uint32_t lightWhite = 0;
    int cellWidth = 0;
    int baudRateLong = 0;
    std::string hostName;
    int comType = 0;
    int tabStopCount = 0;
};

AllocationView seen;

int RecordingAllocator(SettingsRecord& rec)
{
    ++seen.calls;
    seen.historyRows = rec.HistoryRows;
    seen.maxCols = rec.MaxCols;
    seen.maxRows = rec.MaxRows;
    seen.dynamicWidth = rec.DynamicWidth;
    seen.scrollBottom = rec.ScrollBottom;
    seen.attr0Fg = rec.AttrColors[0][kAttrFg];
    seen.attr3270Entry36Fg = rec.Attr3270Colors[36][kAttrFg];
    seen.lightWhite = rec.LightWhite;
    seen.cellWidth = rec.CellWidth;
    seen.baudRateLong = rec.BaudRateLong;
    seen.hostName = rec.HostName;
    seen.comType = rec.ComType;
    seen.tabStopCount = rec.TabStopCount;
    return 1;
}

int FailingAllocator(SettingsRecord&) { return 0; }

class RecordDefaults : public testing::Test {
protected:
    void SetUp() override
    {
        seen = AllocationView{};
        rec.reset(new SettingsRecord());
        std::memset(&tables, 0, sizeof tables);
    }

    bool Defaults(bool newConfiguration = false, bool has3270Section = true,
                  ScreenAllocator allocate = &RecordingAllocator)
    {
        return SetRecordDefaults(*rec, newConfiguration, has3270Section, allocate, tables);
    }

    FakePlatform platform;
    ScopedPlatform installed{platform};
    std::unique_ptr<SettingsRecord> rec;
    TranslateTables tables;
};

// ---- Legacy speed codes.

struct BaudCase {
    int given;
    int expected;
};

void PrintTo(const BaudCase& c, std::ostream* os) { *os << "baud" << c.given; }

class LegacyBaudRate : public testing::TestWithParam<BaudCase> {};

TEST_P(LegacyBaudRate, Maps)
{
    EXPECT_EQ(MapLegacyBaudRate(GetParam().given), GetParam().expected) << GetParam().given;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LegacyBaudRate,
    testing::Values(BaudCase{-234, 9600},    // 0xFF16
                    BaudCase{-225, 56000},   // 0xFF1F
                    BaudCase{-221, 115200},  // 0xFF23
                    BaudCase{-240, 110},     // 0xFF10
                    BaudCase{-239, 300}, BaudCase{-238, 600}, BaudCase{-237, 1200},
                    BaudCase{-236, 2400}, BaudCase{-235, 4800}, BaudCase{-233, 14400},
                    BaudCase{-232, 19200}, BaudCase{-229, 38400},  // 0xFF1B
                    BaudCase{-217, 256000},                        // 0xFF27
                    BaudCase{-231, -231},  // 0xFF19: not a code, stays
                    BaudCase{-1, -1}, BaudCase{-65536 - 234, 9600},  // only the low 16 bits count
                    BaudCase{static_cast<int>(0x8000FF16u), 9600}, BaudCase{9600, 9600},
                    BaudCase{0, 0}, BaudCase{0xFF16, 0xFF16}));  // positive: no lookup

TEST_F(RecordDefaults, BaudRateIsMappedAndCopied)
{
    rec->BaudRate = -234;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(rec->BaudRate, 9600);
    EXPECT_EQ(rec->BaudRateLong, 9600);
    EXPECT_EQ(rec->WriteTotalTimeoutConstant, 3000);

    rec->BaudRate = -5;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(rec->BaudRate, -5);
    EXPECT_EQ(rec->BaudRateLong, -5);
}

// ---- Fonts by screen width.

struct FontCase {
    int width;
    const char* face;
    int charSet;
    int height80;
    int weight80;
    int height132;
    int weight132;
};

void PrintTo(const FontCase& c, std::ostream* os) { *os << "width" << c.width; }

class DefaultFonts : public testing::TestWithParam<FontCase> {};

TEST_P(DefaultFonts, FollowTheScreenWidth)
{
    const FontCase& c = GetParam();
    std::unique_ptr<SettingsRecord> rec(new SettingsRecord());
    std::memset(&rec->CurrentFont, 0x5A, sizeof rec->CurrentFont);
    SetDefaultFonts(*rec, c.width);

    EXPECT_STREQ(rec->Font80Cols.FaceName, c.face);
    EXPECT_EQ(rec->Font80Cols.CharSet, c.charSet);
    EXPECT_EQ(rec->Font80Cols.Height, c.height80);
    EXPECT_EQ(rec->Font80Cols.Weight, c.weight80);
    EXPECT_EQ(rec->Font80Cols.PitchAndFamily, 0x31);
    EXPECT_EQ(rec->Font80Cols.Width, 0);
    EXPECT_EQ(rec->Font80Cols.Italic, 0);

    EXPECT_STREQ(rec->Font132Cols.FaceName, c.face);
    EXPECT_EQ(rec->Font132Cols.CharSet, c.charSet);
    EXPECT_EQ(rec->Font132Cols.Height, c.height132);
    EXPECT_EQ(rec->Font132Cols.Weight, c.weight132);
    EXPECT_EQ(rec->Font132Cols.PitchAndFamily, 0x31);

    // CurrentFont keeps the 132-column values.
    EXPECT_EQ(std::memcmp(&rec->CurrentFont, &rec->Font132Cols, sizeof(LogFont)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, DefaultFonts,
    testing::Values(FontCase{640, "Courier New", 0, -13, 0, -7, 0},
                    FontCase{800, "Courier New", 0, -16, 700, -9, 700},
                    FontCase{1024, "Courier New", 0, -20, 700, -12, 700},
                    FontCase{1152, "Courier New", 0, -24, 700, -13, 700},
                    FontCase{1280, "Courier New", 0, -27, 700, -15, 700},
                    FontCase{1600, "Courier New", 0, -33, 700, -20, 700},
                    FontCase{1920, "Courier New", 0, -16, 700, -9, 700},
                    FontCase{1366, "Courier New", 0, -16, 700, -9, 700},
                    // Below 640: "System"; the non-640 branch then sets character set 0.
                    FontCase{320, "System", 0, -16, 700, -9, 700},
                    FontCase{639, "System", 0, -16, 700, -9, 700}));

TEST_F(RecordDefaults, FontsComeFromThePlatformWidth)
{
    platform.screenWidth = 1024;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(rec->Font80Cols.Height, -20);
    EXPECT_EQ(rec->Font80Cols.Weight, 700);
    EXPECT_EQ(rec->Font132Cols.Height, -12);
    EXPECT_EQ(rec->Font132Cols.Weight, 700);

    platform.screenWidth = 640;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(rec->Font80Cols.Height, -13);
    EXPECT_EQ(rec->CurrentFont.Height, -7);
}

// ---- Attribute colours.

TEST_F(RecordDefaults, AttrColorsTable)
{
    for (auto& entry : rec->AttrColors) entry[kAttrThird] = 77;
    ASSERT_TRUE(Defaults());
    const int expected[20][2] = {{3, 9},   {13, 9},  {16, 3},  {9, 13},  {6, 9},
                                 {16, 9},  {9, 6},   {17, 18}, {17, 18}, {17, 18},
                                 {17, 18}, {17, 18}, {17, 18}, {17, 18}, {17, 18},
                                 {17, 18}, {18, 9},  {7, 9},   {9, 12},  {9, 12}};
    for (int e = 0; e < 20; ++e) {
        EXPECT_EQ(rec->AttrColors[e][kAttrFg], expected[e][0]) << "entry " << e;
        EXPECT_EQ(rec->AttrColors[e][kAttrBg], expected[e][1]) << "entry " << e;
        EXPECT_EQ(rec->AttrColors[e][kAttrThird], 77) << "the third int is left alone";
    }
}

struct Attr3270Case {
    int entry;
    int fg;
    int bg;
};

void PrintTo(const Attr3270Case& c, std::ostream* os) { *os << "entry" << c.entry; }

class Attr3270Rule : public testing::TestWithParam<Attr3270Case> {};

TEST_P(Attr3270Rule, Entry)
{
    std::unique_ptr<SettingsRecord> rec(new SettingsRecord());
    SetDefaultAttrColors(*rec);
    BuildDefaultAttr3270Colors(*rec);
    const Attr3270Case& c = GetParam();
    EXPECT_EQ(rec->Attr3270Colors[c.entry][kAttrFg], c.fg) << "entry " << c.entry;
    EXPECT_EQ(rec->Attr3270Colors[c.entry][kAttrBg], c.bg) << "entry " << c.entry;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Attr3270Rule,
    testing::Values(
        // unprotected: background 18 blinking, 3 reversed, else 19; fg by k 3,13,16,16,7,17..
        Attr3270Case{0, 3, 19}, Attr3270Case{1, 13, 19}, Attr3270Case{2, 16, 3},
        Attr3270Case{3, 16, 3}, Attr3270Case{4, 7, 19}, Attr3270Case{5, 17, 19},
        Attr3270Case{7, 17, 3}, Attr3270Case{8, 3, 18}, Attr3270Case{10, 16, 18},
        Attr3270Case{15, 17, 18},
        // numeric unprotected equals unprotected
        Attr3270Case{16, 3, 19}, Attr3270Case{18, 16, 3}, Attr3270Case{31, 17, 18},
        // protected: background 18 blinking, 6 reversed, else 9; fg by k 3,6,19,19,7,17..
        Attr3270Case{32, 3, 9}, Attr3270Case{33, 6, 9}, Attr3270Case{34, 19, 6},
        Attr3270Case{35, 19, 6}, Attr3270Case{36, 9, 12},  // Protected Underline override
        Attr3270Case{37, 17, 9}, Attr3270Case{40, 3, 18}, Attr3270Case{42, 19, 18},
        Attr3270Case{47, 17, 18}));

TEST_F(RecordDefaults, Attr3270NumericEntriesEqualUnprotectedAndThirdIntIsCopied)
{
    for (int e = 0; e < 20; ++e) rec->AttrColors[e][kAttrThird] = 100 + e;
    rec->Attr3270Colors[50][kAttrFg] = 5;  // entries 48-57 keep their values
    ASSERT_TRUE(Defaults());
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(rec->Attr3270Colors[16 + i][kAttrFg], rec->Attr3270Colors[i][kAttrFg]) << i;
        EXPECT_EQ(rec->Attr3270Colors[16 + i][kAttrBg], rec->Attr3270Colors[i][kAttrBg]) << i;
    }
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(rec->Attr3270Colors[i][kAttrThird], 100 + (i & 15)) << i;
    EXPECT_EQ(rec->Attr3270Colors[50][kAttrFg], 5);
    EXPECT_EQ(rec->Attr3270Colors[49][kAttrFg], 0);  // some were given: none is filled in
}

// Without values the host's colour codes F1-F7 show as blue, red, pink, green, turquoise,
// yellow and white.
TEST_F(RecordDefaults, HostColourCodesGetTheirColours)
{
    for (int i = 48; i < 58; ++i) rec->Attr3270Colors[i][kAttrFg] = 0;
    ASSERT_TRUE(Defaults());
    std::vector<int> fg;
    for (int i = 49; i < 56; ++i) fg.push_back(rec->Attr3270Colors[i][kAttrFg]);
    EXPECT_EQ((std::vector<int>{13, 16, 17, 14, 15, 18, 19}), fg);
    EXPECT_EQ(rec->Attr3270Colors[48][kAttrFg], 0);
}

// ---- Box maps.

struct BoxCase {
    bool newConfiguration;
    bool has3270Section;
};

void PrintTo(const BoxCase& c, std::ostream* os)
{
    *os << (c.newConfiguration ? "new" : "existing") << (c.has3270Section ? "_with3270" : "_no3270");
}

class BoxMaps : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxMaps, FollowTheConfiguration)
{
    const BoxCase& c = GetParam();
    std::unique_ptr<SettingsRecord> rec(new SettingsRecord());
    for (int i = 0; i < 20; ++i) {
        rec->BoxMapFg[i] = rec->BoxMapBg[i] = rec->BoxMap3270Fg[i] = rec->BoxMap3270Bg[i] = 9;
    }
    SetDefaultAttrColors(*rec);
    BuildDefaultAttr3270Colors(*rec);
    SetDefaultBoxMaps(*rec, c.newConfiguration, c.has3270Section);

    for (int i = 0; i < 20; ++i) {
        const int fg = (c.newConfiguration && i == 13) ? 2 : 0;  // AttrColors[1] fg 13
        const int bg = (c.newConfiguration && i == 3) ? 1 : 0;   // AttrColors[2] bg 3
        int bg3270 = 0;
        if (!c.has3270Section) {
            if (i == 19 || i == 3) bg3270 = 3;  // Attr3270Colors[0] bg 19, [2] bg 3
            if (i == 6) bg3270 = 2;             // Attr3270Colors[34] bg 6
        }
        EXPECT_EQ(rec->BoxMapFg[i], fg) << i;
        EXPECT_EQ(rec->BoxMapBg[i], bg) << i;
        EXPECT_EQ(rec->BoxMap3270Fg[i], 0) << i;
        EXPECT_EQ(rec->BoxMap3270Bg[i], bg3270) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Configurations, BoxMaps,
                         testing::Values(BoxCase{false, true}, BoxCase{true, true},
                                         BoxCase{false, false}, BoxCase{true, false}));

// ---- Country, national set, Charset3270.

struct NationalCase {
    int country;
    int set;
};

void PrintTo(const NationalCase& c, std::ostream* os) { *os << "country" << c.country; }

class NationalSet : public testing::TestWithParam<NationalCase> {};

TEST_P(NationalSet, OfCountry)
{
    FakePlatform platform;
    platform.windowsCountry = 46;
    ScopedPlatform installed(platform);
    EXPECT_EQ(NationalSetForCountry(GetParam().country), GetParam().set) << GetParam().country;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NationalSet,
    testing::Values(NationalCase{2, 18}, NationalCase{32, 14}, NationalCase{352, 14},
                    NationalCase{33, 8}, NationalCase{34, 11}, NationalCase{39, 9},
                    NationalCase{41, 2}, NationalCase{43, 2}, NationalCase{49, 2},
                    NationalCase{44, 13}, NationalCase{46, 6}, NationalCase{358, 6},
                    NationalCase{55, 15}, NationalCase{351, 10}, NationalCase{1, 1},
                    NationalCase{45, 1}, NationalCase{-1, 1},
                    NationalCase{0, 6},             // the Windows country (46)
                    NationalCase{0x10000 + 49, 2}  // only the low 16 bits count
                    ));

TEST_F(RecordDefaults, CountryLanguageAndCharset3270FromWindows)
{
    platform.windowsCountry = 46;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(rec->Country, 46);
    EXPECT_EQ(rec->Language, 46);
    EXPECT_EQ(rec->Charset3270, 10);

    platform.windowsCountry = 1;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(rec->Charset3270, 5);
}

// ---- Tab stops.

struct TabCase {
    const char* tabs;
    int maxCols;
    std::vector<int> stops;
};

void PrintTo(const TabCase& c, std::ostream* os)
{
    *os << "tabs<" << c.tabs << ">cols" << c.maxCols;
}

class TabStops : public testing::TestWithParam<TabCase> {};

TEST_P(TabStops, Parse)
{
    const TabCase& c = GetParam();
    std::unique_ptr<SettingsRecord> rec(new SettingsRecord());
    std::strncpy(rec->Tabs, c.tabs, sizeof rec->Tabs - 1);
    rec->MaxCols = c.maxCols;
    rec->TabStopCount = 99;
    ParseTabStops(*rec);
    ASSERT_EQ(rec->TabStopCount, static_cast<int>(c.stops.size())) << '"' << c.tabs << '"';
    for (std::size_t i = 0; i < c.stops.size(); ++i) EXPECT_EQ(rec->TabStops[i], c.stops[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TabStops,
    testing::Values(TabCase{"1,9,17,25,33,41,49,57,65,73", 80, {0, 8, 16, 24, 32, 40, 48, 56, 64, 72}},
                    TabCase{"", 80, {}}, TabCase{"none", 80, {}}, TabCase{",,,", 80, {}},
                    TabCase{"5", 80, {4}}, TabCase{"  3 ; 7x9", 80, {2, 6, 8}},
                    TabCase{"9,1", 80, {8, 0}},  // in the order written
                    TabCase{"-5", 80, {4}},     // a sign is just a separator
                    TabCase{"0", 80, {}},       // outside 1..132: ignored
                    TabCase{"80,81,200", 80, {79, 79}},  // beyond the screen: clamped
                    TabCase{"132,133", 132, {131}},
                    TabCase{"0,5,133", 80, {4}},
                    TabCase{"99999999999999999999", 80, {}},
                    TabCase{"132", 0, {131}}));                  // no width yet

TEST(TabStopsLimits, OnlyTheFirst255CharactersAreRead)
{
    std::unique_ptr<SettingsRecord> rec(new SettingsRecord());
    rec->MaxCols = 132;
    // "1,1,1,..." fills all 255 characters: 128 numbers.
    std::string many;
    while (many.size() < 255) many += "1,";
    many.resize(255);
    std::memcpy(rec->Tabs, many.c_str(), 255);
    ParseTabStops(*rec);
    EXPECT_EQ(rec->TabStopCount, 128);

    // Tabs completely filled, without a NUL, is not read past its 255th character.
    std::memset(rec->Tabs, '7', sizeof rec->Tabs);
    ParseTabStops(*rec);
    EXPECT_EQ(rec->TabStopCount, 0);  // one huge number, outside 1..132

    for (std::size_t i = 0; i < sizeof rec->Tabs; ++i) rec->Tabs[i] = (i % 2) ? ' ' : '5';
    ParseTabStops(*rec);
    EXPECT_EQ(rec->TabStopCount, 128);  // 255 characters: "5 5 ... 5" has 128 numbers

    EXPECT_LE(rec->TabStopCount, kMaxTabStops);
}

TEST_F(RecordDefaults, TabStopsAreParsedFromTheDefaultTabs)
{
    ASSERT_TRUE(Defaults());
    EXPECT_STREQ(rec->Tabs, "1,9,17,25,33,41,49,57,65,73");
    ASSERT_EQ(rec->TabStopCount, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(rec->TabStops[i], 8 * i);
}

// ---- The tables, field by field.

TEST_F(RecordDefaults, IntAndFlagSettings)
{
    ASSERT_TRUE(Defaults(true, true));
    const SettingsRecord& r = *rec;
    struct {
        const char* name;
        int value;
        int expected;
    } const cases[] = {
        {"NAWSX", r.NAWSX, -1}, {"NAWSY", r.NAWSY, -1}, {"DialTimeout", r.DialTimeout, 60},
        {"Port", r.Port, 1}, {"ComType", r.ComType, 2}, {"NetWork", r.NetWork, 1},
        {"Lana", r.Lana, 10}, {"Platform", r.Platform, 3}, {"Terminal", r.Terminal, 2},
        {"Terminal3270", r.Terminal3270, 16}, {"ByteSize", r.ByteSize, 8},
        {"FlowCtrl", r.FlowCtrl, 2}, {"Parity", r.Parity, 0}, {"StopBits", r.StopBits, 0},
        {"Charset", r.Charset, 3}, {"CursorStyle", r.CursorStyle, 0},
        {"ControlChar", r.ControlChar, 1}, {"DecCNM", r.DecCNM, 2},
        {"DisplayFormat", r.DisplayFormat, 0}, {"DisplayMirror", r.DisplayMirror, 0},
        {"WhenHostHungup", r.WhenHostHungup, 0}, {"WhenPCHungup", r.WhenPCHungup, 0},
        {"SendTimeout", r.SendTimeout, 60}, {"MaxTxBlock", r.MaxTxBlock, 5},
        {"TxBlockDelay", r.TxBlockDelay, 0}, {"RefreshRate", r.RefreshRate, 0},
        {"WakeupDelay", r.WakeupDelay, 0}, {"TelnetPort", r.TelnetPort, 23},
        {"PlayDelay", r.PlayDelay, 1}, {"PlayKeyDelay", r.PlayKeyDelay, 100},
        {"PlayEnterDelay", r.PlayEnterDelay, 1000}, {"PlayDelayIntervall", r.PlayDelayIntervall, 10},
        {"MciWaitIfBusy", r.MciWaitIfBusy, 30}, {"Manag", r.Manag, 6}, {"Conv", r.Conv, 1},
        {"FnManag", r.FnManag, 0}, {"Splen", r.Splen, 512}, {"Acklen", r.Acklen, 1024},
        {"Wsize", r.Wsize, 2048}, {"ZTimeout", r.ZTimeout, 100},
        {"TermPrt1Xlate", r.TermPrt1Xlate, 0}, {"TermPrt3Xlate", r.TermPrt3Xlate, 0},
        {"Beep", r.Beep, 0}, {"DynamicFgColor", r.DynamicFgColor, 0},
        {"HotspotBgColor", r.HotspotBgColor, 0}, {"ScreenDumpFgColor", r.ScreenDumpFgColor, 2},
        {"ScreenDumpBgColor", r.ScreenDumpBgColor, 19}, {"AutoCRDelay", r.AutoCRDelay, 300},
        {"ModemCharDelay", r.ModemCharDelay, 200}, {"TcpipAutodial", r.TcpipAutodial, 0},
        {"DelaySpool1", r.DelaySpool1, 500}, {"DelaySpool2", r.DelaySpool2, 500},
        {"DelaySpool3", r.DelaySpool3, 500}, {"PrintToScreen", r.PrintToScreen, 0},
        {"MaxCols", r.MaxCols, 80}, {"MaxRows", r.MaxRows, 24}, {"FrameSize", r.FrameSize, 7},
        {"AlignDisplay", r.AlignDisplay, 4}, {"AProtocol", r.AProtocol, 0},
        {"DynamicRow", r.DynamicRow, 1}, {"DynamicColumn", r.DynamicColumn, 1},
        {"DynamicWidth", r.DynamicWidth, 80}, {"DynamicHeight", r.DynamicHeight, 25},
        {"DynamicDepth", r.DynamicDepth, 2}, {"HistoryRows", r.HistoryRows, 0},
        {"MaxInstance", r.MaxInstance, 1}, {"Brightness", r.Brightness, 0},
        {"ScreenDumpAppend", r.ScreenDumpAppend, 0}, {"ScreenDumpType", r.ScreenDumpType, 1},
        {"TerminalFamily3270", r.TerminalFamily3270, 0}, {"XferType", r.XferType, 0},
        {"XonXoff", r.XonXoff, 0}, {"LocalEcho", r.LocalEcho, 0}, {"NewLine", r.NewLine, 0},
        {"AutoWrap", r.AutoWrap, 1}, {"UseHostColor", r.UseHostColor, 0},
        {"UseLineGraphicsColor", r.UseLineGraphicsColor, 1},
        {"UseSpecialGraphicsColor", r.UseSpecialGraphicsColor, 1},
        {"UseHistoryLinesColor", r.UseHistoryLinesColor, 1},
        {"UpdateHiddenHistory", r.UpdateHiddenHistory, 0}, {"Toolbar", r.Toolbar, 1},
        {"Statusbar", r.Statusbar, 1}, {"AutoConnect", r.AutoConnect, 1},
        {"TitleAppName", r.TitleAppName, 1}, {"TitleUniqueText", r.TitleUniqueText, 1},
        {"TitleHostName", r.TitleHostName, 1}, {"TitleConfig", r.TitleConfig, 1},
        {"TitleConnected", r.TitleConnected, 1}, {"PromptForHost", r.PromptForHost, 1},
        {"BrowseForHost", r.BrowseForHost, 1}, {"GeneralSpare[0]", r.GeneralSpare[0], 0},
        {"GeneralSpare[1]", r.GeneralSpare[1], 0}, {"AutoLogin", r.AutoLogin, 0},
        {"AutoLoginCR", r.AutoLoginCR, 1}, {"SendWakeup", r.SendWakeup, 0},
        {"BlankAutoLogin", r.BlankAutoLogin, 0}, {"LockKbdAutoLogin", r.LockKbdAutoLogin, 0},
        {"UnixEnvEnable", r.UnixEnvEnable, 1}, {"DialEnable", r.DialEnable, 0},
        {"ModemEnable", r.ModemEnable, 1}, {"FtpEnable", r.FtpEnable, 1},
        {"AllowReadCfg", r.AllowReadCfg, 1}, {"AllowWriteCfg", r.AllowWriteCfg, 1},
        {"AllowCfg", r.AllowCfg, 1}, {"AllowDOS", r.AllowDOS, 1},
        {"CustomKeyDef", r.CustomKeyDef, 0}, {"CaptureToFile", r.CaptureToFile, 0},
        {"MciErrorReply", r.MciErrorReply, 0}, {"MciOkReply", r.MciOkReply, 0},
        {"MciDataReply", r.MciDataReply, 0}, {"MciShowError", r.MciShowError, 1},
        {"HostHangupClearScreen", r.HostHangupClearScreen, 0},
        {"PCHangupClearScreen", r.PCHangupClearScreen, 0}, {"BoxEnable", r.BoxEnable, 1},
        {"BoxEnable32", r.BoxEnable32, 1}, {"TrueBold", r.TrueBold, 0},
        {"TrueUnderline", r.TrueUnderline, 0}, {"EnableSendMousePos", r.EnableSendMousePos, 0},
        {"EnableHotspots", r.EnableHotspots, 1}, {"EnableButtonPanel", r.EnableButtonPanel, 1},
        {"EnableDynamicHotspots", r.EnableDynamicHotspots, 1},
        {"ShowTitlebar", r.ShowTitlebar, 1}, {"ShowMenu", r.ShowMenu, 1},
        {"ShowSysMenu", r.ShowSysMenu, 1}, {"ResizeWhenFontChange", r.ResizeWhenFontChange, 1},
        {"SingleInstance", r.SingleInstance, 0}, {"KeyPadAppAdd", r.KeyPadAppAdd, 0},
        {"KeyPadAppDecimal", r.KeyPadAppDecimal, 0}, {"LineGraphics3D", r.LineGraphics3D, 1},
        {"SendKeyZero", r.SendKeyZero, 0}, {"AutonameFiles", r.AutonameFiles, 1},
        {"AutoDetectReceive", r.AutoDetectReceive, 1},
        {"AXferConfirmError", r.AXferConfirmError, 1}, {"EscCtl", r.EscCtl, 1},
        {"NoCrc32", r.NoCrc32, 0}, {"Unlink", r.Unlink, 0}, {"KeepAlive", r.KeepAlive, 0},
        {"TraceTimestamp", r.TraceTimestamp, 0}, {"SmartNTFF", r.SmartNTFF, 0},
        {"AclCompletionCodes", r.AclCompletionCodes, 1}, {"UsePalette", r.UsePalette, 0},
        {"MouseToProtected", r.MouseToProtected, 0}, {"Win32PrintSpool", r.Win32PrintSpool, 1},
        {"ProtectedReversed", r.ProtectedReversed, 0}, {"DoNAWS", r.DoNAWS, 1},
        {"DdeServerEnable", r.DdeServerEnable, 0}, {"DdeClientEnable", r.DdeClientEnable, 0},
        {"DdeRadioDynamic", r.DdeRadioDynamic, 0}, {"SortedKeyMapFile", r.SortedKeyMapFile, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, c.expected) << c.name;
}

TEST_F(RecordDefaults, AutonameFilesOnlyForANewConfiguration)
{
    ASSERT_TRUE(Defaults(false, true));
    EXPECT_EQ(rec->AutonameFiles, 0);
    ASSERT_TRUE(Defaults(true, true));
    EXPECT_EQ(rec->AutonameFiles, 1);
}

TEST_F(RecordDefaults, LiveState)
{
    rec->Connected = rec->Connecting = rec->ExitPending = 1;
    rec->CursorCol = 40;
    rec->CursorRow = 12;
    rec->KeyboardLocked = 1;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(rec->DialCountdown, 0);
    EXPECT_EQ(rec->HangupReason, 0);
    EXPECT_EQ(rec->AppCursorKeys, 0);
    EXPECT_EQ(rec->AppKeypad, 0);
    EXPECT_EQ(rec->ExitPending, 0);
    EXPECT_EQ(rec->Connecting, 0);
    EXPECT_EQ(rec->Connected, 0);
    EXPECT_EQ(rec->CurFg, 0);
    EXPECT_EQ(rec->CurBg, 1);
    EXPECT_EQ(rec->CursorCol, 0);
    EXPECT_EQ(rec->CursorRow, 0);
    EXPECT_EQ(rec->CellWidth, 7);
    EXPECT_EQ(rec->CellHeight, 9);
    EXPECT_EQ(rec->PlaybackState, 0);
    const uint8_t designation[12] = {'B', 'B', 'B', 'B', 0, 2, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(rec->CharsetDesignation, designation, 12), 0);
    EXPECT_EQ(rec->ScrollTop, 0);
    EXPECT_EQ(rec->ScrollBottom, 23);
    EXPECT_EQ(rec->KeyboardLocked, 0);
    EXPECT_EQ(rec->LocalEchoNow, 0);
    EXPECT_EQ(rec->AutoWrapNow, 1);
    EXPECT_EQ(rec->NewLineNow, 0);
    EXPECT_EQ(rec->Recording, 0);
    EXPECT_EQ(rec->HostNameMissing, 0);
}

TEST_F(RecordDefaults, Palette)
{
    ASSERT_TRUE(Defaults());
    const uint32_t normal[8] = {rec->Black, rec->Blue,    rec->Green,  rec->Cyan,
                                rec->Red,   rec->Magenta, rec->Yellow, rec->White};
    const uint32_t light[8] = {rec->LightBlack, rec->LightBlue,    rec->LightGreen,
                               rec->LightCyan,  rec->LightRed,     rec->LightMagenta,
                               rec->LightYellow, rec->LightWhite};
    const uint32_t expectedNormal[8] = {0x000000, 0x800000, 0x008000, 0x808000,
                                        0x000080, 0x800080, 0x008080, 0xC0C0C0};
    const uint32_t expectedLight[8] = {0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(normal[i], expectedNormal[i]) << i;
        EXPECT_EQ(light[i], expectedLight[i]) << i;
    }
}

TEST_F(RecordDefaults, Strings)
{
    ASSERT_TRUE(Defaults());
    EXPECT_STREQ(rec->HostName, "KAVERN");
    EXPECT_STREQ(rec->UnixEnv, "TERM=%terminal%");
    EXPECT_STREQ(rec->DialPrefix, "ATDT");
    EXPECT_STREQ(rec->DialPostfix, "");
    EXPECT_STREQ(rec->HangupPrefix, "+++");
    EXPECT_STREQ(rec->HangupPostfix, "ATH");
    EXPECT_STREQ(rec->ModemInit, "ATQ0V1E1S0=0");
    EXPECT_STREQ(rec->ModemConnect, "CONNECT");
    EXPECT_STREQ(rec->AnswerBack, "%terminal%<cr>");
    EXPECT_STREQ(rec->EnableDisplay, "<esc>[y");
    EXPECT_STREQ(rec->Logo, "TOLVI");
    EXPECT_STREQ(rec->ExtraDynWordChars, "");
    EXPECT_STREQ(rec->DdeServerServiceName, "TOLVI");
    EXPECT_STREQ(rec->DdeServerTopicName, "TOLVITOP");
    EXPECT_STREQ(rec->DdeClientStartRecordOn, "|FROMHOST|");
    EXPECT_STREQ(rec->DdeClientStopRecordOn, "|END|");
    EXPECT_STREQ(rec->DdeClientSendToServiceName, "");
    EXPECT_STREQ(rec->DdeClientSendToTopicName, "");
    EXPECT_STREQ(rec->DdeClientSendToItemName, "");
    EXPECT_STREQ(rec->DdeDelimiter, "|");
    EXPECT_STREQ(rec->DdeClientServiceName, "RODIREVI");
}

TEST_F(RecordDefaults, TransferBlocks)
{
    rec->XYModemParms.ForceLow = 77;
    // Packed ints are read by value (+x): a reference to them would be misaligned.
    ASSERT_TRUE(Defaults());
    const KermitParms& k = rec->KermitParms;
    EXPECT_EQ(+k.Fixed0, 30);
    EXPECT_EQ(+k.Fixed1, 10);
    EXPECT_EQ(+k.Fixed2, 1);
    EXPECT_EQ(+k.Fixed3, 0);
    EXPECT_EQ(+k.Fixed4, 1);
    EXPECT_EQ(+k.Fixed5, 25);
    EXPECT_EQ(+k.FixedByte6, 1);
    EXPECT_EQ(+k.PacketLength, 94);
    EXPECT_EQ(+k.Timeout, 10);
    EXPECT_EQ(+k.Padding, 0);
    EXPECT_EQ(+k.Padchar, 0);
    EXPECT_EQ(+k.Eol, 13);
    EXPECT_EQ(+k.Quotechar, '#');
    EXPECT_EQ(+k.Quote8char, '&');
    EXPECT_EQ(+k.ChkType, 0);
    EXPECT_EQ(+k.Reptchar, '~');
    EXPECT_EQ(+k.FixedBeforeWinsize, 0);
    EXPECT_EQ(+k.Winsize, 0);
    const XYModemParms& x = rec->XYModemParms;
    EXPECT_EQ(+x.Timeout, 20);
    EXPECT_EQ(+x.MaxErrors, 10);
    EXPECT_EQ(+x.Padchar, 0);
    EXPECT_EQ(+x.Retries, 10);
    EXPECT_EQ(+x.ForceLow, 77) << "kept";
}

TEST_F(RecordDefaults, TranslateTablesBecomeIdentity)
{
    ASSERT_TRUE(Defaults());
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(tables.Incoming[i], i);
        EXPECT_EQ(tables.Outgoing[i], i);
    }
}

TEST_F(RecordDefaults, KeptFieldsStayAsTheyWere)
{
    SettingsRecord& r = *rec;
    r.LockGeneral = r.LockTerminal = r.LockHistory = r.LockDosBox = 1;
    r.ScreenDumpFontItalic = 1;
    r.ScreenDumpFontWeight = 400;
    std::strcpy(r.PhoneNumber, "5551234");
    std::strcpy(r.DdeClientTopicName, "TOPIC");
    r.SpareFlags[0] = r.SpareInts[3] = 7;
    r.PaletteSpare[1] = 0x123456;
    r.ColorPalette[5] = 0xABCDEF;
    r.KermitSpare[14] = 9;
    r.HistoryView = 1;
    r.TraceAllKeyboard = 1;
    r.ScreenFrozen = 1;
    r.SgrFlags[kSgrBold] = 1;
    r.PlaybackGeneration = 3;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(r.LockGeneral, 1);
    EXPECT_EQ(r.LockTerminal, 1);
    EXPECT_EQ(r.LockHistory, 1);
    EXPECT_EQ(r.LockDosBox, 1);
    EXPECT_EQ(r.LockFont, 0);
    EXPECT_EQ(r.ScreenDumpFontItalic, 1);
    EXPECT_EQ(r.ScreenDumpFontWeight, 400);
    EXPECT_STREQ(r.PhoneNumber, "5551234");
    EXPECT_STREQ(r.DdeClientTopicName, "TOPIC");
    EXPECT_EQ(r.SpareFlags[0], 7);
    EXPECT_EQ(r.SpareInts[3], 7);
    EXPECT_EQ(r.PaletteSpare[1], 0x123456u);
    EXPECT_EQ(r.ColorPalette[5], 0xABCDEFu);
    EXPECT_EQ(r.KermitSpare[14], 9);
    EXPECT_EQ(r.HistoryView, 1);
    EXPECT_EQ(r.TraceAllKeyboard, 1);
    EXPECT_EQ(r.ScreenFrozen, 1);
    EXPECT_EQ(r.SgrFlags[kSgrBold], 1);
    EXPECT_EQ(r.PlaybackGeneration, 3);

    // Reset to Default empties LockPassword (a document string): its default is "".
    const DocumentStringDefault* lock = FindDocumentStringDefault("LockPassword");
    ASSERT_NE(lock, nullptr);
    ASSERT_NE(lock->value, nullptr);
    EXPECT_STREQ(lock->value, "");
}

// ---- Order and failure.

TEST_F(RecordDefaults, PlanesAreAllocatedMidwayWithNoHistory)
{
    rec->HistoryRows = 500;
    rec->BaudRate = -221;
    std::strcpy(rec->HostName, "OLD");
    rec->ComType = 99;
    ASSERT_TRUE(Defaults());
    EXPECT_EQ(seen.calls, 1);
    // Before: the record part.
    EXPECT_EQ(seen.historyRows, 0);
    EXPECT_EQ(seen.maxCols, 80);
    EXPECT_EQ(seen.maxRows, 24);
    EXPECT_EQ(seen.dynamicWidth, 80);
    EXPECT_EQ(seen.scrollBottom, 23);
    EXPECT_EQ(seen.attr0Fg, 3);
    EXPECT_EQ(seen.attr3270Entry36Fg, 9);
    EXPECT_EQ(seen.lightWhite, 0xFFFFFFu);
    EXPECT_EQ(seen.cellWidth, 7);
    EXPECT_EQ(seen.baudRateLong, 115200);
    // After: strings, connection, tab stops.
    EXPECT_EQ(seen.hostName, "OLD");
    EXPECT_EQ(seen.comType, 99);
    EXPECT_EQ(seen.tabStopCount, 0);
}

TEST_F(RecordDefaults, FailedAllocationStopsAndKeepsTheRest)
{
    SettingsRecord& r = *rec;
    std::strcpy(r.HostName, "OLD");
    std::strcpy(r.Tabs, "5");
    r.ComType = 99;
    r.Country = 99;
    r.Charset3270 = 99;
    r.AutonameFiles = 99;
    r.PlayDelay = 99;
    r.BoxMapFg[0] = 99;
    r.Font80Cols.Height = 99;
    r.KermitParms.PacketLength = 99;
    r.DdeRadioDynamic = 99;
    std::strcpy(r.DdeDelimiter, "#");
    r.ProtectionPlane[0] = 1;

    EXPECT_FALSE(Defaults(true, false, &FailingAllocator));

    // The record part before the planes is set...
    EXPECT_EQ(r.MaxCols, 80);
    EXPECT_EQ(r.AttrColors[0][kAttrFg], 3);
    EXPECT_EQ(r.Attr3270Colors[36][kAttrBg], 12);
    EXPECT_EQ(r.Black, 0u);
    EXPECT_EQ(r.White, 0xC0C0C0u);
    EXPECT_EQ(r.AutoWrap, 1);
    // ...everything after keeps its previous value.
    EXPECT_STREQ(r.HostName, "OLD");
    EXPECT_STREQ(r.Tabs, "5");
    EXPECT_EQ(r.TabStopCount, 0);
    EXPECT_EQ(r.ComType, 99);
    EXPECT_EQ(r.Country, 99);
    EXPECT_EQ(r.Charset3270, 99);
    EXPECT_EQ(r.AutonameFiles, 99);
    EXPECT_EQ(r.PlayDelay, 99);
    EXPECT_EQ(r.BoxMapFg[0], 99);
    EXPECT_EQ(r.Font80Cols.Height, 99);
    EXPECT_EQ(+r.KermitParms.PacketLength, 99);
    EXPECT_EQ(r.DdeRadioDynamic, 99);
    EXPECT_STREQ(r.DdeDelimiter, "#");
    EXPECT_EQ(r.ProtectionPlane[0], 1);
    EXPECT_EQ(tables.Incoming[65], 0) << "translate tables untouched";
}

TEST_F(RecordDefaults, WithTheRealPlanes)
{
    std::memset(rec->ProtectionPlane, 1, sizeof rec->ProtectionPlane);
    rec->HistoryRows = 1000;
    ASSERT_TRUE(Defaults(false, true, &AllocScreenBuffers));
    ASSERT_NE(rec->CharsBase, nullptr);
    EXPECT_EQ(rec->HistoryRowsAlloc, 0);
    EXPECT_EQ(rec->HistoryCells, 0);
    EXPECT_EQ(platform.requests.size(), 4u);
    // A screen without history, and room for the planes' window to move on.
    EXPECT_GE(platform.requests[0], static_cast<std::size_t>(kScreenCells));
    EXPECT_EQ(platform.requests[0], platform.requests[3]);
    for (int i = 0; i < kScreenCells; ++i) {
        ASSERT_EQ(rec->ProtectionPlane[i], 0) << i;
        ASSERT_EQ(rec->CharsScreen[i], ' ') << i;
        ASSERT_EQ(rec->FgScreen[i], 3) << i;
        ASSERT_EQ(rec->BgScreen[i], 9) << i;
    }
    FreeScreenBuffers(*rec);
    EXPECT_EQ(platform.liveBlocks, 0);
}

TEST_F(RecordDefaults, RealPlanesFailingReportsFailure)
{
    platform.refuseAbove = 0;
    EXPECT_FALSE(Defaults(false, true, &AllocScreenBuffers));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].id, 83);
    EXPECT_EQ(rec->CharsBase, nullptr);
}

TEST_F(RecordDefaults, NoAllocatorLeavesThePlanesAlone)
{
    EXPECT_TRUE(Defaults(false, true, nullptr));
    EXPECT_EQ(rec->CharsBase, nullptr);
    EXPECT_STREQ(rec->HostName, "KAVERN");
}

// ---- Document-held strings, as data.

TEST(DocumentStrings, TableInMemberOrder)
{
    ASSERT_EQ(DocumentStringDefaultCount, 35u);
    EXPECT_STREQ(DocumentStringDefaults[0].member, "TerminalKeyDef");
    EXPECT_STREQ(DocumentStringDefaults[DocumentStringDefaultCount - 1].member, "ScreenDumpFont");
    std::set<std::string> members;
    for (std::size_t i = 0; i < DocumentStringDefaultCount; ++i) {
        ASSERT_NE(DocumentStringDefaults[i].member, nullptr);
        EXPECT_TRUE(members.insert(DocumentStringDefaults[i].member).second)
            << DocumentStringDefaults[i].member;
        if (DocumentStringDefaults[i].value) {
            EXPECT_LT(std::strlen(DocumentStringDefaults[i].value), 128u) << "128-character buffer";
        }
    }
}

struct DocStringCase {
    const char* member;
    const char* key;    // nullptr: not in the file
    const char* value;  // nullptr: kept
    int stringId;
    bool nullForm;
    bool scrambled;
};

void PrintTo(const DocStringCase& c, std::ostream* os) { *os << c.member; }

class DocumentStringEntry : public testing::TestWithParam<DocStringCase> {};

TEST_P(DocumentStringEntry, Matches)
{
    const DocStringCase& c = GetParam();
    const DocumentStringDefault* d = FindDocumentStringDefault(c.member);
    ASSERT_NE(d, nullptr) << c.member;
    if (c.key) {
        EXPECT_STREQ(d->key, c.key);
    } else {
        EXPECT_EQ(d->key, nullptr);
    }
    if (c.value) {
        EXPECT_STREQ(d->value, c.value);
    } else {
        EXPECT_EQ(d->value, nullptr);
    }
    EXPECT_EQ(d->stringId, c.stringId);
    EXPECT_EQ(d->nullForm, c.nullForm);
    EXPECT_EQ(d->scrambled, c.scrambled);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DocumentStringEntry,
    testing::Values(
        DocStringCase{"TerminalKeyDef", "TerminalKeyDef", "tolvi.key", 0, false, false},
        DocStringCase{"KeyboardMap", "KeyboardMap", "tolvi.map", 0, false, false},
        DocStringCase{"Translate", "Translate", "tolvi.xlt", 0, false, false},
        DocStringCase{"CaptureFile", "CaptureFile", "tolvi.cap", 0, false, false},
        DocStringCase{"DynHotspotFile", nullptr, "tolvi.dyn", 0, false, false},
        DocStringCase{"HotScreenFile", nullptr, "tolvi.hot", 0, false, false},
        DocStringCase{"ButtonFile", nullptr, "tolvi.but", 0, false, false},
        DocStringCase{"FtpCommand", "FtpCommand", "tolviftp.exe", 3002, false, false},
        DocStringCase{"FtpDirectory", "FtpDirectory", nullptr, 0, false, false},
        DocStringCase{"MouseClick", "MouseClick", "<esc>[%row%;%col%H", 3000, false, false},
        DocStringCase{"MouseDoubleClick", "MouseDoubleClick", "<esc>[%row%;%col%H", 3001, false,
                      false},
        DocStringCase{"AxDirectory", "AxDirectory", nullptr, 0, false, false},
        DocStringCase{"StartupFile", "StartupFile", "startup.trc", 0, false, false},
        DocStringCase{"TraceFile", "TraceFile", "tolvi.trc", 0, false, false},
        DocStringCase{"AppName", "AppName", "Tolvi - ", 0, false, false},
        DocStringCase{"MsgExit", "MsgExit", "Do you want to disconnect this session and exit ?", 55,
                      true, false},
        DocStringCase{"AutoHost0", "AutoHost0", "", 0, true, false},
        DocStringCase{"AutoHost1", "AutoHost1", "ogin:", 0, true, false},
        DocStringCase{"AutoHost2", "AutoHost2", "ord:", 0, true, false},
        DocStringCase{"AutoHost6", "AutoHost6", "", 0, true, false},
        DocStringCase{"AutoUser1", "AutoUser1", "%pluser%", 0, true, false},
        DocStringCase{"AutoUser2", "AutoUser2", "", 0, true, true},
        DocStringCase{"AutoUser6", "AutoUser6", "", 0, true, false},
        DocStringCase{"Printer1", "Printer1", "Windows Default Printer", 80, false, false},
        DocStringCase{"Printer3", "Printer3", "Windows Default Printer", 80, false, false},
        DocStringCase{"LockPassword", "LockPassword", "", 0, false, true},
        DocStringCase{"ScreenDumpFont", "ScreenDumpFont", "Courier New", 3003, false, false}));

TEST(DocumentStrings, SectionsAndLookups)
{
    EXPECT_STREQ(FindDocumentStringDefault("LockPassword")->section, "LockSettings");
    EXPECT_EQ(FindDocumentStringDefault("TraceFile")->section, nullptr);
    EXPECT_EQ(FindDocumentStringDefault("NoSuchMember"), nullptr);
    EXPECT_EQ(FindDocumentStringDefault(nullptr), nullptr);
}

}  // namespace
