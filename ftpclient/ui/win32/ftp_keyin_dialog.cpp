#include "ftp_keyin_dialog.h"

#include "tolviftp_ids.h"

FtpKeyinDialog::FtpKeyinDialog(HWND owner) : FwDialog(IDD_FTP_KEYIN, owner) {}

void FtpKeyinDialog::DoDataExchange(FwDataExchange& dx) { DDX_Text(dx, IDC_FTP_KEYIN_VALUE, value); }

bool FtpKeyinDialog::OnInitDialog()
{
    SendMessageA(GetDlgItem(IDC_FTP_KEYIN_VALUE), EM_SETPASSWORDCHAR, masked ? '*' : 0, 0);
    FwDialog::OnInitDialog();
    SetItemText(IDC_FTP_KEYIN_PROMPT, prompt);
    return true;
}

int PromptForValue(HWND owner, std::string& prompt, std::string& value, bool masked)
{
    FtpKeyinDialog dialog(owner);
    dialog.prompt = prompt;
    dialog.value = value;
    dialog.masked = masked;
    const int result = dialog.DoModal();
    if (result == IDOK) {
        prompt = dialog.prompt;
        value = dialog.value;
    }
    return result;
}
