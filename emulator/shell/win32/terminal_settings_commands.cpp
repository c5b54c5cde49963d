#include "shell/win32/terminal_settings_commands.h"

#include "dialogs/win32/first_time_setup_dlg.h"
#include "dialogs/win32/general_settings_dlg.h"
#include "dialogs/win32/terminal_settings_dlgs.h"
#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/screen_planes.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

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

void Refit(CZolexDoc& doc)
{
    FrameRefitPending = 1;
    if (doc.Site()) doc.Site()->UpdateAllViews();
}

}  // namespace

GeneralSettingsResult GeneralSettingsCommand(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    const bool connected = rec.Connected != 0;
    CGeneralSettingsDlg dialog(owner, GeneralValuesFrom(rec), connected);
    GeneralSettingsResult result;
    if (dialog.DoModal() != IDOK) return result;
    const GeneralSettingsChanges changes = StoreGeneralValues(dialog.values, rec, connected);
    result.stored = true;
    result.menuChanged = changes.language || changes.family;
    doc.SetModifiedFlag(true);
    doc.SetTitle(nullptr);
    Refit(doc);
    return result;
}

void TerminalEmulationCommand(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    if (rec.TerminalFamily3270) {
        CTerm3270ConfigDlg dialog(owner, Terminal3270ValuesFrom(rec));
        if (dialog.DoModal() != IDOK) return;
        StoreTerminal3270Values(dialog.values, rec);
    } else {
        CTerminalSettingsDlg dialog(owner, TerminalValuesFrom(rec));
        if (dialog.DoModal() != IDOK) return;
        StoreTerminalValues(dialog.values, rec);
        FitScreen(rec, StoredColumns(dialog.values, rec), StoredRows(dialog.values, rec));
    }
    doc.SetModifiedFlag(true);
    Refit(doc);
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
