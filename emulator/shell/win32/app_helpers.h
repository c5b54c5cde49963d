// Program-wide helpers that reach the one main frame and its view without holding pointers:
// status panes, window-style switches, full screen, instance counting, delays, the busy cursor.
#pragma once

#include <windows.h>

#include <string>

class CMainFrame;

// Full-screen state: 0 normal, 1 full screen, 2 while SendFrameSysCommand sends a command.
extern int FullScreenState;
// The menu bar while it is detached from the frame; null while attached.
extern HMENU DetachedMenu;
// The class name of the terminal view (the application title); CountInstances counts it.
extern const char* const kViewClassName;

CMainFrame* GetMainFrame();
HWND GetTerminalView();
void CloseMainWindow();
int SetStatusPane(const char* text, int pane, COLORREF textColor, COLORREF backColor);
void ShowStatusProgress(int pane, int percent, const char* text, COLORREF color);
void SetFrameStyleBits(bool on, LONG bits);
void ShowCaption(bool on);
void ShowSystemMenu(bool on);
void ShowMinMaxBoxes(bool on);
void ShowFrameControlBar(bool show, int barId);
void ToggleMenuBar(int ignored = 0);
void SendFrameSysCommand(UINT command);
int SetFullScreen(int on);
void DelayMs(unsigned milliseconds);
void SetBusyCursor(bool on);
// Counts the running sessions (top-level windows holding a view of our class); first gets the
// first view found, or null.
int CountInstances(HWND* first);
