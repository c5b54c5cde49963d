// Site Settings (dialog 104): choose, create, edit, delete and connect to the sites of
// TOLVIFTP.INI. Save and Delete write the file at once; a new site is written when it is first
// saved, so New followed by Cancel leaves nothing behind.
#pragma once

#include <string>

#include "fw_dialog.h"
#include "site_dialog_rules.h"
#include "site_store.h"

class FtpSiteDialog : public FwDialog {
public:
    FtpSiteDialog(HWND owner, SiteStore& store);

    // The fields (filled by the caller, read back after OK or Connect).
    SiteRecord site;
    int asDefault = 0;
    int siteNumber = 1;
    int siteLoaded = 0;
    std::string email;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<std::string> Entries() const;
    void Refill();
    void LoadSelected();
    void TakeSiteChoices();
    void NewSite();
    void DeleteSite();
    bool Save();
    // The question before an action that leaves the site; false stops the action.
    bool SaveQuestion();
    void ShowLoginType(bool anonymous);
    void SetField(int id, const std::string& text);
    void Changed();

    SiteStore& store_;
    int currentIndex_ = -1;
    std::string comboName_;
    bool changed_ = false;
    bool newSite_ = false;
    bool loading_ = false;
    std::string savedUser_, savedPassword_;
    SiteNameHostMirror mirror_;
    // Dialog-side forms of the record's choices.
    int loginIndex_ = 1, localCharsetIndex_ = 0, remoteCharsetIndex_ = 2, modeIndex_ = 0;
    int savePassword_ = 1, translate_ = 0, localShow_ = 1, remoteShow_ = 1;
};

// Login Settings (dialog 112): host, user and password for one connection, nothing stored.
class FtpLoginDialog : public FwDialog {
public:
    explicit FtpLoginDialog(HWND owner);
    std::string host, user, password, email;
    int loginType = 2;

protected:
    void DoDataExchange(FwDataExchange& dx) override;
    bool OnInitDialog() override;

private:
    void ShowLoginType(bool anonymous);
    int loginIndex_ = 1;
    std::string savedUser_, savedPassword_;
};

// The anonymous log-on's user and password fields; the normal ones come back from `saved`.
void ShowLoginFields(FwDialog& dialog, bool anonymous, const std::string& email, std::string& savedUser,
                     std::string& savedPassword, bool remember);
