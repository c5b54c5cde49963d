// Lock administration, window-free: the 27 lock flags as the dialog shows them, the group that
// "Lock all" and "Open all" set, the password asked for before the dialog opens, and the store.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "session/session_record.h"

// Flags 0-24 are the 25 lock settings in record order; 25 locks loading configurations (the
// inverse of AllowReadCfg), 26 locks saving them (the inverse of AllowWriteCfg).
constexpr int kLockFlagCount = 27;
constexpr int kLockSettingCount = 25;
// "Lock all" and "Open all" set flags 0-21 (the settings pages and Reset to Default).
constexpr int kLockGroupCount = 22;
constexpr int kLockDosBoxFlag = 24;
constexpr int kLockLoadingFlag = 25;
constexpr int kLockSavingFlag = 26;
// The padlock buttons' control ids, by flag.
extern const std::array<int, kLockFlagCount> kLockButtonIds;

constexpr std::size_t kLockPasswordLimit = 128;
// The password of a configuration whose settings are all locked (AllowCfg off) and that names
// none. A built-in password, documented in the README.
constexpr const char* kFallbackLockPassword = "VidEr";

struct LockAdminValues {
    std::array<int, kLockFlagCount> flags{};
    std::string password;
};

LockAdminValues LockValuesFrom(const SettingsRecord& rec, const std::string& password);
// What the dialog shows at its start: with AllowCfg off flags 0-21 locked, with AllowDOS off the
// DOS box locked.
void ApplyStartLocks(LockAdminValues& values, const SettingsRecord& rec);
// "Lock all" (true) or "Open all" (false): flags 0-21; the others keep their state.
void SetGroupLocks(LockAdminValues& values, bool locked);
// OK: the 25 locks, AllowReadCfg and AllowWriteCfg from flags 25 and 26, the password; the
// configuration is allowed again (AllowCfg and AllowDOS on).
void StoreLockValues(const LockAdminValues& values, SettingsRecord& rec, std::string& password);

// The password to ask for before the dialog opens: the stored one, or the built-in one when the
// configuration is locked (AllowCfg off) and names none; empty when none is to be asked.
std::string LockPasswordToAsk(const SettingsRecord& rec, const std::string& password);
// The typed password opens the dialog: equal without regard to case.
bool LockPasswordMatches(const std::string& typed, const std::string& password);
