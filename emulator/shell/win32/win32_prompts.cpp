#include "shell/win32/win32_prompts.h"

#include <windows.h>

int Win32Prompts::Ask(int, const std::string& text, int style)
{
    return MessageBoxA(GetActiveWindow(), text.c_str(), "Tolvi", static_cast<UINT>(style));
}
