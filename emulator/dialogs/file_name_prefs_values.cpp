#include "dialogs/file_name_prefs_values.h"

#include "dialogs/setting_text.h"

FileNamePrefsValues FileNamePrefsValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings)
{
    FileNamePrefsValues v;
    v.captureFile = strings.CaptureFile;
    v.captureToFile = rec.CaptureToFile;
    v.terminalKeyDef = strings.TerminalKeyDef;
    v.keyboardMap = strings.KeyboardMap;
    v.sortedKeyMap = rec.SortedKeyMapFile;
    v.traceFile = strings.TraceFile;
    v.translate = strings.Translate;
    v.startupFile = strings.StartupFile;
    v.autoname = rec.AutonameFiles;
    v.buttonFile = strings.ButtonFile;
    v.dynHotspotFile = strings.DynHotspotFile;
    return v;
}

unsigned StoreFileNamePrefsValues(const FileNamePrefsValues& v, SettingsRecord& rec, DocumentStrings& strings)
{
    unsigned marks = 0;
    auto name = [&marks](std::string& stored, const std::string& edited, unsigned mark) {
        const std::string text = DocumentStringText(edited);
        if (stored != text) marks |= mark;
        stored = text;
    };
    name(strings.KeyboardMap, v.keyboardMap, kKeyMapFileMark);
    name(strings.TerminalKeyDef, v.terminalKeyDef, kKeyDefFileMark);
    name(strings.Translate, v.translate, kTranslateFileMark);
    name(strings.ButtonFile, v.buttonFile, kButtonFileMark);
    name(strings.DynHotspotFile, v.dynHotspotFile, kHotspotFileMark);
    strings.CaptureFile = DocumentStringText(v.captureFile);
    strings.TraceFile = DocumentStringText(v.traceFile);
    strings.StartupFile = DocumentStringText(v.startupFile);
    const bool autonameOn = v.autoname && !rec.AutonameFiles;
    rec.CaptureToFile = v.captureToFile;
    rec.SortedKeyMapFile = v.sortedKeyMap;
    rec.AutonameFiles = v.autoname;
    return autonameOn ? kAllDataFileMarks : marks;
}
