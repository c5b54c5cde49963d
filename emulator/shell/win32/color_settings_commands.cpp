#include "shell/win32/color_settings_commands.h"

#include "dialogs/win32/boxes_dlg.h"
#include "dialogs/win32/color_dialogs.h"
#include "shell/attribute_key_name.h"
#include "shell/config_display_commands.h"
#include "shell/session_document.h"

namespace {
HPALETTE samplePalette = nullptr;
}  // namespace

void SetColorSamplePalette(HPALETTE palette) { samplePalette = palette; }

void ColorsCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site)
{
    SettingsRecord& rec = *doc.record;
    AttributeKeyName names;
    CColorsDlg dialog(owner, rec, ColorValuesFrom(rec, rec.TerminalFamily3270 != 0),
                      [&names](int attributes) { return names.BuildLabel(attributes); });
    dialog.selectedText = " Normal ";
    dialog.palette = samplePalette;
    if (dialog.DoModal() != IDOK) return;
    ColorsAfterOk(doc, dialog.values, site);
}

void BoxesCommand(CZolexDoc& doc, HWND owner, ConfigCommandSite& site)
{
    SettingsRecord& rec = *doc.record;
    CBoxesDlg dialog(owner, rec, BoxValuesFrom(rec, rec.TerminalFamily3270 != 0));
    if (dialog.DoModal() != IDOK) return;
    BoxesAfterOk(doc, dialog.values, site);
}
