// Data exchange between dialog controls and members, with the checks that refuse an OK.
//
// A dialog's DoDataExchange calls these in order. Loading (saving false) writes members into the
// controls; saving reads the controls back and runs the checks. The first failing read or check
// shows its message, puts the focus on its control and stops the exchange: every later call does
// nothing, so fields after a failing one keep their member values.
#pragma once

#include <windows.h>

#include <string>

class FwDataExchange {
public:
    FwDataExchange(HWND dialog, bool saving) : dialog(dialog), saving(saving) {}

    HWND dialog;
    bool saving;
    bool failed = false;
    int lastControl = 0;  // the control of the last exchange, which a check that follows reports on

    // True when the exchange goes on (not failed); records the control for the checks.
    bool Begin(int id);
    // Shows the message, focuses lastControl (selecting an edit's text) and stops the exchange.
    void Fail(const std::string& message);
};

// Edit controls: text, a whole number or a number from 0 up (a text that is no such number
// refuses the OK with "Please enter an integer." or "Please enter a positive integer.").
void DDX_Text(FwDataExchange& dx, int id, std::string& value);
void DDX_Text(FwDataExchange& dx, int id, int& value);
void DDX_Text(FwDataExchange& dx, int id, unsigned& value);
// Check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(FwDataExchange& dx, int id, int& value);
// Radio group that starts at firstId and runs in tab order up to the next control with WS_GROUP:
// the index of the checked button, -1 when none.
void DDX_Radio(FwDataExchange& dx, int firstId, int& value);
// Combo box and list box: the index of the selected entry, -1 when none.
void DDX_CBIndex(FwDataExchange& dx, int id, int& value);
void DDX_LBIndex(FwDataExchange& dx, int id, int& value);
// Combo box text: the selection's or the edit part's text; loading selects the first entry that
// starts with the text, or puts the text in the edit part.
void DDX_CBString(FwDataExchange& dx, int id, std::string& value);

// Checks after the exchange of their field (they act only while saving): "Please enter an
// integer between %1 and %2." and "Please enter no more than %1 characters.".
void DDV_MinMaxInt(FwDataExchange& dx, int value, int minimum, int maximum);
void DDV_MaxChars(FwDataExchange& dx, const std::string& value, std::size_t count);
