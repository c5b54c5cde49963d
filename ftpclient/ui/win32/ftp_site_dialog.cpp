#include "ftp_site_dialog.h"

#include <cstdio>

#include "tolviftp_ids.h"

namespace {

constexpr int kEdits[] = {IDC_SITE_USER, IDC_SITE_PASSWORD, IDC_SITE_LOCAL_DIR, IDC_SITE_REMOTE_DIR,
                          IDC_SITE_LOCAL_MASK, IDC_SITE_REMOTE_MASK, IDC_SITE_SCRIPT};
constexpr int kButtons[] = {IDC_SITE_LOCAL_SHOW, IDC_SITE_REMOTE_SHOW, IDC_SITE_SAVE_PASSWORD, IDC_SITE_TRANSLATE,
                            IDC_SITE_DEFAULT, IDC_SITE_LOCAL_IBMPC, IDC_SITE_LOCAL_8859, IDC_SITE_REMOTE_IBMPC,
                            IDC_SITE_REMOTE_8859, IDC_SITE_REMOTE_7BIT, IDC_SITE_REMOTE_8BIT, IDC_SITE_MODE_IMAGE,
                            IDC_SITE_MODE_ASCII, IDC_SITE_MODE_AUTO};

void Beep() { MessageBeep(MB_ICONEXCLAMATION); }

void LimitTexts(FwDialog& dialog)
{
    for (int id : {IDC_SITE_HOST, IDC_SITE_USER, IDC_SITE_PASSWORD, IDC_SITE_LOCAL_DIR, IDC_SITE_REMOTE_DIR,
                   IDC_SITE_LOCAL_MASK, IDC_SITE_REMOTE_MASK, IDC_SITE_SCRIPT})
        if (HWND edit = dialog.GetDlgItem(id))
            SendMessageA(edit, EM_LIMITTEXT, kSiteTextMax, 0);
    if (HWND combo = dialog.GetDlgItem(IDC_SITE_NAME))
        SendMessageA(combo, CB_LIMITTEXT, kSiteTextMax, 0);
}

std::string ComboItem(HWND combo, int index)
{
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

}  // namespace

void ShowLoginFields(FwDialog& dialog, bool anonymous, const std::string& email, std::string& savedUser,
                     std::string& savedPassword, bool remember)
{
    HWND password = dialog.GetDlgItem(IDC_SITE_PASSWORD);
    if (anonymous) {
        if (remember && dialog.GetItemText(IDC_SITE_USER) != "anonymous") {
            savedUser = dialog.GetItemText(IDC_SITE_USER);
            savedPassword = dialog.GetItemText(IDC_SITE_PASSWORD);
        }
        dialog.SetItemText(IDC_SITE_USER, "anonymous");
        dialog.SetItemText(IDC_SITE_PASSWORD, email);
        SendMessageA(password, EM_SETPASSWORDCHAR, 0, 0);
    } else {
        dialog.SetItemText(IDC_SITE_USER, savedUser);
        dialog.SetItemText(IDC_SITE_PASSWORD, savedPassword);
        SendMessageA(password, EM_SETPASSWORDCHAR, '*', 0);
    }
    InvalidateRect(password, nullptr, TRUE);
}

// ---- Site Settings

FtpSiteDialog::FtpSiteDialog(HWND owner, SiteStore& store) : FwDialog(IDD_FTP_SITE_SETTINGS, owner), store_(store)
{
    OnCommand(IDC_SITE_CONNECT, [this] {
        if (!UpdateData(true) || !SaveQuestion())
            return;
        EndDialog(IDC_SITE_CONNECT);
    });
    OnCommand(IDC_SITE_SAVE, [this] { Save(); });
    OnCommand(IDC_SITE_NEW, [this] {
        if (SaveQuestion())
            NewSite();
    });
    OnCommand(IDC_SITE_DELETE, [this] { DeleteSite(); });
    OnCommand(IDC_SITE_ANONYMOUS, [this] {
        ShowLoginType(true);
        Changed();
    });
    OnCommand(IDC_SITE_NORMAL, [this] {
        ShowLoginType(false);
        Changed();
    });
    for (int id : kEdits)
        OnCommand(id, [this] { Changed(); }, EN_CHANGE);
    for (int id : kButtons)
        OnCommand(id, [this] { Changed(); });
    OnCommand(IDC_SITE_NAME, [this] {
        if (!SaveQuestion()) {
            SendMessageA(GetDlgItem(IDC_SITE_NAME), CB_SETCURSEL, static_cast<WPARAM>(currentIndex_), 0);
            return;
        }
        LoadSelected();
    }, CBN_SELCHANGE);
    OnCommand(IDC_SITE_NAME, [this] {
        comboName_ = GetItemText(IDC_SITE_NAME);
        if (loading_)
            return;
        changed_ = true;
        if (mirror_.HostFollowsName()) {
            loading_ = true;
            SetItemText(IDC_SITE_HOST, comboName_);
            loading_ = false;
        }
    }, CBN_EDITCHANGE);
    OnCommand(IDC_SITE_NAME, [this] { mirror_.ComboFocus(GetItemText(IDC_SITE_HOST)); }, CBN_SETFOCUS);
    OnCommand(IDC_SITE_NAME, [this] { mirror_.comboFocused = false; }, CBN_KILLFOCUS);
    OnCommand(IDC_SITE_HOST, [this] { mirror_.HostFocus(GetItemText(IDC_SITE_NAME)); }, EN_SETFOCUS);
    OnCommand(IDC_SITE_HOST, [this] { mirror_.hostFocused = false; }, EN_KILLFOCUS);
    OnCommand(IDC_SITE_HOST, [this] {
        if (loading_)
            return;
        changed_ = true;
        if (mirror_.NameFollowsHost()) {
            loading_ = true;
            comboName_ = GetItemText(IDC_SITE_HOST);
            SetItemText(IDC_SITE_NAME, comboName_);
            loading_ = false;
        }
    }, EN_CHANGE);
}

void FtpSiteDialog::Changed()
{
    if (!loading_)
        changed_ = true;
}

void FtpSiteDialog::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_SITE_HOST, site.host);
    DDX_Text(dx, IDC_SITE_USER, site.user);
    DDX_Text(dx, IDC_SITE_PASSWORD, site.password);
    DDX_Text(dx, IDC_SITE_LOCAL_DIR, site.localDirectory);
    DDX_Text(dx, IDC_SITE_REMOTE_DIR, site.remoteDirectory);
    DDX_Text(dx, IDC_SITE_LOCAL_MASK, site.localMask);
    DDX_Text(dx, IDC_SITE_REMOTE_MASK, site.remoteMask);
    DDX_Text(dx, IDC_SITE_SCRIPT, site.script);
    DDX_Check(dx, IDC_SITE_LOCAL_SHOW, localShow_);
    DDX_Check(dx, IDC_SITE_REMOTE_SHOW, remoteShow_);
    DDX_Check(dx, IDC_SITE_SAVE_PASSWORD, savePassword_);
    DDX_Check(dx, IDC_SITE_TRANSLATE, translate_);
    DDX_Check(dx, IDC_SITE_DEFAULT, asDefault);
    DDX_Radio(dx, IDC_SITE_ANONYMOUS, loginIndex_);
    DDX_Radio(dx, IDC_SITE_LOCAL_IBMPC, localCharsetIndex_);
    DDX_Radio(dx, IDC_SITE_REMOTE_IBMPC, remoteCharsetIndex_);
    DDX_Radio(dx, IDC_SITE_MODE_IMAGE, modeIndex_);
    if (dx.saving) {
        site.name = comboName_;
        site.loginType = RadioCode(kLoginTypeOrder, loginIndex_);
        site.localCharset = RadioCode(kLocalCharsetOrder, localCharsetIndex_);
        site.charset = RadioCode(kRemoteCharsetOrder, remoteCharsetIndex_);
        site.mode = RadioCode(kModeOrder, modeIndex_);
        site.savePassword = savePassword_ != 0;
        site.translate = translate_ != 0;
        site.localShowDir = localShow_ != 0;
        site.showDir = remoteShow_ != 0;
    }
}

