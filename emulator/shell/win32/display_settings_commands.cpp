#include "shell/win32/display_settings_commands.h"

#include <memory>

#include "dialogs/win32/preference_dialogs.h"
#include "shell/config_display_commands.h"
#include "shell/hotspot_table.h"
#include "shell/session_document.h"
#include "shell/win32/dyn_hotspots_dlg.h"

void ViewPrefsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site)
{
    CViewPrefsDlg dialog(owner);
    dialog.values = ViewPrefsValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    ViewPrefsAfterOk(doc, dialog.values, site);
}

void DynHotspotsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site)
{
    SetHotspotSources(&doc.keyMap, &doc.keyDefs);
    auto dialog = std::make_unique<CDynHotspotsDlg>(owner, DynHotspots.get(), &doc.keyMap, &doc.keyDefs);
    dialog->values = DynHotspotsSettingsFrom(*doc.record);
    if (dialog->DoModal() != IDOK) return;
    DynHotspotsAfterOk(doc, dialog->values, dialog->IsModified() ? dialog->DetachTable() : nullptr, site);
}
