// See host_name_prompt.h.
#include "shell/win32/host_name_prompt.h"

#include <cstring>

#include "view_resource_ids.h"

namespace {

struct PromptData {
    char* host;
    std::size_t size;
};

INT_PTR CALLBACK HostNameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const auto* data = reinterpret_cast<const PromptData*>(lParam);
        SendDlgItemMessageA(dialog, IDC_HOST_NAME, EM_LIMITTEXT, kHostNameLimit, 0);
        SetDlgItemTextA(dialog, IDC_HOST_NAME, data->host);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* data = reinterpret_cast<PromptData*>(GetWindowLongPtrA(dialog, DWLP_USER));
            char text[kHostNameLimit + 1] = {};
            GetDlgItemTextA(dialog, IDC_HOST_NAME, text, sizeof text);
            const std::size_t room = data->size - 1;
            std::size_t n = std::strlen(text);
            if (n > room) n = room;
            std::memcpy(data->host, text, n);
            data->host[n] = '\0';
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace

bool AskHostNameDialog(HWND owner, char* host, std::size_t size)
{
    if (!host || size == 0) return false;
    PromptData data{host, size};
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HOST_NAME), owner, HostNameProc,
                           reinterpret_cast<LPARAM>(&data)) == IDOK;
}
