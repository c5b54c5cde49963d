// dlgdrive CAPTION [--wait MS] COMMAND ...
//
// Drives a dialog of another process by control id, for the end-to-end tests (beside xdotool,
// which types and clicks by screen position). The dialog is the top-level dialog window whose
// caption is CAPTION, waited for up to --wait milliseconds (default 15000). The commands run in
// order; what they read is printed, one line each:
//
//   click ID            press a button, check box or radio button
//   postclick ID        press a push button without waiting for its handler (which may open a
//                       message box the caller then answers)
//   settext ID TEXT     set an edit control's text
//   type ID TEXT        type into a combo box's edit part
//   pick ID INDEX       select a list or combo box entry
//   dblclick ID INDEX   double-click a list box or list view entry
//   postdblclick ID INDEX  double-click a list view row without waiting for its handler (which
//                       may open a dialog the caller then drives)
//   focus ID            give a control the keyboard focus
//   text ID             print the control's text
//   count ID            print the number of entries of a list or combo box
//   item ID INDEX       print an entry's text (a list view row: its columns, tab-separated)
//   data ID INDEX       print an entry's item data
//   selection ID        print the selected entry's index (-1 none)
//   checked ID          print 1 or 0
//   pressed ID          print 1 when the bitmap button is kept pressed, else 0
//   passwordchar ID     print an edit's echo character as a number (0: the text shows)
//   wait-closed         wait until the dialog has closed
//
// Exit code 0 when every command could be done, 1 on a usage error, 2 when the dialog never
// appeared, 3 when a command failed (a missing, hidden or disabled control, or the dialog stayed
// open).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fw_dialog_test_hook.h"

namespace {

HWND FindDialog(const char* caption, int waitMs)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(waitMs);
    for (;;) {
        HWND found = FindWindowA("#32770", caption);
        if (found && IsWindowVisible(found)) return found;
        if (static_cast<int>(end - GetTickCount()) <= 0) return nullptr;
        Sleep(100);
    }
}

int Usage()
{
    std::fprintf(stderr, "usage: dlgdrive CAPTION [--wait MS] COMMAND ... (see the source for the commands)\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const char* caption = argv[1];
    int i = 2, waitMs = 15000;
    if (i + 1 < argc && !std::strcmp(argv[i], "--wait")) {
        waitMs = std::atoi(argv[i + 1]);
        i += 2;
    }
    HWND dialog = FindDialog(caption, waitMs);
    if (!dialog) {
        std::fprintf(stderr, "dlgdrive: no dialog \"%s\"\n", caption);
        return 2;
    }
    FwDialogDriver d(dialog);
    auto argument = [&](int offset) -> const char* { return i + offset < argc ? argv[i + offset] : nullptr; };
    while (i < argc) {
        const std::string command = argv[i];
        const char* first = argument(1);
        const char* second = argument(2);
        const int id = first ? std::atoi(first) : 0;
        bool done = true;
        int used = 2;
        if (command == "wait-closed") {
            used = 1;
            const DWORD end = GetTickCount() + static_cast<DWORD>(waitMs);
            while (d.Open() && static_cast<int>(end - GetTickCount()) > 0) Sleep(100);
            done = !d.Open();
        } else if (!first) {
            return Usage();
        } else if (command == "click") {
            done = d.Click(id);
        } else if (command == "postclick") {
            HWND control = GetDlgItem(dialog, id);
            done = control && IsWindowEnabled(control) &&
                   PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        } else if (command == "focus") {
            done = d.Focus(id);
        } else if (command == "text") {
            std::printf("%s\n", d.Text(id).c_str());
        } else if (command == "count") {
            std::printf("%d\n", d.Count(id));
        } else if (command == "selection") {
            std::printf("%d\n", d.Selection(id));
        } else if (command == "checked") {
            std::printf("%d\n", d.Checked(id) ? 1 : 0);
        } else if (command == "passwordchar") {
            std::printf("%d\n", static_cast<unsigned char>(d.PasswordChar(id)));
        } else if (command == "pressed") {
            std::printf("%d\n", d.Pressed(id) ? 1 : 0);
        } else if (!second) {
            return Usage();
        } else {
            used = 3;
            if (command == "settext") done = d.SetText(id, second);
            else if (command == "type") done = d.TypeInCombo(id, second);
            else if (command == "pick") done = d.Pick(id, std::atoi(second));
            else if (command == "dblclick") done = d.DoubleClick(id, std::atoi(second));
            else if (command == "postdblclick") done = d.DoubleClick(id, std::atoi(second), true);
            else if (command == "item") std::printf("%s\n", d.ItemText(id, std::atoi(second)).c_str());
            else if (command == "data") std::printf("%ld\n", d.ItemData(id, std::atoi(second)));
            else return Usage();
        }
        std::fflush(stdout);
        if (!done) {
            std::fprintf(stderr, "dlgdrive: %s %s failed\n", command.c_str(), first ? first : "");
            return 3;
        }
        i += used;
    }
    return 0;
}
