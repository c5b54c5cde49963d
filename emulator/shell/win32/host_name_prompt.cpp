// See host_name_prompt.h.
#include "shell/win32/host_name_prompt.h"

#include <cstring>

#include "dialogs/win32/session_settings_dlgs.h"

bool AskHostNameDialog(HWND owner, char* host, std::size_t size)
{
    if (!host || size == 0) return false;
    CHostNameDlg dialog(owner);
    dialog.host.assign(host, strnlen(host, size - 1));
    if (dialog.DoModal() != IDOK) return false;
    const std::size_t n = dialog.host.copy(host, size - 1);
    host[n] = '\0';
    return true;
}
