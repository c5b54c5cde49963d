// Start-up and shutdown of the whole DDE layer.
#pragma once

// The server when DdeServerEnable is on, then the client side (triggers, recorder and the DDEML
// poke) when DdeClientEnable is on. Returns the OR of the two results. Called once, after the
// configuration was read.
int DdeStartup();
// The client instance, the recorder (an unfinished recording is dropped), the triggers, and the
// server when it still exists. Returns 1.
int DdeShutdown();
