// The terminal view as the keyboard's system (KeyboardSystem).
#include "shell/win32/zolex_view.h"

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "connections/connection_dispatch.h"
#include "connections/dde/dde_commands.h"
#include "connections/netbios_session.h"
#include "connections/session_services.h"
#include "connections/telnet_engine.h"
#include "connections/transfer_libraries.h"
#include "host_platform.h"
#include "session/session_record.h"
#include "shell/session_document.h"
#include "shell/win32/app_helpers.h"
#include "shell/win32/main_frame.h"
#include "shell/win32/zolex_view_parts.h"

// ---------------------------------------------------------------------------------------------
// The keyboard's system.

void CZolexView::PostCommand(int id) { PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool CZolexView::SendSerialBreak()
{
    if (Rec->ComType != kSerialComType) return false;
    SendBreak(Window());
    return true;
}

void CZolexView::ToggleScrollLock()
{
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SCROLL] ^= 1;
    SetKeyboardState(state);
}

bool CZolexView::ScrollLockOn() { return (GetKeyState(VK_SCROLL) & 1) != 0; }

void CZolexView::ToggleNumLock()
{
    // The injected key-downs come back to the view, which swallows them.
    keyboard_.ExpectNumLockEvent();
    if (GetKeyState(VK_NUMLOCK) & 0x8000) keybd_event(VK_NUMLOCK, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    keybd_event(VK_NUMLOCK, 0x45, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(VK_NUMLOCK, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

void CZolexView::RearmReceive() { ::RearmReceive(Window()); }

void CZolexView::ToggleMenuBar()
{
    if (HWND frame = GetParent(window_)) PostMessageA(frame, WM_USER + 105, 0, 0);
}

void CZolexView::HistoryOn()
{
    if (!Rec->HistoryView) PostCommand(kCmdHistoryScrollback);
}

void CZolexView::ToggleScreen()
{
    HWND frame = GetParent(window_);
    if (frame) SendFrameSysCommand(IsZoomed(frame) ? SC_RESTORE : SC_MAXIMIZE);
}

void CZolexView::HotLoad()
{
    if (doc_) Services().HotScreenReload(doc_->GetHotScreenFileName(false).c_str());
}

void CZolexView::Feed(const uint8_t* bytes, int n) { FeedEmulation(Window(), bytes, n); }

void CZolexView::Send(const uint8_t* bytes, int n) { SendToHost(Window(), bytes, n); }

ModifierKeys CZolexView::Modifiers()
{
    ModifierKeys keys;
    keys.shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    keys.ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    keys.alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    keys.capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
    return keys;
}

bool CZolexView::KeyIsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

int CZolexView::CharOfKey(int virtualKey) { return static_cast<int>(MapVirtualKeyA(static_cast<UINT>(virtualKey), 2)); }

void CZolexView::RepaintAll() { InvalidateRect(window_, nullptr, TRUE); }

void CZolexView::PlaybackStep(bool singleStep) { ::PlaybackStep(singleStep); }

void CZolexView::CloseAllPlayFiles() { ::CloseAllPlayFiles(); }

uint8_t CZolexView::AnsiToOem(uint8_t byte)
{
    uint8_t out = byte;
    Platform().AnsiToOemBytes(&byte, &out, 1);
    return out;
}

int CZolexView::RunActionString(const char* text) { return keyboard_.RunActionString(text, 0, nullptr, nullptr); }

const KeyMap* CZolexView::Keys() { return doc_ ? &doc_->keyMap : nullptr; }

const KeyDefTable* CZolexView::KeyDefinitions() { return doc_ ? &doc_->keyDefs : nullptr; }
