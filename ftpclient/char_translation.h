// Byte-by-byte character translation of transferred text files between the PC's character set
// and the host's: OEM/ANSI conversion by the platform, everything else through a pair of 256-byte
// translate tables read from a translate-table file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Character-set codes of the two sides.
enum FtpCharset : int {
    kCharsetNational7 = 1,     // 7-bit national replacement set
    kCharsetMultinational = 2, // 8-bit multinational
    kCharsetAnsi = 3,          // ISO 8859 / ANSI
    kCharsetOem = 4,           // IBM PC / OEM
};

// The platform's conversion between the ANSI and the OEM code page, in place, one byte per byte.
class OemAnsiConverter {
public:
    virtual ~OemAnsiConverter() = default;
    virtual void ToOem(std::uint8_t* bytes, std::size_t count) = 0;
    virtual void ToAnsi(std::uint8_t* bytes, std::size_t count) = 0;
};

// Installs the converter the conversions use (null: leave bytes unchanged). Not owned.
void SetOemAnsiConverter(OemAnsiConverter* converter);

// Where the translation reports what it does: a string-table id (0 for a text of its own) and the
// finished text. By default the lines go to the FTP log's info channel.
using XlateLogFn = void (*)(int stringId, const std::string& text);
void SetXlateLog(XlateLogFn log);

struct CharTranslationSettings {
    std::string programDir;   // program folder with its trailing separator
    int country = 1;
    int remoteCharset = kCharsetNational7;
    int localCharset = kCharsetAnsi;
    int translate = 0;
    int tablesStale = 1;
    // Mirrors of the site settings that the translated transfers use.
    int appendMode = 0;
    int avoidZero = 0;
};

// The process's translation settings and tables.
CharTranslationSettings& Xlate();
extern std::uint8_t OutgoingTable[256];
extern std::uint8_t IncomingTable[256];

void SetCountry(int country);
void SetRemoteCharset(int code);
void SetLocalCharset(int code);
void SetTranslate(int flag);
std::string TranslateFileName();
// Loads the tables of the current remote set; 0 or the C error number. A missing or short file
// leaves both tables the identity.
int LoadTables();

// In-place conversion of one data buffer (local file to host, host to local file).
void ConvertOutgoing(std::uint8_t* bytes, std::size_t count, int avoidZero);
void ConvertIncoming(std::uint8_t* bytes, std::size_t count, int avoidZero);

// FtpPut / FtpGet with conversion switched on for the one transfer when translation is on, and the
// append setting as the append flag.
int TranslatedPut(const char* localPath, const char* remoteName, char type, int notify,
                  std::uintptr_t progressWindow, unsigned progressMessage);
int TranslatedGet(const char* remoteName, const char* localPath, char type, int notify,
                  std::uintptr_t progressWindow, unsigned progressMessage);
std::int64_t TransferBytesDone();
std::int64_t TransferBytesTotal();
