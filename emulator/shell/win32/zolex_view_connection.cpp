// The terminal view as the connection layer's view (ConnectionView).
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "connections/connection_dispatch.h"
#include "connections/dde/dde_commands.h"
#include "connections/telnet_engine.h"
#include "connections/win32/serial_transport.h"
#include "connections/transfer_libraries.h"
#include "engine/view_port.h"
#include "engine/win32/win32_view_port.h"
#include "shell/session_document.h"
#include "session/session_record.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view_parts.h"

// ---------------------------------------------------------------------------------------------
// The connection layer's view.

ViewWindow CZolexView::Window() { return EngineWindow(window_); }

void CZolexView::RefreshTitle()
{
    if (doc_) doc_->SetTitle(nullptr);
}

void CZolexView::IdlePass()
{
    // The title and the bars show the new state before a long step (a connect, a question).
    if (HWND frame = GetParent(window_))
        RedrawWindow(frame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool CZolexView::ConfirmAbortConnect()
{
    return MessageBoxA(GetParent(window_), "Connection in progress.   Abort?", "Tolvi",
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CZolexView::SetBusyCursor(bool on) { ::SetBusyCursor(on); }

// Timer 2021 counts the dial time-out down, shown in the title; at its end the PC side gives up.
// Every tick, the last one too, shows the new state in the title and the commands' states. A
// tick queued before the modem answered (the count already ended) changes nothing.
void CZolexView::OnDialCountdown()
{
    if (Rec->DialCountdown <= 0) {
        ::KillTimer(window_, kDialTimer);
        return;
    }
    if (--Rec->DialCountdown == 0) {
        ::KillTimer(window_, kDialTimer);
        RefreshTitle();
        Rec->HangupReason = 1;
        CloseConnection(Window());
    }
    RefreshTitle();
    if (CMainFrame* frame = CMainFrame::Instance()) frame->OnIdleUpdate();
}

void CZolexView::PostCloseMainWindow()
{
    if (HWND frame = GetParent(window_)) PostMessageA(frame, WM_CLOSE, 0, 0);
}

void CZolexView::InvalidateScreen() { InvalidateRect(window_, nullptr, FALSE); }

// Host data arrives faster than a screen can show it: the view is brought up to date at most once
// a frame; what changed after that is painted with the next frame, or by the ordinary paint once
// the data stops and the message queue empties.
void CZolexView::UpdateView()
{
    constexpr DWORD kFrameMs = 16;
    if (GetTickCount() - lastPaintTick_ >= kFrameMs) UpdateWindow(window_);
}

void CZolexView::SetViewFocus(bool on) { SetFocus(on ? window_ : GetParent(window_)); }

void CZolexView::SetStatusPane(const char* text, int pane, unsigned textColor, unsigned backColor)
{
    HWND frame = GetParent(window_);
    Win32ViewPort(frame).SetStatusPane(text, pane, textColor, backColor);
}
