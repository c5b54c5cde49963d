#include "shell/win32/preference_commands.h"

#include "dialogs/win32/connection_dialogs.h"
#include "dialogs/win32/preference_dialogs.h"
#include "dialogs/win32/terminal_printers_dlg.h"
#include "shell/config_preference_commands.h"
#include "shell/session_document.h"

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