// The dialog-side forms of the site record's choices, before the controls are filled from them.
void FtpSiteDialog::TakeSiteChoices()
{
    loginIndex_ = RadioIndex(kLoginTypeOrder, site.loginType);
    localCharsetIndex_ = RadioIndex(kLocalCharsetOrder, site.localCharset);
    remoteCharsetIndex_ = RadioIndex(kRemoteCharsetOrder, site.charset);
    modeIndex_ = RadioIndex(kModeOrder, site.mode);
    savePassword_ = site.savePassword;
    translate_ = site.translate;
    localShow_ = site.localShowDir;
    remoteShow_ = site.showDir;
    savedUser_ = site.user;
    savedPassword_ = site.password;
}

bool FtpSiteDialog::OnInitDialog()
{
    TakeSiteChoices();
    loading_ = true;
    FwDialog::OnInitDialog();
    LimitTexts(*this);
    Refill();
    HWND combo = GetDlgItem(IDC_SITE_NAME);
    const std::vector<std::string> entries = Entries();
    if (entries.empty()) {
        loading_ = false;
        CheckDlgButton(Handle(), IDC_SITE_DEFAULT, BST_CHECKED);
        NewSite();
    } else {
        int select = 0;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (store_.FindByName(entries[i]) == siteNumber)
                select = static_cast<int>(i);
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(select), 0);
        currentIndex_ = select;
        comboName_ = entries[select];
        if (!siteLoaded)
            siteNumber = store_.FindByName(comboName_);
        asDefault = store_.IsDefault(comboName_);
        CheckDlgButton(Handle(), IDC_SITE_DEFAULT, asDefault ? BST_CHECKED : BST_UNCHECKED);
        ShowLoginType(site.loginType == 1);
        loading_ = false;
    }
    changed_ = false;
    return true;
}

