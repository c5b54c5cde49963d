#include "dialogs/win32/protocol_settings_dlgs.h"

#include "resource_ids.h"

namespace {

struct IntField {
    int id;
    int KermitSettingsValues::*member;
    int minimum, maximum;
};

constexpr IntField kKermitNumbers[] = {
    {IDC_KERMIT_INITIAL_RETRY, &KermitSettingsValues::initialRetries, 1, 255},
    {IDC_KERMIT_PACKET_RETRY, &KermitSettingsValues::packetRetries, 1, 20},
    {IDC_KERMIT_INITIAL_TIMEOUT, &KermitSettingsValues::initialTimeout, 1, 255},
    {IDC_KERMIT_START_CHAR, &KermitSettingsValues::startOfPacket, 0, 255},
    {IDC_KERMIT_PACKET_SIZE, &KermitSettingsValues::maxPacket, 94, 1024},
    {IDC_KERMIT_TIMEOUT, &KermitSettingsValues::timeout, 1, 255},
    {IDC_KERMIT_PADDING, &KermitSettingsValues::padding, 0, 50},
    {IDC_KERMIT_PAD_CHAR, &KermitSettingsValues::padChar, 0, 255},
    {IDC_KERMIT_EOL, &KermitSettingsValues::eol, 0, 255},
    {IDC_KERMIT_WINDOW, &KermitSettingsValues::windowSize, 0, 8},
};

// A one-character field: exactly one character (an empty one would make the character NUL).
void OneCharacter(FwDataExchange& dx, int id, std::string& value)
{
    DDX_Text(dx, id, value);
    DDV_MaxChars(dx, value, 1);
    if (dx.saving && !dx.failed && value.empty()) dx.Fail("Enter one character.");
}

// Reset to defaults: the reset values are shown; they are stored only by OK.
template <typename Dialog, typename Reset>
void ResetButton(Dialog& dialog, Reset reset)
{
    reset(dialog.values);
    dialog.UpdateData(false);
}

}  // namespace

CKermitSettingsDlg::CKermitSettingsDlg(HWND owner) : FwDialog(IDD_KERMIT_SETTINGS, owner)
{
    OnCommand(IDC_RESET_DEFAULTS, [this] {
        // The run-length check keeps what it shows.
        values.runLength = IsDlgButtonChecked(Handle(), IDC_KERMIT_RUN_LENGTH) == BST_CHECKED;
        ResetButton(*this, ResetKermitValues);
    });
}

void CKermitSettingsDlg::DoDataExchange(FwDataExchange& dx)
{
    for (const IntField& f : kKermitNumbers) {
        DDX_Text(dx, f.id, values.*f.member);
        DDV_MinMaxInt(dx, values.*f.member, f.minimum, f.maximum);
    }
    DDX_Check(dx, IDC_KERMIT_IMAGE, values.imageMode);
    DDX_Check(dx, IDC_KERMIT_RUN_LENGTH, values.runLength);
    DDX_Radio(dx, IDC_KERMIT_QUOTE8_NO, values.quote8Mode);
    DDX_Radio(dx, IDC_KERMIT_CHECK_6, values.blockCheck);
    OneCharacter(dx, IDC_KERMIT_QUOTE, values.quoteChar);
    OneCharacter(dx, IDC_KERMIT_REPEAT, values.repeatChar);
    OneCharacter(dx, IDC_KERMIT_QUOTE8, values.quote8Char);
}

CXYModemSettingsDlg::CXYModemSettingsDlg(HWND owner) : FwDialog(IDD_XYMODEM_SETTINGS, owner)
{
    OnCommand(IDC_RESET_DEFAULTS, [this] { ResetButton(*this, ResetXYModemValues); });
}

void CXYModemSettingsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_XYMODEM_TIMEOUT, values.timeout);
    DDX_Text(dx, IDC_XYMODEM_MAX_ERRORS, values.maxErrors);
    // The pad character is one byte of the parameter block.
    DDX_Text(dx, IDC_XYMODEM_PAD_CHAR, values.padChar);
    DDV_MinMaxInt(dx, values.padChar, 0, 255);
    DDX_Text(dx, IDC_XYMODEM_RETRIES, values.retries);
}

CZModemSettingsDlg::CZModemSettingsDlg(HWND owner) : FwDialog(IDD_ZMODEM_SETTINGS, owner)
{
    OnCommand(IDC_RESET_DEFAULTS, [this] { ResetButton(*this, ResetZModemValues); });
}

void CZModemSettingsDlg::DoDataExchange(FwDataExchange& dx)
{
    DDX_Radio(dx, IDC_ZMODEM_MANAG_NONE, values.manag);
    DDX_Radio(dx, IDC_ZMODEM_CONV_LF, values.conv);
    DDX_Radio(dx, IDC_ZMODEM_FN_STRIP, values.fnManag);
    DDX_Check(dx, IDC_ZMODEM_ESC_CTL, values.escCtl);
    DDX_Check(dx, IDC_ZMODEM_NO_CRC32, values.noCrc32);
    DDX_Check(dx, IDC_ZMODEM_UNLINK, values.unlink);
}

bool EditKermitSettings(SettingsRecord& rec, HWND owner)
{
    CKermitSettingsDlg dialog(owner);
    dialog.values = KermitValuesFrom(rec.KermitParms);
    if (dialog.DoModal() != IDOK) return false;
    StoreKermitValues(dialog.values, rec.KermitParms);
    return true;
}

bool EditXYModemSettings(SettingsRecord& rec, HWND owner)
{
    CXYModemSettingsDlg dialog(owner);
    dialog.values = XYModemValuesFrom(rec.XYModemParms);
    if (dialog.DoModal() != IDOK) return false;
    StoreXYModemValues(dialog.values, rec.XYModemParms);
    return true;
}

bool EditZModemSettings(SettingsRecord& rec, HWND owner)
{
    CZModemSettingsDlg dialog(owner);
    dialog.values = ZModemValuesFrom(rec);
    if (dialog.DoModal() != IDOK) return false;
    StoreZModemValues(dialog.values, rec);
    return true;
}

bool EditProtocolSettings(int protocol, SettingsRecord& rec, HWND owner)
{
    if (protocol == kProtocolKermit) return EditKermitSettings(rec, owner);
    if (protocol == kProtocolZModem) return EditZModemSettings(rec, owner);
    return EditXYModemSettings(rec, owner);
}
