#include "shell/record_defaults.h"

#include <cstring>

#include "engine/charsets.h"
#include "engine/colors.h"
#include "engine/screen_actions.h"
#include "engine/screen_planes.h"
#include "host_platform.h"

namespace {

// Copies a text default into a fixed field, truncating to N-1 characters.
template <std::size_t N>
void CopyText(char (&field)[N], const char* text)
{
    std::size_t n = std::strlen(text);
    if (n > N - 1) n = N - 1;
    std::memcpy(field, text, n);
    std::memset(field + n, 0, N - n);
}

void SetPair(int32_t (&entry)[3], int fg, int bg)
{
    entry[kAttrFg] = fg;
    entry[kAttrBg] = bg;
}

struct LegacyBaud {
    int code;
    int bitsPerSecond;
};

constexpr LegacyBaud kLegacyBaud[] = {
    {0xFF10, 110},   {0xFF11, 300},   {0xFF12, 600},   {0xFF13, 1200},  {0xFF14, 2400},
    {0xFF15, 4800},  {0xFF16, 9600},  {0xFF17, 14400}, {0xFF18, 19200}, {0xFF1B, 38400},
    {0xFF1F, 56000}, {0xFF23, 115200}, {0xFF27, 256000},
};

// Step A: the int and flag settings and the live state that come before the planes.
void SetRecordPartSettings(SettingsRecord& rec)
{
    rec.NAWSX = -1;
    rec.NAWSY = -1;
    rec.DialTimeout = 60;
    rec.Platform = 3;
    rec.Terminal = 2;
    rec.Terminal3270 = 16;
    rec.CursorStyle = 0;
    rec.ControlChar = 1;
    rec.DecCNM = 2;
    rec.DisplayFormat = 0;
    rec.DisplayMirror = 0;
    rec.WhenHostHungup = 0;
    rec.WhenPCHungup = 0;
    rec.SendTimeout = 60;
    rec.MaxTxBlock = 5;
    rec.TxBlockDelay = 0;
    rec.RefreshRate = 0;
    rec.WakeupDelay = 0;
    rec.Beep = 0;
    rec.DynamicFgColor = 0;
    rec.DynamicBgColor = 0;
    rec.HotspotFgColor = 0;
    rec.HotspotBgColor = 0;
    rec.AutoCRDelay = 300;
    rec.ModemCharDelay = 200;
    rec.FrameSize = 7;
    rec.AlignDisplay = 4;
    rec.DynamicRow = 1;
    rec.DynamicColumn = 1;
    rec.DynamicHeight = 25;
    rec.DynamicDepth = 2;
    rec.MaxInstance = 1;
    rec.Brightness = 0;
    rec.TerminalFamily3270 = 0;

    rec.LocalEcho = 0;
    rec.NewLine = 0;
    rec.AutoWrap = 1;
    rec.UseHostColor = 0;
    rec.UseLineGraphicsColor = 1;
    rec.UseSpecialGraphicsColor = 1;
    rec.UseHistoryLinesColor = 1;
    rec.UpdateHiddenHistory = 0;
    rec.Toolbar = 1;
    rec.Statusbar = 1;
    rec.AutoConnect = 1;
    rec.TitleAppName = 1;
    rec.TitleUniqueText = 1;
    rec.TitleHostName = 1;
    rec.TitleConfig = 1;
    rec.TitleConnected = 1;
    rec.PromptForHost = 1;
    rec.BrowseForHost = 1;
    rec.GeneralSpare[0] = 0;
    rec.GeneralSpare[1] = 0;
    rec.AutoLogin = 0;
    rec.AutoLoginCR = 1;
    rec.SendWakeup = 0;
    rec.BlankAutoLogin = 0;
    rec.LockKbdAutoLogin = 0;
    rec.UnixEnvEnable = 1;
    rec.DialEnable = 0;
    rec.ModemEnable = 1;
    rec.FtpEnable = 1;
    rec.AllowReadCfg = 1;
    rec.AllowWriteCfg = 1;
    rec.AllowCfg = 1;
    rec.AllowDOS = 1;
    rec.CustomKeyDef = 0;
    rec.HostHangupClearScreen = 0;
    rec.PCHangupClearScreen = 0;
    rec.BoxEnable = 1;
    rec.BoxEnable32 = 1;
    rec.TrueBold = 0;
    rec.TrueUnderline = 0;
    rec.EnableSendMousePos = 0;
    rec.EnableHotspots = 1;
    rec.EnableButtonPanel = 1;
    rec.EnableDynamicHotspots = 1;
    rec.ShowTitlebar = 1;
    rec.ShowMenu = 1;
    rec.ShowSysMenu = 1;
    rec.ResizeWhenFontChange = 1;
    rec.SingleInstance = 0;
    rec.KeyPadAppAdd = 0;
    rec.KeyPadAppDecimal = 0;
    rec.LineGraphics3D = 1;
    rec.SendKeyZero = 0;
    rec.UsePalette = 0;
    rec.MouseToProtected = 0;
    rec.ProtectedReversed = 0;

    // Live state.
    rec.DialCountdown = 0;
    rec.HangupReason = 0;
    rec.AppCursorKeys = 0;
    rec.AppKeypad = 0;
    rec.ExitPending = 0;
    rec.Connecting = 0;
    rec.Connected = 0;
    rec.PlaybackState = 0;
    rec.KeyboardLocked = 0;
    rec.LocalEchoNow = 0;
    rec.AutoWrapNow = 1;
    rec.NewLineNow = 0;
    rec.Recording = 0;
    rec.HostNameMissing = 0;
    std::memset(rec.CharsetDesignation, 0, sizeof rec.CharsetDesignation);
    rec.CharsetDesignation[kCsG0] = 'B';
    rec.CharsetDesignation[kCsG1] = 'B';
    rec.CharsetDesignation[kCsG2] = 'B';
    rec.CharsetDesignation[kCsG3] = 'B';
    rec.CharsetDesignation[kCsGL] = 0;
    rec.CharsetDesignation[kCsGR] = 2;
}

// Computed default 1 and the line settings.
void SetLineSettings(SettingsRecord& rec)
{
    rec.BaudRate = MapLegacyBaudRate(rec.BaudRate);
    rec.WriteTotalTimeoutConstant = 3000;
    rec.BaudRateLong = rec.BaudRate;
    rec.ByteSize = 8;
    rec.FlowCtrl = 2;
    rec.Parity = 0;
    rec.StopBits = 0;
    rec.XonXoff = 0;
    rec.Charset = 3;
}

void SetCursorAndCell(SettingsRecord& rec)
{
    rec.CursorCol = 0;
    rec.CursorRow = 0;
    rec.CurFg = 0;
    rec.CurBg = 1;
    rec.CellWidth = 7;
    rec.CellHeight = 9;
}

void SetScreenSize(SettingsRecord& rec)
{
    rec.MaxCols = kNarrowColumns;
    rec.MaxRows = 24;
    rec.DynamicWidth = rec.MaxCols;
    rec.HistoryRows = 0;
    rec.ScrollTop = 0;
    rec.ScrollBottom = static_cast<uint8_t>(rec.MaxRows - 1);
}

// Step B: the remaining ints and flags.
void SetRemainingSettings(SettingsRecord& rec, bool newConfiguration)
{
    rec.PlayDelay = 1;
    rec.PlayKeyDelay = 100;
    rec.PlayEnterDelay = 1000;
    rec.PlayDelayIntervall = 10;
    rec.MciWaitIfBusy = 30;
    rec.Manag = 6;
    rec.Conv = 1;
    rec.FnManag = 0;
    rec.Splen = 512;
    rec.Acklen = 1024;
    rec.Wsize = 2048;
    rec.ZTimeout = 100;
    rec.TermPrt1Xlate = 0;
    rec.TermPrt2Xlate = 0;
    rec.TermPrt3Xlate = 0;
    rec.ScreenDumpFgColor = 2;
    rec.ScreenDumpBgColor = 19;
    rec.TcpipAutodial = 0;
    rec.DelaySpool1 = 500;
    rec.DelaySpool2 = 500;
    rec.DelaySpool3 = 500;
    rec.PrintToScreen = 0;
    rec.AProtocol = 0;
    rec.ScreenDumpAppend = 0;
    rec.ScreenDumpType = 1;
    rec.XferType = 0;

    rec.CaptureToFile = 0;
    rec.MciErrorReply = 0;
    rec.MciOkReply = 0;
    rec.MciDataReply = 0;
    rec.MciShowError = 1;
    rec.AutonameFiles = newConfiguration ? 1 : 0;
    rec.AutoDetectReceive = 1;
    rec.AXferConfirmError = 1;
    rec.EscCtl = 1;
    rec.NoCrc32 = 0;
    rec.Unlink = 0;
    rec.KeepAlive = 0;
    rec.TraceTimestamp = 0;
    rec.SmartNTFF = 0;
    rec.AclCompletionCodes = 1;
    rec.Win32PrintSpool = 1;
    rec.DoNAWS = 1;
    rec.SortedKeyMapFile = 0;
}

// Step C: connection and country.
void SetConnectionAndCountry(SettingsRecord& rec)
{
    rec.Port = 1;
    rec.ComType = 2;
    rec.NetWork = 1;
    rec.Lana = 10;
    rec.TelnetPort = 23;
    const int windowsCountry = Platform().WindowsCountry();
    rec.Country = windowsCountry;
    rec.Language = windowsCountry;
    rec.Charset3270 = 4 + NationalSetForCountry(rec.Country);
}

// Step D: the record's strings.
void SetStrings(SettingsRecord& rec)
{
    CopyText(rec.HostName, "KAVERN");
    CopyText(rec.Tabs, "1,9,17,25,33,41,49,57,65,73");
    CopyText(rec.UnixEnv, "TERM=%terminal%");
    CopyText(rec.DialPrefix, "ATDT");
    CopyText(rec.DialPostfix, "");
    CopyText(rec.HangupPrefix, "+++");
    CopyText(rec.HangupPostfix, "ATH");
    CopyText(rec.ModemInit, "ATQ0V1E1S0=0");
    CopyText(rec.ModemConnect, "CONNECT");
    CopyText(rec.AnswerBack, "%terminal%<cr>");
    CopyText(rec.EnableDisplay, "<esc>[y");
    CopyText(rec.Logo, "TOLVI");
    CopyText(rec.ExtraDynWordChars, "");
}

// Part E, second half: the blank screen.
void BlankScreen(SettingsRecord& rec)
{
    std::memset(rec.ProtectionPlane, 0, sizeof rec.ProtectionPlane);
    if (rec.CharsScreen) std::memset(rec.CharsScreen, ' ', kScreenCells);
    if (rec.FgScreen)
        std::memset(rec.FgScreen, static_cast<uint8_t>(rec.AttrColors[kAttrNormal][kAttrFg]), kScreenCells);
    if (rec.BgScreen)
        std::memset(rec.BgScreen, static_cast<uint8_t>(rec.AttrColors[kAttrNormal][kAttrBg]), kScreenCells);
    if (rec.FlagsScreen) std::memset(rec.FlagsScreen, 0, kScreenCells);
    PlanesRewritten(rec);
}

// Step G: DDE.
void SetDdeSettings(SettingsRecord& rec)
{
    rec.DdeServerEnable = 0;
    rec.DdeClientEnable = 0;
    CopyText(rec.DdeServerServiceName, "TOLVI");
    CopyText(rec.DdeServerTopicName, "TOLVITOP");
    CopyText(rec.DdeClientStartRecordOn, "|FROMHOST|");
    CopyText(rec.DdeClientStopRecordOn, "|END|");
    CopyText(rec.DdeClientSendToServiceName, "");
    CopyText(rec.DdeClientSendToTopicName, "");
    CopyText(rec.DdeClientSendToItemName, "");
    CopyText(rec.DdeDelimiter, "|");
    CopyText(rec.DdeClientServiceName, "RODIREVI");
    rec.DdeRadioDynamic = 0;
}

// Step G: the transfer blocks.
void SetTransferBlocks(SettingsRecord& rec)
{
    KermitParms& k = rec.KermitParms;
    k.Fixed0 = 30;
    k.Fixed1 = 10;
    k.Fixed2 = 1;
    k.Fixed3 = 0;
    k.Fixed4 = 1;
    k.Fixed5 = 25;
    k.FixedByte6 = 1;
    k.PacketLength = 94;
    k.Timeout = 10;
    k.Padding = 0;
    k.Padchar = 0;
    k.Eol = 13;
    k.Quotechar = '#';
    k.Quote8char = '&';
    k.ChkType = 0;
    k.Reptchar = '~';
    k.FixedBeforeWinsize = 0;
    k.Winsize = 0;

    XYModemParms& x = rec.XYModemParms;
    x.Timeout = 20;
    x.MaxErrors = 10;
    x.Padchar = 0;
    x.Retries = 10;
    // ForceLow is kept.
}

}  // namespace

