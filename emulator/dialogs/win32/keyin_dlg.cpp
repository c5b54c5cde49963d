#include "dialogs/win32/keyin_dlg.h"

#include "dialogs/keyin_values.h"
#include "fw_file_dialog.h"
#include "session_dialog_ids.h"

CKeyinDlg::CKeyinDlg(HWND owner) : FwDialog(IDD_KEYIN, owner) { OnCommand(IDC_KEYIN_BROWSE, [this] { OnBrowse(); }); }

void CKeyinDlg::DoDataExchange(FwDataExchange& dx) { DDX_Text(dx, IDC_KEYIN_ANSWER, answer); }

bool CKeyinDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    CenterWindow();
    ShowItem(IDC_KEYIN_BROWSE, browse);
    SetItemText(IDC_KEYIN_PROMPT, prompt);
    SendMessageA(GetDlgItem(IDC_KEYIN_ANSWER), EM_SETPASSWORDCHAR, password ? '*' : 0, 0);
    return true;
}

// The file dialog starts in the answer's folder and leaves the process's current folder alone.
void CKeyinDlg::OnBrowse()
{
    answer = GetItemText(IDC_KEYIN_ANSWER);
    FwFileDialog dialog;
    dialog.fileName = answer;
    dialog.initialFolder = StartFolderOf(answer);
    dialog.defaultExtension = defaultExtension;
    dialog.filter = filter;
    dialog.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!dialog.DoModal(Handle())) return;
    answer = dialog.fileName;
    SetItemText(IDC_KEYIN_ANSWER, answer);
}

bool AskPassword(HWND owner, const std::string& prompt, std::string& typed)
{
    CKeyinDlg dialog(owner);
    dialog.prompt = prompt;
    dialog.password = true;
    if (dialog.DoModal() != IDOK) return false;
    typed = dialog.answer;
    return true;
}
