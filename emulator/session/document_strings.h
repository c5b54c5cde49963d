// The setting strings that the session document holds itself (not fields of the session record):
// file names, the log-on pairs, printers, the file-transfer command, the lock password.
#pragma once

#include <cstddef>
#include <string>

// The longest text a document string keeps (configuration values, command-line options).
constexpr std::size_t kDocumentStringLimit = 128;

struct DocumentStrings {
    std::string TerminalKeyDef, KeyboardMap, Translate, CaptureFile, DynHotspotFile, HotScreenFile,
        ButtonFile, FtpCommand, FtpDirectory, MouseClick, MouseDoubleClick, AxDirectory, StartupFile,
        TraceFile, AppName, MsgExit;
    std::string AutoHost0, AutoHost1, AutoHost2, AutoHost3, AutoHost4, AutoHost5, AutoHost6;
    std::string AutoUser0, AutoUser1, AutoUser2, AutoUser3, AutoUser4, AutoUser5, AutoUser6;
    std::string Printer1, Printer2, Printer3;
    std::string Spare[5];
    std::string LockPassword, ScreenDumpFont;
    std::string AppNameShown;  // the application part of the window title
    std::string SpareAfterTitle;
    std::string ActiveButtonFile;  // the working button file once installed ("default.trc")
};

// Where a document string is kept in the configuration file, and its default.
struct DocumentStringDefault {
    const char* member;    // CZolexDoc member name
    const char* section;   // configuration-file section; nullptr = the application section
    const char* key;       // configuration-file key; nullptr = not in the file
    const char* value;     // default; nullptr = kept (the defaults leave the string as it is)
    int stringId;          // string-table id the default comes from; 0 = a literal
    bool nullForm;         // an empty value is stored as "%null%"
    bool scrambled;        // stored scrambled
};

// In CZolexDoc member order: TerminalKeyDef ... ScreenDumpFont (35 entries).
extern const DocumentStringDefault DocumentStringDefaults[];
extern const std::size_t DocumentStringDefaultCount;

// The entry of a member name, or nullptr.
const DocumentStringDefault* FindDocumentStringDefault(const char* member);

// The string of a member name ("AutoHost3"), or nullptr.
std::string* FindDocumentString(DocumentStrings& strings, const char* member);

// Stores the defaults of DocumentStringDefaults; the strings whose default is "kept" stay.
void ApplyDocumentStringDefaults(DocumentStrings& strings);
