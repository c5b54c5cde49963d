#include "ftp_script_editor.h"

#include <cstdio>
#include <vector>

#include "ftp_script.h"
#include "tolviftp_ids.h"

namespace {

constexpr const char* kScriptFilter = "FTP scripts (*.ftp)|*.ftp|Text files (*.txt)|*.txt|All files (*.*)|*.*||";

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

FwFileDialog ScriptOpenDialog(const std::string& path, const char* title, DWORD flags)
{
    FwFileDialog dialog;
    dialog.open = true;
    dialog.caption = title;
    dialog.filter = kScriptFilter;
    dialog.flags = flags | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const ScriptPathParts parts = SplitScriptPath(path);
    std::string folder = parts.drive + parts.directory;
    if (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') && folder[folder.size() - 2] != ':')
        folder.pop_back();
    dialog.initialFolder = folder;
    if (!path.empty() && FileExists(path))
        dialog.fileName = parts.name + parts.extension;
    return dialog;
}

FtpScriptEditorDialog::FtpScriptEditorDialog(HWND owner, const std::string& path, bool encryptPasswords)
    : FwDialog(IDD_FTP_SCRIPT_EDITOR, owner), scriptPath(path), encrypt(encryptPasswords)
{
    OnCommand(IDC_SCRIPT_NEW, [this] { New(); });
    OnCommand(IDC_SCRIPT_OPEN, [this] { Open(); });
    OnCommand(IDC_SCRIPT_SAVE, [this] { Save(); });
    OnCommand(IDC_SCRIPT_SAVE_AS, [this] { SaveAs(); });
    OnCommand(IDC_SCRIPT_CHECK, [this] { Finish(kScriptEditorCheck); });
    OnCommand(IDC_SCRIPT_RUN, [this] { Finish(kScriptEditorRun); });
    // Focus on the text: no selection, the caret in view.
    OnCommand(
        IDC_SCRIPT_TEXT,
        [this] {
            SendMessageA(GetDlgItem(IDC_SCRIPT_TEXT), EM_SETSEL, static_cast<WPARAM>(-1), 0);
            SendMessageA(GetDlgItem(IDC_SCRIPT_TEXT), EM_SCROLLCARET, 0, 0);
        },
        EN_SETFOCUS);
}

bool FtpScriptEditorDialog::OnInitDialog()
{
    SendMessageA(GetDlgItem(IDC_SCRIPT_TEXT), EM_LIMITTEXT, kScriptEditorTextMax, 0);
    FwDialog::OnInitDialog();
    if (!scriptPath.empty())
        Load(scriptPath);
    return true;
}

void FtpScriptEditorDialog::DoDataExchange(FwDataExchange& dx)
{
    int value = encrypt ? 1 : 0;
    DDX_Check(dx, IDC_SCRIPT_ENCRYPT, value);
    if (dx.saving)
        encrypt = value != 0;
}

bool FtpScriptEditorDialog::Modified() const
{
    return SendMessageA(GetDlgItem(IDC_SCRIPT_TEXT), EM_GETMODIFY, 0, 0) != 0;
}

void FtpScriptEditorDialog::SetModified(bool modified)
{
    SendMessageA(GetDlgItem(IDC_SCRIPT_TEXT), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

void FtpScriptEditorDialog::ShowTitle() { SetCaption("Edit Script: " + (isNew_ ? std::string("<new>") : scriptPath)); }

bool FtpScriptEditorDialog::Load(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        FwMessageBox(Handle(), "Unable to open that file!", MB_OK | MB_ICONEXCLAMATION, "TolviFTP");
        return false;
    }
    std::vector<char> bytes(kScriptEditorTextMax + 1);
    const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    if (n > kScriptEditorTextMax) {
        // Never shown cut: a save would lose the rest of the file.
        char text[200];
        std::snprintf(text, sizeof text, "That file is longer than %u characters: the editor cannot keep it whole.",
                      static_cast<unsigned>(kScriptEditorTextMax));
        FwMessageBox(Handle(), text, MB_OK | MB_ICONEXCLAMATION, "TolviFTP");
        return false;
    }
    scriptPath = path;
    isNew_ = false;
    ShowTitle();
    SetItemText(IDC_SCRIPT_TEXT, std::string(bytes.data(), n));
    SetModified(false);
    return true;
}

void FtpScriptEditorDialog::New()
{
    isNew_ = true;
    ShowTitle();
    SetItemText(IDC_SCRIPT_TEXT, NewScriptTemplate());
    SetModified(true);
}

FwFileDialog FtpScriptEditorDialog::ScriptFileDialog(const char* title, DWORD flags) const
{
    return ScriptOpenDialog(scriptPath, title, flags);
}

void FtpScriptEditorDialog::Open()
{
    FwFileDialog dialog = ScriptFileDialog("Edit Script Filename", OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    if (dialog.DoModal(Handle()))
        Load(Lower(dialog.fileName));
}

bool FtpScriptEditorDialog::SaveAs()
{
    // A save dialog (its button says Save, an existing file is asked about) that adds ".ftp" to
    // a name typed without an ending.
    FwFileDialog dialog = ScriptFileDialog("Save Script As", OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
    dialog.open = false;
    dialog.defaultExtension = "ftp";
    if (!dialog.DoModal(Handle()))
        return false;
    scriptPath = Lower(dialog.fileName);
    isNew_ = false;
    return Save();
}

bool FtpScriptEditorDialog::Save()
{
    if (scriptPath.empty() || isNew_)
        return SaveAs();
    EncryptPasswords();
    const std::string text = GetItemText(IDC_SCRIPT_TEXT);
    std::FILE* file = std::fopen(scriptPath.c_str(), "wb");
    const bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file && std::fclose(file) != 0)
        return false;
    if (!written) {
        FwMessageBox(Handle(), "Unable to create that file!", MB_OK | MB_ICONEXCLAMATION, "TolviFTP");
        return false;
    }
    isNew_ = false;
    SetModified(false);
    ShowTitle();
    return true;
}

void FtpScriptEditorDialog::EncryptPasswords()
{
    if (IsDlgButtonChecked(Handle(), IDC_SCRIPT_ENCRYPT) != BST_CHECKED)
        return;
    const std::string text = GetItemText(IDC_SCRIPT_TEXT);
    const std::string encrypted = EncryptScriptPasswords(text);
    if (encrypted == text)
        return;
    SetItemText(IDC_SCRIPT_TEXT, encrypted);
    SetModified(true);
}

void FtpScriptEditorDialog::ComputeDirectory()
{
    const ScriptPathParts parts = SplitScriptPath(scriptPath);
    scriptDirectory = parts.drive + parts.directory;
}

void FtpScriptEditorDialog::Finish(int code)
{
    EncryptPasswords();
    // A save that failed or was cancelled keeps the editor open: the old file is never run.
    if (Modified() && !Save())
        return;
    if (!UpdateData(true))
        return;
    ComputeDirectory();
    EndDialog(code);
}

void FtpScriptEditorDialog::OnOK()
{
    EncryptPasswords();
    if (Modified()) {
        const int answer = FwMessageBox(Handle(), "Save modifications?", MB_YESNOCANCEL | MB_ICONQUESTION, "TolviFTP");
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES && !Save())
            return;
    }
    if (!UpdateData(true))
        return;
    ComputeDirectory();
    EndDialog(IDOK);
}
