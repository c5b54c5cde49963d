// TolviFTP's application object: the personality (the FTP client, or the network install when
// the command line is "install"), the port override, the country of the texts, the about boxes,
// and the two text helpers of the whole client.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "fw_app.h"
#include "fw_command_target.h"

class FtpDocument;
class FtpMainFrame;

// The settings file of the client (in the Windows folder).
constexpr const char* kFtpIniFile = "TOLVIFTP.INI";

class FtpApp : public FwApp, public FwCommandTarget {
public:
    FtpApp();
    ~FtpApp() override;
    bool InitInstance() override;
    void WinHelp(unsigned long data, unsigned command) override;
    void ShowAboutBox();

    bool installMode = false;
    std::string startDirectory;
    int portOverride = 0;
    bool autoSizeWindow = false;

    FtpDocument* Document() const { return document_.get(); }
    FtpMainFrame* Frame() const { return frame_.get(); }

private:
    std::unique_ptr<FtpDocument> document_;
    std::unique_ptr<FtpMainFrame> frame_;
};

FtpApp& TheFtpApp();

// The Windows country code the texts follow (46: Swedish).
int FtpCountry();
void SetFtpCountry(int country);

// A string-table text: the Swedish one (id + 1000) when the country is 46 and it exists, else
// the text of the id itself; empty when neither exists.
std::string LoadLocalString(int id);
// The text of the id as it is (no language offset); empty when there is none.
std::string LoadPlainString(int id);
// The text of `id` (none for 0) followed by the printf-formatted arguments, in the framework's
// message box of `type`; the button pressed.
int FormatMessageBox(int id, UINT type, const char* format, ...) __attribute__((format(printf, 3, 4)));

// The port override: the registry value HKLM "Software\Medrix\FTP" "Option1" (REG_DWORD) when
// the key opens, else the profile value [Medrix] option1; a value outside 1..65535 is none (0).
int ReadPortOverride(const char* profileFile);

// The current folder (empty when it cannot be read).
std::string FtpCurrentDirectory();

// "Tolvi - FTP Client - Version 4.0.0.5 * 32 Bit *".
std::string FtpAppVersionText();
