#include "shell/config_file.h"

#include <cctype>
#include <cstdlib>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "shell/attribute_key_name.h"
#include "shell/config_ranges.h"
#include "shell/config_values.h"
#include "session/messages.h"
#include "engine/charsets.h"
#include "engine/key_strings.h"
#include "shell/profile_store.h"

namespace {

enum class Kind { Section, Long, Rgb, Int, Char, Bool, Str, StrNull, Scrambled, BoxList };

struct KeyEntry {
    Kind kind;
    const char* key;                          // the key, or the section a Section entry switches to
    std::size_t offset;                       // record field
    std::size_t size;                         // its size in bytes (text: with the terminator)
    std::string DocumentStrings::*text;       // a document string instead of a record field
    int boxKind;                              // box lists: the kind the key lists
};

#define FIELD(f) offsetof(SettingsRecord, f), sizeof(static_cast<SettingsRecord*>(nullptr)->f)
#define SECTION(name) {Kind::Section, name, 0, 0, nullptr, 0}
#define REC(kind, key, f) {Kind::kind, key, FIELD(f), nullptr, 0}
#define DOC(kind, m) {Kind::kind, #m, 0, 0, &DocumentStrings::m, 0}
#define BOX(key, map, boxKind) {Kind::BoxList, key, FIELD(map), nullptr, boxKind}

// Each table starts in the application section.
const KeyEntry kLongKeys[] = {
    REC(Long, "BaudRateLong", BaudRateLong), REC(Long, "WriteTotalTimeoutConstant", WriteTotalTimeoutConstant),
    REC(Long, "NAWSX", NAWSX), REC(Long, "NAWSY", NAWSY),
};

const KeyEntry kRgbKeys[] = {
    SECTION("Palette"),
    REC(Rgb, "Black", Black), REC(Rgb, "Red", Red), REC(Rgb, "Green", Green), REC(Rgb, "Yellow", Yellow),
    REC(Rgb, "Blue", Blue), REC(Rgb, "Magenta", Magenta), REC(Rgb, "Cyan", Cyan), REC(Rgb, "White", White),
    REC(Rgb, "LightBlack", LightBlack), REC(Rgb, "LightRed", LightRed), REC(Rgb, "LightGreen", LightGreen),
    REC(Rgb, "LightYellow", LightYellow), REC(Rgb, "LightBlue", LightBlue),
    REC(Rgb, "LightMagenta", LightMagenta), REC(Rgb, "LightCyan", LightCyan),
    REC(Rgb, "LightWhite", LightWhite),
};

#define INT(f) REC(Int, #f, f)
const KeyEntry kIntKeys[] = {
    INT(Country), INT(Language),
    REC(Int, "FontSize", Font80Cols.Height), REC(Int, "FontWeight", Font80Cols.Weight),
    REC(Int, "FontSize132", Font132Cols.Height), REC(Int, "FontWeight132", Font132Cols.Weight),
    INT(ScreenDumpFontWeight), INT(ComType), INT(NetWork), INT(Platform), INT(Terminal), INT(Lana),
    INT(Port), INT(ByteSize), INT(FlowCtrl), INT(Parity), INT(StopBits), INT(Charset),
    INT(CursorStyle), INT(ControlChar), INT(DecCNM), INT(DialTimeout), INT(FrameSize),
    INT(AlignDisplay), INT(MaxCols), INT(MaxRows),
    REC(Int, "FrameFgColor", AttrColors[kAttrFrame][kAttrFg]),
    REC(Int, "FrameBgColor", AttrColors[kAttrFrame][kAttrBg]),
    REC(Int, "LineGraphicsFgColor", AttrColors[kAttrLineGraphics][kAttrFg]),
    REC(Int, "LineGraphicsBgColor", AttrColors[kAttrLineGraphics][kAttrBg]),
    REC(Int, "SpecialGraphicsFgColor", AttrColors[kAttrSpecialGraphics][kAttrFg]),
    REC(Int, "SpecialGraphicsBgColor", AttrColors[kAttrSpecialGraphics][kAttrBg]),
    REC(Int, "HistoryLinesFgColor", AttrColors[kAttrHistoryLines][kAttrFg]),
    REC(Int, "HistoryLinesBgColor", AttrColors[kAttrHistoryLines][kAttrBg]),
    INT(DisplayFormat), INT(DisplayMirror), INT(WhenHostHungup), INT(WhenPCHungup),
    INT(SendTimeout), INT(MaxTxBlock), INT(TxBlockDelay), INT(RefreshRate), INT(Beep),
    INT(WakeupDelay), INT(TelnetPort), INT(MciWaitIfBusy), INT(PlayDelay), INT(PlayDelayIntervall),
    INT(PlayKeyDelay), INT(PlayEnterDelay), INT(AProtocol), INT(TermPrt1Xlate), INT(TermPrt2Xlate),
    INT(TermPrt3Xlate), INT(DelaySpool1), INT(DelaySpool2), INT(DelaySpool3), INT(DynamicRow),
    INT(DynamicColumn), INT(DynamicWidth), INT(DynamicHeight), INT(DynamicDepth),
    INT(DynamicFgColor), INT(DynamicBgColor), INT(HotspotFgColor), INT(HotspotBgColor),
    INT(ScreenDumpFgColor), INT(ScreenDumpBgColor), INT(HistoryRows), INT(MaxInstance),
    INT(ScreenDumpType), INT(ScreenDumpAppend), INT(XferType), INT(TcpipAutodial), INT(PrintToScreen),
    SECTION("ZModem"),
    INT(Manag), INT(Conv), INT(FnManag), INT(Splen), INT(Acklen), INT(Wsize),
    REC(Int, "Timeout", ZTimeout),
    SECTION("Kermit"),
    REC(Int, "PacketLength", KermitParms.PacketLength), REC(Int, "Timeout", KermitParms.Timeout),
    REC(Int, "Padding", KermitParms.Padding), REC(Int, "Winsize", KermitParms.Winsize),
    SECTION("XYModem"),
    REC(Int, "MaxErrors", XYModemParms.MaxErrors), REC(Int, "Retries", XYModemParms.Retries),
    REC(Int, "Timeout", XYModemParms.Timeout),
    SECTION("DDE"), INT(DdeRadioDynamic),
    SECTION("Palette"), INT(Brightness),
    SECTION("3270"), INT(TerminalFamily3270), INT(Terminal3270), INT(Charset3270),
};
#undef INT

const KeyEntry kCharKeys[] = {
    REC(Char, "FontCharSet", Font80Cols.CharSet), REC(Char, "FontItalic", Font80Cols.Italic),
    REC(Char, "FontCharSet132", Font132Cols.CharSet), REC(Char, "FontItalic132", Font132Cols.Italic),
    REC(Char, "ScreenDumpFontItalic", ScreenDumpFontItalic),
    SECTION("Kermit"),
    REC(Char, "Padchar", KermitParms.Padchar), REC(Char, "Eol", KermitParms.Eol),
    REC(Char, "Quotechar", KermitParms.Quotechar), REC(Char, "Quote8char", KermitParms.Quote8char),
    REC(Char, "ChkType", KermitParms.ChkType), REC(Char, "Reptchar", KermitParms.Reptchar),
    SECTION("XYModem"),
    REC(Char, "Padchar", XYModemParms.Padchar),
};

#define BOOL(f) REC(Bool, #f, f)
const KeyEntry kBoolKeys[] = {
    BOOL(SingleInstance), BOOL(XonXoff), BOOL(LocalEcho), BOOL(NewLine), BOOL(AutoWrap),
    BOOL(AutoLogin), BOOL(AutoLoginCR), BOOL(SendWakeup), BOOL(BlankAutoLogin),
    BOOL(LockKbdAutoLogin), BOOL(UnixEnvEnable), BOOL(DialEnable), BOOL(ModemEnable), BOOL(Toolbar),
    BOOL(Statusbar), BOOL(UseHostColor), BOOL(UseLineGraphicsColor), BOOL(UseSpecialGraphicsColor),
    BOOL(UseHistoryLinesColor), BOOL(UpdateHiddenHistory), BOOL(PromptForHost), BOOL(BrowseForHost),
    BOOL(AutoConnect), BOOL(AllowReadCfg), BOOL(AllowWriteCfg), BOOL(AllowCfg), BOOL(AllowDOS),
    BOOL(CustomKeyDef), BOOL(CaptureToFile), BOOL(AutonameFiles), BOOL(SortedKeyMapFile),
    BOOL(MciErrorReply), BOOL(MciOkReply), BOOL(MciDataReply), BOOL(MciShowError), BOOL(BoxEnable),
    BOOL(HostHangupClearScreen), BOOL(PCHangupClearScreen), BOOL(TrueBold), BOOL(TrueUnderline),
    BOOL(ProtectedReversed), BOOL(EnableSendMousePos), BOOL(ShowTitlebar), BOOL(ShowMenu),
    BOOL(ShowSysMenu), BOOL(ResizeWhenFontChange), BOOL(TitleAppName), BOOL(TitleUniqueText),
    BOOL(TitleHostName), BOOL(TitleConnected), BOOL(TitleConfig), BOOL(EnableButtonPanel),
    BOOL(EnableHotspots), BOOL(EnableDynamicHotspots), BOOL(KeyPadAppAdd), BOOL(KeyPadAppDecimal),
    BOOL(FtpEnable), BOOL(SendKeyZero), BOOL(LineGraphics3D), BOOL(AutoDetectReceive),
    BOOL(AclCompletionCodes), BOOL(AXferConfirmError), BOOL(KeepAlive), BOOL(TraceTimestamp),
    BOOL(SmartNTFF), BOOL(Win32PrintSpool), BOOL(DoNAWS),
    SECTION("ZModem"), BOOL(EscCtl), BOOL(NoCrc32), BOOL(Unlink),
    SECTION("DDE"), BOOL(DdeServerEnable), BOOL(DdeClientEnable),
    SECTION("LockSettings"),
    BOOL(LockGeneral), BOOL(LockTerminal), BOOL(LockFont), BOOL(LockColors), BOOL(LockBoxes),
    BOOL(LockKeyboard), BOOL(LockPhone), BOOL(LockModem), BOOL(LockAutoLogin), BOOL(LockEnv),
    BOOL(LockFtp), BOOL(LockView), BOOL(LockFiles), BOOL(LockTerminalPrinters), BOOL(LockMouse),
    BOOL(LockAsyncFileTransfer), BOOL(LockKermit), BOOL(LockXYModem), BOOL(LockZModem),
    BOOL(LockDDE), BOOL(LockDynamicButtons), BOOL(LockRuntimeReset), BOOL(LockHistory),
    BOOL(LockScaleFont), BOOL(LockDosBox),
    SECTION("Palette"), BOOL(UsePalette),
    SECTION("3270"), BOOL(MouseToProtected), BOOL(BoxEnable32),
};
#undef BOOL

#define STR(f) REC(Str, #f, f)
const KeyEntry kStrKeys[] = {
    REC(Str, "Font", Font80Cols.FaceName), REC(Str, "Font132", Font132Cols.FaceName),
    STR(HostName), STR(UnixEnv), STR(PhoneNumber), STR(DialPrefix), STR(DialPostfix),
    STR(HangupPrefix), STR(HangupPostfix), STR(ModemInit), STR(ModemConnect), STR(AnswerBack),
    STR(Tabs), STR(EnableDisplay), STR(Logo),
    DOC(Str, TerminalKeyDef), DOC(Str, KeyboardMap), DOC(Str, Translate), DOC(Str, CaptureFile),
    DOC(Str, TraceFile), DOC(Str, StartupFile), DOC(Str, MouseClick), DOC(Str, MouseDoubleClick),
    DOC(Str, AppName), DOC(Str, FtpCommand), DOC(Str, FtpDirectory), DOC(Str, Printer1),
    DOC(Str, Printer2), DOC(Str, Printer3), DOC(Str, AxDirectory), DOC(Str, ScreenDumpFont),
    STR(ExtraDynWordChars),
    SECTION("DDE"),
    STR(DdeServerServiceName), STR(DdeServerTopicName), STR(DdeClientTopicName),
    STR(DdeClientStartRecordOn), STR(DdeClientStopRecordOn), STR(DdeClientSendToServiceName),
    STR(DdeClientSendToTopicName), STR(DdeClientSendToItemName), STR(DdeDelimiter),
    STR(DdeClientServiceName),
};
#undef STR

const KeyEntry kNullKeys[] = {
    DOC(StrNull, AutoHost0), DOC(StrNull, AutoHost1), DOC(StrNull, AutoHost2),
    DOC(StrNull, AutoHost3), DOC(StrNull, AutoHost4), DOC(StrNull, AutoHost5),
    DOC(StrNull, AutoHost6), DOC(StrNull, AutoUser0), DOC(StrNull, AutoUser1),
    DOC(StrNull, AutoUser3), DOC(StrNull, AutoUser4), DOC(StrNull, AutoUser5),
    DOC(StrNull, AutoUser6), DOC(StrNull, MsgExit),
};

const KeyEntry kScrambledKeys[] = {
    DOC(Scrambled, AutoUser2),
    SECTION("LockSettings"), DOC(Scrambled, LockPassword),
};

const KeyEntry kBoxKeys[] = {
    BOX("InBoxFg", BoxMapFg, 1), BOX("InBoxBg", BoxMapBg, 1), BOX("OutBoxFg", BoxMapFg, 2),
    BOX("OutBoxBg", BoxMapBg, 2), BOX("EditBoxFg", BoxMapFg, 3), BOX("EditBoxBg", BoxMapBg, 3),
    SECTION("3270"),
    BOX("InBoxFg", BoxMap3270Fg, 1), BOX("InBoxBg", BoxMap3270Bg, 1), BOX("OutBoxFg", BoxMap3270Fg, 2),
    BOX("OutBoxBg", BoxMap3270Bg, 2), BOX("EditBoxFg", BoxMap3270Fg, 3), BOX("EditBoxBg", BoxMap3270Bg, 3),
};

struct Table {
    const KeyEntry* entries;
    std::size_t count;
};

#define TABLE(t) {t, sizeof t / sizeof t[0]}
const Table kTables[] = {
    TABLE(kLongKeys), TABLE(kRgbKeys), TABLE(kIntKeys), TABLE(kCharKeys), TABLE(kBoolKeys),
    TABLE(kStrKeys), TABLE(kNullKeys), TABLE(kScrambledKeys), TABLE(kBoxKeys),
};
#undef TABLE

constexpr const char* kNullText = "%null%";
constexpr const char* kMissing = "%missing%";  // not a scrambled text: tells a missing key apart

// Record fields are reached by offset; memcpy keeps the packed transfer blocks' ints safe.
int32_t GetInt(const SettingsRecord& rec, const KeyEntry& e)
{
    int32_t value;
    std::memcpy(&value, reinterpret_cast<const char*>(&rec) + e.offset, sizeof value);
    return value;
}

void SetInt(SettingsRecord& rec, const KeyEntry& e, int32_t value)
{
    std::memcpy(reinterpret_cast<char*>(&rec) + e.offset, &value, sizeof value);
}

uint8_t& ByteField(SettingsRecord& rec, const KeyEntry& e)
{
    return *(reinterpret_cast<uint8_t*>(&rec) + e.offset);
}

char* TextField(SettingsRecord& rec, const KeyEntry& e)
{
    return reinterpret_cast<char*>(&rec) + e.offset;
}

int32_t* BoxMap(SettingsRecord& rec, const KeyEntry& e)
{
    return reinterpret_cast<int32_t*>(reinterpret_cast<char*>(&rec) + e.offset);
}

// The longest text a string key holds: its field's room, or the document-string limit.
std::size_t TextLimit(const KeyEntry& e) { return e.text ? kDocumentStringLimit : e.size - 1; }

std::string CurrentText(SettingsRecord& rec, DocumentStrings& strings, const KeyEntry& e)
{
    if (e.text) return strings.*e.text;
    const char* field = TextField(rec, e);
    return std::string(field, strnlen(field, e.size));
}

void StoreText(SettingsRecord& rec, DocumentStrings& strings, const KeyEntry& e, const std::string& value)
{
    std::string text = value.substr(0, TextLimit(e));
    if (e.text) {
        strings.*e.text = text;
        return;
    }
    char* field = TextField(rec, e);
    std::memset(field, 0, e.size);
    std::memcpy(field, text.data(), text.size());
}

// ---- Reading

void ReadText(const char* section, const KeyEntry& e, const char* file, SettingsRecord& rec,
              DocumentStrings& strings)
{
    // Room for every character of the field written as an escape pair, plus the quotes.
    const std::size_t limit = TextLimit(e);
    std::string raw(2 * limit + 3, '\0');
    // A missing key gives "" and so keeps the current text as it is.
    const std::size_t n = Profiles().GetString(section, e.key, "", &raw[0], raw.size(), file);
    if (n == 0) return;
    raw.resize(n);
    if (e.kind == Kind::StrNull && raw.find(kNullText) != std::string::npos) {
        StoreText(rec, strings, e, "");
        return;
    }
    std::string text(limit + 1, '\0');
    const int length = UnescapeString(raw.c_str(), &text[0], static_cast<int>(limit));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    StoreText(rec, strings, e, text);
}

void ReadScrambled(const char* section, const KeyEntry& e, const char* file, SettingsRecord& rec,
                   DocumentStrings& strings)
{
    std::string raw(2 * TextLimit(e) + 3, '\0');
    const std::size_t n = Profiles().GetString(section, e.key, kMissing, &raw[0], raw.size(), file);
    raw.resize(n);
    if (raw == kMissing) return;
    StoreText(rec, strings, e, UnscrambleProfileText(raw, TextLimit(e)));
}

void ReadBoxList(const char* section, const KeyEntry& e, const char* file, SettingsRecord& rec,
                 std::vector<std::string>& outOfRange)
{
    char value[256];
    if (Profiles().GetString(section, e.key, "", value, sizeof value, file) == 0) return;
    int32_t* map = BoxMap(rec, e);
    for (int c = 0; c < kColorIndices; ++c) {
        if (map[c] == e.boxKind) map[c] = 0;
    }
    const char* p = value;
    while (*p) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        const char* start = p;
        while (*p && *p != ' ') ++p;
        // A run that is not a number names no colour and is passed over.
        char* end = nullptr;
        const std::string token(start, p);
        const long c = std::strtol(token.c_str(), &end, 10);
        if (end == token.c_str()) continue;
        if (c >= 0 && c < kColorIndices) {
            map[c] = e.boxKind;
            continue;
        }
        // Reported with the other values out of range, once, after the whole file.
        const std::string key = std::strcmp(section, kAppSection) == 0 ? std::string(e.key)
                                                                       : "[" + std::string(section) + "] " + e.key;
        if (outOfRange.empty() || outOfRange.back() != key) outOfRange.push_back(key);
    }
}

