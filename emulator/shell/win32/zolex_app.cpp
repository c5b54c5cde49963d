#include "shell/win32/zolex_app.h"

#include <cstdio>
#include <cstring>

#include "shell/win32/app_helpers.h"
#include "shell/win32/tolvi_host_application.h"
#include "fw_shell_types.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view.h"
#include "shell/config_file.h"
#include "session/messages.h"
#include "shell/hotspot_table.h"
#include "shell/win32/image_file.h"
#include "shell/path_helpers.h"
#include "connections/connection_dispatch.h"
#include "connections/dde/win32/dde_layer.h"
#include "connections/session_services.h"
#include "shell/profile_store.h"
#include "shell/session_document.h"
#include "shell/startup_state.h"

namespace {

constexpr const char* kFrameClassName = "TolviFrame";
TolviHostApplication hostApplication;

// The program file's path; empty when it does not fit (never a cut path).
std::string ModulePath()
{
    std::string path(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return "";
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 4);
    }
    return "";
}

bool StartsWithYes(const char* text)
{
    return std::strlen(text) >= 3 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text, 3, "yes", 3) == CSTR_EQUAL;
}

// Brings the earlier instance forward: its last active pop-up, in front, with its pop-ups shown.
void BringForward(HWND view)
{
    HWND top = view ? GetAncestor(view, GA_ROOT) : nullptr;
    if (!top) return;
    HWND popup = GetLastActivePopup(top);
    SetForegroundWindow(popup ? popup : top);
    ShowOwnedPopups(top, TRUE);
}

}  // namespace

CZolexApp::CZolexApp() = default;
CZolexApp::~CZolexApp() = default;

bool CZolexApp::InitInstance()
{
    SetHostApplication(&hostApplication);
    SetButtonImageLoader(LoadButtonImage);
    TakeCommandLine(commandLine);
    Startup.ProgramPath = ModulePath();
    if (Startup.ProgramPath.empty())
        ShowMessage(0, kMsgOk | kMsgIconExclamation, "%s",
                    "The program's own path could not be read; its default data files are not found.");

    std::string name = "tolvi.wcf";
    const bool named = Startup.PositionalArgCount > 0;
    if (named) {
        name = CompleteConfigName(Startup.PositionalArgs[0]);
        ChangeToPathDirectory(name);
    }

    const std::string found = FindAlongPath(name);
    if (found.empty()) {
        Startup.NewConfiguration[0] = Startup.NewConfiguration[1] = true;
        if (named && ShowNamedMessage(64, kMsgYesNo | kMsgIconQuestion, name) != kAnswerYes) return false;
        if (name.find_first_of("\\/") == std::string::npos) name = ".\\" + name;
        if (!Profiles().WriteString(kAppSection, kVersionKey, kConfigVersion, name.c_str())) return false;
        Rec->BaudRate = 9600;
    } else {
        const std::string path = IsBareName(name) ? found : name;
        Rec->BaudRate = static_cast<int>(Profiles().GetInt(kAppSection, "BaudRate", 9600, path.c_str()));
        if (!Profiles().SectionHasKeys("3270", path.c_str())) Startup.NewConfiguration[1] = true;
        char single[4];
        Profiles().GetString(kAppSection, "SingleInstance", "No", single, sizeof single, path.c_str());
        if (StartsWithYes(single)) {
            HWND first = nullptr;
            const int running = CountInstances(&first);
            char maxText[6];
            Profiles().GetString(kAppSection, "MaxInstance", "1", maxText, sizeof maxText, path.c_str());
            int limit = 1;
            if (std::sscanf(maxText, "%i", &limit) != 1 || limit < 1) limit = 1;
            if (running >= limit) {
                BringForward(first);
                return false;
            }
        }
    }

    LoadRecentFiles(4);
    if (!Startup.ProgramPath.empty())
        FwRegisterShellFileType({".wcf", "TolviSession", "Tolvi session", "TOLVI"}, Startup.ProgramPath);

    Startup.StartupConfigName = name;
    doc_ = std::make_unique<CZolexDoc>();
    SetSessionDoc(doc_.get());
    frame_ = std::make_unique<CMainFrame>(*doc_);
    mainFrame = frame_.get();
    if (!frame_->Create(kFrameClassName, "Tolvi", 2, LoadIcon(instance, MAKEINTRESOURCE(31234))))
        return false;
    doc_->SetSite(frame_.get());
    const bool opened = doc_->OnNewDocument();
    if (!opened || Startup.StartupFailed) {
        DestroyWindow(frame_->Handle());
        return false;
    }
    doc_->SetTitle(nullptr);
    frame_->ActivateFrame(showCommand);
    Startup.StartupConfigName.clear();
    if (CZolexView* view = frame_->TerminalView()) view->OnInitialUpdate();

    HWND window = frame_->Handle();
    PostMessageA(window, Rec->ShowMenu ? WM_USER + 107 : WM_USER + 105, 0, 0);
    if (!Rec->ShowTitlebar) PostMessageA(window, WM_USER + 106, 0, 0);
    else if (!Rec->ShowSysMenu) PostMessageA(window, WM_USER + 108, 0, 0);
    DdeStartup();
    Services().HotScreenLoad(doc_->GetHotScreenFileName(false).c_str());
    DynHotspots = std::make_unique<HotspotTable>();
    DynHotspots->Load(doc_->GetDynHotspotFileName(false));
    return true;
}

bool CZolexApp::PassesHelpRequest(unsigned long data, unsigned command)
{
    return !(data == 0x20002 && command == 1);
}

void CZolexApp::WinHelp(unsigned long data, unsigned command)
{
    CMainFrame* frame = CMainFrame::Instance();
    if (!frame || !PassesHelpRequest(data, command)) return;
    ::WinHelpA(frame->Handle(), frame->HelpFile.c_str(), command, data);
}

int CZolexApp::ExitInstance()
{
    ShutdownTransport();
    DynHotspots.reset();
    DdeShutdown();
    SetHostApplication(nullptr);
    Services().HotScreenFree();
    mainFrame = nullptr;
    SetSessionDoc(nullptr);
    frame_.reset();
    doc_.reset();
    ReleaseImaging();
    return FwApp::ExitInstance();
}
