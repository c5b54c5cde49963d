// Lets a test drive the program's dialogs without a human: for each dialog template it expects,
// the test queues a script that runs inside the dialog's modal loop once the dialog is up, and
// works the controls by id through FwDialogDriver as a user would (typing a text, clicking a
// check box or radio button, picking a list entry, pressing a button). Message boxes and file
// dialogs of the framework are answered from queues and recorded instead of being shown.
//
// With no hook installed nothing changes. With a hook installed, a dialog that has no script
// queued is cancelled at once and counted in unexpectedDialogs, so a test cannot hang on it.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// The driver works by window handle and messages only, so it drives a dialog of another process
// too (the dialog-driver tool of the end-to-end tests).
class FwDialogDriver {
public:
    explicit FwDialogDriver(HWND dialog) : dialog_(dialog) {}
    HWND Handle() const { return dialog_; }

    // Acting like a user: each returns false (and does nothing) when the control is missing,
    // hidden or disabled.
    bool SetText(int id, const std::string& text);
    bool Click(int id);                        // a button, check box or radio button
    bool SetCheck(int id, bool on);            // clicks a check box when its state differs
    bool Pick(int id, int index);              // a combo box, list box or list view entry
    bool Press(int id) { return Click(id); }   // a push button (OK, Cancel, ...)
    bool Focus(int id);                        // gives it the keyboard focus (its own notifications)
    // A list box or list view entry: selects it, then double-clicks. `post` (list views) posts the
    // double-click and returns at once, for a double-click that opens a dialog of its own.
    bool DoubleClick(int id, int index, bool post = false);
    bool TypeInCombo(int id, const std::string& text);  // the edit part, as typing changes it

    // Looking.
    bool Exists(int id) const;
    bool Visible(int id) const;
    bool Enabled(int id) const;
    bool Checked(int id) const;
    std::string Text(int id) const;
    std::string Caption() const;
    int Selection(int id) const;  // combo box, list box or list view selection, -1 none
    int Count(int id) const;      // entries of a combo or list box (0 when missing)
    std::string ItemText(int id, int index) const;  // a list view row: its columns, tab-separated
    long ItemData(int id, int index) const;
    bool Pressed(int id) const;   // a bitmap button kept pressed
    bool HasFocus(int id) const;
    char PasswordChar(int id) const;  // an edit's echo character, 0 when it shows the text
    bool Open() const { return IsWindow(dialog_) != FALSE; }

private:
    HWND Usable(int id) const;
    bool GetFocusOf(HWND control) const;
    HWND dialog_;
};

struct FwDialogTestHook {
    struct Message {
        std::string text;
        UINT type;
    };
    // Scripts by template id, each used once, in order.
    std::vector<std::pair<int, std::function<void(FwDialogDriver&)>>> scripts;
    // Answers for message boxes (IDOK, IDYES, ...); an empty queue answers with the first button.
    std::deque<int> messageAnswers;
    std::vector<Message> messages;
    // Answers for file dialogs: a path, or an empty text for Cancel; an empty queue cancels.
    std::deque<std::string> fileAnswers;
    std::vector<std::string> fileDialogNames;  // the initial names the file dialogs were opened with
    std::vector<std::string> fileDialogFolders;  // and the folders they were to start in
    // Answers for print dialogs: a printer name, "FILE:" for printing to a file, or an empty text
    // for Cancel; an empty queue cancels. A printer name or "FILE:" followed by "|selection" keeps
    // the Selection choice of a dialog that offers it.
    std::deque<std::string> printAnswers;
    std::vector<bool> printSelectionOffered;  // per print dialog: whether Selection was offered
    int unexpectedDialogs = 0;

    void Expect(int templateId, std::function<void(FwDialogDriver&)> script)
    {
        scripts.emplace_back(templateId, std::move(script));
    }
};

// Installs the hook (null removes it); the hook must outlive the dialogs it drives.
void FwSetDialogTestHook(FwDialogTestHook* hook);
FwDialogTestHook* FwGetDialogTestHook();

// Called by the framework: the script queued for the template, removed from the queue, or an
// empty function.
std::function<void(FwDialogDriver&)> FwTakeDialogScript(int templateId);
