// The session record: every setting of the session and the live state of the terminal.
//
// One static, zero-filled SettingsRecord lives as long as the program; every subsystem reads and
// writes its fields directly through the one process-wide pointer `Rec`, which is never
// reassigned. The record has no constructor and no methods.
//
// Fields are named by their configuration-file key where they have one. Kinds: int and flag -> int32_t, byte -> uint8_t,
// rgb (COLORREF 0x00BBGGRR) -> uint32_t, text[N] -> char[N] (NUL-terminated, at most N-1 chars).
//
// The record holds pointers, so its byte layout differs between 32- and 64-bit builds: fields are
// used by name only. Only the packed transfer blocks (KermitParms, XYModemParms) and LogFont have
// a fixed layout, asserted below.
//
// To add a live field: append it in the live-state section (before SortedKeyMapFile), give it a
// comment saying who owns it, and nothing else is needed (zero at load).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

// ---------------------------------------------------------------------------------------------
// Screen geometry.

// Cells of the visible-screen part of every plane and of ProtectionPlane. 25 x 132 = 3300 cells
// would be too small for the IBM 3278/3279 models 4 and 5 (43 x 80 = 3440,
// 27 x 132 = 3564), so every plane holds the largest screen any emulation uses.
constexpr int kScreenCells = 3564;
// The only screen widths.
constexpr int kNarrowColumns = 80;
constexpr int kWideColumns = 132;
// Tab-stop table entries (TabStops).
constexpr int kMaxTabStops = 132;

// True when a screen of `rows` x `cols` fits the planes: cols is 80 or 132, rows >= 1 and
// rows x cols <= kScreenCells. Used when a configuration is loaded, when the planes are allocated
// and when the width changes (SetColumns refuses a width that fails it).
bool ValidScreenGeometry(int rows, int cols);

// ---------------------------------------------------------------------------------------------
// Fixed-layout blocks.

// The platform's logical font (same field layout as the Win32 LOGFONTA, 60 bytes).
struct LogFont {
    int32_t Height;
    int32_t Width;
    int32_t Escapement;
    int32_t Orientation;
    int32_t Weight;
    uint8_t Italic;
    uint8_t Underline;
    uint8_t StrikeOut;
    uint8_t CharSet;
    uint8_t OutPrecision;
    uint8_t ClipPrecision;
    uint8_t Quality;
    uint8_t PitchAndFamily;
    char FaceName[32];
};
static_assert(sizeof(LogFont) == 60, "LogFont must match LOGFONTA");
static_assert(offsetof(LogFont, Weight) == 16, "LogFont layout");
static_assert(offsetof(LogFont, Italic) == 20, "LogFont layout");
static_assert(offsetof(LogFont, PitchAndFamily) == 27, "LogFont layout");
static_assert(offsetof(LogFont, FaceName) == 28, "LogFont layout");

// The packed blocks have no alignment: read and write their ints by value (assignment, copies);
// never bind a reference or pointer to one of their int fields (misaligned access).
#pragma pack(push, 1)

// The Kermit parameter block handed whole to the Kermit transfer: 51 bytes, packed.
// The seven leading fields and the int before Winsize are not in the configuration file.
struct KermitParms {
    int32_t Fixed0;        // default 30
    int32_t Fixed1;        // default 10
    int32_t Fixed2;        // default 1
    int32_t Fixed3;        // default 0
    int32_t Fixed4;        // default 1
    int32_t Fixed5;        // default 25
    uint8_t FixedByte6;    // default 1
    int32_t PacketLength;  // default 94
    int32_t Timeout;       // default 10
    int32_t Padding;       // default 0
    uint8_t Padchar;       // default 0
    uint8_t Eol;           // default 13
    uint8_t Quotechar;     // default '#'
    uint8_t Quote8char;    // default '&'
    uint8_t ChkType;       // default 0
    uint8_t Reptchar;      // default '~'
    int32_t FixedBeforeWinsize;  // default 0
    int32_t Winsize;       // default 0
};

