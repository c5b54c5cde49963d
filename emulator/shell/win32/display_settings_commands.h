// Config/Preferences/View and Config/Preferences/Dynamic Hotspots: each copies the settings into
// its dialog, runs it, and on OK hands the edited values to the command's after-OK work.
#pragma once

#include <windows.h>

class CZolexDoc;
class ConfigCommandSite;

void ViewPrefsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site);
// Makes the document's key tables the hotspot table's sources and opens the dialog on a copy of
// the program's hotspot table; the copy replaces the program's only when the dialog changed it.
void DynHotspotsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site);
