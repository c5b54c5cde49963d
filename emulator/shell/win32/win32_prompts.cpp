#include "shell/win32/win32_prompts.h"

#include <windows.h>

#include "fw_dialog.h"

int Win32Prompts::Ask(int, const std::string& text, int style)
{
    // Through the framework, so that a test's dialog hook answers it.
    return FwMessageBox(GetActiveWindow(), text, static_cast<UINT>(style));
}
