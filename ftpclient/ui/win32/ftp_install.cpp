// The network install personality of the main view: what it finds in the program's folder at
// start, the Parameters dialog, and the procedure that sends the archive and starts the terminal
// on "install.wcf" to unpack it on the host.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ftp_api.h"
#include "ftp_app.h"
#include "ftp_document.h"
#include "ftp_install.h"
#include "ftp_main_frame.h"
#include "ftp_views.h"
#include "fw_dialog.h"
#include "fw_file_dialog.h"
#include "install_rules.h"
#include "tolviftp_ids.h"

namespace {

constexpr const char* kFieldCaption = "Field validation";

std::string ProgramFolder()
{
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            std::string text(path.data(), n);
            const std::size_t slash = text.find_last_of("\\/");
            return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
        }
        path.resize(path.size() * 2);
    }
}

// The full path of the first file matching `pattern` in `folder`; empty when there is none.
std::string FirstFile(const std::string& folder, const char* pattern, std::string* name = nullptr)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::string();
    std::string path;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            path = folder + found.cFileName;
            if (name)
                *name = found.cFileName;
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return path;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Base name, extension (with its dot) and both of a path.
void NameParts(const std::string& path, std::string& base, std::string& extension, std::string& full)
{
    const std::size_t slash = path.find_last_of("\\/:");
    full = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = full.find_last_of('.');
    base = dot == std::string::npos ? full : full.substr(0, dot);
    extension = dot == std::string::npos ? std::string() : full.substr(dot);
}

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string ReadFileStart(const std::string& path, std::size_t limit)
{
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        text.resize(limit);
        text.resize(std::fread(&text[0], 1, limit, file));
        std::fclose(file);
    }
    return text;
}

// The temporary folder of the install: TEMP, else TMP, else the Windows folder (at most 144
// characters).
std::string InstallTempDir()
{
    for (const char* name : {"TEMP", "TMP"}) {
        char value[145] = "";
        const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
        if (n > 0 && n < sizeof value)
            return value;
    }
    char folder[145] = "";
    const UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    return n > 0 && n < sizeof folder ? folder : "";
}

}  // namespace

// ---- Parameters

FtpInstallDialog::FtpInstallDialog(HWND owner) : FwDialog(IDD_FTP_INSTALL_PARAMS, owner)
{
    // The local name counts as modified from any change of its text, typed or put there.
    OnCommand(IDC_INST_LOCAL, [this] { localModified_ = false; }, EN_SETFOCUS);
    OnCommand(IDC_INST_LOCAL, [this] { localModified_ = true; }, EN_CHANGE);
    OnCommand(IDC_INST_LOCAL, [this] {
        if (localModified_)
            ProposeRemote(GetItemText(IDC_INST_LOCAL));
    }, EN_KILLFOCUS);
    OnCommand(IDC_INST_BROWSE, [this] { Browse(); });
}

void FtpInstallDialog::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_INST_HOST, host);
    DDX_Text(dx, IDC_INST_USER, user);
    DDX_Text(dx, IDC_INST_PASSWORD, password);
    DDX_Text(dx, IDC_INST_LOCAL, localFile);
    DDX_Text(dx, IDC_INST_REMOTE, remoteFile);
}

bool FtpInstallDialog::OnInitDialog()
{
    for (int id : {IDC_INST_HOST, IDC_INST_USER, IDC_INST_PASSWORD, IDC_INST_LOCAL, IDC_INST_REMOTE})
        SendDlgItemMessageA(Handle(), id, EM_LIMITTEXT, kInstallFieldLimit, 0);
    FwDialog::OnInitDialog();
    localModified_ = true;
    ProposeRemote(GetItemText(IDC_INST_LOCAL));
    return true;
}

void FtpInstallDialog::ProposeRemote(const std::string& local)
{
    std::string base, extension, full;
    NameParts(local, base, extension, full);
    const std::string remote = GetItemText(IDC_INST_REMOTE);
    const std::string proposed = ProposeRemoteName(remote, base, extension, full);
    if (proposed != remote)
        SetItemText(IDC_INST_REMOTE, proposed);
}

void FtpInstallDialog::Browse()
{
    const std::string local = GetItemText(IDC_INST_LOCAL);
    FwFileDialog dialog;
    dialog.caption = "Local filename";
    dialog.filter = "UNIX tar files (*.tar, *.taz)|*.ta*|All files (*.*)|*.*||";
    dialog.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    const std::size_t slash = local.find_last_of("\\/:");
    if (slash != std::string::npos)
        dialog.initialFolder = local.substr(0, slash + 1);
    if (FileExists(local))
        dialog.fileName = slash == std::string::npos ? local : local.substr(slash + 1);
    if (!dialog.DoModal(Handle()))
        return;
    const std::string chosen = Lower(dialog.fileName);
    SetItemText(IDC_INST_LOCAL, chosen);
    ProposeRemote(chosen);
}

void FtpInstallDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    const char* refusal = nullptr;
    if (!FileExists(localFile))
        refusal = "Local File not found!";
    else if (host.empty() || user.empty() || password.empty() || remoteFile.empty())
        refusal = "All fields must be filled!";
    else if (InstallValueRefused(host) || InstallValueRefused(user) || InstallValueRefused(password) ||
             InstallValueRefused(remoteFile))
        refusal = "Host name, user name, password and remote file cannot hold a double quote or a control character.";
    if (refusal) {
        FwMessageBox(Handle(), refusal, MB_OK | MB_ICONEXCLAMATION, kFieldCaption);
        return;
    }
    EndDialog(IDOK);
}

// ---- the main view's install personality

void FtpMainView::InstallSetUp()
{
    const std::string folder = ProgramFolder();
    std::string name;
    std::string archive = FirstFile(folder, "*.tar", &name);
    if (archive.empty())
        archive = FirstFile(folder, "*.taz", &name);
    if (!archive.empty()) {
        localFile_ = archive;
        remoteFile_ = DefaultRemoteName(name);
        // The default is the name the dialog proposes for this archive on opening, so that the
        // compressed archive of the kit (".taz", sent as ".tar.Z") is recognised as the default.
        std::string base, extension, full;
        NameParts(archive, base, extension, full);
        defaultRemote_ = ProposeRemoteName(remoteFile_, base, extension, full);
    }
    const std::string version = folder + "version.txt";
    versionPath_ = FileExists(version) ? version : std::string();
    readmePath_ = FirstFile(folder, "readme.*");
    site_.user = "root";
}

void FtpMainView::InstallStartUp()
{
    LogStringId(3006);
    FtpSetTempDir(InstallTempDir().c_str());
    // Both files are logged as they are: a '%' in them is text, not a directive.
    if (!versionPath_.empty())
        for (const std::string& line : TextLines(ReadFileStart(versionPath_, 10000)))
            AddLogLine(line);
    if (!readmePath_.empty()) {
        if (FILE* file = std::fopen(readmePath_.c_str(), "r")) {
            for (const std::string& line : ReadmeLogLines(file))
                AddLogLine(line);
            std::fclose(file);
        }
    }
    PostMessageA(Handle(), WM_COMMAND, ID_FTP_TRANSFER_SETUP, 0);
}

void FtpMainView::InstallHelper()
{
    progress_.Reset(10, "");
    UpdateProgress(0, 10, "");
    HWND owner = Frame() ? Frame()->Handle() : Handle();
    FtpInstallDialog dialog(owner);
    dialog.host = site_.host;
    dialog.user = site_.user;
    dialog.password = site_.password;
    dialog.localFile = localFile_;
    dialog.remoteFile = remoteFile_;
    if (dialog.DoModal() != IDOK)
        return;
    site_.host = dialog.host;
    site_.user = dialog.user;
    site_.password = dialog.password;
    localFile_ = dialog.localFile;
    remoteFile_ = dialog.remoteFile;
    const int login = ConnectAndLogin();
    if (!connected_)
        LogStringId(3015, login, FtpErrorText(login));
    const std::string remote = remoteFile_;
    if (SendOneFile() != 0 || !IsTarArchive(remote))
        return;

    const std::string steps = InstallInstructions(site_.user, remote);
    std::vector<char> program(MAX_PATH + 1, '\0');
    const auto found = reinterpret_cast<INT_PTR>(FindExecutableA(kInstallDocument, nullptr, program.data()));
    if (found < 32) {
        FwMessageBox(owner, "Tolvi not found.  You need to:\n\n" + steps, MB_OK);
        return;
    }
    if (FwMessageBox(owner, "Will now:\n\n" + steps, MB_OKCANCEL) != IDOK)
        return;
    const std::string line =
        InstallCommandLine(program.data(), site_.host, site_.user, site_.password, remote, defaultRemote_);
    const UINT started = WinExec(line.c_str(), SW_SHOW);
    if (started >= 32) {
        PostMessageA(owner, WM_COMMAND, ID_FTP_APP_EXIT, 0);
    } else if (started == 24) {
        FwMessageBox(owner, "You now need to login to UNIX an run the following comands:\n\n" + ManualHostCommands(remote),
                     MB_OK);
    } else {
        char text[64];
        std::snprintf(text, sizeof text, "Cannot start Tolvi,\nWinExec() error: %u", started);
        FwMessageBox(owner, text, MB_OK);
    }
}
