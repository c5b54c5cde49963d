// The small session settings dialogs' values, window-free: Automatic Login, the host environment
// table, the file-transfer command and Multimedia, and the host name asked for before a
// connection. Each is taken from the session record and the document strings and stored back,
// every text cut to what its setting holds.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "session/document_strings.h"
#include "session/session_record.h"

// Automatic Login: seven wait-for / reply pairs (document strings AutoHost0-6, AutoUser0-6).
constexpr int kAutoLoginPairs = 7;
constexpr std::size_t kAutoLoginTextLimit = 128;
// The display-on text is typed up to 32 characters (its setting holds 128).
constexpr std::size_t kDisplayOnLimit = 32;

struct AutoLoginValues {
    std::array<std::string, kAutoLoginPairs> waitFor, reply;
    int enable = 0, sendCr = 0, sendWakeup = 0, lockKeyboard = 0, blankScreen = 0;
    std::string displayOn;
};

AutoLoginValues AutoLoginValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings);
void StoreAutoLoginValues(const AutoLoginValues& values, SettingsRecord& rec, DocumentStrings& strings);

// The host environment table: NAME=value entries parted by blanks or line breaks.
constexpr std::size_t kHostEnvLimit = 255;

struct HostEnvValues {
    int enable = 0;
    std::string table;
};

HostEnvValues HostEnvValuesFrom(const SettingsRecord& rec);
// Every line break (CR LF, CR or LF) is stored as one blank, which parts entries as well and keeps
// the configuration file's line whole; the text is cut to 255 bytes.
void StoreHostEnvValues(const HostEnvValues& values, SettingsRecord& rec);
// The table as the setting keeps it (line breaks as blanks, at most 255 bytes).
std::string HostEnvSettingText(const std::string& table);

// The file-transfer command: the program started by File/File transfer and its folder.
constexpr std::size_t kFtpCommandLimit = 128;

struct FileTransferCmdValues {
    std::string command, directory;
    int enable = 0;
    int protocol = 0;  // 0 by transport, 1 FTP, 2 Kermit or X/Y/ZModem; -1 none chosen
};

FileTransferCmdValues FileTransferCmdValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings);
// A protocol of -1 keeps the stored one.
void StoreFileTransferCmdValues(const FileTransferCmdValues& values, SettingsRecord& rec, DocumentStrings& strings);

// Multimedia: the replies sent to the host and the wait when the device is busy.
struct MultimediaValues {
    int errorReply = 0, okReply = 0, dataReply = 0, showError = 0;
    unsigned waitIfBusy = 0;  // seconds
};

MultimediaValues MultimediaValuesFrom(const SettingsRecord& rec);
// A wait beyond what the setting holds is stored as its largest value.
void StoreMultimediaValues(const MultimediaValues& values, SettingsRecord& rec);

// The host name asked for before a network connection.
constexpr std::size_t kHostNameLimit = 60;
