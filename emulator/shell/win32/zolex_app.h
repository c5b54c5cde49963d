// The application object of Tolvi: start-up from the command line, the configuration file, the
// single-instance rule, the document and the main frame, and what exit frees.
#pragma once

#include <memory>

#include "fw_app.h"

class CMainFrame;
class CZolexDoc;

class CZolexApp : public FwApp {
public:
    CZolexApp();
    ~CZolexApp() override;
    bool InitInstance() override;
    int ExitInstance() override;

    // Help requests go to the platform's help with the help file of the session's language,
    // except the context help of the main frame's own resource, which has no topic.
    static bool PassesHelpRequest(unsigned long data, unsigned command);
    void WinHelp(unsigned long data, unsigned command);

private:
    std::unique_ptr<CZolexDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};
