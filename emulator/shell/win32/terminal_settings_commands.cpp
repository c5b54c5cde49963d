#include "shell/win32/terminal_settings_commands.h"

#include "dialogs/win32/first_time_setup_dlg.h"
#include "dialogs/win32/general_settings_dlg.h"
#include "dialogs/win32/terminal_settings_dlgs.h"
#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/screen_planes.h"
#include "shell/config_terminal_commands.h"
#include "shell/session_document.h"

namespace {

// The rows and the width of the screen: the cursor and the scrolling region stay inside.
void FitScreen(SettingsRecord& rec, int columns, int rows)
{
    rec.MaxRows = rows;
    SetColumns(rec, columns);
    rec.ScrollTop = 0;
    rec.ScrollBottom = static_cast<uint8_t>(rec.MaxRows - 1);
    if (rec.CursorRow > rec.MaxRows - 1) rec.CursorRow = rec.MaxRows - 1;
    if (rec.CursorCol > rec.MaxCols - 1) rec.CursorCol = rec.MaxCols - 1;
}

}  // namespace

void GeneralSettingsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site)
{
    const bool connected = doc.record->Connected != 0;
    CGeneralSettingsDlg dialog(owner, GeneralValuesFrom(*doc.record), connected);
    if (dialog.DoModal() == IDOK) ApplyGeneralSettings(doc, dialog.values, connected, site);
}

void TerminalEmulationCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site)
{
    if (doc.record->TerminalFamily3270) {
        CTerm3270ConfigDlg dialog(owner, Terminal3270ValuesFrom(*doc.record));
        if (dialog.DoModal() == IDOK) ApplyTerminal3270Settings(doc, dialog.values, site);
    } else {
        CTerminalSettingsDlg dialog(owner, TerminalValuesFrom(*doc.record));
        if (dialog.DoModal() == IDOK) ApplyTerminalSettings(doc, dialog.values, site);
    }
}

bool RunFirstTimeSetup(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    CFirstTimeSetupDlg dialog(owner, rec);
    if (dialog.DoModal() != IDOK) return false;
    const FirstTimeChanges changes = StoreFirstTimeValues(dialog.values, rec);
    FitScreen(rec, rec.MaxCols, rec.MaxRows);
    if (rec.TerminalFamily3270)
        Build3270CodeTables(rec.Charset3270 - 5, CodeTableColumnForFont(rec.CurrentFont.CharSet));
    if (changes.emulationFiles) {
        doc.LoadKeyDefFile(doc.keyDefs, false);
        doc.LoadKeyMapFile(doc.keyMap, false);
        doc.RefreshHotspotStrings();
    }
    if (changes.translateTables || changes.emulationFiles)
        doc.LoadTranslateTables(doc.tables->Outgoing, doc.tables->Incoming, false);
    doc.SetModifiedFlag(true);
    return true;
}
