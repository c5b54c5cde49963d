// The first-time setup dialog of a new configuration, window-free: the platform, terminal and
// character-set lists by terminal family, and what OK stores.
#pragma once

#include "dialogs/settings_value_tables.h"
#include "session/session_record.h"

struct FirstTimeSetupValues {
    int family3270 = 0;
    // The chosen list values: in the 3270/5250 family the terminal is a 3270 model and the
    // character set a national set.
    long platform = 0, terminal = 0, charset = 0;
};

// The three lists of a family and what each selects: the 3270/5250 family selects "IBM
// Mainframe", model 2 (16) and the national set of the country; the others the record's
// platform, emulation and character set.
struct FirstTimeList {
    const SettingsValueTable* table;
    long selected;
};
struct FirstTimeLists {
    FirstTimeList platform, terminal, charset;
};
FirstTimeLists FirstTimeListsFor(bool family3270, const SettingsRecord& rec);

// The values the dialog opens with: the record's family and that family's selections.
FirstTimeSetupValues FirstTimeValuesFrom(const SettingsRecord& rec);

// What OK changed that the caller must follow (the per-emulation files, the translate tables).
struct FirstTimeChanges {
    bool emulationFiles = false, translateTables = false;
};
// Stores the family and, for it, the platform, the terminal or model and the character set (a
// value of 0, nothing chosen, keeps its setting), and the rows: 24 for 3270, else 25 for the
// console and ANSI emulations and 24 for the rest.
FirstTimeChanges StoreFirstTimeValues(const FirstTimeSetupValues& values, SettingsRecord& rec);
