#include "ftp_translation_dialogs.h"

#include <commctrl.h>

#include <cstdio>

#include "fw_app.h"
#include "fw_frame.h"
#include "ftp_app.h"
#include "tolviftp_ids.h"

namespace {

void InsertColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::string& text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    if (column == 0)
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    else
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string WindowsIniPath()
{
    char folder[MAX_PATH] = "";
    const UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    std::string path(folder, n < sizeof folder ? n : 0);
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path + kFtpIniFile;
}

}  // namespace

// ---- Edit/delete filename conversion

FtpTranslationEditDialog::FtpTranslationEditDialog(HWND owner, const TranslationEditValues& values, bool isNew)
    : FwDialog(IDD_FTP_TRANSLATION_EDIT, owner), values(values), isNew(isNew)
{
    OnCommand(IDC_XLT_DELETE, [this] {
        deleted = true;
        EndDialog(IDOK);
    });
    OnCommand(IDC_XLT_EDIT_HELP, [] {});
}

void FtpTranslationEditDialog::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_XLT_LOCAL, values.local);
    DDV_MaxChars(dx, values.local, kTranslationEndingLimit);
    DDX_Text(dx, IDC_XLT_REMOTE, values.remote);
    DDV_MaxChars(dx, values.remote, kTranslationEndingLimit);
    DDX_Radio(dx, IDC_XLT_BOTH, values.radio);
    int dots = values.dots ? 1 : 0;
    DDX_Check(dx, IDC_XLT_DOTS, dots);
    if (dx.saving)
        values.dots = dots != 0;
}

bool FtpTranslationEditDialog::OnInitDialog()
{
    FwDialog::OnInitDialog();
    EnableItem(IDC_XLT_DELETE, !isNew);
    return true;
}

void FtpTranslationEditDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    const EndingCheck check = CheckEndings(values.local, values.remote);
    if (check != EndingCheck::kOk) {
        FwMessageBox(Handle(), EndingCheckMessage(check), MB_OK | MB_ICONEXCLAMATION, "TolviFTP");
        return;
    }
    EndDialog(IDOK);
}

// ---- Automatic Filename Conversion

FtpTranslationsDialog::FtpTranslationsDialog(HWND owner, std::vector<FileNameTranslation> rules)
    : FwDialog(IDD_FTP_TRANSLATIONS, owner), rules(std::move(rules))
{
    OnCommand(IDC_XLT_NEW, [this] { EditRule(AddNewTranslation(this->rules), true); });
    OnCommand(IDC_XLT_REMOVE_ALL, [this] {
        this->rules.clear();
        Fill();
        changed_ = true;
    });
    OnCommand(IDC_XLT_HELP, [] {});
}

HWND FtpTranslationsDialog::List() const { return GetDlgItem(IDC_XLT_LIST); }

bool FtpTranslationsDialog::OnInitDialog()
{
    FwDialog::OnInitDialog();
    HWND list = List();
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertColumn(list, 0, "Local Name", 60);
    InsertColumn(list, 1, "Remote Name", 60);
    InsertColumn(list, 2, "Direction", 60);
    SortTranslations(rules);
    Fill();
    changed_ = false;
    return true;
}

void FtpTranslationsDialog::Fill()
{
    HWND list = List();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const int row = static_cast<int>(i);
        SetCell(list, row, 0, rules[i].local);
        SetCell(list, row, 1, rules[i].remote);
        SetCell(list, row, 2, DirectionName(rules[i].direction));
    }
    RECT client;
    GetClientRect(list, &client);
    const int width = client.right - client.left;
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, width - 2 * (width / 3));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, width / 3);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 2, width / 3);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void FtpTranslationsDialog::EditRule(int index, bool isNew)
{
    if (index < 0 || index >= static_cast<int>(rules.size()))
        return;
    FtpTranslationEditDialog dialog(Handle(), EditValuesOf(rules[static_cast<std::size_t>(index)]), isNew);
    const bool ok = dialog.DoModal() == IDOK;
    if (EndTranslationEdit(rules, index, isNew, ok, dialog.deleted, dialog.values))
        changed_ = true;
    Fill();
}

void FtpTranslationsDialog::OnCancel()
{
    if (changed_ && FwMessageBox(Handle(), "All changes will be discarded!", MB_OKCANCEL | MB_ICONEXCLAMATION, "TolviFTP") != IDOK)
        return;
    FwDialog::OnCancel();
}

bool FtpTranslationsDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result)
{
    if (message != WM_NOTIFY)
        return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != List() || header->code != NM_DBLCLK)
        return false;
    int row = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
    if (row < 0) {
        // The row under the mouse pointer.
        LVHITTESTINFO hit = {};
        const DWORD position = GetMessagePos();
        hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ScreenToClient(List(), &hit.pt);
        row = static_cast<int>(SendMessageA(List(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    }
    if (row >= 0)
        EditRule(row, false);
    result = 0;
    return true;
}

// ---- the rules' store and editor of the program

IniFileTranslationStore::IniFileTranslationStore(std::string path) : path_(path.empty() ? WindowsIniPath() : path) {}

namespace {

// The whole file (empty when there is none); false when it is there but cannot be read. The
// system's profile functions may still hold changes of other sections unwritten: they are
// flushed first.
bool ReadWholeIni(const std::string& path, std::string& text)
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    text.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, file)) > 0)
        text.append(block, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

std::vector<std::string> IniFileTranslationStore::ReadLines()
{
    std::string text;
    ReadWholeIni(path_, text);
    return ProfileSectionLines(text, kTranslationSection);
}

bool IniFileTranslationStore::WriteLines(const std::vector<std::string>& lines)
{
    // The new file is written beside the old one and renamed over it: a failed write leaves the
    // old file whole.
    std::string text;
    if (!ReadWholeIni(path_, text))
        return false;
    const std::string out = ReplaceProfileSection(text, kTranslationSection, lines);
    char temporary[MAX_PATH];
    if (GetTempFileNameA(FolderOf(path_).c_str(), "tvf", 0, temporary) == 0)
        return false;
    FILE* file = std::fopen(temporary, "wb");
    bool written = file && std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (file)
        written = std::fclose(file) == 0 && written;
    if (!written || !MoveFileExA(temporary, path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary);
        return false;
    }
    return true;
}

bool DialogTranslationEditor::Edit(std::vector<FileNameTranslation>& rules)
{
    FwApp* app = FwGetApp();
    HWND owner = app && app->mainFrame ? app->mainFrame->Handle() : nullptr;
    FtpTranslationsDialog dialog(owner, rules);
    if (dialog.DoModal() != IDOK)
        return false;
    rules = dialog.rules;
    return true;
}
