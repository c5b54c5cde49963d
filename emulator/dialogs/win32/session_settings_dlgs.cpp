#include "dialogs/win32/session_settings_dlgs.h"

#include "resource_ids.h"
#include "session_dialog_ids.h"
#include "view_resource_ids.h"

namespace {

void LimitedText(FwDataExchange& dx, int id, std::string& value, std::size_t limit)
{
    DDX_Text(dx, id, value);
    DDV_MaxChars(dx, value, limit);
}

constexpr int kWaitForIds[kAutoLoginPairs] = {IDC_AUTO_SERVICE_WAIT, IDC_AUTO_LOGIN_WAIT,    IDC_AUTO_PASSWORD_WAIT,
                                              IDC_AUTO_PROGRAM_WAIT, IDC_AUTO_SECTION_WAIT, IDC_AUTO_SECTION2_WAIT,
                                              IDC_AUTO_SECTION3_WAIT};
constexpr int kReplyIds[kAutoLoginPairs] = {IDC_AUTO_SERVICE_REPLY, IDC_AUTO_LOGIN_REPLY,    IDC_AUTO_PASSWORD_REPLY,
                                            IDC_AUTO_PROGRAM_REPLY, IDC_AUTO_SECTION_REPLY, IDC_AUTO_SECTION2_REPLY,
                                            IDC_AUTO_SECTION3_REPLY};

}  // namespace

bool CCenteredDialog::OnInitDialog()
{
    FwDialog::OnInitDialog();
    CenterWindow();
    return true;
}

CAutoLoginDlg::CAutoLoginDlg(HWND owner) : CCenteredDialog(IDD_AUTO_LOGIN, owner) {}

void CAutoLoginDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_AUTO_ENABLE, values.enable);
    DDX_Check(dx, IDC_AUTO_SEND_CR, values.sendCr);
    DDX_Check(dx, IDC_AUTO_WAKEUP, values.sendWakeup);
    DDX_Check(dx, IDC_AUTO_LOCK_KEYBOARD, values.lockKeyboard);
    DDX_Check(dx, IDC_AUTO_BLANK, values.blankScreen);
    LimitedText(dx, IDC_AUTO_DISPLAY_ON, values.displayOn, kDisplayOnLimit);
    for (int i = 0; i < kAutoLoginPairs; ++i) {
        LimitedText(dx, kWaitForIds[i], values.waitFor[i], kAutoLoginTextLimit);
        LimitedText(dx, kReplyIds[i], values.reply[i], kAutoLoginTextLimit);
    }
}

CHostEnvDlg::CHostEnvDlg(HWND owner) : CCenteredDialog(IDD_HOST_ENV, owner) {}

void CHostEnvDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_HOST_ENV_ENABLE, values.enable);
    LimitedText(dx, IDC_HOST_ENV_TABLE, values.table, kHostEnvLimit);
}

CFileTransferCmdDlg::CFileTransferCmdDlg(HWND owner) : CCenteredDialog(IDD_FILE_TRANSFER_CMD, owner) {}

void CFileTransferCmdDlg::DoDataExchange(FwDataExchange& dx)
{
    LimitedText(dx, IDC_FTP_COMMAND, values.command, kFtpCommandLimit);
    LimitedText(dx, IDC_FTP_DIRECTORY, values.directory, kFtpCommandLimit);
    DDX_Check(dx, IDC_FTP_ENABLE, values.enable);
    DDX_Radio(dx, IDC_XFER_AUTOMATIC, values.protocol);
}

CMultimediaDlg::CMultimediaDlg(HWND owner) : CCenteredDialog(IDD_MULTIMEDIA, owner) {}

void CMultimediaDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_MCI_ERROR_REPLY, values.errorReply);
    DDX_Check(dx, IDC_MCI_OK_REPLY, values.okReply);
    DDX_Check(dx, IDC_MCI_DATA_REPLY, values.dataReply);
    DDX_Check(dx, IDC_MCI_SHOW_ERROR, values.showError);
    DDX_Text(dx, IDC_MCI_WAIT_IF_BUSY, values.waitIfBusy);
}

CHostNameDlg::CHostNameDlg(HWND owner) : CCenteredDialog(IDD_HOST_NAME, owner) {}

void CHostNameDlg::DoDataExchange(FwDataExchange& dx) { LimitedText(dx, IDC_HOST_NAME, host, kHostNameLimit); }
