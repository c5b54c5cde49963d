// What Config/General Settings and Config/Terminal Emulation do once their dialog ended with OK:
// the values are stored into the session record and the session follows them (3270 mode,
// screen size and history, live modes, tab stops, the offers of default files, the translate
// tables, the menu of the language, the title and the views). Window-free: the program around the
// document is reached through the ConfigCommandSite. Cancel does not come here.
#pragma once

#include "dialogs/general_settings_values.h"
#include "dialogs/terminal_settings_values.h"
#include "shell/config_command_site.h"

class CZolexDoc;

// General Settings. `connected`: the dialog showed the host name read-only.
void ApplyGeneralSettings(CZolexDoc& doc, const GeneralSettingsValues& values, bool connected,
                          ConfigCommandSite& site);

// Terminal Emulation, the character-cell emulations' dialog.
void ApplyTerminalSettings(CZolexDoc& doc, const TerminalSettingsValues& values, ConfigCommandSite& site);

// Terminal Emulation in 3270 mode.
void ApplyTerminal3270Settings(CZolexDoc& doc, const Terminal3270Values& values, ConfigCommandSite& site);
