// Whether the host or the user may start programs on the PC: the administrator's switches
// AllowDOS (on) and LockDosBox (off) of the session record decide, for the DOS box and for the
// host's program commands alike.
#pragma once

#include "session/session_record.h"

// The result a refused start reports, as a failed WinExec would ("access denied"; below 32).
constexpr int kProgramStartRefused = 5;

inline bool ProgramsMayStart(const SettingsRecord& rec) { return rec.AllowDOS != 0 && rec.LockDosBox == 0; }
