// Config/General Settings, Config/Terminal Emulation and the first-time setup of a new
// configuration: each copies the stored settings into its dialog, runs it, and on OK stores them
// and marks the document modified.
#pragma once

#include <windows.h>

class CZolexDoc;

// Dialog 101. On OK the settings are stored and the title refreshed; the result tells whether
// the language or the terminal family changed (the frame then loads the menu of the language).
struct GeneralSettingsResult {
    bool stored = false;
    bool menuChanged = false;
};
GeneralSettingsResult GeneralSettingsCommand(CZolexDoc& doc, HWND owner);

// Dialog 611 in 3270 mode, else 601. The screen width goes through the planes' width switch and
// the rows follow the choice (the cursor and the scrolling region stay within them); in 3270 mode
// the screen size follows the model and is left alone.
void TerminalEmulationCommand(CZolexDoc& doc, HWND owner);

// Dialog 142 over the main window, for a configuration that start-up had to create. On OK: the family, its
// platform, terminal and character set, the rows; the session's per-emulation files and
// translate tables are loaded again for a changed emulation or character set, and in the 3270
// family the code tables are rebuilt for the national set. Returns true on OK.
bool RunFirstTimeSetup(CZolexDoc& doc, HWND owner);
