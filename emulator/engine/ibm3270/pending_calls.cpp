// Stand-ins for the functions of outside_calls.h until their owners (message boxes, the HotScreen
// engine, host commands) provide them. This whole file goes when they do. Send3270Record is the
// Telnet layer's (connections/tn3270_records.cpp).
#include <cstdarg>

#include "engine/ibm3270/outside_calls.h"


void HotScreenEvaluate() {}

void CsiDispatch(ViewWindow, SettingsRecord&, int, int, const int*, DirtyRect&, int) {}
