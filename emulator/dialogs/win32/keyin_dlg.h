// "Keyin:", the one-line prompt: a prompt text above an answer field, optionally with a "..."
// button that picks a file, optionally echoing '*' for each typed character.
#pragma once

#include <string>

#include "fw_dialog.h"

class CKeyinDlg : public FwDialog {
public:
    explicit CKeyinDlg(HWND owner);

    std::string answer;            // shown at the start; the result after OK
    std::string prompt;
    bool browse = false;           // show the "..." button
    std::string defaultExtension;  // of the file dialog
    std::string filter;            // of the file dialog, "Text (*.txt)|*.txt||"
    bool password = false;         // echo '*'

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;

private:
    void OnBrowse();
};

// The prompt in password mode: true on OK with the typed text in `typed`.
bool AskPassword(HWND owner, const std::string& prompt, std::string& typed);
