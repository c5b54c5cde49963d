// The terminal view as the replay's host (PlaybackHost).
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "connections/dde/dde_commands.h"
#include "connections/telnet_engine.h"
#include "connections/transfer_libraries.h"
#include "connections/win32/win32_transfer_host.h"
#include "engine/view_port.h"
#include "engine/win32/win32_view_port.h"
#include "host_platform.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/main_frame.h"
#include "engine/host_commands/host_system.h"
#include "engine/ibm3270/private_command.h"
#include "shell/win32/zolex_view_parts.h"

// ---------------------------------------------------------------------------------------------
// The replay's host.

bool CZolexView::StartTimer(int milliseconds)
{
    return SetTimer(window_, kPlaybackTimer, static_cast<UINT>(milliseconds), nullptr) != 0;
}

void CZolexView::KillTimer() { ::KillTimer(window_, kPlaybackTimer); }

void CZolexView::PlayBytes(const uint8_t* bytes, int count) { ::PlayBytes(Window(), bytes, count); }

// The 3270 private commands join Tolvi.exe with the host-command layer; until then a DATA: text
// of a 3270 replay is dropped.
void CZolexView::PrivateCommand3270(const uint8_t* bytes, int count) { Do3270PrivateCommand(Window(), doc_, bytes, count); }

void CZolexView::Repaint() { UpdateWindow(window_); }

void CZolexView::ShowMessage(int, const std::string& text)
{
    MessageBoxA(GetParent(window_), text.c_str(), "Tolvi", MB_OK | MB_ICONEXCLAMATION);
}

void CZolexView::SetStatusText(const std::string& text) { SetStatusPane(text.c_str(), 1, 0, 0); }

void CZolexView::SetProgress(int percent)
{
    Win32ViewPort(GetParent(window_)).ShowStatusProgress(2, percent < 0 ? 0 : percent, nullptr, 0x800000);
}

void CZolexView::SetPlayingFile(const std::string&) {}
