#include "shell/config_terminal_commands.h"

#include "connections/telnet_engine.h"
#include "connections/tn3270_records.h"
#include "engine/charsets.h"
#include "engine/engine_types.h"
#include "engine/ibm3270/ebcdic_tables.h"
#include "engine/screen_actions.h"
#include "engine/screen_planes.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

namespace {

void UpdateViews(CZolexDoc& doc)
{
    FrameRefitPending = 1;
    if (doc.Site()) doc.Site()->UpdateAllViews();
}

void ReloadTranslateTables(CZolexDoc& doc) { doc.LoadTranslateTables(doc.tables->Outgoing, doc.tables->Incoming, false); }

// The screen after a Terminal Emulation dialog: width, rows and history, then the scrolling
// region and the cursor within the rows. False when the planes could not be had for the new
// history: the main window is being closed and nothing more is to be done.
// A selection or a pending click is dropped when the emulation or the screen's size changed.
bool FitScreen(CZolexDoc& doc, int columns, int rows, int oldHistoryRows, bool emulationChanged,
               ConfigCommandSite& site)
{
    SettingsRecord& rec = *doc.record;
    if (emulationChanged || columns != rec.MaxCols || rows != rec.MaxRows || rec.HistoryRows != oldHistoryRows)
        site.DropSelection();
    SetColumns(rec, columns);
    rec.MaxRows = rows;
    if (rec.HistoryRows != oldHistoryRows && !AllocScreenBuffers(rec)) {
        // No planes at all: the record keeps naming the history it had, the other settings stay
        // and are offered for saving when the window closes.
        rec.HistoryRows = oldHistoryRows;
        doc.SetModifiedFlag(true);
        site.CloseMainWindow();
        return false;
    }
    rec.ScrollBottom = static_cast<uint8_t>(rec.MaxRows - 1);
    if (rec.CursorRow > rec.MaxRows - 1) rec.CursorRow = rec.MaxRows - 1;
    if (rec.CursorCol > rec.MaxCols - 1) rec.CursorCol = rec.MaxCols - 1;
    return true;
}

void FinishTerminalSettings(CZolexDoc& doc)
{
    doc.SetModifiedFlag(true);
    UpdateViews(doc);
    UpdateViews(doc);
}

}  // namespace

void ApplyGeneralSettings(CZolexDoc& doc, const GeneralSettingsValues& values, bool connected,
                          ConfigCommandSite& site)
{
    SettingsRecord& rec = *doc.record;
    const GeneralSettingsChanges changed = StoreGeneralValues(values, rec, connected);
    if (changed.family) {
        site.DropSelection();
        if (rec.TerminalFamily3270) {
            TelnetInit();
            Tn3270Reset();
        } else {
            DirtyRect dirty = kEmptyDirtyRect;
            ClearScreen(nullptr, rec, dirty);
        }
    }
    if (changed.platform || changed.family) doc.OfferEmulationDefaults();
    ReloadTranslateTables(doc);
    if (changed.country) doc.OfferTranslateDefaults();
    if (changed.language || changed.family) site.ReloadCountryMenu();
    doc.SetModifiedFlag(true);
    doc.SetTitle(nullptr);
    UpdateViews(doc);
}

void ApplyTerminalSettings(CZolexDoc& doc, const TerminalSettingsValues& values, ConfigCommandSite& site)
{
    SettingsRecord& rec = *doc.record;
    const bool terminalChanged = values.terminal != rec.Terminal;
    const bool charsetChanged = values.charset != rec.Charset;
    const int oldHistoryRows = rec.HistoryRows;
    const int columns = StoredColumns(values, rec), rows = StoredRows(values, rec);
    StoreTerminalValues(values, rec);
    if (!FitScreen(doc, columns, rows, oldHistoryRows, terminalChanged, site)) return;
    rec.AutoWrapNow = rec.AutoWrap;
    rec.NewLineNow = rec.NewLine;
    rec.LocalEchoNow = rec.LocalEcho;
    ParseTabStops(rec);
    if (terminalChanged) doc.OfferEmulationDefaults();
    ReloadTranslateTables(doc);
    if (charsetChanged) doc.OfferTranslateDefaults();
    FinishTerminalSettings(doc);
}

void ApplyTerminal3270Settings(CZolexDoc& doc, const Terminal3270Values& values, ConfigCommandSite& site)
{
    SettingsRecord& rec = *doc.record;
    const bool modelChanged = values.model != rec.Terminal3270;
    const bool nationalChanged = values.national != rec.Charset3270;
    const int oldHistoryRows = rec.HistoryRows;
    StoreTerminal3270Values(values, rec);
    if (!FitScreen(doc, rec.MaxCols, rec.MaxRows, oldHistoryRows, modelChanged, site)) return;
    rec.LocalEchoNow = rec.LocalEcho;
    if (modelChanged) {
        SetDefaultCharsets(rec);
        doc.OfferEmulationDefaults();
    }
    // Charset3270 5-23 names the national variants 0-18.
    if (nationalChanged) Build3270CodeTables(rec.Charset3270 - 5, CodeTableColumnForFont(rec.CurrentFont.CharSet));
    FinishTerminalSettings(doc);
}
