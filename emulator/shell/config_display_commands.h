// What the display commands of the Config menu apply once their dialog ended with OK: Colors and
// Attributes, Boxes, Preferences/View, Keyboard Map and Preferences/Dynamic Hotspots. Each works
// on the session document and the values its dialog edited; the frame, the view and the cursor
// are reached through the command site. A cancelled dialog calls none of them.
#pragma once

#include <cstdint>
#include <memory>

#include "dialogs/box_settings_values.h"
#include "dialogs/color_settings_values.h"
#include "dialogs/view_prefs_values.h"
#include "shell/config_command_site.h"
#include "shell/dyn_hotspots_editor.h"
#include "shell/session_document.h"

// Colours copied back; the history rows already on the screen take the history-lines colours
// (or the Normal row's) when the history colouring changed; palette and current colours follow,
// the views are refitted and the document marked modified.
void ColorsAfterOk(CZolexDoc& doc, const ColorSettingsValues& values, ConfigCommandSite& site);

// The box maps and switches copied back; views refitted, document modified.
void BoxesAfterOk(CZolexDoc& doc, const BoxSettingsValues& values, ConfigCommandSite& site);

// The view preferences copied back (the application name also to the title). A changed frame
// size, alignment or hotspot switch refits the views and a maximised window; hotspots off drops
// the host's buttons; the button panel switched on plays the button file (Function Buttons),
// switched off drops the host's buttons. Then the title and the views.
void ViewPrefsAfterOk(CZolexDoc& doc, const ViewPrefsValues& values, ConfigCommandSite& site);

// What the Keyboard Mapping dialog edited: its working copies and what it reports changed.
struct KeyboardMapEdits {
    const KeyMap* keyMap = nullptr;
    const KeyDefTable* keyDefs = nullptr;
    const uint8_t* outbound = nullptr;  // 256 bytes each
    const uint8_t* inbound = nullptr;
    bool buttonsChanged = false, keyDefsChanged = false, keyMapChanged = false, translateChanged = false;
};

// Each table reported changed replaces the document's and is marked for the next save, under the
// busy cursor with the first status pane kept; changed key tables resolve the hotspot strings
// again (and mark the hotspot table for saving when there is one); the main window is repainted.
void KeyboardMapAfterOk(CZolexDoc& doc, const KeyboardMapEdits& edits, ConfigCommandSite& site);

// The hotspot settings edited and, when the dialog changed the table, its table (else null).
// Nothing happens when neither changed. Else the edited table replaces the program's, the
// hotspot buttons are dropped, the settings stored and the main window repainted (which makes
// the buttons anew).
void DynHotspotsAfterOk(CZolexDoc& doc, const DynHotspotsSettings& values, std::unique_ptr<HotspotTable> editedTable,
                        ConfigCommandSite& site);