// The X/YMODEM parameter block passed by address to ComSetXYModemParms: 17 bytes.
struct XYModemParms {
    int32_t Timeout;    // default 20
    int32_t MaxErrors;  // default 10
    uint8_t Padchar;    // default 0
    int32_t Retries;    // default 10
    int32_t ForceLow;   // kept by the defaults; not in the file
};

#pragma pack(pop)

static_assert(sizeof(KermitParms) == 51, "KermitParms is 51 packed bytes");
static_assert(offsetof(KermitParms, FixedByte6) == 24, "KermitParms layout");
static_assert(offsetof(KermitParms, PacketLength) == 25, "KermitParms layout");
static_assert(offsetof(KermitParms, Timeout) == 29, "KermitParms layout");
static_assert(offsetof(KermitParms, Padding) == 33, "KermitParms layout");
static_assert(offsetof(KermitParms, Padchar) == 37, "KermitParms layout");
static_assert(offsetof(KermitParms, Eol) == 38, "KermitParms layout");
static_assert(offsetof(KermitParms, Quotechar) == 39, "KermitParms layout");
static_assert(offsetof(KermitParms, Quote8char) == 40, "KermitParms layout");
static_assert(offsetof(KermitParms, ChkType) == 41, "KermitParms layout");
static_assert(offsetof(KermitParms, Reptchar) == 42, "KermitParms layout");
static_assert(offsetof(KermitParms, FixedBeforeWinsize) == 43, "KermitParms layout");
static_assert(offsetof(KermitParms, Winsize) == 47, "KermitParms layout");

static_assert(sizeof(XYModemParms) == 17, "XYModemParms is 17 packed bytes");
static_assert(offsetof(XYModemParms, Timeout) == 0, "XYModemParms layout");
static_assert(offsetof(XYModemParms, MaxErrors) == 4, "XYModemParms layout");
static_assert(offsetof(XYModemParms, Padchar) == 8, "XYModemParms layout");
static_assert(offsetof(XYModemParms, Retries) == 9, "XYModemParms layout");
static_assert(offsetof(XYModemParms, ForceLow) == 13, "XYModemParms layout");

// ---------------------------------------------------------------------------------------------
// Index names.

// Columns of AttrColors / Attr3270Colors entries.
enum AttrColorColumn { kAttrFg = 0, kAttrBg = 1, kAttrThird = 2 };
// Special AttrColors entries (0-15 are attribute combinations: 1 Bold, 2 Reversed, 4 Underline,
// 8 Blinking). The settings LineGraphicsFgColor ... FrameBgColor are these entries.
enum AttrColorEntry {
    kAttrNormal = 0,
    kAttrLineGraphics = 16,
    kAttrSpecialGraphics = 17,
    kAttrHistoryLines = 18,
    kAttrFrame = 19,
};
constexpr int kAttrColorEntries = 20;
constexpr int kAttr3270ColorEntries = 58;
constexpr int kColorIndices = 20;

// SgrFlags entries.
enum SgrFlag { kSgrBold = 0, kSgrReverse = 1, kSgrInvisible = 2, kSgrUnderline = 3, kSgrBlink = 4 };
constexpr int kSgrFlagCount = 5;

// CharsetDesignation bytes. Bytes 7-11 are spare.
enum CharsetSlot { kCsG0 = 0, kCsG1 = 1, kCsG2 = 2, kCsG3 = 3, kCsGL = 4, kCsGR = 5, kCsSingleShift = 6 };
constexpr int kCharsetDesignationBytes = 12;

// CursorFlags bits.
enum CursorFlagBits { kCaretExists = 0x01, kCursorShown = 0x02, kCaretRecreate = 0x04 };

