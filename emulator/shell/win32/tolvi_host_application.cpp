#include "shell/win32/tolvi_host_application.h"

#include "shell/win32/app_helpers.h"
#include "session/document_strings.h"
#include "shell/session_document.h"

int TolviHostApplication::SetFullScreen(int on) { return ::SetFullScreen(on); }
void TolviHostApplication::ShowCaption(bool on) { ::ShowCaption(on); }
void TolviHostApplication::ShowSystemMenu(bool on) { ::ShowSystemMenu(on); }
void TolviHostApplication::ShowMinMaxBoxes(bool on) { ::ShowMinMaxBoxes(on); }
void TolviHostApplication::ShowFrameControlBar(bool show, int barId) { ::ShowFrameControlBar(show, barId); }
void TolviHostApplication::ToggleMenuBar() { ::ToggleMenuBar(); }
void TolviHostApplication::SendFrameSysCommand(unsigned command) { ::SendFrameSysCommand(command); }
void TolviHostApplication::DelayMs(unsigned milliseconds) { ::DelayMs(milliseconds); }

std::string TolviHostApplication::GetDocumentString(const char* member)
{
    CZolexDoc* doc = GetSessionDoc();
    const std::string* text = doc ? FindDocumentString(doc->strings, member) : nullptr;
    return text ? *text : std::string();
}

void TolviHostApplication::SetDocumentString(const char* member, const std::string& value)
{
    CZolexDoc* doc = GetSessionDoc();
    if (std::string* text = doc ? FindDocumentString(doc->strings, member) : nullptr) *text = value;
}

std::string TolviHostApplication::GetPrinterName(int printer)
{
    CZolexDoc* doc = GetSessionDoc();
    return doc ? doc->GetPrinterName(printer) : std::string();
}

std::string TolviHostApplication::GetDocumentTitle()
{
    CZolexDoc* doc = GetSessionDoc();
    return doc ? doc->GetTitle() : std::string();
}

void TolviHostApplication::RefreshDocumentTitle()
{
    if (CZolexDoc* doc = GetSessionDoc()) doc->SetTitle(nullptr);
}
