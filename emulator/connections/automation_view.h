// What the session automation (variables, automatic log-on, capture) needs of the terminal view
// and its document, and what it needs of the PC itself (the user's and the computer's names).
// The Win32 program installs the real ones; until then quiet defaults answer "no" and give the
// documents' default strings.
#pragma once

#include <cstddef>

class AutomationView {
public:
    virtual ~AutomationView() = default;

    // The one-line prompt with password echo: true on OK with the typed text.
    virtual bool AskPin(const char* prompt, char* text, std::size_t size) { return false; }
    // The user-name dialog: true on OK with the typed name.
    virtual bool AskUserName(char* name, std::size_t size) { return false; }
    // Row and column of the last mouse click in the terminal view.
    virtual int ClickRow() { return 0; }
    virtual int ClickColumn() { return 0; }
    // The view's left and top margins in pixels.
    virtual int LeftMargin() { return 0; }
    virtual int TopMargin() { return 0; }
    // A document string by member name ("AutoHost1", "CaptureFile", ...); the default falls back
    // to the documents' defaults, and to "" for an unknown member.
    virtual const char* DocumentString(const char* member);
    // Runs an action string through the active view's interpreter; 0 without an active view.
    virtual int RunActionString(const char* text) { return 0; }
};

AutomationView& AutoView();
// Installs the view (not owned); null puts the quiet default back.
void SetAutomationView(AutomationView* view);

class PcNames {
public:
    virtual ~PcNames() = default;
    // The name of the user logged on to the PC / the PC's computer name; false when the platform
    // cannot tell.
    virtual bool UserName(char* name, std::size_t size) { return false; }
    virtual bool ComputerName(char* name, std::size_t size) { return false; }
};

PcNames& Names();
// Installs the names (not owned); null puts the quiet default back.
void SetPcNames(PcNames* names);
