#include "shell/win32/transfer_settings_commands.h"

#include "dialogs/win32/async_transfer_dlg.h"
#include "dialogs/win32/dde_settings_dlg.h"
#include "dialogs/win32/protocol_settings_dlgs.h"
#include "shell/config_preference_commands.h"
#include "shell/session_document.h"

void TransferSettingsCommand(CZolexDoc& doc, HWND owner)
{
    // A protocol dialog confirmed from inside has stored already, so Cancel may modify too.
    if (EditAsyncTransferSettings(*doc.record, doc.strings.AxDirectory, owner).changed) doc.SetModifiedFlag(true);
}

void KermitSettingsCommand(CZolexDoc& doc, HWND owner)
{
    if (EditKermitSettings(*doc.record, owner)) doc.SetModifiedFlag(true);
}

void XYModemSettingsCommand(CZolexDoc& doc, HWND owner)
{
    if (EditXYModemSettings(*doc.record, owner)) doc.SetModifiedFlag(true);
}

void ZModemSettingsCommand(CZolexDoc& doc, HWND owner)
{
    if (EditZModemSettings(*doc.record, owner)) doc.SetModifiedFlag(true);
}

void DdeSettingsCommand(CZolexDoc& doc, HWND owner)
{
    CDdeSettingsDlg dialog(owner);
    dialog.values = DdeValuesFrom(*doc.record);
    if (dialog.DoModal() != IDOK) return;
    DdeAfterOk(doc, dialog.values);
}
