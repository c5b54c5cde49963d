// Tolvi's entry point: the platform services of the window-free code, then the application.
#include <windows.h>

#include "session/key_tables.h"
#include "session/messages.h"
#include "shell/profile_store.h"
#include "win32_platform.h"
#include "shell/win32/win32_profile.h"
#include "shell/win32/win32_prompts.h"
#include "shell/win32/zolex_app.h"

namespace {

Win32Platform win32Platform;
Win32Profile win32Profile;
Win32Prompts win32Prompts;
CZolexApp theApp;

int PlatformKeyScan(char character) { return VkKeyScanA(character); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    SetPlatform(&win32Platform);
    SetProfiles(&win32Profile);
    SetPrompts(&win32Prompts);
    SetKeyScanner(PlatformKeyScan);
    return FwWinMain(theApp, instance, commandLine, showCommand);
}
