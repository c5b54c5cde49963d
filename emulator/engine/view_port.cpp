#include "engine/view_port.h"

namespace {

ViewPort quietPort;
ViewPort* installed = &quietPort;

}  // namespace

ViewPort& View() { return *installed; }

void SetViewPort(ViewPort* port) { installed = port ? port : &quietPort; }
