#include "shell/win32/preference_commands.h"

#include "dialogs/win32/connection_dialogs.h"
#include "dialogs/win32/preference_dialogs.h"
#include "dialogs/win32/terminal_printers_dlg.h"
#include "shell/session_document.h"

void ModemCommand(CZolexDoc& doc, HWND owner)
{
    CModemDlg dialog(owner);
    dialog.values = ModemValuesFrom(*doc.record);
    if (dialog.DoModal() != IDOK) return;
    StoreModemValues(dialog.values, *doc.record);
    doc.SetModifiedFlag(true);
}

void PhoneNumberCommand(CZolexDoc& doc, HWND owner)
{
    CPhoneNumberDlg dialog(owner);
    dialog.values = PhoneValuesFrom(*doc.record);
    if (dialog.DoModal() != IDOK) return;
    StorePhoneValues(dialog.values, *doc.record);
    doc.SetModifiedFlag(true);
}

void MouseCommand(CZolexDoc& doc, HWND owner)
{
    CMouseDlg dialog(owner);
    dialog.values = MouseValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    StoreMouseValues(dialog.values, *doc.record, doc.strings);
    doc.SetModifiedFlag(true);
}

void FilePrefsCommand(CZolexDoc& doc, HWND owner)
{
    CFileNamePrefsDlg dialog(owner);
    dialog.values = FileNamePrefsValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    const unsigned marks = StoreFileNamePrefsValues(dialog.values, *doc.record, doc.strings);
    if (marks & kKeyMapFileMark) doc.KeyMapChanged = 1;
    if (marks & kKeyDefFileMark) doc.KeyDefChanged = 1;
    if (marks & kTranslateFileMark) doc.TranslateChanged = 1;
    if (marks & kButtonFileMark) doc.ButtonsChanged = 1;
    if (marks & kHotspotFileMark) doc.HotspotsChanged = 1;
    doc.SetModifiedFlag(true);
    doc.SetTitle(nullptr);
}

void TerminalPrintersCommand(CZolexDoc& doc, HWND owner)
{
    CTerminalPrintersDlg dialog(owner);
    dialog.values = TerminalPrinterValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    StoreTerminalPrinterValues(dialog.values, *doc.record, doc.strings);
    doc.SetModifiedFlag(true);
}
