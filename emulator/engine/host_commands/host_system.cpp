#include "engine/host_commands/host_system.h"

namespace {

HostSystem quietSystem;
HostSystem* installed = &quietSystem;

}  // namespace

HostSystem& System() { return *installed; }

void SetHostSystem(HostSystem* system) { installed = system ? system : &quietSystem; }
