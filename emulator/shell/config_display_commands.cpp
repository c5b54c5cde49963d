#include "shell/config_display_commands.h"

#include <cstring>
#include <string>
#include <utility>

#include "engine/colors.h"
#include "engine/host_commands/command_helpers.h"
#include "shell/hotspot_table.h"
#include "shell/startup_state.h"
#include "shell/view_commands.h"

namespace {

// The host's buttons carry id 0, the hotspot words' buttons id 1.
constexpr int kHostButtons = 0;
constexpr int kHotspotButtons = 1;

// The next view update recolours and lays out the whole screen anew.
void RefitViews(CZolexDoc& doc)
{
    FrameRefitPending = 1;
    if (doc.Site()) doc.Site()->UpdateAllViews();
}

}  // namespace

void ColorsAfterOk(CZolexDoc& doc, const ColorSettingsValues& values, ConfigCommandSite&)
{
    SettingsRecord& rec = *doc.record;
    if (StoreColorValues(values, rec)) RecolorHistory(rec);
    BuildPaletteColors(rec);
    UpdateCurrentColors(rec);
    RefitViews(doc);
    doc.SetModifiedFlag(true);
}

void BoxesAfterOk(CZolexDoc& doc, const BoxSettingsValues& values, ConfigCommandSite&)
{
    StoreBoxValues(values, *doc.record);
    RefitViews(doc);
    doc.SetModifiedFlag(true);
}

void ViewPrefsAfterOk(CZolexDoc& doc, const ViewPrefsValues& values, ConfigCommandSite& site)
{
    SettingsRecord& rec = *doc.record;
    const int frameSize = rec.FrameSize, alignDisplay = rec.AlignDisplay, hotspots = rec.EnableHotspots,
              buttonPanel = rec.EnableButtonPanel;
    StoreViewPrefsValues(values, rec, doc.strings);

    if (rec.FrameSize != frameSize || rec.AlignDisplay != alignDisplay || rec.EnableHotspots != hotspots)
        FrameRefitPending = 1;
    if (!rec.EnableHotspots) DeleteDynButtonsById(kHostButtons);
    if (rec.EnableButtonPanel != buttonPanel) {
        if (rec.EnableButtonPanel)
            site.PostFrameCommand(kViewFunctionButtons);
        else
            DeleteDynButtonsById(kHostButtons);
    }
    doc.SetModifiedFlag(true);
    if (FrameRefitPending) site.RefitMaximisedWindow();
    doc.SetTitle(nullptr);
    if (doc.Site()) doc.Site()->UpdateAllViews();
}

void KeyboardMapAfterOk(CZolexDoc& doc, const KeyboardMapEdits& edits, ConfigCommandSite& site)
{
    if (doc.Site()) doc.Site()->UpdateAllViews();
    site.SetBusyCursor(true);
    const std::string status = site.StatusPaneText();

    if (edits.buttonsChanged) {
        doc.ButtonsChanged = 1;
        doc.SetModifiedFlag(true);
    }
    if (edits.keyDefsChanged && edits.keyDefs) {
        doc.keyDefs.RemoveAllDefs();
        doc.keyDefs.CopyFrom(*edits.keyDefs);
        doc.KeyDefChanged = 1;
        doc.SetModifiedFlag(true);
    }
    if (edits.keyMapChanged && edits.keyMap) {
        doc.keyMap.RemoveAllKeys();
        doc.keyMap.CopyFrom(*edits.keyMap);
        doc.record->KeyMapHasHold = doc.keyMap.ContainsValue("%hold%") ? 1 : 0;
        doc.KeyMapChanged = 1;
        doc.SetModifiedFlag(true);
    }
    if (edits.translateChanged && edits.outbound && edits.inbound) {
        std::memcpy(doc.tables->Outgoing, edits.outbound, sizeof doc.tables->Outgoing);
        std::memcpy(doc.tables->Incoming, edits.inbound, sizeof doc.tables->Incoming);
        doc.TranslateChanged = 1;
        doc.SetModifiedFlag(true);
    }

    site.SetStatusPaneText(status);
    site.SetBusyCursor(false);

    if (edits.keyDefsChanged || edits.keyMapChanged) {
        doc.RefreshHotspotStrings();
        if (DynHotspots) {
            doc.HotspotsChanged = 1;
            doc.SetModifiedFlag(true);
        }
    }
    site.RepaintMainWindow();
}

void DynHotspotsAfterOk(CZolexDoc& doc, const DynHotspotsSettings& values, std::unique_ptr<HotspotTable> editedTable,
                        ConfigCommandSite& site)
{
    if (!editedTable && values == DynHotspotsSettingsFrom(*doc.record)) return;
    if (editedTable) {
        DynHotspots = std::move(editedTable);
        doc.HotspotsChanged = 1;
    }
    doc.SetModifiedFlag(true);
    DeleteDynButtonsById(kHotspotButtons);
    StoreDynHotspotsSettings(values, *doc.record);
    site.RepaintMainWindow();
}
