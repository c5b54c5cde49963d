// The script editor (dialog 106): writes, opens and saves FTP scripts, scrambles plain passwords
// on request, and ends with Done, Run or Check.
#pragma once

#include <windows.h>

#include <string>

#include "fw_dialog.h"
#include "fw_file_dialog.h"

// The end codes of Check and Run (Done ends with IDOK).
constexpr int kScriptEditorCheck = 113;
constexpr int kScriptEditorRun = 114;

class FtpScriptEditorDialog : public FwDialog {
public:
    FtpScriptEditorDialog(HWND owner, const std::string& path, bool encryptPasswords);

    std::string scriptPath;
    std::string scriptDirectory;
    bool encrypt = false;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(FwDataExchange& dx) override;
    void OnOK() override;

private:
    bool Load(const std::string& path);
    void New();
    void Open();
    bool Save();
    bool SaveAs();
    void EncryptPasswords();
    void Finish(int code);
    bool Modified() const;
    void SetModified(bool modified);
    void ShowTitle();
    void ComputeDirectory();
    // A file dialog set up at the script path.
    FwFileDialog ScriptFileDialog(const char* title, DWORD flags) const;

    bool isNew_ = false;
};

// The same file dialog for the LimitedMode Scripts command: starts at `path`.
FwFileDialog ScriptOpenDialog(const std::string& path, const char* title, DWORD flags);
