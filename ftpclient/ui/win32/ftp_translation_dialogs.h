// The dialogs that edit the file-name translations ("Automatic Filename Conversion" and
// "Edit/delete filename conversion"), and where the program keeps the rules: the section
// [FileNameTranslations] of TOLVIFTP.INI in the Windows folder, read and written whole.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "file_name_translations.h"
#include "fw_dialog.h"

class FtpTranslationEditDialog : public FwDialog {
public:
    FtpTranslationEditDialog(HWND owner, const TranslationEditValues& values, bool isNew);

    TranslationEditValues values;
    bool isNew;
    bool deleted = false;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
};

class FtpTranslationsDialog : public FwDialog {
public:
    FtpTranslationsDialog(HWND owner, std::vector<FileNameTranslation> rules);

    std::vector<FileNameTranslation> rules;

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void Fill();
    void EditRule(int index, bool isNew);
    HWND List() const;
    bool changed_ = false;
};

// The settings file's section, read and written by the program itself: the profile functions of
// the system lose lines without '=' on writing and cut a long section on reading.
class IniFileTranslationStore : public TranslationStore {
public:
    // `path` empty: TOLVIFTP.INI in the Windows folder.
    explicit IniFileTranslationStore(std::string path = std::string());
    std::vector<std::string> ReadLines() override;
    bool WriteLines(const std::vector<std::string>& lines) override;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The two dialogs over the program's main window.
class DialogTranslationEditor : public TranslationEditor {
public:
    bool Edit(std::vector<FileNameTranslation>& rules) override;
};
