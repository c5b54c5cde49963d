// The program's wiring (program_wiring.cpp): what Tolvi.exe installs into the window-free layers.
#pragma once

class CZolexDoc;
class CZolexView;

// Installs the transports, the view port, the connection view, the replay's host, the session
// services, the screen buttons' view, the automation, the interpreters' and host commands' hooks,
// the DDE action runner and the transfer host for the terminal view and its document.
void WireProgram(CZolexView& view, CZolexDoc* doc);
// Takes the view's services out again (the view is going).
void UnwireProgram(CZolexView& view);
