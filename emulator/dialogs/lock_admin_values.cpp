#include "dialogs/lock_admin_values.h"

#include <cctype>

namespace {

using LockField = int32_t SettingsRecord::*;
constexpr LockField kLockFields[kLockSettingCount] = {
    &SettingsRecord::LockGeneral,          &SettingsRecord::LockTerminal,       &SettingsRecord::LockFont,
    &SettingsRecord::LockColors,           &SettingsRecord::LockBoxes,          &SettingsRecord::LockKeyboard,
    &SettingsRecord::LockPhone,            &SettingsRecord::LockModem,          &SettingsRecord::LockAutoLogin,
    &SettingsRecord::LockEnv,              &SettingsRecord::LockFtp,            &SettingsRecord::LockView,
    &SettingsRecord::LockFiles,            &SettingsRecord::LockTerminalPrinters, &SettingsRecord::LockMouse,
    &SettingsRecord::LockAsyncFileTransfer, &SettingsRecord::LockKermit,        &SettingsRecord::LockXYModem,
    &SettingsRecord::LockZModem,           &SettingsRecord::LockDDE,            &SettingsRecord::LockDynamicButtons,
    &SettingsRecord::LockRuntimeReset,     &SettingsRecord::LockHistory,        &SettingsRecord::LockScaleFont,
    &SettingsRecord::LockDosBox,
};

}  // namespace

const std::array<int, kLockFlagCount> kLockButtonIds = {3298, 3299, 3300, 3301, 3302, 3303, 3304, 3305, 1087,
                                                        3307, 3312, 3306, 3313, 3314, 3315, 3316, 3317, 3318,
                                                        3319, 1089, 3320, 3192, 3322, 3323, 1090, 1091, 3327};

LockAdminValues LockValuesFrom(const SettingsRecord& rec, const std::string& password)
{
    LockAdminValues v;
    for (int i = 0; i < kLockSettingCount; ++i) v.flags[i] = rec.*kLockFields[i] != 0;
    v.flags[kLockLoadingFlag] = rec.AllowReadCfg == 0;
    v.flags[kLockSavingFlag] = rec.AllowWriteCfg == 0;
    v.password = password;
    return v;
}

void ApplyStartLocks(LockAdminValues& v, const SettingsRecord& rec)
{
    if (!rec.AllowCfg) SetGroupLocks(v, true);
    if (!rec.AllowDOS) v.flags[kLockDosBoxFlag] = 1;
}

void SetGroupLocks(LockAdminValues& v, bool locked)
{
    for (int i = 0; i < kLockGroupCount; ++i) v.flags[i] = locked ? 1 : 0;
}

void StoreLockValues(const LockAdminValues& v, SettingsRecord& rec, std::string& password)
{
    for (int i = 0; i < kLockSettingCount; ++i) rec.*kLockFields[i] = v.flags[i] ? 1 : 0;
    rec.AllowReadCfg = v.flags[kLockLoadingFlag] ? 0 : 1;
    rec.AllowWriteCfg = v.flags[kLockSavingFlag] ? 0 : 1;
    password = v.password.substr(0, kLockPasswordLimit);
    rec.AllowCfg = 1;
    rec.AllowDOS = 1;
}

std::string LockPasswordToAsk(const SettingsRecord& rec, const std::string& password)
{
    if (password.empty() && !rec.AllowCfg) return kFallbackLockPassword;
    return password;
}

bool LockPasswordMatches(const std::string& typed, const std::string& password)
{
    if (typed.size() != password.size()) return false;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(typed[i])) != std::tolower(static_cast<unsigned char>(password[i])))
            return false;
    }
    return true;
}
