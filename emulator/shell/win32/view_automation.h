// What the session automation (variables, the automatic log-on, capture) asks of Tolvi's terminal
// view and its document: the document's own strings (the log-on's prompt/reply pairs, the capture
// file, ...), the view's margins, its action interpreter, and the PC's user and computer names.
#pragma once

#include "connections/automation_view.h"

class ActionTarget;
class CZolexDoc;

// Installs the automation view of `doc` with `target` as the action interpreter's view, and the
// system's PC names; RemoveViewAutomation puts the quiet defaults back.
void InstallViewAutomation(CZolexDoc* doc, ActionTarget* target);
void RemoveViewAutomation();