std::vector<std::string> FtpSiteDialog::Entries() const
{
    std::vector<std::string> entries;
    HWND combo = GetDlgItem(IDC_SITE_NAME);
    const LRESULT n = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i)
        entries.push_back(ComboItem(combo, i));
    return entries;
}

void FtpSiteDialog::Refill()
{
    HWND combo = GetDlgItem(IDC_SITE_NAME);
    const bool wasLoading = loading_;
    loading_ = true;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    int select = -1;
    for (const std::string& name : store_.Names()) {
        const LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (name == comboName_)
            select = static_cast<int>(at);
    }
    if (select >= 0) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(select), 0);
        currentIndex_ = select;
    }
    loading_ = wasLoading;
}

void FtpSiteDialog::ShowLoginType(bool anonymous)
{
    const bool wasLoading = loading_;
    loading_ = true;
    ShowLoginFields(*this, anonymous, email, savedUser_, savedPassword_, true);
    loading_ = wasLoading;
}

void FtpSiteDialog::LoadSelected()
{
    HWND combo = GetDlgItem(IDC_SITE_NAME);
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return;
    const std::string name = ComboItem(combo, static_cast<int>(selected));
    const int number = store_.FindByName(name);
    if (number < 0) {
        Beep();
        return;
    }
    site = store_.Read(number);
    siteNumber = number;
    siteLoaded = 1;
    currentIndex_ = static_cast<int>(selected);
    comboName_ = name;
    asDefault = store_.IsDefault(name);
    TakeSiteChoices();
    if (newSite_) {
        // The unsaved new site's entry goes when another site is chosen.
        newSite_ = false;
        Refill();
    }
    loading_ = true;
    UpdateData(false);
    if (site.loginType == 1)
        ShowLoginFields(*this, true, email, savedUser_, savedPassword_, false);
    else
        SendMessageA(GetDlgItem(IDC_SITE_PASSWORD), EM_SETPASSWORDCHAR, '*', 0);
    loading_ = false;
    changed_ = false;
}

