#include "dialogs/win32/general_settings_dlg.h"

#include "dialogs/settings_value_tables.h"
#include "dialogs/win32/settings_lists.h"
#include "fw_list_fill_win32.h"
#include "resource_ids.h"
#include "session/messages.h"

namespace {

constexpr const char* kPorts[] = {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"};
constexpr const char* kDataBits[] = {"5", "6", "7", "8"};
constexpr const char* kAdapters[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "AUTO"};

constexpr int kSerialControls[] = {
    IDC_GEN_ASYNC_GROUP, IDC_GEN_PORT,           IDC_GEN_PORT_LABEL,       IDC_GEN_BAUD,     IDC_GEN_BAUD_LABEL,
    IDC_GEN_DATA_BITS,   IDC_GEN_DATA_BITS_LABEL, IDC_GEN_PARITY,          IDC_GEN_PARITY_LABEL,
    IDC_GEN_STOP_BITS,   IDC_GEN_STOP_BITS_LABEL, IDC_GEN_DTR_DSR,         IDC_GEN_RTS_CTS,  IDC_GEN_XON_XOFF,
    IDC_GEN_FLOW_LABEL,  IDC_GEN_CHECK_ERROR,     IDC_GEN_CHECK_ERROR_LABEL,
};
constexpr int kLanControls[] = {IDC_GEN_LAN_GROUP, IDC_GEN_NETWORK, IDC_GEN_NETWORK_LABEL, IDC_GEN_HOST_NAME,
                                IDC_GEN_HOST_NAME_LABEL};
constexpr int kComTypeRadios[] = {IDC_GEN_ASYNC, IDC_GEN_NETBIOS, IDC_GEN_TELNET};

}  // namespace

CGeneralSettingsDlg::CGeneralSettingsDlg(HWND owner, const GeneralSettingsValues& initial, bool connected)
    : FwDialog(IDD_GENERAL_SETTINGS, owner), values(initial), connected_(connected)
{
    for (int id : kComTypeRadios) OnCommand(id, [this] { ApplyEnablingRule(); });
    OnCommand(IDC_GEN_FAMILY_3270, [this] { FamilyClicked(); });
}

void CGeneralSettingsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Radio(dx, IDC_GEN_ASYNC, values.comType);
    DDX_CBIndex(dx, IDC_GEN_PORT, values.portIndex);
    DDX_ListValue(dx, IDC_GEN_BAUD, values.baudRate);
    DDX_CBIndex(dx, IDC_GEN_DATA_BITS, values.byteSizeIndex);
    DDX_ListValue(dx, IDC_GEN_PARITY, values.parity);
    DDX_ListValue(dx, IDC_GEN_STOP_BITS, values.stopBits);
    DDX_Check(dx, IDC_GEN_DTR_DSR, values.flowDtrDsr);
    DDX_Check(dx, IDC_GEN_RTS_CTS, values.flowRtsCts);
    DDX_Check(dx, IDC_GEN_XON_XOFF, values.flowXonXoff);
    DDX_Check(dx, IDC_GEN_CHECK_ERROR, values.parityCheck);
    DDX_ListValue(dx, IDC_GEN_NETWORK, values.network);
    DDX_CBIndex(dx, IDC_GEN_ADAPTER, values.lana);
    DDX_Text(dx, IDC_GEN_HOST_NAME, values.hostName);
    DDV_MaxChars(dx, values.hostName, kHostNameLimit);
    DDX_Text(dx, IDC_GEN_TELNET_PORT, values.telnetPort);
    if (values.comType == kTelnetComType) DDV_MinMaxInt(dx, values.telnetPort, kTelnetPortMin, kTelnetPortMax);
    DDX_ListValue(dx, IDC_GEN_PLATFORM, values.platform);
    DDX_ListValue(dx, IDC_GEN_COUNTRY, values.country);
    DDX_ListValue(dx, IDC_GEN_LANGUAGE, values.language);
    DDX_Check(dx, IDC_GEN_FAMILY_3270, values.family3270);
}

