// The session record's shape: the one process-wide record, its kinds and sizes, the packed
// transfer blocks, the record's field order and the screen geometry.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <type_traits>

#include "session/session_record.h"
#include "session/translate_tables.h"

namespace {

TEST(SessionRecord, OneRecordZeroAtLoad)
{
    static_assert(std::is_same<decltype(Rec), SettingsRecord* const>::value,
                  "one pointer, never reassigned");
    ASSERT_NE(Rec, nullptr);
    // No test of this program writes the process-wide record: it is still as loaded.
    const auto* bytes = reinterpret_cast<const unsigned char*>(Rec);
    std::size_t nonZero = 0;
    for (std::size_t i = 0; i < sizeof(SettingsRecord); ++i) nonZero += bytes[i] != 0;
    EXPECT_EQ(nonZero, 0u);
    EXPECT_EQ(Rec->CharsBase, nullptr);
    EXPECT_EQ(Rec->TraceFileHandle, nullptr);
}

TEST(SessionRecord, ScreenCellsHoldTheLargest3270Screen)
{
    EXPECT_EQ(kScreenCells, 3564);
    EXPECT_GE(kScreenCells, 43 * 80);   // 3270 model 4
    EXPECT_GE(kScreenCells, 27 * 132);  // 3270 model 5
    EXPECT_EQ(sizeof(Rec->ProtectionPlane), static_cast<std::size_t>(kScreenCells));
}

struct GeometryCase {
    int rows;
    int cols;
    bool valid;
};

void PrintTo(const GeometryCase& c, std::ostream* os) { *os << c.rows << "x" << c.cols; }

class ScreenGeometry : public testing::TestWithParam<GeometryCase> {};

TEST_P(ScreenGeometry, Validates)
{
    const GeometryCase& c = GetParam();
    EXPECT_EQ(ValidScreenGeometry(c.rows, c.cols), c.valid) << c.rows << " x " << c.cols;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreenGeometry,
    testing::Values(GeometryCase{24, 80, true}, GeometryCase{25, 132, true},
                    GeometryCase{24, 132, true}, GeometryCase{32, 80, true},
                    GeometryCase{43, 80, true},    // 3278 model 4: 3440
                    GeometryCase{27, 132, true},   // 3278 model 5: 3564, exactly full
                    GeometryCase{44, 80, true},    // 3520
                    GeometryCase{45, 80, false},   // 3600
                    GeometryCase{28, 132, false},  // 3696
                    GeometryCase{43, 132, false}, GeometryCase{24, 100, false},
                    GeometryCase{24, 0, false}, GeometryCase{24, -80, false},
                    GeometryCase{0, 80, false}, GeometryCase{-1, 80, false},
                    GeometryCase{1, 80, true}, GeometryCase{2147483647, 80, false}));

TEST(SessionRecord, LogFontHasTheLogfontaLayout)
{
    EXPECT_EQ(sizeof(LogFont), 60u);
    EXPECT_EQ(offsetof(LogFont, Height), 0u);
    EXPECT_EQ(offsetof(LogFont, Width), 4u);
    EXPECT_EQ(offsetof(LogFont, Escapement), 8u);
    EXPECT_EQ(offsetof(LogFont, Orientation), 12u);
    EXPECT_EQ(offsetof(LogFont, Weight), 16u);
    EXPECT_EQ(offsetof(LogFont, Italic), 20u);
    EXPECT_EQ(offsetof(LogFont, Underline), 21u);
    EXPECT_EQ(offsetof(LogFont, StrikeOut), 22u);
    EXPECT_EQ(offsetof(LogFont, CharSet), 23u);
    EXPECT_EQ(offsetof(LogFont, OutPrecision), 24u);
    EXPECT_EQ(offsetof(LogFont, ClipPrecision), 25u);
    EXPECT_EQ(offsetof(LogFont, Quality), 26u);
    EXPECT_EQ(offsetof(LogFont, PitchAndFamily), 27u);
    EXPECT_EQ(offsetof(LogFont, FaceName), 28u);
    EXPECT_EQ(sizeof(LogFont::FaceName), 32u);
}

struct OffsetCase {
    const char* name;
    std::size_t offset;
    std::size_t expected;
};

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.name; }

class PackedBlockLayout : public testing::TestWithParam<OffsetCase> {};

TEST_P(PackedBlockLayout, FieldSitsAtItsOffset)
{
    EXPECT_EQ(GetParam().offset, GetParam().expected) << GetParam().name;
}

