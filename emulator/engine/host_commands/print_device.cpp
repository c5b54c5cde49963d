#include "engine/host_commands/print_device.h"

namespace {

PrintDevice quietDevice;
PrintDevice* installed = &quietDevice;

}  // namespace

PrintDevice& Printers() { return *installed; }

void SetPrintDevice(PrintDevice* device) { installed = device ? device : &quietDevice; }
