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

private:
    std::unique_ptr<CZolexDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};
