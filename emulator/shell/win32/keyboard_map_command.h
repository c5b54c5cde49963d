// Config/Keyboard Map: the Keyboard Mapping dialog on working copies of the document's keyboard
// map, terminal key definitions and the two translate tables. On OK each table the dialog reports
// changed replaces the document's (and is marked to be written at the next save); the copies are
// freed in every case.
#pragma once

#include <windows.h>

class CZolexDoc;
class ConfigCommandSite;

void KeyboardMapCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site);
