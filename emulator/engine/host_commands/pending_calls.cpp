// Stand-ins for the functions of outside_calls.h until their owners provide them. This whole
// file goes when they do.
#include "engine/host_commands/outside_calls.h"

bool CreateDynButton(ViewWindow, const int*, int, const char*, int) { return false; }
std::vector<std::string> DynButtonNames() { return {}; }
int DynButtonHotspotFlag(const std::string&) { return 0; }
void DeleteDynButton(const std::string&) {}

void HotScreenReload(const char*) {}
