// The dialog class of our framework: a modal dialog over a dialog template of the resources. The
// program derives one class per dialog, exchanges its members with the controls in
// DoDataExchange, and handles buttons through command handlers.
//
// Flow: DoModal creates the dialog (DialogBoxParam); WM_INITDIALOG calls OnInitDialog, which by
// default loads the controls from the members (UpdateData(false)). The OK button calls OnOK,
// which stores the controls into the members (UpdateData(true)) and ends with IDOK only when every
// check passed; Cancel and the close box call OnCancel (ends with IDCANCEL). Other buttons run the
// handler registered with OnCommand; the Help button (kFwHelpCommand or IDHELP) calls OnHelp.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "fw_data_exchange.h"

class FwDialog {
public:
    FwDialog(int templateId, HWND owner) : templateId_(templateId), owner_(owner) {}
    virtual ~FwDialog() = default;
    FwDialog(const FwDialog&) = delete;
    FwDialog& operator=(const FwDialog&) = delete;

    // Runs the dialog; the end code (IDOK, IDCANCEL or what EndDialog was given), or -1 when the
    // template could not be loaded.
    int DoModal();
    void EndDialog(int code);

    HWND Handle() const { return window_; }
    int TemplateId() const { return templateId_; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(window_, id); }

    // Moves data between the controls and the members: saving true reads the controls (false
    // when a check failed: its message was shown and the focus is on the control).
    bool UpdateData(bool saving);

    // Control helpers.
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    void ShowItem(int id, bool show);
    void EnableItem(int id, bool enable);
    void SetCaption(const std::string& text);
    // Centres the dialog on its owner (or the screen when it has none).
    void CenterWindow();

protected:
    virtual void DoDataExchange(FwDataExchange& dx) {}
    // Returns true to let the system focus the first control.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // The Help button: the program's help at the dialog's context (help-resource base + template).
    virtual void OnHelp();
    // WM_DESTROY of the dialog window.
    virtual void OnDestroy() {}
    // Messages not handled otherwise; return true when handled (the result in `result`).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }

    // A handler for a button (or any control's notification code `code`, BN_CLICKED by default).
    void OnCommand(int id, std::function<void()> handler, int code = BN_CLICKED);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool RunCommand(int id, int code);

    int templateId_;
    HWND owner_;
    HWND window_ = nullptr;
    std::map<std::pair<int, int>, std::function<void()>> commands_;
};

// The framework's Help command (a dialog's Help button); IDHELP does the same.
constexpr int kFwHelpCommand = 57670;
// Help contexts of dialogs are this base plus the template id.
constexpr unsigned long kFwHelpResourceBase = 0x20000;

// The message box of our framework: dialogs report through it so that tests can answer it.
int FwMessageBox(HWND owner, const std::string& text, UINT type, const char* caption = nullptr);
