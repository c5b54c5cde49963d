#include "shell/win32/session_settings_commands.h"

#include "dialogs/win32/keyin_dlg.h"
#include "dialogs/win32/lock_admin_dlg.h"
#include "dialogs/win32/session_settings_dlgs.h"
#include "fw_frame.h"
#include "fw_list_fill_win32.h"
#include "resource_ids.h"
#include "session_dialog_ids.h"
#include "shell/config_preference_commands.h"
#include "shell/session_document.h"

void AutoLoginCommand(CZolexDoc& doc, HWND owner)
{
    CAutoLoginDlg dialog(owner);
    dialog.values = AutoLoginValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    AutoLoginAfterOk(doc, dialog.values);
}

void HostEnvCommand(CZolexDoc& doc, HWND owner)
{
    CHostEnvDlg dialog(owner);
    dialog.values = HostEnvValuesFrom(*doc.record);
    if (dialog.DoModal() != IDOK) return;
    HostEnvAfterOk(doc, dialog.values);
}

void FileTransferCmdCommand(CZolexDoc& doc, HWND owner)
{
    CFileTransferCmdDlg dialog(owner);
    dialog.values = FileTransferCmdValuesFrom(*doc.record, doc.strings);
    if (dialog.DoModal() != IDOK) return;
    FileTransferCmdAfterOk(doc, dialog.values);
}

void MultimediaCommand(CZolexDoc& doc, HWND owner)
{
    CMultimediaDlg dialog(owner);
    dialog.values = MultimediaValuesFrom(*doc.record);
    if (dialog.DoModal() != IDOK) return;
    MultimediaAfterOk(doc, dialog.values);
}

void LockSettingsCommand(CZolexDoc& doc, HWND owner)
{
    SettingsRecord& rec = *doc.record;
    const std::string password = LockPasswordToAsk(rec, doc.strings.LockPassword);
    if (!password.empty()) {
        std::string typed;
        if (!AskPassword(owner, FwLoadString(IDS_LOCK_PASSWORD_PROMPT), typed)) return;
        if (!LockPasswordMatches(typed, password)) {
            FwMessageBox(owner, FwLoadString(IDS_LOCK_INVALID_PASSWORD), MB_OK | MB_ICONSTOP);
            return;
        }
    }
    CLockAdminDlg dialog(owner, rec, LockValuesFrom(rec, password));
    if (dialog.DoModal() != IDOK) return;
    StoreLockValues(dialog.values, rec, doc.strings.LockPassword);
    doc.SetModifiedFlag(true);
}

void InstallSessionSettingsCommands(FwFrameWnd& frame, CZolexDoc& doc)
{
    CZolexDoc* d = &doc;
    FwFrameWnd* f = &frame;
    frame.OnCommand(ID_AUTO_LOGIN, [d, f] { AutoLoginCommand(*d, f->Handle()); });
    frame.OnCommand(ID_UNIX_ENV, [d, f] { HostEnvCommand(*d, f->Handle()); });
    frame.OnCommand(ID_FILE_TRANSFER_CMD, [d, f] { FileTransferCmdCommand(*d, f->Handle()); });
    frame.OnCommand(ID_PREFS_MULTIMEDIA, [d, f] { MultimediaCommand(*d, f->Handle()); });
    frame.OnCommand(ID_LOCK_SETTINGS, [d, f] { LockSettingsCommand(*d, f->Handle()); });
}
