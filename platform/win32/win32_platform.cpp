#include "win32_platform.h"

#include <windows.h>

int Win32Platform::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Platform::WindowsCountry() { return static_cast<int>(GetProfileIntA("intl", "iCountry", 1)); }

void Win32Platform::ShowMessage(int, const char* text)
{
    MessageBoxA(GetActiveWindow(), text, "Tolvi", MB_OK | MB_ICONEXCLAMATION);
}
