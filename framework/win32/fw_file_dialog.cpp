#include "fw_file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "fw_dialog_test_hook.h"

namespace {

// The name after the last folder separator.
std::string TitleOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool FwFileDialog::DoModal(HWND owner)
{
    if (FwDialogTestHook* hook = FwGetDialogTestHook()) {
        hook->fileDialogNames.push_back(fileName);
        hook->fileDialogFolders.push_back(initialFolder);
        std::string answer;
        if (!hook->fileAnswers.empty()) {
            answer = hook->fileAnswers.front();
            hook->fileAnswers.pop_front();
        }
        if (answer.empty()) return false;
        fileName = answer;
        fileTitle = TitleOf(answer);
        return true;
    }

    // The filter's '|' separators become the NULs the common dialog wants.
    std::vector<char> filterText(filter.begin(), filter.end());
    for (char& c : filterText)
        if (c == '|') c = '\0';
    filterText.push_back('\0');
    filterText.push_back('\0');

    std::vector<char> path(MAX_PATH * 4, '\0');
    fileName.copy(path.data(), path.size() - 1);
    std::vector<char> title(MAX_PATH, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.empty() ? nullptr : filterText.data();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrFileTitle = title.data();
    dialog.nMaxFileTitle = static_cast<DWORD>(title.size());
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    dialog.Flags = flags | OFN_EXPLORER;
    const BOOL chosen = open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    if (!chosen) return false;
    fileName = path.data();
    fileTitle = title.data();
    return true;
}
