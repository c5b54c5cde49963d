#include "shell/command_rules.h"

#include "session/session_record.h"

namespace {

CommandRule Enabled(bool on) { return CommandRule{on, -1}; }

CommandRule EnabledChecked(bool on, int32_t check) { return CommandRule{on, check ? 1 : 0}; }

}  // namespace

bool SettingsAvailable(const SettingsRecord& rec, int32_t lock) { return rec.AllowCfg != 0 && lock == 0; }

CommandRule AutoLoginRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return EnabledChecked(SettingsAvailable(rec, rec.LockAutoLogin), rec.AutoLogin);
}

CommandRule PhoneNumberRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return EnabledChecked(SettingsAvailable(rec, rec.LockPhone), rec.DialEnable);
}

CommandRule ModemTypeRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return EnabledChecked(SettingsAvailable(rec, rec.LockModem), rec.ModemEnable);
}

CommandRule UnixEnvRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return EnabledChecked(SettingsAvailable(rec, rec.LockEnv), rec.UnixEnvEnable);
}

CommandRule FileTransferCommandRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return EnabledChecked(SettingsAvailable(rec, rec.LockFtp), rec.FtpEnable);
}

CommandRule GeneralSettingsRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockGeneral));
}

CommandRule TerminalEmulationRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockTerminal));
}

// Multimedia has no lock of its own: it goes with the terminal emulation.
CommandRule MultimediaRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockTerminal));
}

CommandRule ColorsRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockColors));
}

CommandRule BoxesRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockBoxes));
}

CommandRule KeyboardMapRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockKeyboard));
}

CommandRule ResetToDefaultRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockRuntimeReset));
}

CommandRule PrefsFilesRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockFiles));
}

CommandRule PrefsViewRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockView));
}

CommandRule PrefsMouseRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockMouse));
}

CommandRule TerminalPrintersRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockTerminalPrinters));
}

CommandRule DdeRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockDDE));
}

CommandRule DynamicHotspotsRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockDynamicButtons));
}

CommandRule FontRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockFont));
}

CommandRule AsyncTransferRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockAsyncFileTransfer));
}

CommandRule KermitRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockKermit));
}

CommandRule XYModemRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockXYModem));
}

CommandRule ZModemRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(SettingsAvailable(rec, rec.LockZModem));
}

CommandRule LockSettingsRule(const SettingsRecord&, const DocumentCommandState&) { return Enabled(true); }

// Also for a configuration without changes: the command-line options change settings without
// marking the document modified, and they are saved this way.
CommandRule SaveConfigRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(rec.AllowWriteCfg != 0);
}

CommandRule SaveConfigAsRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(rec.AllowWriteCfg != 0);
}

CommandRule LoadConfigRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(rec.AllowReadCfg != 0);
}

CommandRule RecentFileRule(const SettingsRecord& rec, const DocumentCommandState& state)
{
    return Enabled(rec.AllowReadCfg != 0 && state.recentEntry);
}

CommandRule NewDefaultsRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(rec.Connected == 0);
}

CommandRule OneMoreRule(const SettingsRecord& rec, const DocumentCommandState& state)
{
    return Enabled(!(rec.SingleInstance && state.instances >= rec.MaxInstance));
}

CommandRule FileTransferRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return Enabled(rec.FtpEnable != 0);
}

CommandRule RecordCommRule(const SettingsRecord& rec, const DocumentCommandState&)
{
    return EnabledChecked(true, rec.Recording);
}

CommandRule HelpDocumentRule(const SettingsRecord&, const DocumentCommandState&) { return Enabled(true); }

const DocumentCommandRule kDocumentCommandRules[] = {
    {kCmdAutoLogin, &AutoLoginRule},
    {kCmdPhoneNumber, &PhoneNumberRule},
    {kCmdModemType, &ModemTypeRule},
    {kCmdUnixEnv, &UnixEnvRule},
    {kCmdFileTransferCommand, &FileTransferCommandRule},
    {kCmdGeneralSettings, &GeneralSettingsRule},
    {kCmdTerminalEmulation, &TerminalEmulationRule},
    {kCmdPrefsMultimedia, &MultimediaRule},
    {kCmdColors, &ColorsRule},
    {kCmdBoxes, &BoxesRule},
    {kCmdKeyboardMap, &KeyboardMapRule},
    {kCmdResetToDefault, &ResetToDefaultRule},
    {kCmdPrefsFiles, &PrefsFilesRule},
    {kCmdPrefsView, &PrefsViewRule},
    {kCmdPrefsMouse, &PrefsMouseRule},
    {kCmdPrefsTerminalPrinters, &TerminalPrintersRule},
    {kCmdPrefsDde, &DdeRule},
    {kCmdDynamicHotspots, &DynamicHotspotsRule},
    {kCmdFontCurrent, &FontRule},
    {kCmdFont132, &FontRule},
    {kCmdFont80, &FontRule},
    {kCmdXferGeneral, &AsyncTransferRule},
    {kCmdXferKermit, &KermitRule},
    {kCmdXferXYModem, &XYModemRule},
    {kCmdXferZModem, &ZModemRule},
    {kCmdLockSettings, &LockSettingsRule},
    {kCmdSaveConfig, &SaveConfigRule},
    {kCmdSaveConfigAs, &SaveConfigAsRule},
    {kCmdLoadConfig, &LoadConfigRule},
    {kCmdRecentFirst, &RecentFileRule},
    {kCmdRecentFirst + 1, &RecentFileRule},
    {kCmdRecentFirst + 2, &RecentFileRule},
    {kCmdRecentLast, &RecentFileRule},
    {kCmdNewDefaults, &NewDefaultsRule},
    {kCmdOneMoreSession, &OneMoreRule},
    {kCmdFileTransfer, &FileTransferRule},
    {kCmdRecordComm, &RecordCommRule},
    {kCmdProgrammersGuide, &HelpDocumentRule},
    {kCmdReleaseNotes, &HelpDocumentRule},
};
const std::size_t kDocumentCommandRuleCount = sizeof kDocumentCommandRules / sizeof kDocumentCommandRules[0];

bool DocumentCommandUpdate(int id, const SettingsRecord& rec, const DocumentCommandState& state, CommandRule& ui)
{
    for (const DocumentCommandRule& entry : kDocumentCommandRules) {
        if (entry.id != id) continue;
        ui = entry.rule(rec, state);
        return true;
    }
    return false;
}