// ESC 7 / ESC 8 state. Row -1: nothing saved.
struct SavedCursorState {
    int32_t Col;
    int32_t Row;
    uint8_t CurFg;
    uint8_t CurBg;
    uint8_t HostFg;
    uint8_t HostBg;
    uint8_t CellFlags;
    int32_t SgrFlags[kSgrFlagCount];
};

// ---------------------------------------------------------------------------------------------
// The record.

struct SettingsRecord {
    // ===== Settings, in record order =====
    uint8_t ScreenDumpFontItalic;  // byte in a 32-bit slot
    uint8_t ScreenDumpFontItalicSlot[3];
    int32_t BaudRateLong;
    int32_t BaudRate;
    int32_t WriteTotalTimeoutConstant;
    int32_t NAWSX;
    int32_t NAWSY;
    int32_t DialTimeout;
    int32_t Port;
    int32_t ComType;
    int32_t NetWork;
    int32_t Lana;
    int32_t Platform;
    int32_t Terminal;
    int32_t Terminal3270;
    int32_t ByteSize;
    int32_t FlowCtrl;
    int32_t Parity;
    int32_t StopBits;
    int32_t Charset;
    int32_t Charset3270;
    int32_t CursorStyle;
    int32_t ControlChar;
    int32_t DecCNM;
    int32_t Country;
    int32_t Language;
    int32_t DisplayFormat;
    int32_t DisplayMirror;
    int32_t WhenHostHungup;
    int32_t WhenPCHungup;
    int32_t SendTimeout;
    int32_t MaxTxBlock;
    int32_t TxBlockDelay;
    int32_t RefreshRate;
    int32_t WakeupDelay;
    int32_t TelnetPort;
    int32_t PlayDelay;
    int32_t PlayKeyDelay;
    int32_t PlayEnterDelay;
    int32_t PlayDelayIntervall;
    int32_t MciWaitIfBusy;
    int32_t Manag;     // [ZModem]
    int32_t Conv;      // [ZModem]
    int32_t FnManag;   // [ZModem]
    int32_t Splen;     // [ZModem]
    int32_t Acklen;    // [ZModem]
    int32_t Wsize;     // [ZModem]
    int32_t ZTimeout;  // [ZModem] "Timeout"
    int32_t TermPrt1Xlate;
    int32_t TermPrt2Xlate;
    int32_t TermPrt3Xlate;
    int32_t Beep;
    int32_t DynamicFgColor;
    int32_t DynamicBgColor;
    int32_t HotspotFgColor;
    int32_t HotspotBgColor;
    int32_t ScreenDumpFgColor;
    int32_t ScreenDumpBgColor;
    int32_t AutoCRDelay;
    int32_t ModemCharDelay;
    int32_t TcpipAutodial;
    int32_t ScreenDumpFontWeight;
    int32_t DelaySpool1;
    int32_t DelaySpool2;
    int32_t DelaySpool3;
    int32_t PrintToScreen;
    int32_t MaxCols;
    int32_t MaxRows;
    int32_t FrameSize;
    int32_t AlignDisplay;
    int32_t AProtocol;
    int32_t DynamicRow;
    int32_t DynamicColumn;
    int32_t DynamicWidth;
    int32_t DynamicHeight;
    int32_t DynamicDepth;
    int32_t HistoryRows;
    int32_t MaxInstance;
    int32_t Brightness;
    int32_t ScreenDumpAppend;
    int32_t ScreenDumpType;
    int32_t TerminalFamily3270;
    int32_t XferType;
    int32_t XonXoff;
    int32_t LocalEcho;
    int32_t NewLine;
    int32_t AutoWrap;
    int32_t UseHostColor;
    int32_t UseLineGraphicsColor;
    int32_t UseSpecialGraphicsColor;
    int32_t UseHistoryLinesColor;
    int32_t UpdateHiddenHistory;
    int32_t SpareFlags[2];
    int32_t Toolbar;
    int32_t Statusbar;
    int32_t AutoConnect;
    int32_t TitleAppName;
    int32_t TitleUniqueText;
    int32_t TitleHostName;
    int32_t TitleConfig;
    int32_t TitleConnected;
    int32_t PromptForHost;
    int32_t BrowseForHost;
    int32_t GeneralSpare[2];  // the two ints after BrowseForHost (meaning left open; defaults 0)
    int32_t AutoLogin;
    int32_t AutoLoginCR;
    int32_t SendWakeup;
    int32_t BlankAutoLogin;
    int32_t LockKbdAutoLogin;
    int32_t UnixEnvEnable;
    int32_t DialEnable;
    int32_t ModemEnable;
    int32_t FtpEnable;
    int32_t AllowReadCfg;
    int32_t AllowWriteCfg;
    int32_t AllowCfg;
    int32_t AllowDOS;
    int32_t CustomKeyDef;
    int32_t CaptureToFile;
    int32_t MciErrorReply;
    int32_t MciOkReply;
    int32_t MciDataReply;
    int32_t MciShowError;
    int32_t HostHangupClearScreen;
    int32_t PCHangupClearScreen;
    int32_t BoxEnable;
    int32_t BoxEnable32;
    int32_t TrueBold;
    int32_t TrueUnderline;
    int32_t EnableSendMousePos;
    int32_t EnableHotspots;
    int32_t EnableButtonPanel;
    int32_t EnableDynamicHotspots;
    int32_t ShowTitlebar;
    int32_t ShowMenu;
    int32_t ShowSysMenu;
    int32_t ResizeWhenFontChange;
    int32_t SingleInstance;
    int32_t KeyPadAppAdd;
    int32_t KeyPadAppDecimal;
    int32_t LineGraphics3D;
    int32_t SendKeyZero;
    int32_t AutonameFiles;
    int32_t AutoDetectReceive;
    int32_t AXferConfirmError;
    int32_t EscCtl;   // [ZModem]
    int32_t NoCrc32;  // [ZModem]
    int32_t Unlink;   // [ZModem]
    int32_t KeepAlive;
    int32_t TraceTimestamp;
    int32_t SmartNTFF;
    int32_t AclCompletionCodes;
    // [LockSettings]; untouched by the defaults.
    int32_t LockGeneral;
    int32_t LockTerminal;
    int32_t LockFont;
    int32_t LockColors;
    int32_t LockBoxes;
    int32_t LockKeyboard;
    int32_t LockPhone;
    int32_t LockModem;
    int32_t LockAutoLogin;
    int32_t LockEnv;
    int32_t LockFtp;
    int32_t LockView;
    int32_t LockFiles;
    int32_t LockTerminalPrinters;
    int32_t LockMouse;
    int32_t LockAsyncFileTransfer;
    int32_t LockKermit;
    int32_t LockXYModem;
    int32_t LockZModem;
    int32_t LockDDE;
    int32_t LockDynamicButtons;
    int32_t LockRuntimeReset;
    int32_t LockHistory;
    int32_t LockScaleFont;
    int32_t LockDosBox;
    int32_t UsePalette;
    int32_t MouseToProtected;
    int32_t Win32PrintSpool;
    int32_t ProtectedReversed;
    int32_t DoNAWS;
    int32_t SpareInts[4];
    // Palette (rgb), normal colours then two spare words then the bright colours.
    uint32_t Black;
    uint32_t Blue;
    uint32_t Green;
    uint32_t Cyan;
    uint32_t Red;
    uint32_t Magenta;
    uint32_t Yellow;
    uint32_t White;
    uint32_t PaletteSpare[2];
    uint32_t LightBlack;
    uint32_t LightBlue;
    uint32_t LightGreen;
    uint32_t LightCyan;
    uint32_t LightRed;
    uint32_t LightMagenta;
    uint32_t LightYellow;
    uint32_t LightWhite;
    // {foreground index, background index, third int} per entry (see AttrColorEntry).
    int32_t AttrColors[kAttrColorEntries][3];
    int32_t Attr3270Colors[kAttr3270ColorEntries][3];
    int32_t BoxMapFg[kColorIndices];
    int32_t BoxMapBg[kColorIndices];
    int32_t BoxMap3270Fg[kColorIndices];
    int32_t BoxMap3270Bg[kColorIndices];
    char HostName[61];
    char Tabs[256];
    char UnixEnv[256];
    char PhoneNumber[129];
    char DialPrefix[129];
    char DialPostfix[129];
    char HangupPrefix[129];
    char HangupPostfix[129];
    char ModemInit[129];
    char ModemConnect[129];
    char AnswerBack[129];
    char EnableDisplay[129];
    char Logo[129];
    int32_t DdeServerEnable;
    int32_t DdeClientEnable;
    char DdeServerServiceName[13];
    char DdeServerTopicName[13];
    char DdeClientTopicName[13];
    char DdeClientStartRecordOn[13];
    char DdeClientStopRecordOn[13];
    char DdeClientSendToServiceName[13];
    char DdeClientSendToTopicName[13];
    char DdeClientSendToItemName[13];
    char DdeDelimiter[13];
    char DdeClientServiceName[13];
    int32_t DdeRadioDynamic;
    char ExtraDynWordChars[41];
    ::KermitParms KermitParms;
    uint8_t KermitSpare[15];
    ::XYModemParms XYModemParms;
    uint32_t ColorPalette[kColorIndices];  // computed by BuildPaletteColors
    LogFont CurrentFont;
    LogFont Font80Cols;
    LogFont Font132Cols;