#define KERMIT(field, at) OffsetCase{"KermitParms." #field, offsetof(KermitParms, field), at}
#define XY(field, at) OffsetCase{"XYModemParms." #field, offsetof(XYModemParms, field), at}

INSTANTIATE_TEST_SUITE_P(
    Kermit, PackedBlockLayout,
    testing::Values(KERMIT(Fixed0, 0), KERMIT(Fixed1, 4), KERMIT(Fixed2, 8), KERMIT(Fixed3, 12),
                    KERMIT(Fixed4, 16), KERMIT(Fixed5, 20), KERMIT(FixedByte6, 24),
                    KERMIT(PacketLength, 25), KERMIT(Timeout, 29), KERMIT(Padding, 33),
                    KERMIT(Padchar, 37), KERMIT(Eol, 38), KERMIT(Quotechar, 39),
                    KERMIT(Quote8char, 40), KERMIT(ChkType, 41), KERMIT(Reptchar, 42),
                    KERMIT(FixedBeforeWinsize, 43), KERMIT(Winsize, 47),
                    OffsetCase{"sizeof KermitParms", sizeof(KermitParms), 51}));

INSTANTIATE_TEST_SUITE_P(
    XYModem, PackedBlockLayout,
    testing::Values(XY(Timeout, 0), XY(MaxErrors, 4), XY(Padchar, 8), XY(Retries, 9),
                    XY(ForceLow, 13),
                    OffsetCase{"sizeof XYModemParms", sizeof(XYModemParms), 17}));

#undef KERMIT
#undef XY

TEST(SessionRecord, PackedBlocksRoundTripThroughBytes)
{
    // The blocks are handed to the transfer libraries as raw bytes: an int after a byte must
    // land unaligned, little-endian, right after it.
    KermitParms k{};
    k.FixedByte6 = 0x11;
    k.PacketLength = 0x44332211;
    unsigned char bytes[sizeof k];
    static_assert(sizeof bytes == 51, "packed");
    std::memcpy(bytes, &k, sizeof k);
    EXPECT_EQ(bytes[24], 0x11);
    EXPECT_EQ(bytes[25], 0x11);
    EXPECT_EQ(bytes[26], 0x22);
    EXPECT_EQ(bytes[27], 0x33);
    EXPECT_EQ(bytes[28], 0x44);

    XYModemParms x{};
    x.Padchar = 0x7F;
    x.Retries = 10;
    unsigned char xy[sizeof x];
    std::memcpy(xy, &x, sizeof x);
    EXPECT_EQ(xy[8], 0x7F);
    EXPECT_EQ(xy[9], 10);
    EXPECT_EQ(xy[10], 0);
}

struct SizeCase {
    const char* name;
    std::size_t size;
    std::size_t expected;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.name; }

class FieldKinds : public testing::TestWithParam<SizeCase> {};

TEST_P(FieldKinds, HaveTheirWidth)
{
    EXPECT_EQ(GetParam().size, GetParam().expected) << GetParam().name;
}

#define FIELD(field, bytes) SizeCase{#field, sizeof(SettingsRecord::field), bytes}

INSTANTIATE_TEST_SUITE_P(
    Record, FieldKinds,
    testing::Values(
        FIELD(ScreenDumpFontItalic, 1), FIELD(ScreenDumpFontItalicSlot, 3), FIELD(BaudRate, 4),
        FIELD(ZTimeout, 4), FIELD(XonXoff, 4), FIELD(SpareFlags, 8), FIELD(GeneralSpare, 8),
        FIELD(SpareInts, 16), FIELD(Black, 4), FIELD(PaletteSpare, 8), FIELD(LightWhite, 4),
        FIELD(AttrColors, 20 * 3 * 4), FIELD(Attr3270Colors, 58 * 3 * 4), FIELD(BoxMapFg, 80),
        FIELD(BoxMapBg, 80), FIELD(BoxMap3270Fg, 80), FIELD(BoxMap3270Bg, 80),
        FIELD(HostName, 61), FIELD(Tabs, 256), FIELD(UnixEnv, 256), FIELD(PhoneNumber, 129),
        FIELD(DialPrefix, 129), FIELD(Logo, 129), FIELD(DdeServerServiceName, 13),
        FIELD(DdeDelimiter, 13), FIELD(DdeClientServiceName, 13),
        FIELD(ExtraDynWordChars, 41), FIELD(KermitParms, 51), FIELD(KermitSpare, 15),
        FIELD(XYModemParms, 17), FIELD(ColorPalette, 80), FIELD(CurrentFont, 60),
        FIELD(Font80Cols, 60), FIELD(Font132Cols, 60), FIELD(SgrFlags, 20), FIELD(CurFg, 1),
        FIELD(CurBg, 1), FIELD(ProtectionPlane, 3564), FIELD(TabStops, 132),
        FIELD(CharsetDesignation, 12), FIELD(ScrollTop, 1), FIELD(ScrollBottom, 1),
        FIELD(CellFlags, 1), FIELD(NormalFg, 1), FIELD(ReverseBg, 1), FIELD(ProtectAttribute, 1),
        FIELD(ProtectMode, 1), FIELD(AlternateFont, 1), FIELD(PendingIntermediate, 1),
        FIELD(CursorFlags, 4), FIELD(PrintedCount, 4), FIELD(SortedKeyMapFile, 4)));

