// The emulation interpreters that FeedEmulation hands host data to. Each interpreter registers
// itself for its family; a family without an interpreter ignores the data.
#pragma once

#include <cstdint>

#include "engine/engine_types.h"
#include "session/session_record.h"

enum class EmulationFamily { DecVt, AnsiConsole, Wyse, Adds, Teletype, Count };

using EmulationInterpreter = void (*)(ViewWindow window, const uint8_t* bytes, int n,
                                      SettingsRecord& rec);

// Which interpreter serves an emulation code (`Terminal`).
EmulationFamily FamilyOfEmulation(int terminal);

// Registers (or with null removes) the interpreter of a family.
void RegisterInterpreter(EmulationFamily family, EmulationInterpreter interpreter);
EmulationInterpreter InterpreterOf(EmulationFamily family);
