#include "shell/win32/view_automation.h"

#include "dialogs/win32/keyin_dlg.h"
#include "shell/action_strings.h"
#include "shell/win32/main_frame.h"
#include "shell/mouse_tracker.h"
#include "shell/session_document.h"
#include "session/session_record.h"
#include "connections/win32/win32_pc_names.h"
#include "dialogs/win32/connection_dialogs.h"
#include "shell/win32/main_frame.h"

namespace {

class ViewAutomation : public AutomationView {
public:
    CZolexDoc* doc = nullptr;
    ActionTarget* target = nullptr;

    const char* DocumentString(const char* member) override
    {
        const std::string* text = doc ? FindDocumentString(doc->strings, member) : nullptr;
        return text ? text->c_str() : AutomationView::DocumentString(member);
    }
    // %pin%: the one-line prompt in password mode.
    bool AskPin(const char* prompt, char* text, std::size_t size) override
    {
        if (!text || size == 0) return false;
        std::string typed;
        if (!AskPassword(CMainFrame::Instance() ? CMainFrame::Instance()->Handle() : nullptr, prompt ? prompt : "", typed))
            return false;
        text[typed.copy(text, size - 1)] = '\0';
        return true;
    }
    int ClickRow() override { return MouseRow; }
    int ClickColumn() override { return MouseCol; }
    // The user-name dialog over the main window; the name is at most kUserNameLimit characters.
    bool AskUserName(char* name, std::size_t size) override
    {
        if (!name || size == 0) return false;
        CMainFrame* frame = CMainFrame::Instance();
        CUserNameDlg dialog(frame ? frame->Handle() : nullptr);
        if (dialog.DoModal() != IDOK) return false;
        const std::size_t n = dialog.name.copy(name, size - 1);
        name[n] = '\0';
        return true;
    }
    int LeftMargin() override { return Rec->LeftMargin; }
    int TopMargin() override { return Rec->TopMargin; }
    int RunActionString(const char* text) override
    {
        if (!target || !text) return 0;
        return ::RunActionString(text, 0, doc ? &doc->keyDefs : nullptr, *target, nullptr, nullptr);
    }
};

ViewAutomation automation;
Win32PcNames pcNames;

}  // namespace

void InstallViewAutomation(CZolexDoc* doc, ActionTarget* target)
{
    automation.doc = doc;
    automation.target = target;
    SetAutomationView(&automation);
    SetPcNames(&pcNames);
}

void RemoveViewAutomation()
{
    SetAutomationView(nullptr);
    SetPcNames(nullptr);
    automation.doc = nullptr;
    automation.target = nullptr;
}
