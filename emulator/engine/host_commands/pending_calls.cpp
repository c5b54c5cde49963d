// Stand-ins for the functions of outside_calls.h until their owners provide them. This whole
// file goes when they do.
#include "engine/host_commands/outside_calls.h"

int SetFullScreen(int on) { return 0; }
void ShowCaption(bool) {}
void ShowSystemMenu(bool) {}
void ShowMinMaxBoxes(bool) {}
void ShowFrameControlBar(bool, int) {}
void ToggleMenuBar(int) {}
void SendFrameSysCommand(unsigned) {}
void DelayMs(unsigned) {}

std::string GetDocumentString(const char*) { return std::string(); }
void SetDocumentString(const char*, const std::string&) {}
std::string GetDocumentTitle() { return std::string(); }
void RefreshDocumentTitle() {}

bool CreateDynButton(ViewWindow, const int*, int, const char*, int) { return false; }
std::vector<std::string> DynButtonNames() { return {}; }
int DynButtonHotspotFlag(const std::string&) { return 0; }
void DeleteDynButton(const std::string&) {}

void HotScreenReload(const char*) {}
int OpenPlayFile(const char*, long) { return 0; }
void CloseAllPlayFiles() {}
int RunActionString(const char*, int) { return 0; }
int ExecuteAclCommand(const char*) { return 0; }
void TraceKeyboard(int, const uint8_t*, int) {}