    // ===== Live state =====
    int32_t HistoryCells;      // HistoryRowsAlloc x MaxCols: offset of the visible screen
    int32_t HistoryBytes;      // history bytes per plane, fixed at allocation
    int32_t DialCountdown;
    void* SerialHandle;        // the open serial port (a Win32 HANDLE)
    int32_t HangupReason;
    int32_t AppCursorKeys;
    int32_t AppKeypad;
    int32_t TraceAllKeyboard;
    int32_t TraceVirtualKeys;
    int32_t ExitPending;
    int32_t Connecting;
    int32_t Connected;
    int32_t SgrFlags[kSgrFlagCount];  // see SgrFlag
    int32_t ScreenFrozen;
    int32_t KeyMapHasHold;
    int32_t TransferActive;
    uint8_t CurFg;
    uint8_t CurBg;
    // Screen planes: base = oldest history row; screen = base + HistoryCells.
    // From each base on HistoryBytes + kScreenCells bytes (see PlaneSlideCells).
    uint8_t* CharsBase;
    uint8_t* FgBase;
    uint8_t* BgBase;
    uint8_t* FlagsBase;
    uint8_t* CharsScreen;
    uint8_t* FgScreen;
    uint8_t* BgScreen;
    uint8_t* FlagsScreen;
    uint8_t ProtectionPlane[kScreenCells];
    int32_t CursorCol;
    int32_t CursorRow;
    int32_t HistoryView;
    int32_t HistoryRowsAlloc;
    int32_t CellWidth;
    int32_t CellHeight;
    int32_t TabStopCount;
    uint8_t TabStops[kMaxTabStops];
    int32_t PlaybackState;
    int32_t PlaybackGeneration;
    uint8_t CharsetDesignation[kCharsetDesignationBytes];  // see CharsetSlot
    uint8_t ScrollTop;
    uint8_t ScrollBottom;
    int32_t KeyboardLocked;
    int32_t LocalEchoNow;
    int32_t AutoWrapNow;
    int32_t NewLineNow;
    std::FILE* TraceFileHandle;
    int32_t Recording;
    std::FILE* PlaybackFile;
    int32_t PrintToScreenNow;
    int32_t CaptureRunning;
    int32_t HostNameMissing;
    // Terminal state: cursor, region, rendition, modes.
    int32_t OriginMode;
    int32_t WrapPending;
    int32_t InsertMode;
    uint8_t CellFlags;
    uint8_t NormalFg;
    uint8_t NormalBg;
    uint8_t ReverseFg;
    uint8_t ReverseBg;
    // The colours the host chose with SGR 30-37 and 40-47 (palette indices); 0 while it uses the
    // normal colours (after SGR 0, 39, 49).
    uint8_t HostFg;
    uint8_t HostBg;
    uint8_t ProtectAttribute;
    uint8_t ProtectMode;
    uint8_t AlternateFont;
    SavedCursorState SavedCursor;
    int32_t CursorFlags;  // see CursorFlagBits
    int32_t PrintedCount;
    int32_t ScrollPosX;   // the view's scroll position
    int32_t ScrollPosY;
    // Interpreter state that ResetTerminal clears.
    int32_t SequenceLength;
    uint8_t PendingIntermediate;
    uint8_t LastChar;
    uint8_t FunctionKeyDelimiter;
    int32_t StringCommandNumber;
    int32_t StringCommandLength;
    int32_t StringCommandShowMode;
    int32_t PrinterControllerMode;
    int32_t PrinterOffMatch7;
    int32_t PrinterOffMatch8;
    int32_t StatusLineCapture;
    int32_t FunctionKeySkip;
    // Host printing (engine/host_commands/host_print.h): the open job (0 idle, printer 1-3 of a
    // spooler job, 1 of a device-interface job, 0x10001 a file), its file and its conversion.
    int32_t HostPrintActive;
    std::FILE* HostPrintFile;
    int32_t PrinterXlate;

