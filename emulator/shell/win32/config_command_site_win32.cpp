#include "shell/win32/config_command_site_win32.h"

#include <commctrl.h>

#include <vector>

#include "shell/win32/app_helpers.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view.h"

namespace {
constexpr UINT kLoadCountryMenuMsg = WM_USER + 107;
}  // namespace

void Win32ConfigCommandSite::ReloadCountryMenu() { PostMessageA(frame_, kLoadCountryMenuMsg, 0, 0); }

void Win32ConfigCommandSite::PostFrameCommand(int command)
{
    PostMessageA(frame_, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

void Win32ConfigCommandSite::RepaintMainWindow()
{
    RedrawWindow(frame_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32ConfigCommandSite::RefitMaximisedWindow()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(frame_, &placement) || placement.showCmd != SW_SHOWMAXIMIZED) return;
    placement.showCmd = SW_SHOWNORMAL;
    SetWindowPlacement(frame_, &placement);
    placement.showCmd = SW_SHOWMAXIMIZED;
    placement.flags |= WPF_RESTORETOMAXIMIZED;
    SetWindowPlacement(frame_, &placement);
}

void Win32ConfigCommandSite::CloseMainWindow() { ::CloseMainWindow(); }

void Win32ConfigCommandSite::SetBusyCursor(bool on) { ::SetBusyCursor(on); }

std::string Win32ConfigCommandSite::StatusPaneText()
{
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->statusBar.Handle()) return {};
    const HWND bar = frame->statusBar.Handle();
    const LRESULT length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0));
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

void Win32ConfigCommandSite::SetStatusPaneText(const std::string& text)
{
    if (CMainFrame* frame = GetMainFrame()) frame->SetStatusText(0, text);
}

void Win32ConfigCommandSite::DropSelection()
{
    if (CMainFrame* frame = GetMainFrame())
        if (CZolexView* view = frame->TerminalView()) view->DropSelection();
}
