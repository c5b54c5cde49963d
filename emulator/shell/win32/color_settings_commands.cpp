#include "shell/win32/color_settings_commands.h"

#include "dialogs/win32/boxes_dlg.h"
#include "dialogs/win32/color_dialogs.h"
#include "engine/colors.h"
#include "shell/attribute_key_name.h"
#include "shell/session_document.h"

void ColorsCommand(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    AttributeKeyName names;
    CColorsDlg dialog(owner, rec, ColorValuesFrom(rec, rec.TerminalFamily3270 != 0),
                      [&names](int attributes) { return names.BuildLabel(attributes); });
    dialog.selectedText = " Normal ";
    if (dialog.DoModal() != IDOK) return;
    if (StoreColorValues(dialog.values, rec)) RecolorHistory(rec);
    BuildPaletteColors(rec);
    UpdateCurrentColors(rec);
    if (doc.Site()) doc.Site()->UpdateAllViews();
    doc.SetModifiedFlag(true);
}

void BoxesCommand(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    CBoxesDlg dialog(owner, rec, BoxValuesFrom(rec, rec.TerminalFamily3270 != 0));
    if (dialog.DoModal() != IDOK) return;
    StoreBoxValues(dialog.values, rec);
    if (doc.Site()) doc.Site()->UpdateAllViews();
    doc.SetModifiedFlag(true);
}