    // Main frame and start-up (the frame restores it from the profile section "Window size").
    int32_t ScaleFontToView;  // scale the font to the view (the frame; read by the view geometry)

    // Session automation: the user name typed into the user-name prompt (at most 9 characters),
    // kept for the rest of the process once given.
    char UserNameCache[10];

    // VT executors: the console colours saved by CSI = Y, the lock of each user-defined-key bank
    // (never cleared while the program runs) and the emulation family whose interpreter last
    // used the shared parser state above (FeedEmulation resets that state when it changes).
    uint8_t SavedColors[4];  // NormalFg, NormalBg, ReverseFg, ReverseBg
    int32_t UdkLocked[4];
    int32_t ParserFamily;

    // Terminal view geometry and caret (pixels; the grid starts at LeftMargin, TopMargin).
    int32_t LeftMargin;
    int32_t TopMargin;
    int32_t RightMargin;
    int32_t BottomMargin;
    int32_t HalfSpareX;       // half the space left around the grid
    int32_t HalfSpareY;
    int32_t CaretOffsetY;     // the caret's offset inside its cell
    int32_t ResizeParentNow;  // after the next update, fit the frame to the view
    int32_t ViewHasFocus;
    // The planes' window (screen_planes.cpp): each plane block holds PlaneSlackCells more bytes
    // than the window, which starts PlaneSlideCells bytes into the block (the "...Base" pointers)
    // and moves on by one row when the whole screen scrolls. PlaneTailState tells what the bytes
    // after the visible screen hold: 0 not known, 1 PlaneTailBytes in every plane (from the
    // window offset PlaneTailStart on), 2 anything.
    int32_t PlaneSlideCells;
    int32_t PlaneSlackCells;
    int32_t PlaneTailState;
    int32_t PlaneTailStart;
    uint8_t PlaneTailBytes[4];

    // ===== After the live state =====
    int32_t SortedKeyMapFile;
};

static_assert(std::is_trivial<SettingsRecord>::value, "SettingsRecord has no constructor");
static_assert(std::is_standard_layout<SettingsRecord>::value, "SettingsRecord is plain data");

// The one record of the process (zero-filled at load) and the pointer everybody uses.
extern SettingsRecord* const Rec;

// Process-wide state beside the record: the title text of the "t" option, the Set Titlebar Text
// command, host command 22 and HotScreen rules.
extern std::string TitleText;
