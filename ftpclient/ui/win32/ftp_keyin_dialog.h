// The one-line prompt dialog with which the session commands ask for a host, a user, a password
// or a name.
#pragma once

#include <string>

#include "fw_dialog.h"

class FtpKeyinDialog : public FwDialog {
public:
    explicit FtpKeyinDialog(HWND owner);
    std::string value;
    std::string prompt;
    // The entry shows "*" for each character (password prompts).
    bool masked = false;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
};

// Asks for a value; IDOK (value and prompt copied back) or IDCANCEL (both left as they were).
// `masked` hides what is typed: the caller sets it for password prompts.
int PromptForValue(HWND owner, std::string& prompt, std::string& value, bool masked = false);
