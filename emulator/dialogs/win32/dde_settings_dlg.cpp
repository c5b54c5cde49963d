#include "dialogs/win32/dde_settings_dlg.h"

#include "resource_ids.h"

namespace {

void Name(FwDataExchange& dx, int id, std::string& value)
{
    DDX_Text(dx, id, value);
    DDV_MaxChars(dx, value, kDdeNameLimit);
}

}  // namespace

CDdeSettingsDlg::CDdeSettingsDlg(HWND owner) : FwDialog(IDD_DDE_SETTINGS, owner) {}

void CDdeSettingsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Check(dx, IDC_DDE_CLIENT_ENABLE, values.clientEnable);
    Name(dx, IDC_DDE_SEND_ITEM, values.sendToItem);
    Name(dx, IDC_DDE_SEND_SERVICE, values.sendToService);
    Name(dx, IDC_DDE_SEND_TOPIC, values.sendToTopic);
    Name(dx, IDC_DDE_CLIENT_SERVICE, values.clientService);
    Name(dx, IDC_DDE_START_RECORDING, values.startRecording);
    Name(dx, IDC_DDE_STOP_RECORDING, values.stopRecording);
    Name(dx, IDC_DDE_DELIMITER, values.delimiter);
    DDX_Check(dx, IDC_DDE_SERVER_ENABLE, values.serverEnable);
    Name(dx, IDC_DDE_SERVER_SERVICE, values.serverService);
    Name(dx, IDC_DDE_SERVER_TOPIC, values.serverTopic);
    DDX_Radio(dx, IDC_DDE_DYNAMIC, values.destination);
}

bool CDdeSettingsDlg::OnInitDialog()
{
    FwDialog::OnInitDialog();
    CenterWindow();
    return true;
}