int MapLegacyBaudRate(int baudRate)
{
    if (baudRate >= 0) return baudRate;
    const int low = static_cast<int>(static_cast<uint32_t>(baudRate) & 0xFFFFu);
    for (const LegacyBaud& entry : kLegacyBaud) {
        if (entry.code == low) return entry.bitsPerSecond;
    }
    return baudRate;
}

void SetDefaultAttrColors(SettingsRecord& rec)
{
    SetPair(rec.AttrColors[0], 3, 9);
    SetPair(rec.AttrColors[1], 13, 9);
    SetPair(rec.AttrColors[2], 16, 3);
    SetPair(rec.AttrColors[3], 9, 13);
    SetPair(rec.AttrColors[4], 6, 9);
    SetPair(rec.AttrColors[5], 16, 9);
    SetPair(rec.AttrColors[6], 9, 6);
    for (int e = 7; e <= 15; ++e) SetPair(rec.AttrColors[e], 17, 18);
    SetPair(rec.AttrColors[kAttrLineGraphics], 18, 9);
    SetPair(rec.AttrColors[kAttrSpecialGraphics], 7, 9);
    SetPair(rec.AttrColors[kAttrHistoryLines], 9, 12);
    SetPair(rec.AttrColors[kAttrFrame], 9, 12);
}

