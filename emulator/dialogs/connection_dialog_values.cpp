#include "dialogs/connection_dialog_values.h"

#include "dialogs/setting_text.h"

ModemValues ModemValuesFrom(const SettingsRecord& rec)
{
    ModemValues v;
    v.enable = rec.ModemEnable;
    v.dialPrefix = FieldText(rec.DialPrefix);
    v.dialPostfix = FieldText(rec.DialPostfix);
    v.hangupPrefix = FieldText(rec.HangupPrefix);
    v.hangupPostfix = FieldText(rec.HangupPostfix);
    v.init = FieldText(rec.ModemInit);
    v.connect = FieldText(rec.ModemConnect);
    return v;
}

void StoreModemValues(const ModemValues& v, SettingsRecord& rec)
{
    rec.ModemEnable = v.enable;
    StoreFieldText(rec.DialPrefix, v.dialPrefix);
    StoreFieldText(rec.DialPostfix, v.dialPostfix);
    StoreFieldText(rec.HangupPrefix, v.hangupPrefix);
    StoreFieldText(rec.HangupPostfix, v.hangupPostfix);
    StoreFieldText(rec.ModemInit, v.init);
    StoreFieldText(rec.ModemConnect, v.connect);
}

PhoneValues PhoneValuesFrom(const SettingsRecord& rec)
{
    PhoneValues v;
    v.dialEnable = rec.DialEnable;
    v.number = FieldText(rec.PhoneNumber);
    v.timeout = rec.DialTimeout;
    v.autodial = rec.TcpipAutodial >= 0 && rec.TcpipAutodial <= 2 ? rec.TcpipAutodial : -1;
    return v;
}

void StorePhoneValues(const PhoneValues& v, SettingsRecord& rec)
{
    rec.DialEnable = v.dialEnable;
    StoreFieldText(rec.PhoneNumber, v.number);
    rec.DialTimeout = v.timeout;
    if (v.autodial >= 0) rec.TcpipAutodial = v.autodial;
}

MouseValues MouseValuesFrom(const SettingsRecord& rec, const DocumentStrings& strings)
{
    return {rec.EnableSendMousePos, strings.MouseClick, strings.MouseDoubleClick};
}

void StoreMouseValues(const MouseValues& v, SettingsRecord& rec, DocumentStrings& strings)
{
    rec.EnableSendMousePos = v.enable;
    strings.MouseClick = DocumentStringText(v.click);
    strings.MouseDoubleClick = DocumentStringText(v.doubleClick);
}
