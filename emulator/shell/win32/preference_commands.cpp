#include "shell/win32/preference_commands.h"

#include "dialogs/win32/connection_dialogs.h"
#include "dialogs/win32/preference_dialogs.h"
#include "dialogs/win32/terminal_printers_dlg.h"
#include "engine/host_commands/command_helpers.h"
#include "shell/config_preference_commands.h"
#include "shell/session_document.h"
#include "shell/win32/dyn_hotspots_dlg.h"

void ModemCommand(CZolexDoc& doc, HWND owner)
{
    CModemDlg dialog(owner);
    dialog.values = ModemValuesFrom(*doc.record);
    if (dialog.DoModal() != IDOK) return;
    ModemAfterOk(doc, dialog.values);
}

void PhoneNumberCommand(CZolexDoc& doc, HWND owner)
{
    CPhoneNumberDlg dialog(owner);
    dialog.values = PhoneValuesFrom(*doc.record);
    if (dialog.DoModal() != IDOK) return;
    PhoneAfterOk(doc, dialog.values);
}

void MouseCommand(CZolexDoc& doc, HWND owner)
{
    CMouseDlg dialog(owner);
    dialog.values = MouseValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    MouseAfterOk(doc, dialog.values);
}

void ViewPrefsCommand(CZolexDoc& doc, HWND owner)
{
    CViewPrefsDlg dialog(owner);
    dialog.values = ViewPrefsValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    StoreViewPrefsValues(dialog.values, *doc.record, doc.strings);
    doc.SetModifiedFlag(true);
    doc.SetTitle(nullptr);
}

void FilePrefsCommand(CZolexDoc& doc, HWND owner)
{
    CFileNamePrefsDlg dialog(owner);
    dialog.values = FileNamePrefsValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    FilePrefsAfterOk(doc, dialog.values);
}

void TerminalPrintersCommand(CZolexDoc& doc, HWND owner)
{
    CTerminalPrintersDlg dialog(owner);
    dialog.values = TerminalPrinterValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    TerminalPrintersAfterOk(doc, dialog.values);
}

void DynHotspotsCommand(CZolexDoc& doc, HWND owner)
{
    SetHotspotSources(&doc.keyMap, &doc.keyDefs);
    auto dialog = std::make_unique<CDynHotspotsDlg>(owner, DynHotspots.get(), &doc.keyMap, &doc.keyDefs);
    const DynHotspotsSettings before = DynHotspotsSettingsFrom(*doc.record);
    dialog->values = before;
    if (dialog->DoModal() != IDOK || (dialog->values == before && !dialog->IsModified())) return;
    if (dialog->IsModified()) {
        DynHotspots = dialog->DetachTable();
        doc.HotspotsChanged = 1;
    }
    doc.SetModifiedFlag(true);
    DeleteDynButtonsById(1);
    StoreDynHotspotsSettings(dialog->values, *doc.record);
    if (owner) RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
