// "View Preferences" (113) and "File name preferences" (606). Each exchanges its values with the
// controls and keeps its enabling rules; the commands in shell/win32/preference_commands.h copy
// the settings in and back.
#pragma once

#include "dialogs/file_name_prefs_values.h"
#include "dialogs/view_prefs_values.h"
#include "dialogs/win32/settings_dialog.h"

class CViewPrefsDlg : public CenteredSettingsDialog {
public:
    explicit CViewPrefsDlg(HWND owner);
    ViewPrefsValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    // Also the instance rule, and the title rows that change at run time show "<dynamic>".
    bool OnInitDialog() override;

private:
    // The instance count can be edited only while "Max Instances:" is checked.
    void ApplyInstanceRule();
};

class CFileNamePrefsDlg : public CenteredSettingsDialog {
public:
    explicit CFileNamePrefsDlg(HWND owner);
    FileNamePrefsValues values;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;

private:
    // The capture file can be edited only while "Capture to file" is checked.
    void ApplyCaptureRule();
    // With autoname on the five per-session data files follow the configuration's name and
    // cannot be edited; the trace file and the start-up script stay editable.
    void ApplyAutonameRule();
};
