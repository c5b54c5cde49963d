#include "char_translation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "ftp_api.h"
#include "ftp_log.h"
#include "ftp_session.h"

std::uint8_t OutgoingTable[256];
std::uint8_t IncomingTable[256];

namespace {

OemAnsiConverter* g_converter = nullptr;

void LogToFtp(int, const std::string& text) { ftp_info_line(text.c_str()); }

XlateLogFn g_log = LogToFtp;

void Log(int id, const char* text, const std::string& arg)
{
    g_log(id, FormatArg(text, arg));
}

void SetIdentity(std::uint8_t* table)
{
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(i);
}

void ToOem(std::uint8_t* bytes, std::size_t count)
{
    if (g_converter != nullptr)
        g_converter->ToOem(bytes, count);
}

void ToAnsi(std::uint8_t* bytes, std::size_t count)
{
    if (g_converter != nullptr)
        g_converter->ToAnsi(bytes, count);
}

void ApplyTable(const std::uint8_t* table, std::uint8_t* bytes, std::size_t count, int avoidZero)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        std::uint8_t t = table[b];
        if (t == 0 && b != 0 && avoidZero)
            t = ' ';
        bytes[i] = t;
    }
}

// Reads exactly 256 bytes; errno (or EIO for a short file) on failure.
int ReadTable(std::FILE* file, std::uint8_t* table)
{
    errno = 0;
    if (std::fread(table, 1, 256, file) == 256)
        return 0;
    return errno != 0 ? errno : EIO;
}

}  // namespace

void SetOemAnsiConverter(OemAnsiConverter* converter) { g_converter = converter; }

void SetXlateLog(XlateLogFn log) { g_log = log != nullptr ? log : LogToFtp; }

CharTranslationSettings& Xlate()
{
    static CharTranslationSettings settings;
    return settings;
}

void SetCountry(int country)
{
    if (Xlate().country != country)
        Xlate().tablesStale = 1;
    Xlate().country = country;
}

void SetRemoteCharset(int code)
{
    if (Xlate().remoteCharset != code)
        Xlate().tablesStale = 1;
    Xlate().remoteCharset = code;
}

void SetLocalCharset(int code) { Xlate().localCharset = code; }

void SetTranslate(int flag) { Xlate().translate = flag; }

std::string TranslateFileName()
{
    const CharTranslationSettings& s = Xlate();
    if (s.remoteCharset == kCharsetMultinational)
        return s.programDir + "DECMULTI";
    if (s.remoteCharset == kCharsetNational7) {
        char name[32];
        std::snprintf(name, sizeof name, "DECNRC.%03d", s.country);
        return s.programDir + name;
    }
    return s.programDir + "zlansi.xlt";
}

int LoadTables()
{
    const std::string name = TranslateFileName();
    g_log(3037, "Xlate file is: " + name);
    SetIdentity(OutgoingTable);
    SetIdentity(IncomingTable);
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
        const int err = errno;
        Log(3000, "Error opening xlate file: %1", name);
        g_log(0, "Error: Character translation disabled");
        return err != 0 ? err : ENOENT;
    }
    // Read both tables before taking either, so a short file leaves the identity in place.
    std::uint8_t outgoing[256];
    std::uint8_t incoming[256];
    int err = ReadTable(file, outgoing);
    if (err != 0) {
        Log(3001, "Error reading outgoing translate table: %1", name);
    } else if ((err = ReadTable(file, incoming)) != 0) {
        Log(3002, "Error reading incoming translate table: %1", name);
    }
    std::fclose(file);
    if (err != 0)
        return err;
    std::copy(outgoing, outgoing + 256, OutgoingTable);
    std::copy(incoming, incoming + 256, IncomingTable);
    Xlate().tablesStale = 0;
    return 0;
}

void ConvertOutgoing(std::uint8_t* bytes, std::size_t count, int avoidZero)
{
    const int r = Xlate().remoteCharset;
    const int l = Xlate().localCharset;
    if (r == kCharsetOem && l == kCharsetAnsi) {
        ToOem(bytes, count);
        return;
    }
    if (r == kCharsetAnsi && l == kCharsetOem) {
        ToAnsi(bytes, count);
        return;
    }
    if (l == kCharsetOem)
        ToAnsi(bytes, count);
    ApplyTable(OutgoingTable, bytes, count, avoidZero);
}

void ConvertIncoming(std::uint8_t* bytes, std::size_t count, int avoidZero)
{
    const int r = Xlate().remoteCharset;
    const int l = Xlate().localCharset;
    if (r == kCharsetOem && l == kCharsetAnsi) {
        ToAnsi(bytes, count);
        return;
    }
    if (r == kCharsetAnsi && l == kCharsetOem) {
        ToOem(bytes, count);
        return;
    }
    ApplyTable(IncomingTable, bytes, count, avoidZero);
    if (l == kCharsetOem)
        ToOem(bytes, count);
}

namespace {

void PrepareTransfer(int avoidZero)
{
    if (Xlate().translate && Xlate().tablesStale)
        LoadTables();
    Ftp().translate = Xlate().translate;
    Ftp().avoidZero = avoidZero;
}

void EndTransfer()
{
    Ftp().translate = 0;
    Ftp().avoidZero = 0;
}

}  // namespace

int TranslatedPut(const char* localPath, const char* remoteName, char type, int notify,
                  std::uintptr_t progressWindow, unsigned progressMessage)
{
    PrepareTransfer(Xlate().avoidZero);
    const int result = FtpPut(localPath, remoteName, type, notify, progressWindow, progressMessage,
                              Xlate().appendMode);
    EndTransfer();
    return result;
}

int TranslatedGet(const char* remoteName, const char* localPath, char type, int notify,
                  std::uintptr_t progressWindow, unsigned progressMessage)
{
    PrepareTransfer(0);
    const int result = FtpGet(remoteName, localPath, type, notify, progressWindow, progressMessage,
                              Xlate().appendMode);
    EndTransfer();
    return result;
}

std::int64_t TransferBytesDone() { return FtpBytesDone(); }
std::int64_t TransferBytesTotal() { return FtpBytesTotal(); }