bool FtpSiteDialog::SaveQuestion()
{
    if (!changed_)
        return true;
    char text[200];
    std::snprintf(text, sizeof text, "Save changes to site: \"%s\" ?", comboName_.c_str());
    switch (FwMessageBox(Handle(), text, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return Save();
    case IDNO: return true;
    default: return false;
    }
}

bool FtpSiteDialog::Save()
{
    const std::string name = comboName_;
    if (!UpdateData(true))
        return false;
    site.name = name;
    switch (CheckSiteName(name, Entries(), currentIndex_)) {
    case SiteNameProblem::kEmpty:
        Beep();
        SetFocus(GetDlgItem(IDC_SITE_NAME));
        return false;
    case SiteNameProblem::kInUse: {
        char text[200];
        std::snprintf(text, sizeof text, "Site name already in use: \"%s\" ?", name.c_str());
        FwMessageBox(Handle(), text, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(GetDlgItem(IDC_SITE_NAME));
        return false;
    }
    case SiteNameProblem::kNone:
        break;
    }
    // A new site takes its number when it is first saved.
    const int number = newSite_ ? store_.NewNumber() : siteNumber;
    if (number < 1) {
        Beep();
        return false;
    }
    siteNumber = number;
    store_.Write(siteNumber, site, asDefault != 0);
    siteLoaded = 1;
    Refill();
    changed_ = false;
    newSite_ = false;
    return true;
}

void FtpSiteDialog::NewSite()
{
    HWND combo = GetDlgItem(IDC_SITE_NAME);
    const int existing = FindNewSiteEntry(Entries());
    if (existing >= 0) {
        Beep();
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(existing), 0);
        if (newSite_)
            currentIndex_ = existing;
        else
            LoadSelected();
        return;
    }
    if (store_.FreeNumber() < 0) {
        // Every number is taken.
        Beep();
        return;
    }
    loading_ = true;
    // A new site takes the fields' values but not the default: that stays with its site, except
    // for the first site of an empty list.
    if (!Entries().empty())
        CheckDlgButton(Handle(), IDC_SITE_DEFAULT, BST_UNCHECKED);
    const LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNewSiteName));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    loading_ = false;
    currentIndex_ = static_cast<int>(at);
    comboName_ = kNewSiteName;
    siteLoaded = 0;
    // Nothing is written until the site is saved (Save, or Yes to the question that an edit
    // brings at OK, Connect or another site).
    newSite_ = true;
    changed_ = false;
    SetFocus(combo);
}

void FtpSiteDialog::DeleteSite()
{
    HWND combo = GetDlgItem(IDC_SITE_NAME);
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    const int index = selected == CB_ERR ? currentIndex_ : static_cast<int>(selected);
    if (index < 0 || ComboItem(combo, index).empty()) {
        Beep();
        return;
    }
    if (!newSite_)
        store_.Delete(siteNumber);
    newSite_ = false;
    SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    const LRESULT left = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    changed_ = false;
    siteLoaded = 0;
    if (left <= 0) {
        comboName_.clear();
        currentIndex_ = -1;
        NewSite();
    } else {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index > 0 ? index - 1 : 0), 0);
        LoadSelected();
        Refill();
    }
    changed_ = false;
}

void FtpSiteDialog::OnOK()
{
    if (!UpdateData(true) || !SaveQuestion())
        return;
    EndDialog(IDOK);
}

// ---- Login Settings

FtpLoginDialog::FtpLoginDialog(HWND owner) : FwDialog(IDD_FTP_LOGIN_SETTINGS, owner)
{
    OnCommand(IDC_SITE_ANONYMOUS, [this] { ShowLoginType(true); });
    OnCommand(IDC_SITE_NORMAL, [this] { ShowLoginType(false); });
    OnCommand(IDC_SITE_CONNECT, [this] {
        if (UpdateData(true))
            EndDialog(IDC_SITE_CONNECT);
    });
}

void FtpLoginDialog::DoDataExchange(FwDataExchange& dx)
{
    DDX_Text(dx, IDC_SITE_HOST, host);
    DDX_Text(dx, IDC_SITE_USER, user);
    DDX_Text(dx, IDC_SITE_PASSWORD, password);
    DDX_Radio(dx, IDC_SITE_ANONYMOUS, loginIndex_);
    if (dx.saving)
        loginType = RadioCode(kLoginTypeOrder, loginIndex_);
}

bool FtpLoginDialog::OnInitDialog()
{
    loginIndex_ = RadioIndex(kLoginTypeOrder, loginType);
    savedUser_ = user;
    savedPassword_ = password;
    FwDialog::OnInitDialog();
    LimitTexts(*this);
    ShowLoginType(loginType == 1);
    return true;
}

void FtpLoginDialog::ShowLoginType(bool anonymous)
{
    ShowLoginFields(*this, anonymous, email, savedUser_, savedPassword_, true);
}
