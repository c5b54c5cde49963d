#include "dialogs/win32/connection_dialogs.h"

#include "resource_ids.h"
#include "session/document_strings.h"

CModemDlg::CModemDlg(HWND owner) : CenteredSettingsDialog(IDD_MODEM, owner) {}

void CModemDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_MODEM_ENABLE, values.enable);
    DDX_LimitedText(dx, IDC_MODEM_DIAL_PREFIX, values.dialPrefix, kModemStringLimit);
    DDX_LimitedText(dx, IDC_MODEM_DIAL_POSTFIX, values.dialPostfix, kModemStringLimit);
    DDX_LimitedText(dx, IDC_MODEM_HANGUP_PREFIX, values.hangupPrefix, kModemStringLimit);
    DDX_LimitedText(dx, IDC_MODEM_HANGUP_POSTFIX, values.hangupPostfix, kModemStringLimit);
    DDX_LimitedText(dx, IDC_MODEM_INIT, values.init, kModemStringLimit);
    DDX_LimitedText(dx, IDC_MODEM_CONNECT, values.connect, kModemStringLimit);
}

CPhoneNumberDlg::CPhoneNumberDlg(HWND owner) : CenteredSettingsDialog(IDD_PHONE_NUMBER, owner) {}

void CPhoneNumberDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_PHONE_DIAL_ENABLE, values.dialEnable);
    DDX_LimitedText(dx, IDC_PHONE_NUMBER, values.number, kPhoneNumberLimit);
    DDX_RangedInt(dx, IDC_PHONE_TIMEOUT, values.timeout, 0, kDialTimeoutMax);
    DDX_Radio(dx, IDC_PHONE_AUTODIAL_AUTOMATIC, values.autodial);
}

CMouseDlg::CMouseDlg(HWND owner) : CenteredSettingsDialog(IDD_MOUSE, owner) {}

void CMouseDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_MOUSE_ENABLE, values.enable);
    DDX_LimitedText(dx, IDC_MOUSE_CLICK, values.click, kDocumentStringLimit);
    DDX_LimitedText(dx, IDC_MOUSE_DOUBLE_CLICK, values.doubleClick, kDocumentStringLimit);
}

CUserNameDlg::CUserNameDlg(HWND owner) : FwDialog(IDD_USER_NAME, owner) {}

void CUserNameDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_LimitedText(dx, IDC_USER_NAME, name, kUserNameLimit);
}

bool CUserNameDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    SetFocus(GetDlgItem(IDC_USER_NAME));
    CenterWindow();
    return false;
}
