// When the session document's commands may be chosen: the enable and check rule of every
// command of the File, Session, Config, Special and Help menus that the document answers, over
// the session record. The frame asks these for its menus and toolbar, and the view asks them
// before it runs a command that an action string posted to it, so a lock holds for every road.
#pragma once

#include <cstddef>
#include <cstdint>

struct SettingsRecord;

enum DocumentCommandId : int {
    kCmdModemType = 118,
    kCmdAutoLogin = 119,
    kCmdUnixEnv = 120,
    kCmdColors = 32770,
    kCmdFontCurrent = 32771,
    kCmdTerminalEmulation = 32772,
    kCmdKeyboardMap = 32773,
    kCmdGeneralSettings = 32775,
    kCmdPhoneNumber = 32776,
    kCmdOneMoreSession = 32781,
    kCmdResetToDefault = 32788,
    kCmdBoxes = 32791,
    kCmdRecordComm = 32799,
    kCmdPrefsView = 32818,
    kCmdPrefsFiles = 32819,
    kCmdPrefsMouse = 32820,
    kCmdFileTransfer = 32821,
    kCmdFileTransferCommand = 32822,
    kCmdPrefsTerminalPrinters = 32824,
    kCmdFont132 = 32825,
    kCmdFont80 = 32826,
    kCmdXferKermit = 32827,
    kCmdXferXYModem = 32828,
    kCmdXferZModem = 32830,
    kCmdXferGeneral = 32833,
    kCmdPrefsDde = 32834,
    kCmdProgrammersGuide = 32835,
    kCmdReleaseNotes = 32836,
    kCmdDynamicHotspots = 32838,
    kCmdLockSettings = 32840,
    kCmdPrefsMultimedia = 32843,
    kCmdNewDefaults = 57600,
    kCmdLoadConfig = 57601,
    kCmdSaveConfig = 57603,
    kCmdSaveConfigAs = 57604,
    kCmdRecentFirst = 57616,
    kCmdRecentLast = 57619,
};

// What the rules read beside the record.
struct DocumentCommandState {
    int instances = 1;         // windows of the program that run now, this one included
    bool recentEntry = true;   // the recent-file entry of the command names a file
};

struct CommandRule {
    bool enabled = true;
    int checked = -1;  // -1 no check mark, else 0 or 1
};

using CommandRuleFunction = CommandRule (*)(const SettingsRecord&, const DocumentCommandState&);

struct DocumentCommandRule {
    int id;
    CommandRuleFunction rule;
};

// Every document command with its rule (the recent-file entries once each).
extern const DocumentCommandRule kDocumentCommandRules[];
extern const std::size_t kDocumentCommandRuleCount;

// A settings page is available while the configuration may be changed (AllowCfg) and its own
// lock is open.
bool SettingsAvailable(const SettingsRecord& rec, int32_t lock);

// The rule of `id`; false when `id` is none of the document's commands.
bool DocumentCommandUpdate(int id, const SettingsRecord& rec, const DocumentCommandState& state, CommandRule& ui);

// ---- The rules, one per command.
CommandRule AutoLoginRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule PhoneNumberRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule ModemTypeRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule UnixEnvRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule FileTransferCommandRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule GeneralSettingsRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule TerminalEmulationRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule MultimediaRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule ColorsRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule BoxesRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule KeyboardMapRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule ResetToDefaultRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule PrefsFilesRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule PrefsViewRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule PrefsMouseRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule TerminalPrintersRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule DdeRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule DynamicHotspotsRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule FontRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule AsyncTransferRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule KermitRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule XYModemRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule ZModemRule(const SettingsRecord& rec, const DocumentCommandState&);
// Enabled also while AllowCfg is off: it asks for the password before anything opens, and it is
// the one way back into a locked configuration.
CommandRule LockSettingsRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule SaveConfigRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule SaveConfigAsRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule LoadConfigRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule RecentFileRule(const SettingsRecord& rec, const DocumentCommandState& state);
CommandRule NewDefaultsRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule OneMoreRule(const SettingsRecord& rec, const DocumentCommandState& state);
CommandRule FileTransferRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule RecordCommRule(const SettingsRecord& rec, const DocumentCommandState&);
CommandRule HelpDocumentRule(const SettingsRecord& rec, const DocumentCommandState&);
