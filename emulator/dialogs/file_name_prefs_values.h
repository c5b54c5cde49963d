// The file-name preferences (the per-session data files, the capture, trace and start-up files)
// as their dialog edits them, window-free.
#pragma once

#include <string>

#include "session/document_strings.h"
#include "session/session_record.h"

// The per-session data files whose names the dialog edits; with autoname on they follow the
// configuration's name and their fields cannot be edited.
enum DataFileMark : unsigned {
    kKeyMapFileMark = 1,
    kKeyDefFileMark = 2,
    kTranslateFileMark = 4,
    kButtonFileMark = 8,
    kHotspotFileMark = 16,
    kAllDataFileMarks = 31,
};

// The longest recording/trace file name the dialog takes.
constexpr std::size_t kTraceFileLimit = 80;

struct FileNamePrefsValues {
    std::string captureFile;
    int captureToFile = 0;
    std::string terminalKeyDef, keyboardMap;
    int sortedKeyMap = 0;
    std::string traceFile, translate, startupFile;
    int autoname = 0;
    std::string buttonFile, dynHotspotFile;
};

FileNamePrefsValues FileNamePrefsValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings);
// Stores the names and the three settings. Returns the marks of the data files to be written
// anew: each whose name changed (case counts), all five when autoname was switched on.
unsigned StoreFileNamePrefsValues(const FileNamePrefsValues& values, SettingsRecord& rec, DocumentStrings& strings);