void BuildDefaultAttr3270Colors(SettingsRecord& rec)
{
    static constexpr int kProtectedFg[8] = {3, 6, 19, 19, 7, 17, 17, 17};
    static constexpr int kUnprotectedFg[8] = {3, 13, 16, 16, 7, 17, 17, 17};
    for (int i = 0; i < 48; ++i) {
        std::memcpy(rec.Attr3270Colors[i], rec.AttrColors[i & 15], sizeof rec.Attr3270Colors[i]);
        const int f = i & 0x2F;  // the Numeric bit is ignored
        const int k = f & 7;
        const bool blinking = (f & 8) != 0;
        const bool reversed = (f & 2) != 0;
        if (f & 0x20) {
            rec.Attr3270Colors[i][kAttrBg] = blinking ? 18 : reversed ? 6 : 9;
            rec.Attr3270Colors[i][kAttrFg] = kProtectedFg[k];
        } else {
            rec.Attr3270Colors[i][kAttrBg] = blinking ? 18 : reversed ? 3 : 19;
            rec.Attr3270Colors[i][kAttrFg] = kUnprotectedFg[k];
        }
    }
    SetPair(rec.Attr3270Colors[36], 9, 12);  // Protected Underline
    // The foregrounds of the host's colour codes F1-F7 (blue, red, pink, green, turquoise,
    // yellow, white), unless some were given already: without them every coloured field would
    // show in colour index 0.
    static constexpr int kHostColourFg[7] = {13, 16, 17, 14, 15, 18, 19};
    bool given = false;
    for (int i = 0; i < 7; ++i) given = given || rec.Attr3270Colors[49 + i][kAttrFg] != 0;
    if (!given)
        for (int i = 0; i < 7; ++i) rec.Attr3270Colors[49 + i][kAttrFg] = kHostColourFg[i];
}

