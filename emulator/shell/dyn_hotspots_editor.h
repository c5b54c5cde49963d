// What the Dynamic Hotspots Settings dialog edits, window-free: the hotspot settings of the
// session record and a working copy of the program's hotspot table, which the dialog owns until
// its opener takes it over after OK.
#pragma once

#include <memory>
#include <string>

#include "shell/hotspot_table.h"

struct SettingsRecord;
class KeyDefTable;

// Longest on-screen text, send string and list of extra word characters (ExtraDynWordChars holds
// 40 characters and its terminator).
constexpr std::size_t kHotspotTextLimit = 40;

struct DynHotspotsSettings {
    int enable = 0;
    int row = 0, column = 0, width = 0, height = 0;  // the hotspot area, 1-based
    int depth = 0;                                   // the buttons' frame depth
    std::string extraChars;                          // non-alphanumerical word characters

    bool operator==(const DynHotspotsSettings& other) const;
    bool operator!=(const DynHotspotsSettings& other) const { return !(*this == other); }
};

DynHotspotsSettings DynHotspotsSettingsFrom(const SettingsRecord& rec);
// Stores the settings (the extra characters cut to their field).
void StoreDynHotspotsSettings(const DynHotspotsSettings& settings, SettingsRecord& rec);

// The dialog's type radio buttons in their tab order ("Send as-is.", "mapped pc key", "terminal
// key") and the entry types they stand for. No button chosen (-1) sends as-is.
int HotspotTypeOfRadio(int radioIndex);
// The radio button of a type; -1 for a type without one.
int RadioOfHotspotType(int type);

// The send string "Add all terminal keys" gives a terminal key name: without its enclosing double
// quotes when it is longer than two characters and starts and ends with one.
std::string TerminalKeySendString(const std::string& keyName);

enum class HotspotAccept {
    kAccepted,
    kEmptyField,      // the on-screen text or the send string is empty
    kWhitespace,      // the on-screen text holds white space or another control character
    kExtraCharsFull,  // the new extra characters would not fit ExtraDynWordChars
};

class DynHotspotsEditor {
public:
    // A working copy of `program` (none: an empty table).
    explicit DynHotspotsEditor(const HotspotTable* program);

    // Adds (or replaces) the entry of `text`: type by the radio button, `send` as its send string.
    // Every character of the text that is no ASCII letter or digit joins `extraChars` unless it
    // is already there. Refused input changes neither the table nor `extraChars`.
    HotspotAccept Accept(const std::string& text, int radioIndex, const std::string& send, std::string& extraChars);
    void Remove(const std::string& text);
    // Empties the working table.
    void RemoveAll();
    // Every unmodified, named key of the registered keyboard map; the number added.
    int AddAllPcKeys();
    // Every named terminal key of `keyDefs` (none: nothing) as type 1; the number added.
    int AddAllTerminalKeys(const KeyDefTable* keyDefs);

    const HotspotTable& Table() const;
    // The table was changed.
    bool IsModified() const { return modified_; }
    // Hands the working table over (null once handed over); the editor then edits nothing.
    std::unique_ptr<HotspotTable> DetachTable();
    bool Detached() const { return !table_; }

private:
    std::unique_ptr<HotspotTable> table_;
    bool modified_ = false;
};
