// Stand-ins for the functions of pending_calls.h; each goes when its owner lands.
#include "shell/pending_calls.h"

// Replaced when the connection layer and the view extensions land: nothing to start or free yet.
void HotScreenLoad(const char*) {}
void HotScreenFree() {}