void SetDefaultBoxMaps(SettingsRecord& rec, bool newConfiguration, bool has3270Section)
{
    std::memset(rec.BoxMapFg, 0, sizeof rec.BoxMapFg);
    std::memset(rec.BoxMapBg, 0, sizeof rec.BoxMapBg);
    std::memset(rec.BoxMap3270Fg, 0, sizeof rec.BoxMap3270Fg);
    std::memset(rec.BoxMap3270Bg, 0, sizeof rec.BoxMap3270Bg);
    if (newConfiguration) MarkDefaultBoxes(rec, false, rec.BoxMapFg, rec.BoxMapBg);
    if (!has3270Section) MarkDefaultBoxes(rec, true, rec.BoxMap3270Fg, rec.BoxMap3270Bg);
}

void SetDefaultFonts(SettingsRecord& rec, int screenWidth)
{
    LogFont& f = rec.CurrentFont;
    std::memset(&f, 0, sizeof f);
    f.PitchAndFamily = 0x31;
    if (screenWidth >= 640) {
        CopyText(f.FaceName, "Courier New");
        f.CharSet = 0;
    } else {
        CopyText(f.FaceName, "System");
        f.CharSet = 255;
    }

    // Character heights by screen width: {width, 80 columns, 132 columns}. A 640-pixel screen
    // keeps the face's own weight; any width not listed takes the 800-pixel heights.
    struct FontHeights { int width, height80, height132; };
    static const FontHeights heights[] = {
        {640, -13, -7}, {800, -16, -9}, {1024, -20, -12}, {1152, -24, -13}, {1280, -27, -15}, {1600, -33, -20},
    };
    FontHeights chosen = heights[1];
    for (const FontHeights& h : heights)
        if (h.width == screenWidth) chosen = h;
    if (screenWidth == 640) {
        f.Weight = 0;
    } else {
        f.Weight = 700;
        f.CharSet = 0;
    }
    f.Height = chosen.height80;
    rec.Font80Cols = f;
    f.Height = chosen.height132;
    rec.Font132Cols = f;
    // CurrentFont keeps the 132-column values until the view chooses.
}

bool SetRecordDefaults(SettingsRecord& rec, bool newConfiguration, bool has3270Section,
                       ScreenAllocator allocateScreen, TranslateTables& tables)
{
    // A. The record part.
    SetRecordPartSettings(rec);
    SetLineSettings(rec);
    SetCursorAndCell(rec);
    SetDefaultPalette(rec);
    SetDefaultAttrColors(rec);
    BuildDefaultAttr3270Colors(rec);
    SetScreenSize(rec);

    // The screen planes, with HistoryRows 0.
    if (allocateScreen && !allocateScreen(rec)) return false;

    // B-G.
    SetRemainingSettings(rec, newConfiguration);
    SetConnectionAndCountry(rec);
    SetStrings(rec);
    ParseTabStops(rec);
    SetDefaultBoxMaps(rec, newConfiguration, has3270Section);
    BlankScreen(rec);
    SetDefaultFonts(rec, Platform().ScreenWidth());
    SetIdentityTables(tables);
    // (The document strings are applied by the document from DocumentStringDefaults.)
    SetDdeSettings(rec);
    SetTransferBlocks(rec);
    return true;
}