void ReadEntry(const char* section, const KeyEntry& e, const char* file, SettingsRecord& rec,
               DocumentStrings& strings, std::vector<std::string>& outOfRange)
{
    switch (e.kind) {
    case Kind::Section:
        break;
    case Kind::Long:
    case Kind::Rgb:
        SetInt(rec, e, ReadProfileLong(section, e.key, GetInt(rec, e), file));
        break;
    case Kind::Int:
        SetInt(rec, e, static_cast<int32_t>(Profiles().GetInt(section, e.key, GetInt(rec, e), file)));
        break;
    case Kind::Char:
        ByteField(rec, e) = ReadProfileChar(section, e.key, ByteField(rec, e), file);
        break;
    case Kind::Bool: {
        char value[4];
        Profiles().GetString(section, e.key, GetInt(rec, e) ? "Yes" : "No", value, sizeof value, file);
        SetInt(rec, e, ParseProfileBool(value));
        break;
    }
    case Kind::Str:
    case Kind::StrNull:
        ReadText(section, e, file, rec, strings);
        break;
    case Kind::Scrambled:
        ReadScrambled(section, e, file, rec, strings);
        break;
    case Kind::BoxList:
        ReadBoxList(section, e, file, rec, outOfRange);
        break;
    }
}

// ---- Writing

