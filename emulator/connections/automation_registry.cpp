// The installed automation view and PC names, with their quiet defaults.
#include "connections/automation_view.h"

#include "session/document_strings.h"

namespace {

AutomationView quietView;
AutomationView* installedView = nullptr;
PcNames quietNames;
PcNames* installedNames = nullptr;

}  // namespace

const char* AutomationView::DocumentString(const char* member) {
    const DocumentStringDefault* entry = FindDocumentStringDefault(member);
    return entry && entry->value ? entry->value : "";
}

AutomationView& AutoView() { return installedView ? *installedView : quietView; }
void SetAutomationView(AutomationView* view) { installedView = view; }

PcNames& Names() { return installedNames ? *installedNames : quietNames; }
void SetPcNames(PcNames* names) { installedNames = names; }
