#include "engine/host_commands/host_application.h"

namespace {
HostApplication quietApplication;
HostApplication* installed = &quietApplication;
}  // namespace

HostApplication& Application() { return *installed; }

void SetHostApplication(HostApplication* application) { installed = application ? application : &quietApplication; }
