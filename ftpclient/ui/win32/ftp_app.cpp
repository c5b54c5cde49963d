#include "ftp_app.h"

#include <cstdarg>
#include <direct.h>
#include <strings.h>

#include "char_translation.h"
#include "ftp_api.h"
#include "fw_dialog.h"
#include "ftp_document.h"
#include "ftp_log_ring.h"
#include "ftp_main_frame.h"
#include "general_settings.h"
#include "local_strings.h"
#include "tolviftp_ids.h"

namespace {

int country = 1;

// The outside help library of other systems is not part of this one: registering the help file
// is a call that does nothing, so a missing library never stops the program from starting.
void RegisterHelpFile(const char*, int) {}

class FtpAboutDialog : public FwDialog {
public:
    FtpAboutDialog(int templateId, HWND owner) : FwDialog(templateId, owner) {}

protected:
    bool OnInitDialog() override
    {
        FwDialog::OnInitDialog();
        SetItemText(IDC_FTP_ABOUT_VERSION, FtpAppVersionText());
        return true;
    }
};

}  // namespace

int FtpCountry() { return country; }
void SetFtpCountry(int code)
{
    country = code;
    SetCountry(code);
}

std::string LoadPlainString(int id)
{
    if (id <= 0)
        return std::string();
    HINSTANCE instance = FwGetApp() ? FwGetApp()->instance : GetModuleHandleA(nullptr);
    // A string may be longer than any fixed buffer: ask for its length first.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string LoadLocalString(int id)
{
    return LoadLocalText(id, country, [](int n, std::string& text) {
        text = LoadPlainString(n);
        return !text.empty();
    });
}

int FormatMessageBox(int id, UINT type, const char* format, ...)
{
    std::string text = LoadPlainString(id);
    va_list args;
    va_start(args, format);
    text += FormatLogText(format, args);
    va_end(args);
    if (text.size() > 1024)
        text.resize(1024);
    HWND owner = FwGetApp() && FwGetApp()->mainFrame ? FwGetApp()->mainFrame->Handle() : nullptr;
    return FwMessageBox(owner, text, type);
}

int ReadPortOverride(const char* profileFile)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Medrix\\FTP", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD type = 0, value = 0, size = sizeof value;
        int port = 0;
        if (RegQueryValueExA(key, "Option1", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof value)
            port = PortOverrideFrom(static_cast<long long>(value));
        RegCloseKey(key);
        return port;
    }
    char text[32];
    GetPrivateProfileStringA("Medrix", "option1", "0", text, sizeof text, profileFile);
    return PortOverrideFrom(std::strtoll(text, nullptr, 10));
}

std::string FtpAppVersionText()
{
    std::string name = LoadPlainString(IDS_FTP_APP_TITLE);
    return FtpVersionText(name.empty() ? "TolviFTP" : name);
}

FtpApp::FtpApp()
{
    profileFile = kFtpIniFile;
    OnCommand(ID_FTP_APP_ABOUT, [this] { ShowAboutBox(); });
    // The program has no help file: Help (menu, F1, toolbar) shows what there is, the About box.
    OnCommand(ID_FTP_HELP, [this] { ShowAboutBox(); });
    OnUpdateCommand(ID_FTP_HELP, [](FwCmdUI& ui) { ui.Enable(!LimitedMode); });
}

FtpApp::~FtpApp() = default;

bool FtpApp::InitInstance()
{
    LoadRecentFiles(4);
    RegisterHelpFile("tolviftp.hlp", 1);
    installMode = strcasecmp(commandLine.c_str(), "install") == 0;

    const std::string directory = FtpCurrentDirectory();
    startDirectory = directory.empty() ? ".\\" : directory;

    portOverride = ReadPortOverride(profileFile.c_str());
    FtpSetPortOverride(portOverride);

    char value[16];
    GetPrivateProfileStringA("TolviFTP", "AutoSizeWindow", "off", value, sizeof value, kFtpIniFile);
    autoSizeWindow = FtpProfileFlag(value);

    document_ = std::make_unique<FtpDocument>();
    frame_ = std::make_unique<FtpMainFrame>(*document_);
    if (!frame_->CreateFrame())
        return false;
    mainFrame = frame_.get();
    frame_->InitialUpdate();
    frame_->ActivateFrame(showCommand);
    return true;
}

void FtpApp::WinHelp(unsigned long, unsigned)
{
    if (installMode)
        ShowAboutBox();
}

void FtpApp::ShowAboutBox()
{
    HWND owner = frame_ ? frame_->Handle() : nullptr;
    FtpAboutDialog dialog(installMode ? IDD_FTP_INSTALL_ABOUT : IDD_FTP_ABOUT, owner);
    dialog.DoModal();
}

std::string FtpCurrentDirectory()
{
    // Any length: a folder deeper than MAX_PATH is read whole, never cut.
    std::string directory(MAX_PATH, '\0');
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), &directory[0]);
    if (n >= directory.size()) {
        directory.resize(n);
        n = GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), &directory[0]);
    }
    directory.resize(n < directory.size() ? n : 0);
    return directory;
}

FtpApp& TheFtpApp() { return *static_cast<FtpApp*>(FwGetApp()); }
