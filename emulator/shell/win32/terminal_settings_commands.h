// Config/General Settings, Config/Terminal Emulation and the first-time setup of a new
// configuration: each copies the stored settings into its dialog, runs it, and only on OK stores
// them and marks the document modified.
#pragma once

#include <windows.h>

class CZolexDoc;
class ConfigCommandSite;

// Dialog 101 over `owner`; on OK the session follows the settings (config_terminal_commands.h),
// and `site` answers what that asks of the program around the document.
void GeneralSettingsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site);

// Dialog 611 in 3270 mode, else 601; on OK the screen, the modes and the files follow the
// settings. In 3270 mode the screen size follows the model and is left alone.
void TerminalEmulationCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site);

// Dialog 142 over the main window, for a configuration that start-up had to create. On OK: the family, its
// platform, terminal and character set, the rows; the session's per-emulation files and
// translate tables are loaded again for a changed emulation or character set, and in the 3270
// family the code tables are rebuilt for the national set. Returns true on OK.
bool RunFirstTimeSetup(CZolexDoc& doc, HWND owner);