std::string BoxListText(SettingsRecord& rec, const KeyEntry& e)
{
    std::string text;
    const int32_t* map = BoxMap(rec, e);
    for (int c = 0; c < kColorIndices; ++c) {
        if (map[c] == e.boxKind) text += std::to_string(c) + " ";
    }
    return text;
}

bool WriteEntry(const char* section, const KeyEntry& e, const char* file, SettingsRecord& rec,
                DocumentStrings& strings)
{
    char number[16];
    switch (e.kind) {
    case Kind::Section:
        return true;
    case Kind::Long:
        return WriteProfileLong(section, e.key, GetInt(rec, e), file);
    case Kind::Rgb:
        return WriteProfileColor(section, e.key, static_cast<uint32_t>(GetInt(rec, e)), file);
    case Kind::Int:
        std::snprintf(number, sizeof number, "%d", GetInt(rec, e));
        return Profiles().WriteString(section, e.key, number, file);
    case Kind::Char:
        return WriteProfileChar(section, e.key, ByteField(rec, e), file);
    case Kind::Bool:
        return Profiles().WriteString(section, e.key, GetInt(rec, e) ? "Yes" : "No", file);
    case Kind::Str:
    case Kind::StrNull: {
        const std::string text = CurrentText(rec, strings, e);
        if (e.kind == Kind::StrNull && text.empty())
            return Profiles().WriteString(section, e.key, kNullText, file);
        // Every character may become an escape pair; the limit takes the whole text.
        std::string quoted(2 * text.size() + 8, '\0');
        const int n = QuoteString(text.c_str(), &quoted[0], static_cast<int>(2 * text.size() + 4));
        quoted.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return Profiles().WriteString(section, e.key, quoted.c_str(), file);
    }
    case Kind::Scrambled:
        return Profiles().WriteString(section, e.key, ScrambleProfileText(CurrentText(rec, strings, e)).c_str(),
                                      file);
    case Kind::BoxList:
        return Profiles().WriteString(section, e.key, BoxListText(rec, e).c_str(), file);
    }
    return false;
}