#undef FIELD

TEST(SessionRecord, FieldsFollowTheDocumentedOrder)
{
#define AT(field) offsetof(SettingsRecord, field)
    const std::size_t order[] = {
        AT(ScreenDumpFontItalic), AT(BaudRateLong), AT(BaudRate), AT(WriteTotalTimeoutConstant),
        AT(NAWSX), AT(NAWSY), AT(DialTimeout), AT(Port), AT(ComType), AT(NetWork), AT(Lana),
        AT(Platform), AT(Terminal), AT(Terminal3270), AT(ByteSize), AT(FlowCtrl), AT(Parity),
        AT(StopBits), AT(Charset), AT(Charset3270), AT(CursorStyle), AT(ControlChar),
        AT(DecCNM), AT(Country), AT(Language), AT(DisplayFormat), AT(DisplayMirror),
        AT(WhenHostHungup), AT(WhenPCHungup), AT(SendTimeout), AT(MaxTxBlock),
        AT(TxBlockDelay), AT(RefreshRate), AT(WakeupDelay), AT(TelnetPort), AT(PlayDelay),
        AT(PlayKeyDelay), AT(PlayEnterDelay), AT(PlayDelayIntervall), AT(MciWaitIfBusy),
        AT(Manag), AT(Conv), AT(FnManag), AT(Splen), AT(Acklen), AT(Wsize), AT(ZTimeout),
        AT(TermPrt1Xlate), AT(TermPrt2Xlate), AT(TermPrt3Xlate), AT(Beep), AT(DynamicFgColor),
        AT(DynamicBgColor), AT(HotspotFgColor), AT(HotspotBgColor), AT(ScreenDumpFgColor),
        AT(ScreenDumpBgColor), AT(AutoCRDelay), AT(ModemCharDelay), AT(TcpipAutodial),
        AT(ScreenDumpFontWeight), AT(DelaySpool1), AT(DelaySpool2), AT(DelaySpool3),
        AT(PrintToScreen), AT(MaxCols), AT(MaxRows), AT(FrameSize), AT(AlignDisplay),
        AT(AProtocol), AT(DynamicRow), AT(DynamicColumn), AT(DynamicWidth), AT(DynamicHeight),
        AT(DynamicDepth), AT(HistoryRows), AT(MaxInstance), AT(Brightness),
        AT(ScreenDumpAppend), AT(ScreenDumpType), AT(TerminalFamily3270), AT(XferType),
        AT(XonXoff), AT(LocalEcho), AT(NewLine), AT(AutoWrap), AT(UseHostColor),
        AT(UseLineGraphicsColor), AT(UseSpecialGraphicsColor), AT(UseHistoryLinesColor),
        AT(UpdateHiddenHistory), AT(SpareFlags), AT(Toolbar), AT(Statusbar), AT(AutoConnect),
        AT(TitleAppName), AT(TitleUniqueText), AT(TitleHostName), AT(TitleConfig),
        AT(TitleConnected), AT(PromptForHost), AT(BrowseForHost), AT(GeneralSpare),
        AT(AutoLogin), AT(AutoLoginCR), AT(SendWakeup), AT(BlankAutoLogin),
        AT(LockKbdAutoLogin), AT(UnixEnvEnable), AT(DialEnable), AT(ModemEnable),
        AT(FtpEnable), AT(AllowReadCfg), AT(AllowWriteCfg), AT(AllowCfg), AT(AllowDOS),
        AT(CustomKeyDef), AT(CaptureToFile), AT(MciErrorReply), AT(MciOkReply),
        AT(MciDataReply), AT(MciShowError), AT(HostHangupClearScreen), AT(PCHangupClearScreen),
        AT(BoxEnable), AT(BoxEnable32), AT(TrueBold), AT(TrueUnderline),
        AT(EnableSendMousePos), AT(EnableHotspots), AT(EnableButtonPanel),
        AT(EnableDynamicHotspots), AT(ShowTitlebar), AT(ShowMenu), AT(ShowSysMenu),
        AT(ResizeWhenFontChange), AT(SingleInstance), AT(KeyPadAppAdd), AT(KeyPadAppDecimal),
        AT(LineGraphics3D), AT(SendKeyZero), AT(AutonameFiles), AT(AutoDetectReceive),
        AT(AXferConfirmError), AT(EscCtl), AT(NoCrc32), AT(Unlink), AT(KeepAlive),
        AT(TraceTimestamp), AT(SmartNTFF), AT(AclCompletionCodes), AT(LockGeneral),
        AT(LockTerminal), AT(LockFont), AT(LockColors), AT(LockBoxes), AT(LockKeyboard),
        AT(LockPhone), AT(LockModem), AT(LockAutoLogin), AT(LockEnv), AT(LockFtp),
        AT(LockView), AT(LockFiles), AT(LockTerminalPrinters), AT(LockMouse),
        AT(LockAsyncFileTransfer), AT(LockKermit), AT(LockXYModem), AT(LockZModem),
        AT(LockDDE), AT(LockDynamicButtons), AT(LockRuntimeReset), AT(LockHistory),
        AT(LockScaleFont), AT(LockDosBox), AT(UsePalette), AT(MouseToProtected),
        AT(Win32PrintSpool), AT(ProtectedReversed), AT(DoNAWS), AT(SpareInts), AT(Black),
        AT(Blue), AT(Green), AT(Cyan), AT(Red), AT(Magenta), AT(Yellow), AT(White),
        AT(PaletteSpare), AT(LightBlack), AT(LightBlue), AT(LightGreen), AT(LightCyan),
        AT(LightRed), AT(LightMagenta), AT(LightYellow), AT(LightWhite), AT(AttrColors),
        AT(Attr3270Colors), AT(BoxMapFg), AT(BoxMapBg), AT(BoxMap3270Fg), AT(BoxMap3270Bg),
        AT(HostName), AT(Tabs), AT(UnixEnv), AT(PhoneNumber), AT(DialPrefix), AT(DialPostfix),
        AT(HangupPrefix), AT(HangupPostfix), AT(ModemInit), AT(ModemConnect), AT(AnswerBack),
        AT(EnableDisplay), AT(Logo), AT(DdeServerEnable), AT(DdeClientEnable),
        AT(DdeServerServiceName), AT(DdeServerTopicName), AT(DdeClientTopicName),
        AT(DdeClientStartRecordOn), AT(DdeClientStopRecordOn), AT(DdeClientSendToServiceName),
        AT(DdeClientSendToTopicName), AT(DdeClientSendToItemName), AT(DdeDelimiter),
        AT(DdeClientServiceName), AT(DdeRadioDynamic), AT(ExtraDynWordChars), AT(KermitParms),
        AT(KermitSpare), AT(XYModemParms), AT(ColorPalette), AT(CurrentFont), AT(Font80Cols),
        AT(Font132Cols),
        // live state, then the last setting
        AT(HistoryCells), AT(ProtectionPlane), AT(CursorCol), AT(TabStops),
        AT(CharsetDesignation), AT(HostNameMissing), AT(SortedKeyMapFile)};
#undef AT
    for (std::size_t i = 1; i < sizeof order / sizeof order[0]; ++i)
        EXPECT_LT(order[i - 1], order[i]) << "field " << i << " of the documented order";
    EXPECT_EQ(offsetof(SettingsRecord, Attr3270Colors) + sizeof(SettingsRecord::Attr3270Colors),
              offsetof(SettingsRecord, BoxMapFg))
        << "Attr3270Colors ends where BoxMapFg begins";
}

TEST(SessionRecord, IndexNamesMatchTheParts)
{
    EXPECT_EQ(kAttrHistoryLines, 18);
    EXPECT_EQ(kAttrFrame, 19);
    EXPECT_EQ(kSgrBlink, 4);
    EXPECT_EQ(kCsGR, 5);
    EXPECT_LT(kCsSingleShift, kCharsetDesignationBytes);
    EXPECT_EQ(kMaxTabStops, 132);
}

TEST(TranslateTables, IdentityInBothDirections)
{
    TranslateTables t;
    std::memset(&t, 0xEE, sizeof t);
    SetIdentityTables(t);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(t.Incoming[i], i);
        EXPECT_EQ(t.Outgoing[i], i);
    }
}

}  // namespace