bool CGeneralSettingsDlg::OnInitDialog()
{
    FillIndexList(GetDlgItem(IDC_GEN_PORT), kPorts, kSerialPorts);
    FillSettingsList(GetDlgItem(IDC_GEN_BAUD), kBaudRateTable, values.baudRate);
    FillIndexList(GetDlgItem(IDC_GEN_DATA_BITS), kDataBits, 4);
    FillSettingsList(GetDlgItem(IDC_GEN_PARITY), kParityTable, values.parity);
    FillSettingsList(GetDlgItem(IDC_GEN_STOP_BITS), kStopBitsTable, values.stopBits);
    FillSettingsList(GetDlgItem(IDC_GEN_NETWORK), kNetworkTable, values.network);
    FillIndexList(GetDlgItem(IDC_GEN_ADAPTER), kAdapters, 11);
    FillSettingsList(GetDlgItem(IDC_GEN_PLATFORM), kPlatformTable, values.platform);
    FillSettingsList(GetDlgItem(IDC_GEN_COUNTRY), kCountryTable, values.country);
    FillSettingsList(GetDlgItem(IDC_GEN_LANGUAGE), kLanguageTable, values.language);
    FwDialog::OnInitDialog();
    // The host name is always shown; while connected it cannot be edited (OK keeps the stored one).
    SendMessageA(GetDlgItem(IDC_GEN_HOST_NAME), EM_SETREADONLY, connected_ ? TRUE : FALSE, 0);
    CenterWindow();
    ApplyEnablingRule();
    SetFocus(GetDlgItem(IDC_GEN_HOST_NAME));
    return false;
}

int CGeneralSettingsDlg::CheckedComType() const
{
    for (int type = 0; type < 3; ++type)
        if (IsDlgButtonChecked(Handle(), kComTypeRadios[type]) == BST_CHECKED) return type;
    return -1;
}

void CGeneralSettingsDlg::ApplyEnablingRule()
{
    const GeneralEnabling enabling = GeneralEnablingFor(CheckedComType(), connected_);
    EnableItem(IDC_GEN_TELNET_PORT, enabling.telnetPort);
    EnableItem(IDC_GEN_TELNET_PORT_LABEL, enabling.telnetPort);
    for (int id : kSerialControls) EnableItem(id, enabling.serial);
    for (int id : kLanControls) EnableItem(id, enabling.lan);
    EnableItem(IDC_GEN_ADAPTER, enabling.adapter);
    EnableItem(IDC_GEN_ADAPTER_LABEL, enabling.adapter);
    // While connected neither the connection type nor the port may change.
    for (int id : kComTypeRadios) EnableItem(id, enabling.connectionType);
    if (connected_) EnableItem(IDC_GEN_PORT, false);
}

void CGeneralSettingsDlg::FamilyClicked()
{
    const bool checked = IsDlgButtonChecked(Handle(), IDC_GEN_FAMILY_3270) == BST_CHECKED;
    const int refusal = FamilyClickRefusal(connected_, checked, CheckedComType());
    if (refusal == 0) return;
    CheckDlgButton(Handle(), IDC_GEN_FAMILY_3270, checked ? BST_UNCHECKED : BST_CHECKED);
    Refuse(refusal);
}

void CGeneralSettingsDlg::Refuse(int message) { FwMessageBox(Handle(), MessageText(message), MB_OK | MB_ICONEXCLAMATION); }

void CGeneralSettingsDlg::OnOK()
{
    if (!UpdateData(true)) return;
    // The family rule holds at OK too: the radio may have been switched after the box.
    if (const int refusal = FamilyOkRefusal(values)) {
        Refuse(refusal);
        SetFocus(GetDlgItem(IDC_GEN_FAMILY_3270));
        return;
    }
    EndDialog(IDOK);
}