// A target that exists and is a folder or cannot be written.
bool Unwritable(const char* file)
{
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status)) return false;
    if (std::filesystem::is_directory(status)) return true;
    return (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

void FixUpAfterReading(SettingsRecord& rec, DocumentStrings& strings)
{
    if (rec.ControlChar == 0) rec.ControlChar = 1;
    std::string lower = strings.FtpCommand;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const char oldClient[] = "gx38.exe";
    const std::size_t at = lower.find(oldClient);
    if (at != std::string::npos) strings.FtpCommand.replace(at, sizeof oldClient - 1, "tolviftp.exe");
    SetDefaultCharsets(*Rec);
}

}  // namespace

int SerializeConfigFile(const char* file, bool write, SettingsRecord& rec, DocumentStrings& strings)
{
    AttributeKeyName names;
    bool ok = true;
    if (write) {
        if (Unwritable(file)) {
            ok = false;
        } else {
            ok = Profiles().WriteString(kAppSection, kVersionKey, kConfigVersion, file) && ok;
            for (const Table& table : kTables) {
                const char* section = kAppSection;
                for (std::size_t i = 0; i < table.count; ++i) {
                    const KeyEntry& e = table.entries[i];
                    if (e.kind == Kind::Section) section = e.key;
                    else ok = WriteEntry(section, e, file, rec, strings) && ok;
                }
            }
            char number[16];
            auto writeColors = [&](const char* section, int32_t (*colors)[3], int count) {
                for (int i = 0; i < count; ++i) {
                    std::snprintf(number, sizeof number, "%d", colors[i][kAttrFg]);
                    ok = Profiles().WriteString(section, names.BuildFgKey(i).c_str(), number, file) && ok;
                    std::snprintf(number, sizeof number, "%d", colors[i][kAttrBg]);
                    ok = Profiles().WriteString(section, names.BuildBgKey(i).c_str(), number, file) && ok;
                }
            };
            writeColors(kAppSection, rec.AttrColors, kAttrColorEntriesInFile);
            writeColors("3270Attributes", rec.Attr3270Colors, kAttr3270ColorEntriesInFile);
        }
        if (!ok) {
            ShowMessage(53, kMsgOk | kMsgIconExclamation, nullptr);
            rec.ExitPending = 0;
        }
        return ok ? 1 : 0;
    }

    char version[120];
    if (Profiles().GetString(kAppSection, kVersionKey, "", version, sizeof version, file) == 0 &&
        Profiles().GetString(kOldAppSection, kVersionKey, "", version, sizeof version, file) == 0) {
        ShowNamedMessage(54, kMsgOk | kMsgIconExclamation, file);
        ok = false;
    }
    const SettingsRecord before = rec;
    std::vector<std::string> outOfRange;
    for (const Table& table : kTables) {
        const char* section = kAppSection;
        for (std::size_t i = 0; i < table.count; ++i) {
            const KeyEntry& e = table.entries[i];
            if (e.kind == Kind::Section) section = e.key;
            else ReadEntry(section, e, file, rec, strings, outOfRange);
        }
    }
    auto readColors = [&](const char* section, int32_t (*colors)[3], int count) {
        for (int i = 0; i < count; ++i) {
            colors[i][kAttrFg] = static_cast<int32_t>(
                Profiles().GetInt(section, names.BuildFgKey(i).c_str(), colors[i][kAttrFg], file));
            colors[i][kAttrBg] = static_cast<int32_t>(
                Profiles().GetInt(section, names.BuildBgKey(i).c_str(), colors[i][kAttrBg], file));
        }
    };
    readColors(kAppSection, rec.AttrColors, kAttrColorEntriesInFile);
    readColors("3270Attributes", rec.Attr3270Colors, kAttr3270ColorEntriesInFile);
    for (const std::string& key : RestoreValuesOutOfRange(rec, before)) outOfRange.push_back(key);
    if (!outOfRange.empty())
        ShowMessage(0, kMsgOk | kMsgIconExclamation, "%s", ValuesOutOfRangeText(file, outOfRange).c_str());
    FixUpAfterReading(rec, strings);
    return ok ? 1 : 0;
}

std::vector<ConfigKeyName> ConfigKeyNames()
{
    std::vector<ConfigKeyName> names{{kAppSection, kVersionKey}};
    for (const Table& table : kTables) {
        const char* section = kAppSection;
        for (std::size_t i = 0; i < table.count; ++i) {
            const KeyEntry& e = table.entries[i];
            if (e.kind == Kind::Section) section = e.key;
            else names.push_back({section, e.key});
        }
    }
    AttributeKeyName words;
    for (int i = 0; i < kAttrColorEntriesInFile; ++i) {
        names.push_back({kAppSection, words.BuildFgKey(i)});
        names.push_back({kAppSection, words.BuildBgKey(i)});
    }
    for (int i = 0; i < kAttr3270ColorEntriesInFile; ++i) {
        names.push_back({"3270Attributes", words.BuildFgKey(i)});
        names.push_back({"3270Attributes", words.BuildBgKey(i)});
    }
    return names;
}
